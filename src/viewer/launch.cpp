#include "viewer/launch.h"

#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/command_line.h"
#include "base/end_process.h"
#include "base/program_globals.h"
#include "base/window_globals.h"
#include "graphics/direct3d.h"
#include "viewer/plugin_loading.h"

namespace {

// Ends the run when there is nothing to show.
[[noreturn]] void EndLaunch(const char* reason) {
  char line[256];
  std::snprintf(line, sizeof line, "ViewerStartup: %s", reason);
  EndProcessWithReason(line);
}

// The directory the probe has entered, with its trailing '/'; empty if unknown.
void CurrentDirectory(char (&directory)[kLaunchPathSize]) {
  if (!getcwd(directory, sizeof directory - 1)) {
    directory[0] = '\0';
    return;
  }
  if (std::strcmp(directory, "/") != 0) std::strcat(directory, "/");
}

// What was recognised and where, so a log shows what the run is about.
void LogLaunchTarget(const LaunchProbe& probe) {
  char directory[kLaunchPathSize];
  CurrentDirectory(directory);
  if (probe.target == LaunchTarget::kPlugin)
    LogPrintf("ViewerStartup: %s plug-in in %s (%s)\n", probe.kindName, directory, probe.definitionName);
  else
    LogPrintf("ViewerStartup: model %s%s\n", probe.modelPath[0] == '/' ? "" : directory, probe.modelPath);
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
      LogLaunchTarget(probe);
      LoadPlugin(probe.kind, probe.definitionFile);
      return;
    case LaunchTarget::kBareModel:
      LogLaunchTarget(probe);
      if (LoadBareModel(probe.modelPath)) return;
      std::snprintf(reason, sizeof reason, "%.160s: the model cannot be loaded", argument);
      EndLaunch(reason);
    case LaunchTarget::kNothing:
      std::snprintf(reason, sizeof reason, "%.120s: %s", argument, probe.reason);
      EndLaunch(reason);
  }
}
