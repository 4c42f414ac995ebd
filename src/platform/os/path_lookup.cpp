#include "platform/os/path_lookup.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string_view>
#include <system_error>
#include <vector>

#include "platform/os/text_encoding.h"

namespace {

namespace fs = std::filesystem;

// Longer names are refused rather than walked (Linux's PATH_MAX).
constexpr size_t kMaxNameLength = 4096;

bool Exists(const std::string& path) {
  std::error_code error;
  return fs::exists(fs::path(path), error);
}

bool IsDirectory(const std::string& path) {
  std::error_code error;
  return fs::is_directory(fs::path(path), error);
}

bool IsCp932LeadByte(uint8_t byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

// '\' read as '/', runs of separators collapsed into one. In a code page 932
// name the second byte of a double-byte character may be 0x5C and is kept.
std::string NormaliseSeparators(std::string_view name, bool isCp932) {
  std::string out;
  out.reserve(name.size());
  for (size_t i = 0; i < name.size(); ++i) {
    char c = name[i];
    if (isCp932 && IsCp932LeadByte(static_cast<uint8_t>(c)) && i + 1 < name.size()) {
      out += c;
      out += name[++i];
      continue;
    }
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

// The entry of directory whose name equals element ignoring ASCII case; the
// first in byte order when several do, empty when none does.
std::string FindEntryIgnoringCase(const std::string& directory, std::string_view element) {
  std::error_code error;
  fs::directory_iterator entries(fs::path(directory.empty() ? "." : directory), error);
  if (error) return {};
  std::string best;
  for (const fs::directory_entry& entry : entries) {
    std::string entryName = entry.path().filename().string();
    if (EqualsIgnoringAsciiCase(entryName, element) && (best.empty() || entryName < best)) best = entryName;
  }
  return best;
}

// Walks a '/'-separated path element by element, matching each one that does
// not exist as written against its directory ignoring case.
std::string ResolveIgnoringCase(const std::string& path) {
  std::string resolved = path.starts_with('/') ? "/" : "";
  size_t start = resolved.size();
  while (start <= path.size()) {
    size_t end = std::min(path.find('/', start), path.size());
    std::string_view element(path.data() + start, end - start);
    bool isLast = end == path.size();
    if (!element.empty()) {
      std::string candidate = resolved + std::string(element);
      if (element != "." && element != ".." && !Exists(candidate)) {
        std::string match = FindEntryIgnoringCase(resolved, element);
        if (match.empty()) return {};
        candidate = resolved + match;
      }
      if (!isLast && !IsDirectory(candidate)) return {};
      resolved = isLast ? candidate : candidate + "/";
    }
    start = end + 1;
  }
  return Exists(resolved) ? resolved : std::string();
}

}  // namespace

std::string ResolveExistingPath(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameLength) return {};
  if (Exists(name)) return name;

  bool isUtf8 = IsValidUtf8(name);
  std::vector<std::string> spellings{NormaliseSeparators(name, !isUtf8)};
  if (!isUtf8) spellings.push_back(NormaliseSeparators(Cp932ToUtf8(name), false));
  for (const std::string& spelling : spellings) {
    if (Exists(spelling)) return spelling;
  }
  for (const std::string& spelling : spellings) {
    std::string resolved = ResolveIgnoringCase(spelling);
    if (!resolved.empty()) return resolved;
  }
  return {};
}
