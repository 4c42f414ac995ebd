// Notice of changes to a set of files, for a viewer that shows again what an
// author saves. Editors save by writing a temporary file and renaming it over
// the old one, so each file's directory is watched and its events are matched
// to the file by name.
#pragma once
#include <memory>
#include <string>
#include <vector>

struct FileChanges {
  std::vector<std::string> files;  // watched paths that changed, each once, as given to WatchFiles
  std::vector<std::string> notes;  // what went wrong: a directory gone, events lost
};

class FileWatcher {
 public:
  virtual ~FileWatcher() = default;
  // From now on watches these paths (relative to the current directory or
  // absolute) instead of the earlier ones. A file need not exist, its
  // directory must. Returns why a path cannot be watched, one line each.
  virtual std::vector<std::string> WatchFiles(const std::vector<std::string>& paths) = 0;
  // The changes since the last call; never waits.
  virtual FileChanges TakeChanges() = 0;
};

// The watcher on inotify; null, with the reason, when inotify is not available.
std::unique_ptr<FileWatcher> CreateFileWatcher(std::string& error);
