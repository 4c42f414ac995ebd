#include "viewer/launch.h"

#include <cstdarg>
#include <cstdio>

#include "graphics/direct3d.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "viewer/plugin_loading.h"

namespace {

// Ends the run when there is nothing to show, with the reason on standard
// error and in the log (the log may be a file).
[[noreturn]] void EndLaunch(const char* reason) {
  char line[256];
  std::snprintf(line, sizeof line, "ViewerStartup: %s\n", reason);
  LogPrintf("%s", line);
  if (debugLogPath[0] != '\0') Os().OutputDebugStringA(line);
  EndProcess(1);
}

}  // namespace

void ShowFatalMessage(const char* format, ...) {
  char text[kLaunchPathSize] = {};
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  Os().CloseWindow(mainWindow);
  Os().MessageBoxA(Os().GetActiveWindow(), text, "Vondrel", MB_OK);
}

void ViewerStartup() {
  SetCaption("Vondrel Plugin Viewer");
  if (d3dDevice) d3dDevice->SetRenderState(D3DRS_NORMALIZENORMALS, 1);

  const char* argument = PluginArgument();
  if (!argument) {
    ShowFatalMessage("単独で起動しても使えませんのだ");
    EndLaunch("no plug-in path on the command line");
  }

  Os().ShowCursor(false);
  SetupInfoBlocks();

  LaunchProbe probe = ProbeLaunchArgument(argument);
  char reason[256];
  switch (probe.target) {
    case LaunchTarget::kPlugin:
      LoadPlugin(probe.kind, probe.definitionFile);
      return;
    case LaunchTarget::kBareModel:
      if (LoadBareModel(probe.modelPath)) return;
      std::snprintf(reason, sizeof reason, "%.160s: the model cannot be loaded", argument);
      EndLaunch(reason);
    case LaunchTarget::kNothing:
      std::snprintf(reason, sizeof reason, "%.120s: %s", argument, probe.reason);
      EndLaunch(reason);
  }
}
