#include "viewer/live_reload.h"

#include <algorithm>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "graphics/overlay_text.h"
#include "platform/os/file_source.h"
#include "platform/os/os.h"
#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "plugins/plugin_list.h"
#include "viewer/change_settling.h"
#include "viewer/check_findings.h"
#include "viewer/finding_changes.h"
#include "viewer/frame_routines.h"
#include "viewer/plugin_loading.h"
#include "viewer/problem_lines.h"

namespace {

constexpr int kAlertLeft = 5;
constexpr int kAlertTop = 40;  // below the frame rate
constexpr int kAlertPitch = 14;
constexpr uint32_t kCountsMillis = 4000;  // how long the counts stay after a reload

struct LiveReload {
  PluginSource source;
  std::unique_ptr<FileWatcher> watcher;
  std::vector<LoadNote> shownFailures;  // of the load that made the plug-in shown
  std::vector<FindingCode> shownCodes;  // the codes of its findings
  std::string counts;                   // of errors and warnings after the last reload, while shown
  uint32_t countsUntil = 0;
  ChangeSettling settling;
  std::vector<std::string> changed;  // files changed in the burst under way
  std::string alert;
};

LiveReload live;

// Where a file the plug-in names is, to watch it: the file when it exists,
// else the name in its directory, which must exist; inside an archive, the
// archive.
std::string WatchPath(const std::string& name) {
  std::string archive = Files().ArchiveFile();
  if (!archive.empty()) return archive;
  std::string existing = ResolveExistingPath(name);
  if (!existing.empty()) return existing;
  size_t separator = name.find_last_of("/\\");
  if (separator == std::string::npos) return name;
  std::string directory = ResolveExistingPath(name.substr(0, separator));
  if (directory.empty()) directory = name.substr(0, separator);
  std::replace(directory.begin(), directory.end(), '\\', '/');
  return directory + "/" + name.substr(separator + 1);
}

void AddOnce(std::vector<std::string>& list, const std::string& item) {
  if (std::find(list.begin(), list.end(), item) == list.end()) list.push_back(item);
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) text += (text.empty() ? "" : ", ") + item;
  return text;
}

void Watch(const std::vector<std::string>& names) {
  std::vector<std::string> paths;
  for (const std::string& name : names) AddOnce(paths, WatchPath(name));
  for (const std::string& problem : live.watcher->WatchFiles(paths)) LogPrintf("watch: %s\n", problem.c_str());
  LogPrintf("watch: %s\n", Joined(paths).c_str());
}

std::vector<LoadNote> ShownFindings() { return PluginFindings(CurrentPlugin(), live.source.IsBareModel()); }

// The counts on the screen for a while, and the codes that came or went in the log.
void ReportFindings() {
  std::vector<LoadNote> findings = ShownFindings();
  std::vector<FindingCode> codes = DistinctCodes(findings);
  live.counts = ErrorWarningCounts(findings);
  live.countsUntil = Os().timeGetTime() + kCountsMillis;
  LogPrintf("reload: %s; %s\n", live.counts.c_str(), CodesNewAndGone(live.shownCodes, codes).c_str());
  live.shownCodes = std::move(codes);
}

void Reload() {
  LogPrintf("reload: %s changed\n", Joined(live.changed).c_str());
  live.changed.clear();
  uint32_t start = Os().timeGetTime();
  ReloadOutcome outcome = ReloadPlugin(live.source, live.shownFailures);
  uint32_t took = Os().timeGetTime() - start;
  if (outcome.reloaded) {
    LogPrintf("reload: ok (%u ms)\n", took);
    live.alert.clear();
    ReportFindings();
  } else {
    LogPrintf("reload: failed, the plug-in shown is kept: %s\n", outcome.reason.c_str());
    live.alert = DisplayText(outcome.reason);
    if (!LogGoesToStandardError()) PrintProgramLine("reload: failed, the plug-in shown is kept: " + live.alert);
  }
  // Also what the failed load named, so that a file still missing is seen when it comes.
  std::vector<std::string> files = FilesOfShownPlugin(live.source);
  for (const std::string& file : outcome.files) AddOnce(files, file);
  Watch(files);
  if (!Program().isActive) RedrawFrame(live.source.kind);  // no frames run to show it
}

}  // namespace

void WatchPlugin(const PluginSource& source) {
  std::string error;
  std::unique_ptr<FileWatcher> watcher = CreateFileWatcher(error);
  if (!watcher) {
    LogPrintf("-watch: %s; the files are not watched\n", error.c_str());
    return;
  }
  StartWatching(source, std::move(watcher));
}

void StartWatching(const PluginSource& source, std::unique_ptr<FileWatcher> watcher) {
  live = LiveReload{};
  live.source = source;
  live.watcher = std::move(watcher);
  live.shownFailures = TakeFailuresOf(ListOf(source.kind).selectedObject);
  live.shownCodes = DistinctCodes(ShownFindings());
  Watch(FilesOfShownPlugin(source));
  Program().application.pumpRoutine = CheckWatchedFiles;
}

void StopWatching() {
  live = LiveReload{};
  Program().application.pumpRoutine = nullptr;
}

void CheckWatchedFiles() {
  if (!live.watcher) return;
  FileChanges changes = live.watcher->TakeChanges();
  for (const std::string& note : changes.notes) LogPrintf("watch: %s\n", note.c_str());
  uint32_t now = Os().timeGetTime();
  if (!changes.files.empty()) {
    for (const std::string& file : changes.files) AddOnce(live.changed, file);
    live.settling.NoteChange(now);
  }
  if (live.settling.TakeSettled(now)) Reload();
}

const std::string& ReloadAlert() { return live.alert; }

std::string ReloadCounts() {
  return static_cast<int32_t>(Os().timeGetTime() - live.countsUntil) < 0 ? live.counts : std::string();
}

void DrawReloadAlert() {
  if (live.alert.empty()) {
    std::string counts = ReloadCounts();
    if (!counts.empty()) DrawOverlayText(kAlertLeft, kAlertTop, counts.c_str());
    return;
  }
  DrawOverlayAlert(kAlertLeft, kAlertTop, "再読み込みできません。前のモデルを表示しています:");
  DrawOverlayAlert(kAlertLeft, kAlertTop + kAlertPitch, live.alert.c_str());
}
