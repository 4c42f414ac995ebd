#include "shell/shot.h"

#include <string>
#include <vector>

#include "base/program_globals.h"
#include "gfxutil/picture_file.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "platform/d3d/read_back.h"
#include "platform/os/directory_mark.h"
#include "platform/os/video_choice.h"
#include "resources/mesh_resource.h"
#include "shell/main_window.h"
#include "viewer/check_findings.h"
#include "viewer/check_report.h"
#include "viewer/frame_routines.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

bool Fail(const std::string& reason) {
  PrintProgramLine(reason);
  return false;
}

// `started` is where the program started: a relative picture path is written there.
bool TakeShot(const ProgramOptions& options, const DirectoryMark& started) {
  if (!CreateMainWindow()) return Fail("-shot: no off-screen window can be made");
  if (!InitDirect3D(screenWidth, screenHeight)) return Fail("-shot: no OpenGL device can be made off-screen");
  // The picture is read from the back buffer; a window nobody sees needs no copy of it.
  PresentFrames(false);
  LaunchProbe probe;
  std::string reason;
  if (!LoadLaunchArgument(options.pluginPath, probe, reason)) return Fail(reason);
  // A window would show the overlay alone; a picture without the model is no picture of the plug-in.
  ShownPlugin shown = CurrentPlugin();
  if (!shown.model || !shown.model->mesh)
    return Fail(WithFirstNote(std::string(options.pluginPath) + ": the model cannot be loaded",
                              shown.model ? shown.model->notes : std::vector<LoadNote>{}));
  application.frameRoutine();
  std::vector<uint32_t> pixels;
  UINT width = 0, height = 0;
  if (!ReadBackBuffer(d3dDevice, pixels, &width, &height)) return Fail("-shot: the picture cannot be read back");
  if (!started.Return() && !options.shotPath.starts_with('/'))
    return Fail("-shot: " + options.shotPath + " cannot be written: the directory the program started in is gone");
  std::string error;
  if (!SavePicturePng(options.shotPath, pixels, width, height, static_cast<uint32_t>(options.shotWidth),
                      static_cast<uint32_t>(options.shotHeight), error))
    return Fail(error);
  // The picture is written, yet what is wrong with the plug-in is said, as -check says it.
  PrintProblemLines(ErrorsAndWarnings(PluginFindings(shown, probe.target == LaunchTarget::kBareModel)));
  return true;
}

}  // namespace

int RunShot(const ProgramOptions& options) {
  DirectoryMark started;
  UseOffscreenVideo();
  InitDebugStream();
  SetOverlayTexts(options.noText ? OverlayTexts::kNone : OverlayTexts::kAllButFrameRate);
  // A picture without text needs no font: no Fontconfig, no FreeType.
  WantOverlayFont(!options.noText);
  bool written = TakeShot(options, started);
  ViewerShutdown();
  FreeDirect3D();
  DestroyMainWindow();
  return written ? 0 : 1;
}
