// The sample plug-ins, drawn as their views draw them: through their kind's
// scene node, under the default camera of the kind, by day and at night. Each
// model fills a good part of the 4:3 view without running off it, and the
// windows light up at night.
#include <unistd.h>

#include <cmath>
#include <fstream>
#include <string>

#include "mesh_render_fixture.h"
#include "platform/d3d/gl_device.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "plugins/struct_plugin.h"
#include "plugins/surface_plugin.h"
#include "plugins/train_plugin.h"
#include "test_paths.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

struct Picture {
  double covered = 0;        // share of the view the model covers
  double borderCovered = 0;  // share of the outermost pixels it covers
  int bright = 0;            // pixels brighter than ambient light alone makes them at night
};

class SampleRenderTest : public MeshRenderTest {
 protected:
  void TearDown() override {
    for (PluginList* list : {&trainList, &structList, &stationList, &surfaceList}) list->DestroyObjects();
    MeshRenderTest::TearDown();
  }

  FILE* Enter(const std::string& directory, const std::string& definition) {
    scratch.CopyFrom(SourcePath("samples/" + directory));
    file = scratch.Open(definition);
    return file;
  }
  ~SampleRenderTest() override {
    if (file) std::fclose(file);
  }

  // The kind's frame: default camera at `distance`, the day or night light.
  Picture Draw(PluginList& list, float distance) {
    const float yaw = 5.4977875f, pitch = 0.5235988f;
    LookFrom(D3DXVECTOR3(std::cos(pitch) * std::cos(yaw), std::sin(pitch), std::cos(pitch) * std::sin(yaw)) * distance,
             640.0f / 480.0f);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    ApplyDayNight(-0.7853982f, -0.9553165f);
    list.sceneNode.SetPosition(list.modelPosition);
    list.sceneNode.SetOrientation(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    list.sceneNode.Draw();
    return Measure();
  }

  Picture Measure() {
    std::vector<uint32_t> pixels = Pixels();
    Picture picture;
    int covered = 0, border = 0, borderCovered = 0;
    for (int y = 0; y < static_cast<int>(kSize); ++y) {
      for (int x = 0; x < static_cast<int>(kSize); ++x) {
        uint32_t p = pixels[static_cast<size_t>(y) * kSize + x];
        bool isModel = (p & 0xffffff) != 0;
        bool isBorder = x == 0 || y == 0 || x == static_cast<int>(kSize) - 1 || y == static_cast<int>(kSize) - 1;
        covered += isModel;
        border += isBorder;
        borderCovered += isModel && isBorder;
        picture.bright += Channel(p, 16) >= 100 && Channel(p, 8) >= 70;
      }
    }
    picture.covered = static_cast<double>(covered) / (kSize * kSize);
    picture.borderCovered = static_cast<double>(borderCovered) / border;
    return picture;
  }

  // Fills a good part of the view and stays inside it; at night, when the
  // rest is lit by the ambient light only, its windows glow.
  void ExpectFramedWithLitWindows(PluginList& list, float distance) {
    Picture day = Draw(list, distance);
    EXPECT_GT(day.covered, 0.12);
    EXPECT_LT(day.covered, 0.8);
    EXPECT_LT(day.borderCovered, 0.05);
    nightMode = 1;
    EXPECT_GT(Draw(list, distance).bright, 4);
  }

  FILE* file = nullptr;
};

TEST_F(SampleRenderTest, TrainCar) {
  (AppendNew<TrainPlugin>(trainList, "PLUGIN", Enter("Train", "Train.txt"), true))->showSelected(0);
  ExpectFramedWithLitWindows(trainList, 10.0f);
}

TEST_F(SampleRenderTest, Structure) {
  (AppendNew<StructPlugin>(structList, "PLUGIN", Enter("Struct", "Struct.txt"), true))->showSelected(0);
  ExpectFramedWithLitWindows(structList, 30.0f);
}

TEST_F(SampleRenderTest, Station) {
  (AppendNew<StationPlugin>(stationList, "PLUGIN", Enter("Station", "Station.txt"), true))->showSelected(0);
  ExpectFramedWithLitWindows(stationList, 30.0f);
}

TEST_F(SampleRenderTest, BareModel) {
  scratch.CopyFrom(SourcePath("samples/model"));
  auto* model = AppendNew<StructPlugin>(structList, "Car.x");
  ASSERT_TRUE(model->modelLoaded);
  model->showSelected(0);
  ExpectFramedWithLitWindows(structList, 30.0f);
}

TEST_F(SampleRenderTest, SurfaceIsGrassWithoutLightsAtNight) {
  (AppendNew<SurfacePlugin>(surfaceList, "PLUGIN", Enter("Surface", "Surface.txt"), true))->showSelected(0);
  Picture day = Draw(surfaceList, 50.0f);
  EXPECT_GT(day.covered, 0.25);
  EXPECT_LT(day.borderCovered, 0.05);
  uint32_t centre = Pixel(kSize / 2, kSize / 2);
  EXPECT_GT(Channel(centre, 8), Channel(centre, 16));
  EXPECT_GT(Channel(centre, 8), Channel(centre, 0));
  nightMode = 1;
  EXPECT_EQ(Draw(surfaceList, 50.0f).bright, 0);
}

long ResidentKilobytes() {
  long pages = 0, resident = 0;
  std::ifstream("/proc/self/statm") >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The drill takes every OpenGL object away at each present, as a reset does;
// the device is lost while the reset goes on, then comes back by itself with
// every texture and buffer, so the next frame is the same picture.
TEST_F(SampleRenderTest, APictureComesBackAfterEachOfAHundredContextLosses) {
  auto* glDevice = static_cast<GlDevice*>(device.get());
  glDevice->SetContextLossDrill(1);
  (AppendNew<StructPlugin>(structList, "PLUGIN", Enter("Struct", "Struct.txt"), true))->showSelected(0);
  Draw(structList, 30.0f);
  const std::vector<uint32_t> before = Pixels();
  const size_t resources = glDevice->ResourceCount();
  long residentAfterTen = 0;
  for (int loss = 1; loss <= 100; ++loss) {
    ASSERT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3D_OK);
    EXPECT_EQ(device->TestCooperativeLevel(), D3DERR_DEVICELOST);
    EXPECT_EQ(device->Present(nullptr, nullptr, nullptr, nullptr), D3DERR_DEVICELOST);
    ASSERT_EQ(device->TestCooperativeLevel(), D3D_OK) << "loss " << loss;
    Draw(structList, 30.0f);
    ASSERT_EQ(Pixels(), before) << "loss " << loss;
    ASSERT_EQ(glDevice->ResourceCount(), resources);
    if (loss == 10) residentAfterTen = ResidentKilobytes();
  }
  EXPECT_LT(ResidentKilobytes() - residentAfterTen, 4096) << "kilobytes more after 90 further losses";
}

}  // namespace
