// The sample plug-ins in samples/ load with every texture they name.
#include <iterator>
#include <string>

#include "plugin_fixture.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"
#include "test_paths.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

class SamplesTest : public PluginTest {
 protected:
  FILE* Enter(const std::string& kind) {
    scratch.CopyFrom(SourcePath("samples/" + kind));
    return scratch.Open(kind + ".txt");
  }
  // Every load line of the log completed by "ok.", and how many there were.
  size_t LoadsAllOk() const {
    std::string log = os.DebugText();
    EXPECT_EQ(log.find("failed."), std::string::npos) << log;
    size_t loads = 0;
    for (size_t at = log.find("load("); at != std::string::npos; at = log.find("load(", at + 1)) ++loads;
    return loads;
  }
};

TEST_F(SamplesTest, Train) {
  FILE* file = Enter("Train");
  auto* train = AppendNew<TrainPlugin>(trainList, "PLUGIN", file, true);
  std::fclose(file);
  EXPECT_EQ(LoadsAllOk(), 3u);  // the model, a BMP named in other letter case, a TGA
  EXPECT_EQ(train->bodyLength, 8.5f);
  EXPECT_EQ(train->maxSpeed, 95.0f);
  train->showSelected(0);
  EXPECT_EQ(Shown(trainList.info)[2], "作: ヴォンドレル車両工房");
}

TEST_F(SamplesTest, Struct) {
  FILE* file = Enter("Struct");
  auto* object = AppendNew<StructPlugin>(structList, "PLUGIN", file, true);
  std::fclose(file);
  EXPECT_EQ(LoadsAllOk(), 3u);  // the model, a PNG, a JPEG
  EXPECT_EQ(object->drawScale, 1.0f);
}

TEST_F(SamplesTest, Station) {
  FILE* file = Enter("Station");
  auto* station = AppendNew<StationPlugin>(stationList, "PLUGIN", file, true);
  std::fclose(file);
  EXPECT_EQ(LoadsAllOk(), 3u);  // the model, one PNG behind a '\' path shared by three materials, a JPEG
  EXPECT_EQ(station->platformCountRead, 4);
  EXPECT_EQ(station->platformCount, 3);
  EXPECT_EQ(textureCache.Entries().front().refCount + std::next(textureCache.Entries().begin())->refCount, 4);
}

TEST_F(SamplesTest, Surface) {
  FILE* file = Enter("Surface");
  auto* surface = AppendNew<SurfacePlugin>(surfaceList, "PLUGIN", file, true);
  std::fclose(file);
  EXPECT_EQ(LoadsAllOk(), 2u);
  EXPECT_EQ(surface->widthX, 750.0f);
  EXPECT_EQ(surface->widthZ, 550.0f);
}

TEST_F(SamplesTest, BareModel) {
  scratch.CopyFrom(SourcePath("samples/model"));
  auto* model = AppendNew<StructPlugin>(structList, "Car.x");
  EXPECT_TRUE(model->modelLoaded);
  EXPECT_EQ(LoadsAllOk(), 2u);
  EXPECT_NEAR(model->drawScale * model->mesh.sphereRadius, 10.0f, 1e-4f);
}

}  // namespace
