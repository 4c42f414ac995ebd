// The sample station in the station view: its platforms are previewed as
// red control lines and stalks and magenta rail curves, drawn over the model.
#include "mesh_render_fixture.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "rail/station_rails.h"
#include "scene/camera.h"
#include "test_paths.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

bool IsRed(uint32_t p) { return Channel(p, 16) > 150 && Channel(p, 8) < 60 && Channel(p, 0) < 60; }
bool IsMagenta(uint32_t p) { return Channel(p, 16) > 150 && Channel(p, 8) < 60 && Channel(p, 0) > 150; }
bool IsModel(uint32_t p) { return (p & 0xffffff) != 0; }

class RailStationRender : public MeshRenderTest {
 protected:
  void SetUp() override {
    MeshRenderTest::SetUp();
    scratch.CopyFrom(SourcePath("samples/Station"));
    file = scratch.Open("Station.txt");
    ASSERT_NE(file, nullptr);
    station = AppendNew<StationPlugin>(stationList, "Station", file, true);
    station->showSelected(0);
    savedBlink = blinkAngle;
    blinkAngle = 1.5707964f;  // nearly opaque
  }
  void TearDown() override {
    blinkAngle = savedBlink;
    stationList.DestroyObjects();
    if (file) std::fclose(file);
    MeshRenderTest::TearDown();
  }

  // One station frame from the view's starting camera, with or without the rails.
  std::vector<uint32_t> Frame(float distance, bool withRails) {
    requestedWidth = requestedHeight = kSize;
    InitViewTransforms();
    UpdateCamera(5.4977875f, 0.5235988f, distance, D3DXVECTOR3(0, 0, 0));
    device->SetTransform(D3DTS_VIEW, &viewMatrix);
    device->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, 0xff000000, 1.0f, 0);
    ApplyDayNight(-0.7853982f, -0.9553165f);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_LIGHTING, 1);
    stationList.sceneNode.SetOrientation(D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    stationList.sceneNode.Draw();
    device->SetTransform(D3DTS_WORLD, &worldMatrix);
    device->SetTexture(0, nullptr);
    device->SetRenderState(D3DRS_LIGHTING, 0);
    if (withRails) station->DrawStationRails(D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(0, 0, 1), D3DXVECTOR3(0, 1, 0));
    return Pixels();
  }

  FILE* file = nullptr;
  StationPlugin* station = nullptr;
  float savedBlink = 0;
};

// Pixels that the rails changed, sorted by colour.
struct RailPixels {
  int red = 0, magenta = 0, magentaOverModel = 0;
};

RailPixels Compare(const std::vector<uint32_t>& model, const std::vector<uint32_t>& rails) {
  RailPixels out;
  for (size_t i = 0; i < rails.size(); ++i) {
    if (rails[i] == model[i]) continue;
    out.red += IsRed(rails[i]);
    out.magenta += IsMagenta(rails[i]);
    out.magentaOverModel += IsMagenta(rails[i]) && IsModel(model[i]);
  }
  return out;
}

TEST_F(RailStationRender, RedAndMagentaLinesAreDrawnOverTheModel) {
  std::vector<uint32_t> model = Frame(30, false);
  RailPixels drawn = Compare(model, Frame(30, true));
  // Three platforms of 20 units (the fourth is too short) cross a good part of the view.
  EXPECT_GT(drawn.magenta, 60);
  EXPECT_GE(drawn.magentaOverModel, drawn.magenta * 9 / 10);
  // The red control lines lie under the straight curves; the stalks show at the rail ends.
  EXPECT_GE(drawn.red, 2);
  DWORD depthFunction = 0;
  device->GetRenderState(D3DRS_ZFUNC, &depthFunction);
  EXPECT_EQ(depthFunction, D3DCMP_LESSEQUAL);
}

TEST_F(RailStationRender, RailsFadeAtTheDimmestBlinkPhase) {
  std::vector<uint32_t> model = Frame(30, false);
  blinkAngle = 4.712389f;  // alpha 1
  RailPixels drawn = Compare(model, Frame(30, true));
  EXPECT_EQ(drawn.magenta, 0);
  EXPECT_EQ(drawn.red, 0);
}

}  // namespace
