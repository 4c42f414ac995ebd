// A file watcher for unit tests: it records what it is asked to watch and
// hands out scripted changes, one batch per TakeChanges.
#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/os/file_watch.h"

class FakeFileWatcher : public FileWatcher {
 public:
  std::vector<std::string> WatchFiles(const std::vector<std::string>& paths) override {
    watched = paths;
    ++watchCalls;
    return problems;
  }
  FileChanges TakeChanges() override {
    ++takeCalls;
    if (batches.empty()) return {};
    FileChanges next = batches.front();
    batches.pop_front();
    return next;
  }

  std::deque<FileChanges> batches;    // scripted
  std::vector<std::string> problems;  // returned by every WatchFiles
  std::vector<std::string> watched;   // the paths of the last WatchFiles
  int watchCalls = 0;
  int takeCalls = 0;
};
