#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "plugins/plugin_object.h"
#include "viewer/launch.h"

namespace {

struct KindNames {
  const char* kind;
  const char* definitionFile;
};

// In the kind table's order; the index is the kind.
constexpr KindNames kKinds[] = {
    {"Train", "Train.txt"}, {"Struct", "Struct.txt"}, {"Station", "Station.txt"}, {"Surface", "Surface.txt"}};
constexpr int kKindTableSize = std::size(kKinds);

// UTF-8 and code page 932 multi-byte characters never contain ASCII letters in
// their first byte, so folding ASCII letters only compares them as whole characters.
bool EndsWithIgnoringCase(const char* text, const char* tail) {
  size_t textLength = std::strlen(text);
  size_t tailLength = std::strlen(tail);
  if (textLength < tailLength) return false;
  const char* start = text + textLength - tailLength;
  for (size_t i = 0; i < tailLength; ++i)
    if (LowerAscii(start[i]) != LowerAscii(tail[i])) return false;
  return true;
}

// A failing change leaves the current directory where it was, and the probe
// looks there; callers go on either way.
bool EnterDirectory(const char* path) { return path[0] != '\0' && chdir(path) == 0; }

FILE* OpenInCurrentDirectory(const char* name, std::string* opened = nullptr) {
  std::string path = ResolveExistingPath(name);
  if (opened) *opened = path;
  return path.empty() ? nullptr : std::fopen(path.c_str(), "r");
}

// Both "Model.x" and the kind's definition file in the current directory: the
// open definition file, whose path goes to `definitionPath`.
FILE* ProbeKind(int kind, std::string& definitionPath) {
  FILE* model = OpenInCurrentDirectory(kModelFileName);
  if (!model) return nullptr;
  std::fclose(model);
  return OpenInCurrentDirectory(kKinds[kind].definitionFile, &definitionPath);
}

}  // namespace

const char* DefinitionFileName(int kind) { return kKinds[kind].definitionFile; }

FILE* OpenDefinitionFile(int kind) { return OpenInCurrentDirectory(kKinds[kind].definitionFile); }

void StripToDirectory(char* path) {
  char* slash = std::strrchr(path, '/');
  if (slash)
    slash[1] = '\0';
  else
    path[0] = '\0';
}

LaunchProbe ProbeLaunchArgument(const char* argument) {
  LaunchProbe probe;
  if (std::strlen(argument) >= kLaunchPathSize) {
    probe.reason = "the argument is 1024 bytes or longer";
    return probe;
  }
  char directory[kLaunchPathSize];
  // First as a definition file's path, by its name; then as a directory, by its contents.
  for (int i = 0; i < 2 * kKindTableSize; ++i) {
    int kind = i % kKindTableSize;
    if (i < kKindTableSize) {
      const char* name = kKinds[kind].definitionFile;
      if (!EndsWithIgnoringCase(argument, name)) continue;
      std::snprintf(directory, sizeof directory, "%s", argument);
      directory[std::strlen(argument) - std::strlen(name)] = '\0';
      EnterDirectory(directory);
    } else {
      EnterDirectory(argument);
    }
    if (FILE* definitionFile = ProbeKind(kind, probe.definitionPath)) {
      probe.target = LaunchTarget::kPlugin;
      probe.kind = kind;
      probe.definitionFile = definitionFile;
      probe.kindName = kKinds[kind].kind;
      probe.definitionName = kKinds[kind].definitionFile;
      return probe;
    }
  }
  if (EndsWithIgnoringCase(argument, ".x")) {
    std::snprintf(directory, sizeof directory, "%s", argument);
    StripToDirectory(directory);
    // Once inside the model's directory a relative path would point below it;
    // an absolute one is kept as given.
    bool entered = EnterDirectory(directory);
    probe.modelPath = entered && argument[0] != '/' ? argument + std::strlen(directory) : argument;
    probe.target = LaunchTarget::kBareModel;
    return probe;
  }
  probe.reason = "no Model.x with Train.txt, Struct.txt, Station.txt or Surface.txt, and not a .x model";
  return probe;
}
