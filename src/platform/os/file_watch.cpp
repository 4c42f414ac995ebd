#include "platform/os/file_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>

#include "platform/os/text_encoding.h"

namespace {

// A rename over the file, a write, a new or deleted file, a touch.
constexpr uint32_t kWatchedEvents =
    IN_CLOSE_WRITE | IN_MODIFY | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ATTRIB | IN_ONLYDIR;

struct WatchedFile {
  std::string name;  // the last path element, matched ignoring ASCII letter case
  std::string path;  // as given
};

struct WatchedDirectory {
  std::string path;
  std::vector<WatchedFile> files;
};

// The directory part of a path ("." for a bare name) and its last element.
std::pair<std::string, std::string> SplitPath(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return {".", path};
  return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

class InotifyWatcher : public FileWatcher {
 public:
  explicit InotifyWatcher(int descriptor) : descriptor_(descriptor) {}
  ~InotifyWatcher() override { close(descriptor_); }

  std::vector<std::string> WatchFiles(const std::vector<std::string>& paths) override {
    std::vector<std::string> problems;
    // Two spellings of one directory get one descriptor from the kernel, so
    // the files are grouped by what it returns.
    std::map<int, WatchedDirectory> watches;
    for (const std::string& path : paths) {
      auto [directory, name] = SplitPath(path);
      if (name.empty()) {
        problems.push_back(path + ": names no file");
        continue;
      }
      int watch = inotify_add_watch(descriptor_, directory.c_str(), kWatchedEvents);
      if (watch < 0) {
        problems.push_back(path + ": its directory cannot be watched (" + std::strerror(errno) + ")");
        continue;
      }
      WatchedDirectory& watched = watches[watch];
      watched.path = directory;
      watched.files.push_back({name, path});
    }
    for (const auto& [watch, directory] : watches_)
      if (!watches.count(watch)) inotify_rm_watch(descriptor_, watch);
    watches_.swap(watches);
    return problems;
  }

  FileChanges TakeChanges() override {
    FileChanges changes;
    // Room for many events at once; the kernel never splits one.
    alignas(inotify_event) char buffer[16 * 1024];
    for (;;) {
      ssize_t length = read(descriptor_, buffer, sizeof buffer);
      if (length <= 0) break;  // EAGAIN: nothing more now
      for (const char* at = buffer; at < buffer + length;) {
        const auto* event = reinterpret_cast<const inotify_event*>(at);
        Take(*event, changes);
        at += sizeof(inotify_event) + event->len;
      }
    }
    return changes;
  }

 private:
  void Take(const inotify_event& event, FileChanges& changes) {
    if (event.mask & IN_Q_OVERFLOW) {
      changes.notes.push_back("file events were lost; every watched file is taken as changed");
      for (const auto& [watch, directory] : watches_)
        for (const WatchedFile& file : directory.files) Add(file.path, changes);
      return;
    }
    auto found = watches_.find(event.wd);
    if (found == watches_.end()) return;  // a watch given up earlier
    if (event.mask & IN_IGNORED) {
      changes.notes.push_back(found->second.path + ": the directory is gone and no longer watched");
      for (const WatchedFile& file : found->second.files) Add(file.path, changes);
      watches_.erase(found);
      return;
    }
    if (event.len == 0) return;  // about the directory itself
    for (const WatchedFile& file : found->second.files)
      if (EqualsIgnoringAsciiCase(file.name, event.name)) Add(file.path, changes);
  }

  static void Add(const std::string& path, FileChanges& changes) {
    if (std::find(changes.files.begin(), changes.files.end(), path) == changes.files.end())
      changes.files.push_back(path);
  }

  int descriptor_;
  std::map<int, WatchedDirectory> watches_;
};

}  // namespace

std::unique_ptr<FileWatcher> CreateFileWatcher(std::string& error) {
  int descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (descriptor < 0) {
    error = std::string("inotify is not available (") + std::strerror(errno) + ")";
    return nullptr;
  }
  return std::make_unique<InotifyWatcher>(descriptor);
}
