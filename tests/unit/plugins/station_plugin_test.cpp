#include "plugins/station_plugin.h"

#include "plugin_fixture.h"
#include "rail/station_rails.h"
#include "base/program_state.h"
#include "recorded_lines.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

class StationPluginTest : public PluginTest {
 protected:
  StationPlugin* Make(const std::string& text) {
    return AppendNew<StationPlugin>(stationList, "PLUGIN", Definition("Station.txt", text), false);
  }
};

TEST_F(StationPluginTest, EntriesAreScaledAndRaised) {
  StationPlugin* station = Make("Stop\nMaker\n1.0\n2\n(0,0,0),(10,0,0)\n(0,0,0),(3.9,0,0)\n");
  ASSERT_EQ(station->platformCountRead, 2);
  EXPECT_EQ(station->platforms[0], (PlatformSegment{0.0f, 0.05f, 0.0f, 5.0f, 0.05f, 0.0f}));
  EXPECT_EQ(station->platforms[1][3], 1.95f);  // kept, though too short to count
  EXPECT_EQ(station->platformCount, 1);
  EXPECT_EQ(os.DebugText(), "");
}

TEST_F(StationPluginTest, ASegmentOfExactlyTwoUnitsCounts) {
  StationPlugin* station = Make("Stop Maker 0.5 1 (0,0,0),(2,0,0)");
  EXPECT_EQ(station->drawScale, 1.0f);
  EXPECT_EQ(station->platformCount, 1);
}

TEST_F(StationPluginTest, TheInfoShowsTheLongPlatformsOnly) {
  scratch.Write("Model.x", UnitModel());
  auto* station = AppendNew<StationPlugin>(
      stationList, "PLUGIN",
      Definition("Station.txt", "Stop\nMaker\n0.5\n3\n(0,0,0),(5,0,0)\n(0,0,0),(0,1,0)\n(0,0,0),(0,0,4)\n"), true);
  station->showSelected(0);
  EXPECT_EQ(station->platformCountRead, 3);
  EXPECT_EQ(Shown(stationList.info), (std::vector<std::string>{"<PLUGIN>", "Stop", "作: Maker", "ホーム数: 2"}));
  EXPECT_EQ(stationList.selectedObject, station);
  EXPECT_EQ(stationList.sceneNode.Mesh(), &station->mesh);
  EXPECT_EQ(stationList.sceneNode.Scale(), 1.0f);
}

TEST_F(StationPluginTest, ABlankBeforeACommaEndsThePlatformsRead) {
  StationPlugin* station = Make("Stop Maker 1 3\n(0,0,0),(10,0,0)\n(0,0 ,0),(10,0,0)\n(0,0,0),(10,0,0)\n");
  EXPECT_EQ(station->platformCountRead, 1);
  EXPECT_EQ(station->platforms.size(), 1u);
  EXPECT_EQ(station->platformCount, 1);
  EXPECT_EQ(os.DebugText(), "Station.txt: line 3: 1 of 3 platforms read\n");
}

TEST_F(StationPluginTest, ACountBeyondTheEntriesReservesNothingForTheMissingOnes) {
  StationPlugin* station = Make("Stop Maker 1 2000000000\n(0,0,0),(10,0,0)\n(0,0,0),(0,0,10)\n");
  EXPECT_EQ(station->platformCountRead, 2);
  EXPECT_LE(station->platforms.capacity(), 16u);
  EXPECT_EQ(station->platformCount, 2);
  EXPECT_EQ(os.DebugText(), "Station.txt: line 4: 2 of 2000000000 platforms read\n");
}

TEST_F(StationPluginTest, AMillionPlatformsAreReadUpToTheItemLimit) {
  std::string text = "Stop Maker 1 1000000\n";
  for (int i = 0; i < 1000000; ++i) text += "(0,0,0),(10,0,0)\n";
  StationPlugin* station = Make(text);
  const int32_t kept = (kMaxDefinitionItems - 4) / 6;
  EXPECT_EQ(station->platformCountRead, kept);
  EXPECT_EQ(station->platformCount, kept);
  EXPECT_EQ(os.DebugText(),
            "Station.txt: line 1668: the file holds more than 10000 items; the rest is not read\n"
            "Station.txt: line 1668: 1666 of 1000000 platforms read\n");
}

TEST_F(StationPluginTest, ANegativeCountReadsNoEntries) {
  StationPlugin* station = Make("Stop Maker 1 -3\n(0,0,0),(10,0,0)\n");
  EXPECT_EQ(station->platformCountRead, 0);
  EXPECT_EQ(station->platformCount, 0);
  EXPECT_TRUE(station->platforms.empty());
  EXPECT_EQ(os.DebugText(), "Station.txt: line 1: platform count -3 read as 0\n");
  station->showSelected(0);
  EXPECT_EQ(Shown(stationList.info).back(), "ホーム数: 0");
}

TEST_F(StationPluginTest, AMissingCountReadsNoEntries) {
  StationPlugin* station = Make("Stop Maker 1\n");
  EXPECT_EQ(station->platformCountRead, 0);
  EXPECT_EQ(os.DebugText(), "Station.txt: line 2: only 3 of 4 items read\n");
}

TEST_F(StationPluginTest, PreviewRailsLieAlongTheLongPlatformsOnly) {
  StationPlugin* station = Make("Stop Maker 1 2\n(0,0,4),(10,0,4)\n(0,0,0),(1,0,0)\n");
  blinkAngle = 0.0f;  // alpha 128
  station->DrawStationRails(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
  std::vector<RecordedLine> lines = RecordedLines(device);
  ASSERT_FALSE(lines.empty());
  const RecordedLine& control = lines[0];  // the red control line of the long platform
  EXPECT_EQ(control.startColour, 0x80ff0000u);
  EXPECT_FLOAT_EQ(control.start.z, 2.0f);
  EXPECT_FLOAT_EQ(control.start.y, 0.05f);
  EXPECT_FLOAT_EQ(control.end.x, 5.0f);
  for (const RecordedLine& line : lines) EXPECT_GE(line.start.z, 2.0f) << "only the second platform is drawn";
  EXPECT_EQ(device.RenderState(D3DRS_ZFUNC), D3DCMP_LESSEQUAL);
}

}  // namespace
