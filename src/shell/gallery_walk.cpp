#include "shell/gallery_walk.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/os/text_encoding.h"
#include "platform/os/zip_source.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

namespace {

namespace fs = std::filesystem;

// Deeper folders are not walked: a link loop, not a collection.
constexpr int kMaxDepth = 32;

std::vector<fs::directory_entry> SortedEntries(const fs::path& directory) {
  std::vector<fs::directory_entry> entries;
  std::error_code error;
  for (fs::directory_iterator it(directory, fs::directory_options::skip_permission_denied, error), end;
       !error && it != end; it.increment(error))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.path() < b.path(); });
  return entries;
}

bool HoldsDefinitionFile(const std::vector<fs::directory_entry>& entries) {
  for (const fs::directory_entry& entry : entries)
    for (PluginKind kind : kAllKinds)
      if (EqualsIgnoringAsciiCase(entry.path().filename().string(), DefinitionFileName(kind))) return true;
  return false;
}

// Name, size and modification time of each file, recursively when asked.
std::string Fingerprint(const fs::path& path, bool recursive) {
  std::string text;
  std::error_code error;
  auto add = [&](const fs::path& file) {
    auto size = fs::file_size(file, error);
    auto time = fs::last_write_time(file, error).time_since_epoch().count();
    text += file.string() + ' ' + std::to_string(error ? 0 : size) + ' ' + std::to_string(time) + '\n';
  };
  if (!fs::is_directory(path, error)) {
    add(path);
  } else if (recursive) {
    for (fs::recursive_directory_iterator it(path, fs::directory_options::skip_permission_denied, error), end;
         !error && it != end; it.increment(error))
      if (it->is_regular_file(error)) add(it->path());
  } else {
    for (const fs::directory_entry& entry : SortedEntries(path))
      if (entry.is_regular_file(error)) add(entry.path());
  }
  return HashHex(text);
}

class Walk {
 public:
  explicit Walk(fs::path root) : root_(std::move(root)) {}

  void Directory(const fs::path& directory, int depth) {
    std::vector<fs::directory_entry> entries = SortedEntries(directory);
    if (HoldsDefinitionFile(entries)) {
      Add(Relative(directory), directory.string(), Fingerprint(directory, true));
      return;
    }
    std::error_code error;
    for (const fs::directory_entry& entry : entries) {
      std::string name = entry.path().filename().string();
      if (entry.is_directory(error)) {
        if (depth < kMaxDepth) Directory(entry.path(), depth + 1);
      } else if (IsArchivePath(entry.path().string())) {
        Archive(entry.path());
      } else if (EndsWithIgnoringAsciiCase(name, ".x") && entry.is_regular_file(error)) {
        // A bare model's textures lie beside it.
        Add(Relative(entry.path()), entry.path().string(), Fingerprint(directory, false));
      }
    }
  }

  std::vector<GalleryEntry> Take() { return std::move(entries_); }

 private:
  void Archive(const fs::path& archive) {
    std::vector<std::string> plugins;
    std::string error;
    std::string fingerprint = Fingerprint(archive, false);
    if (!ListArchivePlugins(archive.string(), plugins, error)) {
      Add(Relative(archive), archive.string(), fingerprint).failure = error;
      return;
    }
    if (plugins.empty())
      Add(Relative(archive), archive.string(), fingerprint).failure = SeveralPluginsReason(archive.string(), plugins);
    for (const std::string& plugin : plugins) {
      std::string inside = kArchiveSeparator + plugin;
      Add(Relative(archive) + inside, archive.string() + inside, fingerprint);
    }
  }

  std::string Relative(const fs::path& path) const { return path.lexically_relative(root_).string(); }

  GalleryEntry& Add(std::string name, std::string argument, std::string fingerprint) {
    std::string id = HashHex(name);
    return entries_.emplace_back(GalleryEntry{std::move(name), std::move(argument), id, std::move(fingerprint), ""});
  }

  fs::path root_;
  std::vector<GalleryEntry> entries_;
};

}  // namespace

std::string HashHex(const std::string& text) {
  uint64_t hash = 14695981039346656037ull;
  for (unsigned char c : text) hash = (hash ^ c) * 1099511628211ull;
  char hex[17];
  std::snprintf(hex, sizeof hex, "%016llx", static_cast<unsigned long long>(hash));
  return hex;
}

std::vector<GalleryEntry> FindGalleryPlugins(const std::string& folder) {
  std::error_code error;
  fs::path root = fs::weakly_canonical(fs::absolute(folder, error), error);
  Walk walk(root);
  walk.Directory(root, 0);
  std::vector<GalleryEntry> entries = walk.Take();
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  return entries;
}
