#include "viewer/plugin_reload.h"

#include <algorithm>

#include "platform/os/file_source.h"
#include "plugins/plugin_list.h"
#include "plugins/plugin_object.h"
#include "resources/load_log.h"
#include "resources/mesh_resource.h"
#include "resources/texture_cache.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

namespace {

void AddOnce(std::vector<std::string>& files, const std::string& file) {
  if (!file.empty() && std::find(files.begin(), files.end(), file) == files.end()) files.push_back(file);
}

std::vector<std::string> FilesOf(const PluginSource& source, const MeshResource* model) {
  std::vector<std::string> files;
  if (!source.IsBareModel()) AddOnce(files, DefinitionFileName(source.kind));
  AddOnce(files, source.IsBareModel() ? source.bareModelPath : kModelFileName);
  if (model) {
    // A texture found by a fallback is watched where it was found.
    for (size_t j = 0; j < model->textureNames.size(); ++j) {
      const ResolvedPath& found = model->textureFiles[j];
      AddOnce(files, found.match == PathMatch::kMissing ? model->textureNames[j] : found.path);
    }
  }
  return files;
}

bool HadFailed(const std::vector<LoadNote>& failures, const std::string& file) {
  return std::any_of(failures.begin(), failures.end(), [&](const LoadNote& f) { return f.file == file; });
}

// The first failure of the new load that the shown load did not have.
const LoadNote* FirstNewFailure(const std::vector<LoadNote>& fresh, const std::vector<LoadNote>& shown) {
  for (const LoadNote& failure : fresh)
    if (!HadFailed(shown, failure.file)) return &failure;
  return nullptr;
}

}  // namespace

std::vector<LoadNote> TakeFailuresOf(const PluginObject* object) {
  std::vector<LoadNote> failures = TakeLoadFailures();
  if (object) failures.insert(failures.end(), object->definition.problems.begin(), object->definition.problems.end());
  return failures;
}

ReloadOutcome ReloadPlugin(const PluginSource& source, std::vector<LoadNote>& shownFailures) {
  ReloadOutcome outcome;
  // An archive saved anew is read again; files on disk are read as they are.
  if (!Files().Refresh(outcome.reason)) {
    outcome.files = FilesOf(source, nullptr);
    return outcome;
  }
  FILE* definitionFile = nullptr;
  if (!source.IsBareModel() && !(definitionFile = OpenDefinitionFile(source.kind))) {
    outcome.reason = std::string(DefinitionFileName(source.kind)) + ": cannot be opened";
    outcome.files = FilesOf(source, nullptr);
    return outcome;
  }

  PluginList& list = ListOf(source.kind);
  PluginObjects shown = list.TakeObjects();
  Textures().RetireAll();    // so the new model reads its textures from the files again
  TakeLoadFailures();        // only the new load's failures count
  PluginObject* fresh = source.IsBareModel() ? ConstructBareModel(source.bareModelPath.c_str())
                                    : ConstructPlugin(source.kind, definitionFile);
  std::vector<LoadNote> failures = TakeFailuresOf(fresh);
  outcome.files = FilesOf(source, fresh ? &ModelOf(source.kind, fresh) : nullptr);

  const LoadNote* worse = FirstNewFailure(failures, shownFailures);
  if (fresh && !worse) {
    ShowPlugin(source.kind, fresh);
    shownFailures = failures;
    outcome.reloaded = true;
    return outcome;
  }
  outcome.reason = worse ? worse->Text() : source.bareModelPath + ": cannot be loaded";
  list.PutBack(std::move(shown));  // destroys the new object, if any
  return outcome;
}

std::vector<std::string> FilesOfShownPlugin(const PluginSource& source) {
  PluginObject* shown = ListOf(source.kind).selectedObject;
  return FilesOf(source, shown ? &ModelOf(source.kind, shown) : nullptr);
}
