#include "viewer/plugin_loading.h"

#include <memory>
#include <new>

#include "base/end_process.h"
#include "base/program_state.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"
#include "viewer/frame_routines.h"
#include "viewer/live_reload.h"

namespace {

constexpr const char* kPluginDirectoryName = "PLUGIN";

template <typename Plugin>
std::unique_ptr<PluginObject> Construct(FILE* definitionFile) {
  return std::unique_ptr<PluginObject>(new (std::nothrow) Plugin(kPluginDirectoryName, definitionFile, true));
}

// Train and Surface have no virtual showSelected and getModel, so each kind
// is reached through its own class.
template <typename Plugin>
void Show(PluginObject* object) {
  static_cast<Plugin*>(object)->showSelected(0);
}

template <typename Plugin>
MeshResource& Model(PluginObject* object) {
  return static_cast<Plugin*>(object)->getModel();
}

struct KindLoading {
  std::unique_ptr<PluginObject> (*construct)(FILE*);
  void (*show)(PluginObject*);
  MeshResource& (*model)(PluginObject*);
  FrameRoutine routine;
  PluginList* list;
};

// In the kind table's order.
const KindLoading kKindLoading[kKindCount] = {
    {Construct<TrainPlugin>, Show<TrainPlugin>, Model<TrainPlugin>, TrainFrame, &Plugins().trainList},
    {Construct<StructPlugin>, Show<StructPlugin>, Model<StructPlugin>, StructFrame, &Plugins().structList},
    {Construct<StationPlugin>, Show<StationPlugin>, Model<StationPlugin>, StationFrame, &Plugins().stationList},
    {Construct<SurfacePlugin>, Show<SurfacePlugin>, Model<SurfacePlugin>, SurfaceFrame, &Plugins().surfaceList},
};

[[noreturn]] void EndForLackOfMemory() { EndProcessWithReason("LoadPlugin: the plug-in object cannot be allocated"); }

}  // namespace

void SetupInfoBlocks() {
  // Blocks of every size end on one line at the lower left.
  const int lastLineTop = Program().screenHeight - 19;
  auto setup = [&](TextLines& block, int lineCount) {
    block.Setup(lineCount, 5, lastLineTop - (lineCount - 1) * TextLines::kLinePitch);
  };
  setup(Plugins().trainList.info, 5);
  setup(Plugins().structList.info, 3);
  setup(Plugins().stationList.info, 4);
  setup(Plugins().surfaceList.info, 5);
}

PluginObject* ConstructPlugin(PluginKind kind, FILE* definitionFile) {
  std::unique_ptr<PluginObject> object = kKindLoading[kind].construct(definitionFile);
  std::fclose(definitionFile);
  if (!object) EndForLackOfMemory();
  return kKindLoading[kind].list->Append(std::move(object));
}

PluginObject* ConstructBareModel(const char* modelPath, std::vector<LoadNote>* failureNotes) {
  std::unique_ptr<StructPlugin> model(new (std::nothrow) StructPlugin(modelPath));
  if (!model) EndForLackOfMemory();
  if (!model->modelLoaded) {
    if (failureNotes) *failureNotes = std::move(model->mesh.notes);
    return nullptr;
  }
  return Plugins().structList.Append(std::move(model));
}

void ShowPlugin(PluginKind kind, PluginObject* object) {
  kKindLoading[kind].show(object);
  SetFrameRoutine(kKindLoading[kind].routine);
}

MeshResource& ModelOf(PluginKind kind, PluginObject* object) { return kKindLoading[kind].model(object); }

PluginList& ListOf(PluginKind kind) { return *kKindLoading[kind].list; }

void LoadPlugin(PluginKind kind, FILE* definitionFile) {
  ShowPlugin(kind, ConstructPlugin(kind, definitionFile));
}

int LoadBareModel(const char* modelPath, std::vector<LoadNote>* failureNotes) {
  PluginObject* model = ConstructBareModel(modelPath, failureNotes);
  if (!model) return 0;
  ShowPlugin(kStructKind, model);
  return 1;
}

ShownPlugin CurrentPlugin() {
  for (PluginKind kind : kAllKinds) {
    PluginList& list = *kKindLoading[kind].list;
    if (list.selectedObject) return ShownPlugin{kind, list.selectedObject, list.sceneNode.Mesh()};
  }
  return ShownPlugin{};
}

void ViewerShutdown() {
  StopWatching();
  for (const KindLoading& kind : kKindLoading) {
    if (!kind.list->objects.empty()) kind.list->DestroyObjects();
  }
}
