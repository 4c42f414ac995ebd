#include "viewer/launch.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/command_line.h"
#include "base/end_process.h"
#include "base/program_globals.h"
#include "base/window_globals.h"
#include "graphics/direct3d.h"
#include "platform/os/file_source.h"
#include "resources/load_log.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

// Ends the run when there is nothing to show.
[[noreturn]] void EndLaunch(const std::string& reason) {
  EndProcessWithReason(("ViewerStartup: " + reason).c_str());
}

// What was recognised and where, so a log shows what the run is about.
void LogLaunchTarget(const LaunchProbe& probe) {
  std::string directory = Files().CurrentDirectory();
  if (probe.target == LaunchTarget::kPlugin)
    LogPrintf("ViewerStartup: %s plug-in in %s (%s)\n", probe.kindName, directory.c_str(), probe.definitionName);
  else
    LogPrintf("ViewerStartup: model %s%s\n", probe.modelPath.starts_with('/') ? "" : directory.c_str(),
              probe.modelPath.c_str());
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

bool LoadLaunchArgument(const char* argument, LaunchProbe& probe, std::string& reason) {
  if (d3dDevice) d3dDevice->SetRenderState(D3DRS_NORMALIZENORMALS, 1);
  SetupInfoBlocks();
  probe = ProbeLaunchArgument(argument);
  switch (probe.target) {
    case LaunchTarget::kPlugin:
      LogLaunchTarget(probe);
      LoadPlugin(probe.kind, probe.definitionFile);
      probe.definitionFile = nullptr;  // closed by the loading
      return true;
    case LaunchTarget::kBareModel:
      LogLaunchTarget(probe);
      if (LoadBareModel(probe.modelPath.c_str())) return true;
      reason = std::string(argument) + ": the model cannot be loaded";
      return false;
    case LaunchTarget::kNothing:
      break;
  }
  reason = std::string(argument) + ": " + probe.reason;
  return false;
}

std::string WithFirstNote(const std::string& reason, const std::vector<LoadNote>& notes) {
  const LoadNote* problem = FirstProblem(notes);
  return problem ? reason + " (" + problem->Text() + ")" : reason;
}

bool LoadLaunchArgumentKeepingNotes(const char* argument, LaunchProbe& probe, std::vector<LoadNote>& notes,
                                    std::string& reason) {
  KeepLoadNotes(&notes);
  bool loaded = LoadLaunchArgument(argument, probe, reason);
  KeepLoadNotes(nullptr);
  if (!loaded) reason = WithFirstNote(reason, notes);
  return loaded;
}

void ViewerStartup() {
  SetCaption("Vondrel Plugin Viewer");
  const char* argument = PluginArgument();
  if (!argument) {
    ShowFatalMessage("単独で起動しても使えませんのだ");
    EndLaunch("no plug-in path on the command line");
  }
  Os().ShowCursor(false);
  LaunchProbe probe;
  std::vector<LoadNote> notes;
  std::string reason;
  if (!LoadLaunchArgumentKeepingNotes(argument, probe, notes, reason)) EndLaunch(reason);
  // What is wrong with the plug-in reaches standard error even when the log does not.
  if (!LogGoesToStandardError()) PrintProblemLines(PluginProblems(CurrentPlugin(), notes));
}
