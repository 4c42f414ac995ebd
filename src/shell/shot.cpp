#include "shell/shot.h"

#include <cstdint>

#include "base/program_state.h"
#include "gfxutil/picture_file.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "platform/d3d/read_back.h"
#include "platform/os/directory_mark.h"
#include "platform/os/video_choice.h"
#include "rail/station_rails.h"
#include "resources/mesh_resource.h"
#include "shell/main_window.h"
#include "viewer/check_findings.h"
#include "viewer/check_report.h"
#include "viewer/frame_routines.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

bool Fail(const std::string& reason) {
  PrintProgramLine(reason);
  return false;
}

// `started` is where the program started: a relative picture path is written there.
bool TakeShot(const ProgramOptions& options, const DirectoryMark& started) {
  std::string reason;
  if (!OpenPictureDevice(reason)) return Fail(reason);
  LaunchProbe probe;
  if (!LoadForPicture(options.pluginPath, probe, reason)) return Fail(reason);
  if (!started.Return() && !options.shotPath.starts_with('/'))
    return Fail("-shot: " + options.shotPath + " cannot be written: the directory the program started in is gone");
  if (!WriteFramePictures({{options.shotPath, options.shotWidth, options.shotHeight}}, reason)) return Fail(reason);
  // The picture is written, yet what is wrong with the plug-in is said, as -check says it.
  PrintProblemLines(ErrorsAndWarnings(PluginFindings(CurrentPlugin(), probe.target == LaunchTarget::kBareModel)));
  return true;
}

}  // namespace

bool OpenPictureDevice(std::string& reason) {
  UseOffscreenVideo();
  if (!CreateMainWindow()) {
    reason = "-shot: no off-screen window can be made";
    return false;
  }
  if (!InitDirect3D(Program().screenWidth, Program().screenHeight)) {
    reason = "-shot: no OpenGL device can be made off-screen";
    return false;
  }
  // The picture is read from the back buffer; a window nobody sees needs no copy of it.
  PresentFrames(false);
  return true;
}

void ClosePictureDevice() {
  FreeDirect3D();
  DestroyMainWindow();
}

bool LoadForPicture(const char* argument, LaunchProbe& probe, std::string& reason) {
  if (!LoadLaunchArgument(argument, probe, reason)) return false;
  // A window would show the overlay alone; a picture without the model is no picture of the plug-in.
  ShownPlugin shown = CurrentPlugin();
  if (shown.model && shown.model->mesh) return true;
  reason = WithFirstNote(std::string(argument) + ": the model cannot be loaded",
                         shown.model ? shown.model->notes : std::vector<LoadNote>{});
  return false;
}

bool WriteFramePictures(const std::vector<PictureFile>& files, std::string& reason) {
  Program().blinkAngle = 0.0f;  // each picture is a first frame
  Program().application.frameRoutine();
  std::vector<uint32_t> pixels;
  UINT frameWidth = 0, frameHeight = 0;
  if (!ReadBackBuffer(Graphics().d3dDevice, pixels, &frameWidth, &frameHeight)) {
    reason = "-shot: the picture cannot be read back";
    return false;
  }
  for (const PictureFile& file : files) {
    if (!SavePicturePng(file.path, pixels, frameWidth, frameHeight, static_cast<uint32_t>(file.width),
                        static_cast<uint32_t>(file.height), reason))
      return false;
  }
  return true;
}

int RunShot(const ProgramOptions& options) {
  DirectoryMark started;
  SetOverlayTexts(options.noText ? OverlayTexts::kNone : OverlayTexts::kAllButFrameRate);
  // A picture without text needs no font: no Fontconfig, no FreeType.
  WantOverlayFont(!options.noText);
  bool written = TakeShot(options, started);
  ViewerShutdown();
  ClosePictureDevice();
  return written ? 0 : 1;
}
