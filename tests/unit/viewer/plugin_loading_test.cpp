#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/train_plugin.h"
#include "test_paths.h"
#include "viewer_fixture.h"
#include "state_names.h"

namespace {

// Enters a sample plug-in's directory for the test and comes back after it.
class InSampleDirectory {
 public:
  explicit InSampleDirectory(const std::string& sample) {
    if (!getcwd(previous_, sizeof previous_)) previous_[0] = '\0';
    entered_ = chdir(SourcePath("samples/" + sample).c_str()) == 0;
  }
  ~InSampleDirectory() {
    if (previous_[0] && chdir(previous_) != 0) std::perror("chdir");
  }
  bool entered() const { return entered_; }

 private:
  char previous_[PATH_MAX] = {};
  bool entered_ = false;
};

class PluginLoadingTest : public ViewerTest {
 protected:
  void SetUp() override {
    ViewerTest::SetUp();
    SetupInfoBlocks();
  }
  void TearDown() override {
    ViewerShutdown();
    SetFrameRoutine(nullptr);
    ViewerTest::TearDown();
  }
};

TEST_F(PluginLoadingTest, InfoBlocksOfAllKindsEndOnTheSameLine) {
  for (PluginList* list : {&trainList, &structList, &stationList, &surfaceList}) {
    const TextLines& block = list->info;
    EXPECT_EQ(block.x, 5);
    EXPECT_EQ(block.y + (block.capacity - 1) * block.linePitch, screenHeight - 19);
  }
  EXPECT_EQ(trainList.info.capacity, 5);
  EXPECT_EQ(structList.info.capacity, 3);
  EXPECT_EQ(stationList.info.capacity, 4);
  EXPECT_EQ(surfaceList.info.capacity, 5);
}

TEST_F(PluginLoadingTest, StationIsShownWithItsFrameRoutineAndOnlyItIsDestroyed) {
  InSampleDirectory directory("Station");
  ASSERT_TRUE(directory.entered());
  FILE* file = std::fopen("Station.txt", "r");
  ASSERT_NE(file, nullptr);
  LoadPlugin(kStationKind, file);

  ASSERT_FALSE(stationList.objects.empty());
  EXPECT_EQ(stationList.selectedObject, stationList.objects.front().get());
  EXPECT_TRUE(structList.objects.empty());
  EXPECT_EQ(application.frameRoutine, &StationFrame);
  EXPECT_STREQ(stationList.info.Line(0), "<PLUGIN>");
  EXPECT_NE(std::string(stationList.info.Line(3)).find("ホーム数: "), std::string::npos);

  // The station's rails are drawn in its frame.
  device.ClearCalls();
  RunFrame(StationFrame);
  EXPECT_GT(device.Count("DrawPrimitiveUP"), 10u);
  EXPECT_GT(device.Count("DrawIndexedPrimitive"), 0u);

  ViewerShutdown();
  EXPECT_TRUE(stationList.objects.empty());
  EXPECT_NE(os.DebugText().find("release(Model.x)\n"), std::string::npos);
}

TEST_F(PluginLoadingTest, TrainFillsItsFiveInfoLinesAndRunsTheTrainRoutine) {
  InSampleDirectory directory("Train");
  ASSERT_TRUE(directory.entered());
  FILE* file = std::fopen("Train.txt", "r");
  ASSERT_NE(file, nullptr);
  LoadPlugin(kTrainKind, file);
  ASSERT_FALSE(trainList.objects.empty());
  EXPECT_EQ(application.frameRoutine, &TrainFrame);
  for (int line = 0; line < 5; ++line) EXPECT_NE(trainList.info.Line(line), nullptr) << line;
  EXPECT_EQ(trainList.sceneNode.Mesh(), &static_cast<TrainPlugin*>(trainList.objects.front().get())->mesh);
  EXPECT_EQ(trainList.sceneNode.Scale(), trainList.objects.front().get()->drawScale);
}

TEST_F(PluginLoadingTest, BareModelIsAStructureShownByTheStructRoutine) {
  InSampleDirectory directory("model");
  ASSERT_TRUE(directory.entered());
  ASSERT_EQ(LoadBareModel("Car.x"), 1);
  ASSERT_FALSE(structList.objects.empty());
  EXPECT_EQ(application.frameRoutine, &StructFrame);
  EXPECT_STREQ(structList.info.Line(0), "<XFILE>");
  EXPECT_STREQ(structList.info.Line(1), "D3DRM-Mesh");
}

TEST_F(PluginLoadingTest, BareModelThatCannotBeLoadedIsRefused) {
  InSampleDirectory directory("model");
  EXPECT_EQ(LoadBareModel("NoSuchModel.x"), 0);
  EXPECT_TRUE(structList.objects.empty());
  EXPECT_NE(os.DebugText().find("load(NoSuchModel.x) ... failed.\n"), std::string::npos) << os.DebugText();
}

}  // namespace
