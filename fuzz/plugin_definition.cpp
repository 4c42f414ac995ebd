// Arbitrary bytes read as the definition file of a plug-in; the first byte
// chooses the kind.
#include <cstdint>
#include <cstdio>

#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "r");
  if (!file) return 0;
  switch (data[0] % 4) {
    case 0:
      new TrainPlugin("PLUGIN", file, false);
      break;
    case 1:
      new StructPlugin("PLUGIN", file, false);
      break;
    case 2:
      new StationPlugin("PLUGIN", file, false);
      break;
    default:
      new SurfacePlugin("PLUGIN", file, false);
      break;
  }
  std::fclose(file);
  for (PluginList* list : {&trainList, &structList, &stationList, &surfaceList}) list->DestroyObjects();
  return 0;
}
