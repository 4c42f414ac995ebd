#include "scene/lighting.h"

#include "scene_fixture.h"
#include "state_names.h"

namespace {

constexpr float kInitialLightYaw = -0.7853982f;
constexpr float kInitialLightPitch = -0.9553165f;

class Lighting : public SceneTest {
 protected:
  void TearDown() override {
    nightMode = 0;
    isLinearFilter = 0;
    SceneTest::TearDown();
  }

  const DeviceCall& LastLight() {
    auto lights = device.Named("SetLight");
    EXPECT_FALSE(lights.empty());
    return *lights.back();
  }
};

TEST_F(Lighting, SwitchesStartInDayAndPointFiltering) {
  EXPECT_EQ(nightMode, 0);
  EXPECT_EQ(isLinearFilter, 0);
}

TEST_F(Lighting, LightFromAnglesPointsAlongTheirDirection) {
  SetLightFromAngles(0, 0, D3DCOLORVALUE{0.5f, 0.25f, 1, 1});
  ExpectNear(directionalLight.Direction, D3DXVECTOR3(1, 0, 0));
  SetLightFromAngles(1.5707964f, 0, D3DCOLORVALUE{1, 1, 1, 1});
  ExpectNear(directionalLight.Direction, D3DXVECTOR3(0, 0, 1));
  SetLightFromAngles(0, -1.5707964f, D3DCOLORVALUE{1, 1, 1, 1});
  ExpectNear(directionalLight.Direction, D3DXVECTOR3(0, -1, 0));
  EXPECT_EQ(LastLight().light.Type, D3DLIGHT_DIRECTIONAL);
}

TEST_F(Lighting, DayUsesAWhiteLightWithTheStoredYawNegated) {
  ApplyDayNight(kInitialLightYaw, kInitialLightPitch);
  const D3DLIGHT8& light = LastLight().light;
  ExpectNear(light.Direction, D3DXVECTOR3(0.4082f, -0.8165f, 0.4082f));
  EXPECT_EQ(light.Diffuse.r, 1);
  EXPECT_EQ(light.Diffuse.g, 1);
  EXPECT_EQ(light.Diffuse.b, 1);
  EXPECT_EQ(device.RenderState(D3DRS_AMBIENT), 0xff808080u);
}

TEST_F(Lighting, NightUsesABlackLightAndDimAmbient) {
  nightMode = 1;
  ApplyDayNight(kInitialLightYaw, kInitialLightPitch);
  const D3DLIGHT8& light = LastLight().light;
  ExpectNear(light.Direction, D3DXVECTOR3(0.4082f, -0.8165f, 0.4082f));
  EXPECT_EQ(light.Diffuse.r, 0);
  EXPECT_EQ(light.Diffuse.g, 0);
  EXPECT_EQ(light.Diffuse.b, 0);
  EXPECT_EQ(light.Diffuse.a, 1);
  EXPECT_EQ(device.RenderState(D3DRS_AMBIENT), 0xff202020u);
}

TEST_F(Lighting, TextureFilterSetsAllThreeStageZeroFilters) {
  ApplyTextureFilter();
  for (auto type : {D3DTSS_MAGFILTER, D3DTSS_MINFILTER, D3DTSS_MIPFILTER})
    EXPECT_EQ(device.StageState(0, type), D3DTEXF_POINT);
  isLinearFilter = 1;
  ApplyTextureFilter();
  for (auto type : {D3DTSS_MAGFILTER, D3DTSS_MINFILTER, D3DTSS_MIPFILTER})
    EXPECT_EQ(device.StageState(0, type), D3DTEXF_LINEAR);
  EXPECT_EQ(device.Count("SetTextureStageState"), 6u);
}

}  // namespace
