// -shot: the first frame the window would show, written as a PNG file, with
// no window mapped and no display needed. The gallery draws many plug-ins on
// one such device.
#pragma once
#include <string>
#include <vector>

#include "shell/program_options.h"
#include "viewer/launch.h"

// 0 when the file is written, each problem of the plug-in a line on standard
// error; 1, with one reason line on standard error, when the plug-in cannot be
// shown or the file cannot be written.
int RunShot(const ProgramOptions& options);

// An off-screen window and OpenGL device, kept for as many pictures as asked.
// False with the reason when either cannot be made.
bool OpenPictureDevice(std::string& reason);
void ClosePictureDevice();
// Loads the plug-in the argument names (what was found goes to `probe`) and
// checks that its model is there to be drawn; false with the reason (and its
// first error or warning) when it is not.
bool LoadForPicture(const char* argument, LaunchProbe& probe, std::string& reason);
struct PictureFile {
  std::string path;
  int width = 0, height = 0;  // the 640 x 480 frame is resampled to this
};
// Draws the loaded plug-in's frame once and writes it as each PNG file;
// false with the reason.
bool WriteFramePictures(const std::vector<PictureFile>& files, std::string& reason);
