#include "viewer/check_run.h"

#include <cstdio>
#include <string>
#include <vector>

#include "base/debug_log.h"
#include "graphics/direct3d.h"
#include "viewer/check_report.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

constexpr int kProblemsStatus = 3;

int Fail(const std::string& reason) {
  PrintProgramLine(reason);
  return 1;
}

}  // namespace

bool CheckPlugin(const char* argument, CheckReport& report, std::string& reason) {
  bool loaded = false;
  if (InitMemoryDevice()) {
    LaunchProbe probe;
    std::vector<LoadNote> notes;
    loaded = LoadLaunchArgumentKeepingNotes(argument, probe, notes, reason);
    if (loaded) report = GatherCheckReport(probe, CurrentPlugin(), notes);
  } else {
    reason = "-check: out of memory";
  }
  ViewerShutdown();
  FreeDirect3D();
  return loaded;
}

int RunCheck(const char* argument, bool json) {
  InitDebugStream();
  CheckReport report;
  std::string reason;
  if (!CheckPlugin(argument, report, reason)) return Fail(reason);
  std::string text = json ? CheckReportJson(report) : CheckReportText(report);
  if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size() || std::fflush(stdout) != 0)
    return Fail("-check: the report cannot be written to standard output");
  PrintProblemLines(report.problems);
  return report.problems.empty() ? 0 : kProblemsStatus;
}
