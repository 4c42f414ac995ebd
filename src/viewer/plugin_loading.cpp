#include "viewer/plugin_loading.h"

#include <new>

#include "base/end_process.h"
#include "base/program_globals.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"
#include "viewer/frame_routines.h"

namespace {

constexpr const char* kPluginDirectoryName = "PLUGIN";
PluginList* const kKindLists[kKindCount] = {&trainList, &structList, &stationList, &surfaceList};

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
  // Blocks of every size end on one line at the lower left.
  const int lastLineTop = screenHeight - 19;
  auto setup = [&](TextLines& block, int lineCount) {
    block.Setup(lineCount, 5, lastLineTop - (lineCount - 1) * TextLines::kLinePitch);
  };
  setup(trainList.info, 5);
  setup(structList.info, 3);
  setup(stationList.info, 4);
  setup(surfaceList.info, 5);
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

ShownPlugin CurrentPlugin() {
  for (int kind = 0; kind < kKindCount; ++kind) {
    PluginList& list = *kKindLists[kind];
    if (list.selectedObject) return ShownPlugin{kind, list.selectedObject, list.sceneNode.Mesh()};
  }
  return ShownPlugin{};
}

void ViewerShutdown() {
  for (PluginList* list : kKindLists) {
    if (list->head) list->DestroyObjects();
  }
}
