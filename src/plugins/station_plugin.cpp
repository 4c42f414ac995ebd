#include "plugins/station_plugin.h"

#include <cmath>
#include <iterator>
#include <string>

#include "base/program_state.h"
#include "plugins/plugin_list.h"
#include "rail/station_rails.h"

namespace {
constexpr char kFileName[] = "Station.txt";
constexpr const char* kItemNames[] = {"platform count"};
constexpr int kPlatformCountItem = 4;
constexpr const char* kPlatformItemNames[] = {"start x", "start y", "start z", "end x", "end y", "end z"};
constexpr int kPlatformItems = std::size(kPlatformItemNames);
constexpr float kPlatformHeight = 0.05f;  // above the points as given
}  // namespace

float StationPlugin::Length(const PlatformSegment& p) {
  float dx = p[3] - p[0], dy = p[4] - p[1], dz = p[5] - p[2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

StationPlugin::StationPlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : StructPlugin(directoryName, loadNow) {
  DefinitionReader reader(definitionFile, kFileName);
  int32_t count = 0;
  int itemsRead = reader.Read("%s\n%s\n%f\n%d", name, author, &scaleFigure, &count);
  FinishReading(reader, itemsRead, kItemNames);
  if (count < 0) {
    reader.Record().AddProblem(FindingCode::kPlatformCountNegative, reader.Record().fields[kPlatformCountItem - 1].line,
                               "platform count %d read as 0", count);
    count = 0;
  }
  ReadPlatforms(reader, count);
  definition = std::move(reader.Record());
}

void StationPlugin::ReadPlatforms(DefinitionReader& reader, int32_t count) {
  for (int32_t i = 0; i < count; ++i) {
    PlatformSegment p;
    int itemsRead = reader.Read("\n(%f,%f,%f),(%f,%f,%f)", &p[0], &p[1], &p[2], &p[3], &p[4], &p[5]);
    reader.NameFields(kPlatformItemNames, "platform " + std::to_string(i + 1) + " ");
    if (itemsRead != kPlatformItems) {
      reader.Record().AddProblem(FindingCode::kPlatformsMissing, reader.Line(), "%d of %d platforms read", i, count);
      break;
    }
    for (float& value : p) value *= drawScale;
    p[1] += kPlatformHeight;
    p[4] += kPlatformHeight;
    platforms.push_back(p);
    if (Length(p) >= kShortestPlatform) ++platformCount;
  }
  platformCountRead = static_cast<int32_t>(platforms.size());
}

void StationPlugin::showSelected(int offset) {
  if (ShowIfSelected(Plugins().stationList, getModel(), drawScale, offset)) writeInfo();
  if (PluginObject* after = NextToShow(Plugins().stationList, offset))
    static_cast<StationPlugin*>(after)->showSelected(offset - 1);
}

void StationPlugin::writeInfo() {
  WriteInfoHead(Plugins().stationList.info, "作: ");
  Plugins().stationList.info.AddLinef("ホーム数: %d", platformCount);
}

void StationPlugin::DrawStationRails(const D3DXVECTOR3& origin, const D3DXVECTOR3& forward,
                                     const D3DXVECTOR3& up) const {
  ::DrawStationRails(platforms.data(), platformCountRead, Program().blinkAngle, origin, forward, up);
}
