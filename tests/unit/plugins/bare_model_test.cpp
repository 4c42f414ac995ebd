#include "plugin_fixture.h"
#include "plugins/struct_plugin.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

using BareModelTest = PluginTest;

TEST_F(BareModelTest, TheBoundingSphereIsDrawnWithRadiusTen) {
  scratch.Write("car.x", TriangleModel(-2, 0, 0, 2, 0, 0, 0, 0, 0));
  auto* model = AppendNew<StructPlugin>(structList, "car.x");
  EXPECT_TRUE(model->modelLoaded);
  EXPECT_FLOAT_EQ(model->scaleFigure, 0.1f);
  EXPECT_FLOAT_EQ(model->drawScale, 5.0f);
  EXPECT_EQ(structList.objects.front().get(), model);
  model->showSelected(0);
  EXPECT_EQ(Shown(structList.info), (std::vector<std::string>{"<XFILE>", "D3DRM-Mesh", "作: ZOVA X-File Viewer"}));
  EXPECT_FLOAT_EQ(structList.sceneNode.Scale(), 5.0f);
  EXPECT_EQ(os.DebugText(), "load(car.x) ... ok.\n");
}

TEST_F(BareModelTest, ALargeModelIsScaledDown) {
  scratch.Write("big.x", TriangleModel(-100, 0, 0, 100, 0, 0, 0, 0, 0));
  auto* model = AppendNew<StructPlugin>(structList, "big.x");
  EXPECT_FLOAT_EQ(model->drawScale, 0.1f);
}

TEST_F(BareModelTest, AModelOfOnePointIsDrawnAtScaleOne) {
  scratch.Write("dot.x", TriangleModel(1, 1, 1, 1, 1, 1, 1, 1, 1));
  auto* model = AppendNew<StructPlugin>(structList, "dot.x");
  ASSERT_TRUE(model->modelLoaded);
  EXPECT_EQ(model->drawScale, 1.0f);
  EXPECT_EQ(os.DebugText(), "load(dot.x) ... ok.\ndot.x: bounding sphere radius 0; drawScale 1.0 instead\n");
}

TEST_F(BareModelTest, AModelThatCannotBeLoadedIsReportedToTheCaller) {
  StructPlugin model("missing.x");
  EXPECT_FALSE(model.modelLoaded);
  EXPECT_TRUE(structList.objects.empty());
  EXPECT_EQ(structList.objects.size(), 0u);
}

}  // namespace
