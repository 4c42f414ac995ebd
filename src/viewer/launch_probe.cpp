#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

#include "base/debug_log.h"
#include "platform/os/file_source.h"
#include "platform/os/path_lookup.h"
#include "platform/os/text_encoding.h"
#include "platform/os/zip_source.h"
#include "plugins/definition_reader.h"
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
static_assert(kKindTableSize == kKindCount, "one name for each kind");

// A failing change leaves the current directory where it was, and the probe
// looks there; callers go on either way.
bool EnterDirectory(const char* path) { return Files().EnterDirectory(path); }

FILE* OpenInCurrentDirectory(const char* name, std::string* opened = nullptr) {
  std::string path = ResolveExistingPath(name);
  if (opened) *opened = path;
  std::string error;
  // One byte beyond the reader's limit, so that it sees the file go on.
  return path.empty() ? nullptr : OpenFileStream(path, kMaxDefinitionBytes + 1, error);
}

bool HoldsPlugin(const std::string& folder) {
  if (ResolveExistingPath(folder + kModelFileName).empty()) return false;
  return std::any_of(std::begin(kKinds), std::end(kKinds),
                     [&](const KindNames& kind) { return !ResolveExistingPath(folder + kind.definitionFile).empty(); });
}

// Makes the argument's archive the file source, or the file system when it
// names none; the name inside the archive (or the argument itself) goes to
// `path`. False, with the reason in the probe, when the archive cannot be
// read or does not name one plug-in.
bool EnterFileSource(const char* argument, std::string& path, LaunchProbe& probe) {
  ArchivePath parts;
  if (!IsArchivePath(argument, &parts)) {
    UseFiles(nullptr);
    path = argument;
    return true;
  }
  std::vector<std::string> notes;
  std::unique_ptr<FileSource> archive = OpenZipFiles(parts.archive, probe.reason, &notes);
  for (const std::string& note : notes) LogPrintf("%s: %s\n", parts.archive.c_str(), note.c_str());
  if (!archive) return false;
  UseFiles(std::move(archive));
  path = parts.inside;
  if (!path.empty()) return true;
  std::vector<std::string> plugins = PluginsInFileSource();
  if (plugins.size() == 1) {
    path = plugins.front();
    return true;
  }
  probe.reason = SeveralPluginsReason(parts.archive, plugins);
  return false;
}

// Both "Model.x" and the kind's definition file in the current directory: the
// open definition file, whose path goes to `definitionPath`.
FILE* ProbeKind(PluginKind kind, std::string& definitionPath) {
  FILE* model = OpenInCurrentDirectory(kModelFileName);
  if (!model) return nullptr;
  std::fclose(model);
  return OpenInCurrentDirectory(kKinds[kind].definitionFile, &definitionPath);
}

}  // namespace

std::vector<std::string> PluginsInFileSource() {
  std::vector<std::string> found;
  std::vector<std::string> folders{""};
  for (const std::string& name : Files().EntryNames(""))
    if (Files().IsEntry(name, EntryKind::kDirectory)) folders.push_back(name + "/");
  for (const std::string& folder : folders) {
    if (HoldsPlugin(folder)) {
      found.push_back(folder.empty() ? "." : folder.substr(0, folder.size() - 1));
      continue;
    }
    for (const std::string& name : Files().EntryNames(folder))
      if (EndsWithIgnoringAsciiCase(name, ".x") && Files().IsEntry(folder + name, EntryKind::kFile))
        found.push_back(folder + name);
  }
  return found;
}

bool ListArchivePlugins(const std::string& archive, std::vector<std::string>& plugins, std::string& error) {
  std::unique_ptr<FileSource> source = OpenZipFiles(archive, error);
  if (!source) return false;
  UseFiles(std::move(source));
  plugins = PluginsInFileSource();
  UseFiles(nullptr);
  return true;
}

std::string SeveralPluginsReason(const std::string& archive, const std::vector<std::string>& plugins) {
  if (plugins.empty())
    return "the archive holds no plug-in (Model.x with its definition file, or a .x model) in its root or one "
           "folder down";
  std::string text = "the archive holds " + std::to_string(plugins.size()) + " plug-ins; name one:";
  for (const std::string& plugin : plugins) text += " " + archive + kArchiveSeparator + plugin;
  return text;
}

const char* DefinitionFileName(PluginKind kind) { return kKinds[kind].definitionFile; }

FILE* OpenDefinitionFile(PluginKind kind) { return OpenInCurrentDirectory(kKinds[kind].definitionFile); }

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
  std::string inside;
  if (!EnterFileSource(argument, inside, probe)) return probe;
  argument = inside.c_str();
  char directory[kLaunchPathSize];
  // First as a definition file's path, by its name; then as a directory, by its contents.
  for (int i = 0; i < 2 * kKindTableSize; ++i) {
    PluginKind kind = kAllKinds[i % kKindTableSize];
    if (i < kKindTableSize) {
      const char* name = kKinds[kind].definitionFile;
      if (!EndsWithIgnoringAsciiCase(argument, name)) continue;
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
  if (EndsWithIgnoringAsciiCase(argument, ".x")) {
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
