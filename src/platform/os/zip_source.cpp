#include "platform/os/zip_source.h"

#include <zip.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/os/lazy_library.h"
#include "platform/os/text_encoding.h"

namespace {

// libzip, opened on its first call (see lazy_library.h): only a plug-in in an
// archive needs it, and with it libcrypto and libbz2, which every other run
// would load for nothing.
#define VDL_ZIP_FUNCTIONS(X) \
  X(zip_discard) \
  X(zip_error_fini) \
  X(zip_error_init) \
  X(zip_error_init_with_code) \
  X(zip_error_strerror) \
  X(zip_fclose) \
  X(zip_file_strerror) \
  X(zip_fopen_index) \
  X(zip_fread) \
  X(zip_get_name) \
  X(zip_get_num_entries) \
  X(zip_open) \
  X(zip_open_from_source) \
  X(zip_source_buffer_create) \
  X(zip_source_free) \
  X(zip_stat_index) \
  X(zip_stat_init) \
  X(zip_strerror)

struct ZipLibrary {
  VDL_ZIP_FUNCTIONS(VDL_LIBRARY_POINTER)
};

VDL_LAZY_LIBRARY(ZipLibrary, Zip, "libzip.so.4", VDL_ZIP_FUNCTIONS)

// More members than any plug-in collection holds in one archive.
constexpr zip_int64_t kMaxMembers = 100000;
constexpr size_t kReadChunk = 64 * 1024;

struct ZipCloser {
  void operator()(zip_t* archive) const { Zip().zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

struct ZipFileCloser {
  void operator()(zip_file_t* file) const { Zip().zip_fclose(file); }
};

std::string ZipErrorText(zip_error_t* error) {
  std::string text = Zip().zip_error_strerror(error);
  Zip().zip_error_fini(error);
  return text;
}

// The elements of a '/'-separated path with "." and empty ones left out and
// ".." taking one back; nothing when ".." would climb above the start.
std::optional<std::vector<std::string>> Elements(std::string_view path) {
  std::vector<std::string> elements;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = std::min(path.find('/', start), path.size());
    std::string_view element = path.substr(start, end - start);
    if (element == "..") {
      if (elements.empty()) return std::nullopt;
      elements.pop_back();
    } else if (!element.empty() && element != ".") {
      elements.emplace_back(element);
    }
    start = end + 1;
  }
  return elements;
}

std::string Joined(const std::vector<std::string>& elements, size_t count) {
  std::string path;
  for (size_t i = 0; i < count; ++i) path += (i ? "/" : "") + elements[i];
  return path;
}

// The member's name as text with '/' separators; nothing for a name that
// leads outside the archive or is not the UTF-8 its flag promises.
std::optional<std::vector<std::string>> MemberElements(zip_t* archive, zip_uint64_t index) {
  const char* raw = Zip().zip_get_name(archive, index, ZIP_FL_ENC_RAW);
  if (!raw) return std::nullopt;
  std::string bytes = raw;
  // Read strictly, a name without the UTF-8 flag comes back converted from
  // code page 437, so it differs from the raw bytes as soon as one is not ASCII.
  const char* strict = Zip().zip_get_name(archive, index, ZIP_FL_ENC_STRICT);
  bool flaggedUtf8 = strict && bytes == strict;
  if (flaggedUtf8 && !IsValidUtf8(bytes)) return std::nullopt;
  std::string name = flaggedUtf8 ? bytes : DisplayText(bytes);
  std::replace(name.begin(), name.end(), '\\', '/');
  if (name.starts_with('/') || (name.size() >= 2 && name[1] == ':')) return std::nullopt;
  return Elements(name);
}

class ZipFileSource final : public FileSource {
 public:
  ZipFileSource(std::string path, ZipHandle archive) : path_(std::move(path)), archive_(std::move(archive)) {}

  bool Index(std::string& error) {
    files_.clear();
    children_.clear();
    passedOver_.clear();
    directories_ = {""};
    zip_int64_t count = Zip().zip_get_num_entries(archive_.get(), 0);
    if (count < 0 || count > kMaxMembers) {
      error = "the archive lists " + std::to_string(count) + " members, more than " + std::to_string(kMaxMembers);
      return false;
    }
    for (zip_int64_t i = 0; i < count; ++i) {
      auto index = static_cast<zip_uint64_t>(i);
      std::optional<std::vector<std::string>> elements = MemberElements(archive_.get(), index);
      if (!elements) {
        const char* raw = Zip().zip_get_name(archive_.get(), index, ZIP_FL_ENC_RAW);
        passedOver_.push_back("member " + OnOneLine(DisplayText(raw ? raw : "")) +
                              " passed over: its name leads outside the archive or is not the UTF-8 it claims");
        continue;
      }
      if (elements->empty()) continue;
      const char* raw = Zip().zip_get_name(archive_.get(), index, ZIP_FL_ENC_RAW);
      bool isDirectory = raw && std::string_view(raw).ends_with('/');
      size_t directoryDepth = isDirectory ? elements->size() : elements->size() - 1;
      for (size_t depth = 1; depth <= directoryDepth; ++depth) AddEntry(*elements, depth, true);
      if (!isDirectory) AddFile(*elements, index);
    }
    return true;
  }

  const std::vector<std::string>& PassedOver() const { return passedOver_; }

  bool IsEntry(const std::string& path, EntryKind kind) const override {
    std::optional<std::string> member = MemberPath(path);
    if (!member) return false;
    return kind == EntryKind::kFile ? files_.contains(*member) : directories_.contains(*member);
  }

  std::vector<std::string> EntryNames(const std::string& directory) const override {
    std::optional<std::string> member = MemberPath(directory);
    if (!member) return {};
    auto found = children_.find(*member);
    if (found == children_.end()) return {};
    return {found->second.begin(), found->second.end()};
  }

  bool Read(const std::string& path, uint64_t maxBytes, BeyondLimit beyond, std::vector<uint8_t>& bytes,
            std::string& error) const override {
    std::optional<std::string> member = MemberPath(path);
    auto found = member ? files_.find(*member) : files_.end();
    if (found == files_.end()) {
      error = "cannot open: no such member in the archive";
      return false;
    }
    zip_stat_t stat;
    Zip().zip_stat_init(&stat);
    if (Zip().zip_stat_index(archive_.get(), found->second, 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE) &&
        stat.size > maxBytes && beyond == BeyondLimit::kRefuse) {
      error = "file too large (" + std::to_string(stat.size) + " bytes)";
      return false;
    }
    std::unique_ptr<zip_file_t, ZipFileCloser> file(Zip().zip_fopen_index(archive_.get(), found->second, 0));
    if (!file) {
      error = std::string("cannot open: ") + Zip().zip_strerror(archive_.get());
      return false;
    }
    return ReadMember(file.get(), maxBytes, beyond, bytes, error);
  }

  bool OnDisk() const override { return false; }

  bool EnterDirectory(const std::string& path) override {
    std::optional<std::string> member = MemberPath(path);
    if (!member || !directories_.contains(*member)) return false;
    current_ = *member;
    return true;
  }

  std::string CurrentDirectory() const override {
    return DisplayText(path_) + kArchiveSeparator + (current_.empty() ? "" : current_ + "/");
  }

  std::string ArchiveFile() const override { return path_; }

  bool Refresh(std::string& error) override {
    int code = 0;
    ZipHandle archive(Zip().zip_open(path_.c_str(), ZIP_RDONLY, &code));
    if (!archive) {
      zip_error_t zipError;
      Zip().zip_error_init_with_code(&zipError, code);
      error = path_ + ": " + ZipErrorText(&zipError);
      return false;
    }
    archive_ = std::move(archive);
    if (!Index(error)) return false;
    if (!directories_.contains(current_)) current_.clear();
    return true;
  }

 private:
  void AddEntry(const std::vector<std::string>& elements, size_t depth, bool isDirectory) {
    std::string path = Joined(elements, depth);
    if (isDirectory) directories_.insert(path);
    children_[Joined(elements, depth - 1)].insert(elements[depth - 1]);
  }

  void AddFile(const std::vector<std::string>& elements, zip_uint64_t index) {
    std::string path = Joined(elements, elements.size());
    if (directories_.contains(path) || !files_.emplace(path, index).second) return;  // the first of a name holds
    AddEntry(elements, elements.size(), false);
  }

  // The member a path names from the current folder; nothing for an absolute
  // path or one that climbs out of the archive.
  std::optional<std::string> MemberPath(const std::string& path) const {
    if (path.starts_with('/')) return std::nullopt;
    std::optional<std::vector<std::string>> elements = Elements(current_.empty() ? path : current_ + "/" + path);
    if (!elements) return std::nullopt;
    return Joined(*elements, elements->size());
  }

  static bool ReadMember(zip_file_t* file, uint64_t maxBytes, BeyondLimit beyond, std::vector<uint8_t>& bytes,
                         std::string& error) {
    bytes.clear();
    std::vector<uint8_t> chunk(kReadChunk);
    while (true) {
      zip_int64_t got = Zip().zip_fread(file, chunk.data(), chunk.size());
      if (got < 0) {
        error = std::string("cannot read the member: ") + Zip().zip_file_strerror(file);
        return false;
      }
      if (got == 0) return true;
      uint64_t room = maxBytes - bytes.size();
      if (static_cast<uint64_t>(got) > room) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(room));
        if (beyond == BeyondLimit::kCut) return true;
        error = "file too large (more than " + std::to_string(maxBytes) + " bytes inflated)";
        return false;
      }
      bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + got);
    }
  }

  std::string path_;  // absolute, so a later change of directory does not lose it
  ZipHandle archive_;
  std::map<std::string, zip_uint64_t> files_;         // member path -> index
  std::set<std::string> directories_;                 // "" is the root
  std::map<std::string, std::set<std::string>> children_;  // directory -> entry names
  std::string current_;                               // the current folder, "" at the root
  std::vector<std::string> passedOver_;               // why members were left out
};

std::unique_ptr<FileSource> Indexed(std::string path, zip_t* archive, std::string& error,
                                    std::vector<std::string>* notes) {
  auto source = std::make_unique<ZipFileSource>(std::move(path), ZipHandle(archive));
  if (!source->Index(error)) return nullptr;
  if (notes) *notes = source->PassedOver();
  return source;
}

}  // namespace

bool IsArchivePath(const std::string& argument, ArchivePath* parts) {
  size_t separator = argument.find(kArchiveSeparator);
  std::string archive = separator == std::string::npos ? argument : argument.substr(0, separator);
  // A directory that happens to be called so is no archive.
  std::error_code error;
  if (archive.size() <= 4 || !EndsWithIgnoringAsciiCase(archive, ".zip") || std::filesystem::is_directory(archive, error))
    return false;
  if (parts) {
    parts->archive = archive;
    parts->inside = separator == std::string::npos ? "" : argument.substr(separator + 2);
  }
  return true;
}

std::unique_ptr<FileSource> OpenZipFiles(const std::string& path, std::string& error,
                                         std::vector<std::string>* notes) {
  std::error_code pathError;
  std::string absolute = std::filesystem::absolute(path, pathError).string();
  if (pathError) absolute = path;
  int code = 0;
  zip_t* archive = Zip().zip_open(absolute.c_str(), ZIP_RDONLY, &code);
  if (!archive) {
    zip_error_t zipError;
    Zip().zip_error_init_with_code(&zipError, code);
    error = "not a readable zip archive: " + ZipErrorText(&zipError);
    return nullptr;
  }
  return Indexed(absolute, archive, error, notes);
}

std::unique_ptr<FileSource> OpenZipFilesInMemory(std::span<const uint8_t> bytes, std::string& error) {
  zip_error_t zipError;
  Zip().zip_error_init(&zipError);
  zip_source_t* source = Zip().zip_source_buffer_create(bytes.data(), bytes.size(), 0, &zipError);
  zip_t* archive = source ? Zip().zip_open_from_source(source, ZIP_RDONLY, &zipError) : nullptr;
  if (!archive) {
    if (source) Zip().zip_source_free(source);
    error = "not a readable zip archive: " + ZipErrorText(&zipError);
    return nullptr;
  }
  Zip().zip_error_fini(&zipError);
  return Indexed("(memory)", archive, error, nullptr);
}
