#include "viewer/check_run.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/debug_log.h"
#include "graphics/direct3d.h"
#include "viewer/check_report.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

namespace {

constexpr int kProblemsStatus = 3;

int Fail(const std::string& reason) {
  std::fprintf(stderr, "vondrel-viewer: %s\n", reason.c_str());
  return 1;
}

int Report(const char* argument, bool json) {
  if (!InitMemoryDevice()) return Fail("-check: out of memory");
  LaunchProbe probe;
  std::vector<LoadNote> notes;
  std::string reason;
  if (!LoadLaunchArgumentKeepingNotes(argument, probe, notes, reason)) return Fail(reason);
  CheckReport report = GatherCheckReport(probe, CurrentPlugin(), notes);
  std::string text = json ? CheckReportJson(report) : CheckReportText(report);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail("-check: the report cannot be written to standard output");
  return report.problems.empty() ? 0 : kProblemsStatus;
}

}  // namespace

int RunCheck(const char* argument, bool json) {
  QuietDebugLog();
  InitDebugStream();
  int status = Report(argument, json);
  ViewerShutdown();
  FreeDirect3D();
  return status;
}
