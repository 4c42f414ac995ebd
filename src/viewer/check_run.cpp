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

bool WriteOut(const std::string& text) {
  if (std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0) return true;
  PrintProgramLine("-check: the report cannot be written to standard output");
  return false;
}

}  // namespace

bool CheckPlugin(const char* argument, CheckReport& report, std::string& reason) {
  bool loaded = false;
  LaunchProbe probe;
  if (InitMemoryDevice()) {
    std::vector<LoadNote> failureNotes;
    loaded = LoadLaunchArgument(argument, probe, reason, &failureNotes);
    report = loaded ? GatherCheckReport(probe, CurrentPlugin()) : FailedCheckReport(probe, reason, failureNotes);
  } else {
    reason = "-check: out of memory";
    report = FailedCheckReport(probe, reason, {});
  }
  ViewerShutdown();
  FreeDirect3D();
  return loaded;
}

int RunCheck(const char* argument, bool json, const std::vector<FindingCode>& ignored) {
  CheckReport report;
  std::string reason;
  bool loaded = CheckPlugin(argument, report, reason);
  IgnoreCodes(report, ignored);
  if (!loaded) {
    PrintProgramLine(reason);
    if (json) WriteOut(CheckReportJson(report));
    return 1;
  }
  if (!WriteOut(json ? CheckReportJson(report) : CheckReportText(report))) return 1;
  PrintProblemLines(ErrorsAndWarnings(report.problems));
  return CheckExitStatus(report);
}
