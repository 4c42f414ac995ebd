#include "viewer/launch.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "base/end_process.h"
#include "base/program_state.h"
#include "graphics/direct3d.h"
#include "platform/os/file_source.h"
#include "resources/load_log.h"
#include "viewer/check_report.h"
#include "viewer/live_reload.h"
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
  Os().CloseWindow(Program().mainWindow);
  Os().MessageBoxA(Os().GetActiveWindow(), text, "Vondrel", MB_OK);
}

bool LoadLaunchArgument(const char* argument, LaunchProbe& probe, std::string& reason,
                        std::vector<LoadNote>* failureNotes) {
  if (Graphics().d3dDevice) Graphics().d3dDevice->SetRenderState(D3DRS_NORMALIZENORMALS, 1);
  SetupInfoBlocks();
  probe = ProbeLaunchArgument(argument);
  std::string text;
  std::vector<LoadNote> notes;
  switch (probe.target) {
    case LaunchTarget::kPlugin:
      LogLaunchTarget(probe);
      LoadPlugin(probe.kind, probe.definitionFile);
      probe.definitionFile = nullptr;  // closed by the loading
      return true;
    case LaunchTarget::kBareModel:
      LogLaunchTarget(probe);
      if (LoadBareModel(probe.modelPath.c_str(), &notes)) return true;
      text = std::string(argument) + ": the model cannot be loaded";
      break;
    case LaunchTarget::kNothing:
      text = std::string(argument) + ": " + probe.reason;
      break;
  }
  reason = WithFirstNote(text, notes);
  if (failureNotes) *failureNotes = std::move(notes);
  return false;
}

std::string WithFirstNote(const std::string& reason, const std::vector<LoadNote>& notes) {
  std::vector<LoadNote> wrong = ErrorsAndWarnings(notes);
  return wrong.empty() ? reason : reason + " (" + wrong.front().Text() + ")";
}

void ViewerStartup(const char* argument, bool watch) {
  SetCaption("Vondrel Plugin Viewer");
  if (!argument) {
    ShowFatalMessage("単独で起動しても使えませんのだ");
    EndLaunch("no plug-in path on the command line");
  }
  Os().ShowCursor(false);
  LaunchProbe probe;
  std::string reason;
  if (!LoadLaunchArgument(argument, probe, reason)) EndLaunch(reason);
  if (watch)
    WatchPlugin(probe.target == LaunchTarget::kBareModel ? PluginSource{kStructKind, probe.modelPath}
                                                         : PluginSource{probe.kind, ""});
  // What is wrong with the plug-in reaches standard error even when the log does not.
  if (!LogGoesToStandardError()) PrintProblemLines(ErrorsAndWarnings(PluginProblems(CurrentPlugin())));
}
