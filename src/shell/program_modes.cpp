#include "shell/program_modes.h"

#include "base/debug_log.h"
#include "base/program_state.h"
#include "platform/os/video_choice.h"
#include "platform/os/zip_source.h"
#include "shell/application.h"
#include "shell/gallery.h"
#include "shell/shot.h"
#include "shell/usage.h"
#include "viewer/check_codes.h"
#include "viewer/check_run.h"
#include "viewer/frame_routines.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

constexpr int kUsageErrorStatus = 2;

// An archive named alone that holds several plug-ins leaves the choice to the
// user: the reason lists how to name each.
bool NamesSeveralPlugins(const char* path, std::string& reason) {
  ArchivePath parts;
  std::vector<std::string> plugins;
  if (!path || !IsArchivePath(path, &parts) || !parts.inside.empty()) return false;
  if (!ListArchivePlugins(parts.archive, plugins, reason) || plugins.size() < 2) return false;
  reason = std::string(path) + ": " + SeveralPluginsReason(parts.archive, plugins);
  return true;
}

int RunViewer(const ProgramOptions& options) {
  // Without a display SDL would fall back to an invisible window that nobody can close.
  if (!DisplayIsAvailable()) {
    PrintProgramLine(
        "no display (DISPLAY and WAYLAND_DISPLAY are unset); without one, -shot <out.png> writes the picture "
        "and -check writes a report");
    return 1;
  }
  SetOverlayTexts(options.noText ? OverlayTexts::kNone : OverlayTexts::kAll);
  if (!ApplicationStartup(options)) {
    ApplicationShutdown();
    return 1;
  }
  ViewerStartup(options.pluginPath, options.watch);
  RunMainLoop();
  ViewerShutdown();
  ApplicationShutdown();
  return 0;
}

}  // namespace

int RunProgram(const ProgramOptions& options) {
  switch (options.mode) {
    case ProgramMode::kHelp:
      PrintUsage(stdout);
      return 0;
    case ProgramMode::kVersion:
      PrintVersion(stdout);
      return 0;
    case ProgramMode::kChecksDoc:
      std::fputs(ChecksDocument().c_str(), stdout);
      return 0;
    case ProgramMode::kUsageError:
      PrintProgramLine(options.usageError + " (--help shows the usage)");
      return kUsageErrorStatus;
    default:
      break;
  }
  if (std::string reason; NamesSeveralPlugins(options.pluginPath, reason)) {
    PrintProgramLine(reason);
    return kUsageErrorStatus;
  }
  for (const std::string& warning : options.warnings) PrintProgramLine(warning);
  // Standard error carries what is wrong; the whole log only when asked.
  if (!options.log) QuietDebugLog();
  GetProgramDirectory(Program().programDirectory);
  SetDisplaySize();
  Program().nightMode = options.night;
  Program().isLinearFilter = options.linear;
  if (options.mode == ProgramMode::kCheck || options.mode == ProgramMode::kShot) InitDebugStream(options.logFile);
  if (options.mode == ProgramMode::kCheck) return RunCheck(options.pluginPath, options.json, options.ignoredCodes);
  if (options.mode == ProgramMode::kShot) return RunShot(options);
  if (options.mode == ProgramMode::kGallery) return RunGallery(options);
  return RunViewer(options);
}
