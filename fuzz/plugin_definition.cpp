// Arbitrary bytes read as the definition file of a plug-in; the first byte
// chooses the kind.
#include <cstdint>
#include <cstdio>
#include <memory>

#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  FILE* file = fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "r");
  if (!file) return 0;
  std::unique_ptr<PluginObject> object;
  switch (data[0] % 4) {
    case 0:
      object = std::make_unique<TrainPlugin>("PLUGIN", file, false);
      break;
    case 1:
      object = std::make_unique<StructPlugin>("PLUGIN", file, false);
      break;
    case 2:
      object = std::make_unique<StationPlugin>("PLUGIN", file, false);
      break;
    default:
      object = std::make_unique<SurfacePlugin>("PLUGIN", file, false);
      break;
  }
  std::fclose(file);
  return 0;
}
