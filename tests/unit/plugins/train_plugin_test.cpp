#include "plugins/train_plugin.h"

#include "plugin_fixture.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

using TrainPluginTest = PluginTest;

TEST_F(TrainPluginTest, LengthsAreScaledAndTheSpeedIsNot) {
  scratch.Write("Model.x", UnitModel());
  auto* train = AppendNew<TrainPlugin>(trainList, "PLUGIN",
                                       Definition("Train.txt", "Car\nMaker\n1.0\n14.0\n20.0\n120.0\n"), true);
  EXPECT_EQ(train->drawScale, 0.5f);
  EXPECT_EQ(train->scaleFigure, 1.0f);
  EXPECT_EQ(train->secondLength, 7.0f);
  EXPECT_EQ(train->bodyLength, 10.0f);
  EXPECT_EQ(train->maxSpeed, 120.0f);
  EXPECT_TRUE(train->modelLoaded);
  EXPECT_EQ(os.DebugText(), "load(Model.x) ... ok.\n");

  train->showSelected(0);
  EXPECT_EQ(Shown(trainList.info),
            (std::vector<std::string>{"<PLUGIN>", "Car", "作: Maker", "最高速度: 120.00", "車体長さ: 10.00"}));
  EXPECT_EQ(trainList.sceneNode.Mesh(), &train->mesh);
  EXPECT_EQ(trainList.sceneNode.Scale(), 0.5f);
  EXPECT_EQ(trainList.selectedObject, train);
}

TEST_F(TrainPluginTest, AtScaleHalfTheFileSizesAreKept) {
  auto* train = AppendNew<TrainPlugin>(trainList, "PLUGIN", Definition("Train.txt", "Car Maker 0.5 14 20 95"), false);
  EXPECT_EQ(train->drawScale, 1.0f);
  EXPECT_EQ(train->secondLength, 14.0f);
  EXPECT_EQ(train->bodyLength, 20.0f);
  EXPECT_EQ(train->maxSpeed, 95.0f);
  EXPECT_FALSE(train->modelLoaded);
  EXPECT_EQ(os.DebugText(), "");
}

TEST_F(TrainPluginTest, AnUnusableScaleFigureKeepsTheFileLengths) {
  auto* train = AppendNew<TrainPlugin>(trainList, "PLUGIN", Definition("Train.txt", "Car Maker 0 14 20 95"), false);
  EXPECT_EQ(train->drawScale, 1.0f);
  EXPECT_EQ(train->secondLength, 14.0f);
  EXPECT_EQ(train->bodyLength, 20.0f);
  EXPECT_EQ(os.DebugText(), "Train.txt: line 1: scale figure 0 is not usable; drawScale 1.0 instead\n");
}

TEST_F(TrainPluginTest, AFileEndingAfterTheBodyLengthLeavesTheSpeedAtZero) {
  auto* train =
      AppendNew<TrainPlugin>(trainList, "PLUGIN", Definition("Train.txt", "Car\nMaker\n1.0\n14.0\n20.0\n"), false);
  EXPECT_EQ(train->bodyLength, 10.0f);
  EXPECT_EQ(train->maxSpeed, 0.0f);
  EXPECT_EQ(os.DebugText(), "Train.txt: line 6: only 5 of 6 items read\n");
  train->showSelected(0);
  EXPECT_EQ(Shown(trainList.info)[3], "最高速度: 0.00");
}

}  // namespace
