#include "plugins/surface_plugin.h"

#include "plugin_fixture.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

using SurfacePluginTest = PluginTest;

TEST_F(SurfacePluginTest, WidthsAreScaledAndTheModelIsDrawnAtATwentieth) {
  scratch.Write("Model.x", UnitModel());
  auto* surface = AppendNew<SurfacePlugin>(surfaceList, "PLUGIN",
                                           Definition("Surface.txt", "Grass\nMaker\n1.0\n40.0\n20.0\n"), true);
  surface->showSelected(0);
  EXPECT_EQ(Shown(surfaceList.info),
            (std::vector<std::string>{"<PLUGIN>", "Grass", " 作: Maker", "X幅: 20.0", "Z幅: 10.0"}));
  EXPECT_EQ(surfaceList.sceneNode.Mesh(), &surface->mesh);
  EXPECT_FLOAT_EQ(surfaceList.sceneNode.Scale(), 0.025f);
}

TEST_F(SurfacePluginTest, ASmallScaleFigureEnlargesModelAndWidths) {
  auto* surface =
      AppendNew<SurfacePlugin>(surfaceList, "PLUGIN", Definition("Surface.txt", "Grass Maker 0.05 40 20"), false);
  EXPECT_FLOAT_EQ(surface->drawScale, 10.0f);
  EXPECT_FLOAT_EQ(surface->widthX, 400.0f);
  EXPECT_FLOAT_EQ(surface->widthZ, 200.0f);
  surface->showSelected(0);
  EXPECT_FLOAT_EQ(surfaceList.sceneNode.Scale(), 0.5f);
}

TEST_F(SurfacePluginTest, AnUnusableScaleFigureKeepsTheWidthsAndDrawsTheModelAtATwentieth) {
  auto* surface =
      AppendNew<SurfacePlugin>(surfaceList, "PLUGIN", Definition("Surface.txt", "Grass Maker -1 40 20"), false);
  EXPECT_EQ(surface->drawScale, 1.0f);
  EXPECT_EQ(surface->widthX, 40.0f);
  EXPECT_EQ(surface->widthZ, 20.0f);
  EXPECT_EQ(os.DebugText(), "Surface.txt: line 1: scale figure -1 is not usable; drawScale 1.0 instead\n");
  surface->showSelected(0);
  EXPECT_FLOAT_EQ(surfaceList.sceneNode.Scale(), 0.05f);
}

}  // namespace
