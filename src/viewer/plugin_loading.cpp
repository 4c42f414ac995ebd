#include "viewer/plugin_loading.h"

#include <new>

#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"
#include "shell/application.h"
#include "viewer/frame_routines.h"

namespace {

constexpr const char* kPluginDirectoryName = "PLUGIN";

// Constructs the object of a kind and shows it; false when it cannot be allocated.
template <typename Plugin>
bool ConstructAndShow(FILE* definitionFile) {
  Plugin* plugin = new (std::nothrow) Plugin(kPluginDirectoryName, definitionFile, true);
  if (!plugin) return false;
  plugin->showSelected(0);
  return true;
}

[[noreturn]] void EndForLackOfMemory() { EndProcessWithReason("LoadPlugin: the plug-in object cannot be allocated"); }

}  // namespace

void SetupInfoBlocks() {
  // Every block's last line starts at screenHeight - 19, whatever its size.
  trainList.info.Setup(5, 5, screenHeight - 75);
  structList.info.Setup(3, 5, screenHeight - 47);
  stationList.info.Setup(4, 5, screenHeight - 61);
  surfaceList.info.Setup(5, 5, screenHeight - 75);
}

void LoadPlugin(int kind, FILE* definitionFile) {
  bool constructed = false;
  FrameRoutine routine = nullptr;
  switch (kind) {
    case kTrainKind:
      constructed = ConstructAndShow<TrainPlugin>(definitionFile);
      routine = TrainFrame;
      break;
    case kStructKind:
      constructed = ConstructAndShow<StructPlugin>(definitionFile);
      routine = StructFrame;
      break;
    case kStationKind:
      constructed = ConstructAndShow<StationPlugin>(definitionFile);
      routine = StationFrame;
      break;
    case kSurfaceKind:
      constructed = ConstructAndShow<SurfacePlugin>(definitionFile);
      routine = SurfaceFrame;
      break;
  }
  std::fclose(definitionFile);
  if (!constructed) EndForLackOfMemory();
  SetFrameRoutine(routine);
}

int LoadBareModel(const char* modelPath) {
  StructPlugin* model = new (std::nothrow) StructPlugin(modelPath);
  if (!model) EndForLackOfMemory();
  if (!model->modelLoaded) {
    delete model;
    return 0;
  }
  model->showSelected(0);
  SetFrameRoutine(StructFrame);
  return 1;
}

void ViewerShutdown() {
  for (PluginList* list : {&trainList, &structList, &stationList, &surfaceList}) {
    if (list->head) list->DestroyObjects();
  }
}
