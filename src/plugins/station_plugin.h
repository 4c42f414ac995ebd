// A station plug-in: a structure whose file also lists its platforms as
// straight segments, along which the station view lays preview rails.
#pragma once
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "plugins/struct_plugin.h"

// Start point x, y, z and end point x, y, z, scene units.
using PlatformSegment = std::array<float, 6>;

class StationPlugin : public StructPlugin {
 public:
  // Loads the model when loadNow is set and reads Station.txt from the open
  // file. Platforms are read one by one up to the count the file gives; the
  // first that cannot be read ends the list.
  StationPlugin(const char* directoryName, FILE* definitionFile, bool loadNow);

  void showSelected(int offset) override;
  void writeInfo() override;
  // Lays preview rails along all platforms read, short ones included, placed
  // by origin, forward and up; they blink with the frame routines' phase.
  void DrawStationRails(const D3DXVECTOR3& origin, const D3DXVECTOR3& forward, const D3DXVECTOR3& up) const;

  int32_t platformCountRead = 0;  // entries in platforms
  int32_t platformCount = 0;      // entries at least kShortestPlatform long: the figure shown
  std::vector<PlatformSegment> platforms;

  static constexpr float kShortestPlatform = 2.0f;
  // From start to end, as drawn.
  static float Length(const PlatformSegment& platform);

 private:
  void ReadPlatforms(DefinitionReader& reader, int32_t count);
};
