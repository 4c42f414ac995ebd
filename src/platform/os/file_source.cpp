#include "platform/os/file_source.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/os/text_encoding.h"

namespace {

namespace fs = std::filesystem;

class DiskFileSource final : public FileSource {
 public:
  bool IsEntry(const std::string& path, EntryKind kind) const override {
    std::error_code error;
    return kind == EntryKind::kFile ? fs::is_regular_file(path, error) : fs::is_directory(path, error);
  }

  std::vector<std::string> EntryNames(const std::string& directory) const override {
    std::vector<std::string> names;
    std::error_code error;
    fs::directory_iterator entries(fs::path(directory.empty() ? "." : directory), error);
    if (error) return names;
    for (const fs::directory_entry& entry : entries) names.push_back(entry.path().filename().string());
    return names;
  }

  bool Read(const std::string& path, uint64_t maxBytes, BeyondLimit beyond, std::vector<uint8_t>& bytes,
            std::string& error) const override {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
      error = std::string("cannot open: ") + std::strerror(errno);
      return false;
    }
    struct stat status;
    bool ok = false;
    if (fstat(fileno(file), &status) != 0 || !S_ISREG(status.st_mode)) {
      error = "not a regular file";
    } else if (static_cast<uint64_t>(status.st_size) > maxBytes && beyond == BeyondLimit::kRefuse) {
      error = "file too large (" + std::to_string(status.st_size) + " bytes)";
    } else {
      bytes.resize(static_cast<size_t>(std::min<uint64_t>(static_cast<uint64_t>(status.st_size), maxBytes)));
      // A file cut short while it is read yields the bytes that were there.
      bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
      ok = !std::ferror(file);
      if (!ok) error = "read error";
    }
    std::fclose(file);
    return ok;
  }

  bool OnDisk() const override { return true; }

  bool EnterDirectory(const std::string& path) override { return !path.empty() && chdir(path.c_str()) == 0; }

  std::string CurrentDirectory() const override {
    char directory[PATH_MAX];
    if (!getcwd(directory, sizeof directory)) return "";
    std::string path = DisplayText(directory);
    return path.ends_with('/') ? path : path + "/";
  }

  std::string ArchiveFile() const override { return {}; }

  bool Refresh(std::string&) override { return true; }
};

std::unique_ptr<FileSource>& Current() {
  static std::unique_ptr<FileSource> source = DiskFiles();
  return source;
}

}  // namespace

std::unique_ptr<FileSource> DiskFiles() { return std::make_unique<DiskFileSource>(); }

FileSource& Files() { return *Current(); }

void UseFiles(std::unique_ptr<FileSource> source) { Current() = source ? std::move(source) : DiskFiles(); }

FILE* OpenFileStream(const std::string& path, uint64_t maxBytes, std::string& error) {
  std::vector<uint8_t> bytes;
  if (!Files().Read(path, maxBytes, BeyondLimit::kCut, bytes, error)) return nullptr;
  // The stream owns its buffer (fmemopen with none), freed when it is closed.
  FILE* stream = fmemopen(nullptr, bytes.size() + 1, "w+");
  if (!stream || std::fwrite(bytes.data(), 1, bytes.size(), stream) != bytes.size()) {
    if (stream) std::fclose(stream);
    error = "out of memory";
    return nullptr;
  }
  std::rewind(stream);
  return stream;
}
