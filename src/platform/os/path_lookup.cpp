#include "platform/os/path_lookup.h"

#include <algorithm>
#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/os/file_source.h"
#include "platform/os/text_encoding.h"

namespace {

// Longer names are refused rather than walked (Linux's PATH_MAX).
constexpr size_t kMaxNameLength = 4096;

bool IsKind(const std::string& path, EntryKind kind) { return Files().IsEntry(path, kind); }

bool IsFile(const std::string& path) { return IsKind(path, EntryKind::kFile); }

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

// The name with '/' separators: as stored, and decoded from code page 932
// when it is not valid UTF-8.
std::vector<std::string> Spellings(const std::string& name) {
  bool isUtf8 = IsValidUtf8(name);
  std::vector<std::string> spellings{NormaliseSeparators(name, !isUtf8)};
  if (!isUtf8) spellings.push_back(NormaliseSeparators(Cp932ToUtf8(name), false));
  return spellings;
}

// The entry of directory (empty or ending in '/') of the given kind whose name
// equals element ignoring ASCII case; the first in byte order when several
// do, empty when none does.
std::string FindEntryIgnoringCase(const std::string& directory, std::string_view element, EntryKind kind) {
  std::string best;
  for (const std::string& entryName : Files().EntryNames(directory)) {
    if (EqualsIgnoringAsciiCase(entryName, element) && (best.empty() || entryName < best) &&
        IsKind(directory + entryName, kind)) {
      best = entryName;
    }
  }
  return best;
}

// The element itself when it is of the kind in directory, else its match ignoring case.
std::string FindEntry(const std::string& directory, std::string_view element, EntryKind kind) {
  std::string asWritten(element);
  if (IsKind(directory + asWritten, kind)) return asWritten;
  return FindEntryIgnoringCase(directory, element, kind);
}

// Walks a '/'-separated path element by element, matching each one that is
// not there as written against its directory ignoring case.
std::string ResolveIgnoringCase(const std::string& path) {
  std::string resolved = path.starts_with('/') ? "/" : "";
  size_t start = resolved.size();
  while (start <= path.size()) {
    size_t end = std::min(path.find('/', start), path.size());
    std::string_view element(path.data() + start, end - start);
    bool isLast = end == path.size();
    if (!element.empty()) {
      std::string match(element);
      if (element != "." && element != "..") {
        match = FindEntry(resolved, element, isLast ? EntryKind::kFile : EntryKind::kDirectory);
        if (match.empty()) return {};
      }
      resolved += isLast ? match : match + "/";
    }
    start = end + 1;
  }
  return IsFile(resolved) ? resolved : std::string();
}

}  // namespace

ResolvedPath ResolvePath(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameLength) return {};
  if (IsFile(name)) return {name, PathMatch::kExact};

  // The first spelling is the name's own bytes, the second its code page 932 reading.
  std::vector<std::string> spellings = Spellings(name);
  auto matchOf = [](size_t spelling) { return spelling == 0 ? PathMatch::kCaseOrSeparators : PathMatch::kCodePage932; };
  for (size_t i = 0; i < spellings.size(); ++i) {
    if (IsFile(spellings[i])) return {spellings[i], matchOf(i)};
  }
  for (size_t i = 0; i < spellings.size(); ++i) {
    std::string resolved = ResolveIgnoringCase(spellings[i]);
    if (!resolved.empty()) return {resolved, matchOf(i)};
  }
  return {};
}

ResolvedPath ResolveTexturePath(const std::string& name, const std::string& modelDirectory) {
  ResolvedPath found = ResolvePath(name);
  if (found.match != PathMatch::kMissing || name.size() > kMaxNameLength) return found;

  std::string directory = modelDirectory;
  if (!directory.empty() && !directory.ends_with('/')) directory += '/';
  for (const std::string& spelling : Spellings(name)) {
    // The trailing elements after the last '.' or '..' stay inside the directory.
    std::vector<size_t> starts;
    for (size_t start = 0; start < spelling.size();) {
      size_t end = std::min(spelling.find('/', start), spelling.size());
      std::string_view element(spelling.data() + start, end - start);
      if (element == "." || element == "..") starts.clear();
      else if (!element.empty()) starts.push_back(start);
      start = end + 1;
    }
    for (size_t i = 0; i < starts.size(); ++i) {
      std::string resolved = ResolveIgnoringCase(directory + spelling.substr(starts[i]));
      if (resolved.empty()) continue;
      bool nameAlone = i + 1 == starts.size();
      return {resolved, nameAlone ? PathMatch::kModelDirectory : PathMatch::kTrailingPath};
    }
  }
  return {};
}

std::string ResolveExistingPath(const std::string& name) { return ResolvePath(name).path; }
