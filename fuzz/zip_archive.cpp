// Arbitrary bytes read as a zip archive: its members are indexed, every folder
// entered, every file read under a small limit, and names looked up in it as
// a plug-in's names are. No read may exceed its limit.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "platform/os/file_source.h"
#include "platform/os/path_lookup.h"
#include "platform/os/zip_source.h"

namespace {

constexpr uint64_t kReadLimit = 1 << 16;
constexpr int kMaxDepth = 8;

void Visit(FileSource& files, const std::string& directory, int depth) {
  for (const std::string& name : files.EntryNames(directory)) {
    std::string path = directory + name;
    if (files.IsEntry(path, EntryKind::kDirectory)) {
      if (depth < kMaxDepth) Visit(files, path + "/", depth + 1);
      continue;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    for (BeyondLimit beyond : {BeyondLimit::kRefuse, BeyondLimit::kCut})
      if (files.Read(path, kReadLimit, beyond, bytes, error) && bytes.size() > kReadLimit) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string error;
  std::unique_ptr<FileSource> archive = OpenZipFilesInMemory(std::span<const uint8_t>(data, size), error);
  if (!archive) return 0;
  UseFiles(std::move(archive));
  Visit(Files(), "", 0);
  for (const char* name : {"Model.x", "a\\B.BMP", "../x", "/etc/passwd", "folder/../Model.x"}) ResolvePath(name);
  for (const std::string& name : Files().EntryNames(""))
    if (Files().EnterDirectory(name)) ResolveTexturePath("tex\\t.png", "");
  UseFiles(nullptr);
  return 0;
}
