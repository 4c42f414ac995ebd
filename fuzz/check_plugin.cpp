// Arbitrary bytes made into a whole plug-in directory, then loaded and
// reported as -check does. Byte 0 chooses the kind (Train, Struct, Station,
// Surface, or a bare model), byte 1 the texture's format; the rest is split at
// "\n--8<--\n" into the definition file, Model.x and texture.<format>.
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "base/debug_log.h"
#include "image_fuzz_check.h"
#include "viewer/check_report.h"
#include "viewer/check_run.h"

namespace {

constexpr const char* kDefinitionFiles[] = {"Train.txt", "Struct.txt", "Station.txt", "Surface.txt", nullptr};
constexpr const char* kTextureFiles[] = {"texture.bmp", "texture.dds", "texture.jpg",
                                         "texture.png", "texture.ppm", "texture.tga"};
constexpr std::string_view kSeparator = "\n--8<--\n";

// The next part of the input, up to the separator or the end.
std::string_view NextPart(std::string_view& rest) {
  size_t end = rest.find(kSeparator);
  std::string_view part = rest.substr(0, end);
  rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + kSeparator.size());
  return part;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) std::abort();
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}

// One directory for the whole run, emptied before each input; the loading
// enters it, and the run goes back to where it started.
struct Workspace {
  std::filesystem::path directory;
  char start[PATH_MAX] = {};

  Workspace() {
    // In memory where the machine has it: each input writes and lists a directory.
    char inMemory[] = "/dev/shm/vdl-fuzz-check.XXXXXX";
    char onDisk[] = "/tmp/vdl-fuzz-check.XXXXXX";
    char* name = mkdtemp(inMemory) ? inMemory : mkdtemp(onDisk);
    if (!name || !getcwd(start, sizeof start)) std::abort();
    directory = name;
    QuietDebugLog();
    SetImageByteLimit(kFuzzImageBytes);
  }
  ~Workspace() { std::filesystem::remove_all(directory); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Workspace workspace;
  if (size < 2) return 0;
  const char* definition = kDefinitionFiles[data[0] % std::size(kDefinitionFiles)];
  const char* texture = kTextureFiles[data[1] % std::size(kTextureFiles)];
  std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
  std::string_view definitionBytes = NextPart(rest);
  std::string_view modelBytes = NextPart(rest);
  std::string_view textureBytes = NextPart(rest);

  for (const auto& entry : std::filesystem::directory_iterator(workspace.directory))
    std::filesystem::remove_all(entry.path());
  const std::filesystem::path& directory = workspace.directory;
  if (definition) WriteFile(directory / definition, definitionBytes);
  WriteFile(directory / "Model.x", modelBytes);
  WriteFile(directory / texture, textureBytes);

  std::string argument = definition ? directory.string() : (directory / "Model.x").string();
  CheckReport report;
  std::string reason;
  if (CheckPlugin(argument.c_str(), report, reason)) {
    if (CheckReportText(report).empty()) std::abort();
  } else if (reason.empty()) {
    std::abort();  // a failure always says why
  }
  if (CheckReportJson(report).empty()) std::abort();  // a report even of a failure
  if (chdir(workspace.start) != 0) std::abort();
  return 0;
}
