#include "viewer/plugin_reload.h"

#include <algorithm>

#include "plugins/plugin_list.h"
#include "plugins/plugin_object.h"
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
  if (model)
    for (const std::string& texture : model->textureNames) AddOnce(files, texture);
  return files;
}

bool HadFailed(const std::vector<LoadFailure>& failures, const std::string& file) {
  return std::any_of(failures.begin(), failures.end(), [&](const LoadFailure& f) { return f.file == file; });
}

// The first failure of the new load that the shown load did not have.
const LoadFailure* FirstNewFailure(const std::vector<LoadFailure>& fresh, const std::vector<LoadFailure>& shown) {
  for (const LoadFailure& failure : fresh)
    if (!HadFailed(shown, failure.file)) return &failure;
  return nullptr;
}

}  // namespace

ReloadOutcome ReloadPlugin(const PluginSource& source, std::vector<LoadFailure>& shownFailures) {
  ReloadOutcome outcome;
  FILE* definitionFile = nullptr;
  if (!source.IsBareModel() && !(definitionFile = OpenDefinitionFile(source.kind))) {
    outcome.reason = std::string(DefinitionFileName(source.kind)) + ": cannot be opened";
    outcome.files = FilesOf(source, nullptr);
    return outcome;
  }

  PluginList& list = ListOf(source.kind);
  PluginObject* shown = list.TakeObjects();
  textureCache.RetireAll();  // so the new model reads its textures from the files again
  TakeLoadFailures();        // only the new load's failures count
  PluginObject* fresh = source.IsBareModel() ? ConstructBareModel(source.bareModelPath.c_str())
                                    : ConstructPlugin(source.kind, definitionFile);
  std::vector<LoadFailure> failures = TakeLoadFailures();
  outcome.files = FilesOf(source, fresh ? &ModelOf(source.kind, fresh) : nullptr);

  const LoadFailure* worse = FirstNewFailure(failures, shownFailures);
  if (fresh && !worse) {
    ShowPlugin(source.kind, fresh);
    delete shown;  // after the new one took the scene node and the info block
    shownFailures = failures;
    outcome.reloaded = true;
    return outcome;
  }
  outcome.reason = worse ? worse->reason : source.bareModelPath + ": cannot be loaded";
  delete list.TakeObjects();  // the new object, when it joined the list
  list.PutBack(shown);
  return outcome;
}

std::vector<std::string> FilesOfShownPlugin(const PluginSource& source) {
  PluginObject* shown = ListOf(source.kind).selectedObject;
  return FilesOf(source, shown ? &ModelOf(source.kind, shown) : nullptr);
}
