#include <gtest/gtest.h>

#include "graphics_fixture.h"
#include "scene/camera.h"
#include "state_names.h"

namespace {

class FrameTest : public GraphicsTest {
 protected:
  FrameTest() {
    d3dDevice = &device;
    deviceSetup.depthClearFlags = D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL;
  }
  RecordingDevice device;
};

TEST_F(FrameTest, ClearsAllBuffersAndSendsTheView) {
  D3DXMatrixTranslation(&viewMatrix, 1, 2, 3);
  EXPECT_EQ(BeginFrame(0xff000000), 1);
  EXPECT_EQ(device.Names(), (std::vector<std::string>{"TestCooperativeLevel", "BeginScene", "Clear", "SetTransform"}));
  EXPECT_EQ(device.Named("Clear")[0]->args,
            (std::vector<double>{0, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0xff000000u, 1.0, 0}));
  const DeviceCall* view = device.Named("SetTransform")[0];
  EXPECT_EQ(view->Arg(0), D3DTS_VIEW);
  EXPECT_EQ(view->matrix._42, 2.0f);
}

TEST_F(FrameTest, ZeroColourClearsDepthOnly) {
  deviceSetup.depthClearFlags = D3DCLEAR_ZBUFFER;
  EXPECT_EQ(BeginFrame(0), 1);
  EXPECT_EQ(device.Named("Clear")[0]->Arg(1), D3DCLEAR_ZBUFFER);
}

TEST_F(FrameTest, LostDeviceSkipsTheFrameEveryTimeUntilItIsBack) {
  device.cooperativeLevel = D3DERR_DEVICELOST;
  EXPECT_EQ(BeginFrame(0xff000000), 0);
  EXPECT_EQ(BeginFrame(0xff000000), 0);
  EXPECT_EQ(device.Count("BeginScene"), 0u);
  EXPECT_EQ(os.DebugText(), "3Dデバイスがロストしています.\n3Dデバイスがロストしています.\n");
  EXPECT_TRUE(os.sentMessages.empty());
  EXPECT_TRUE(os.messageBoxes.empty());
  // The platform made its context again: frames are drawn as before.
  device.cooperativeLevel = D3D_OK;
  EXPECT_EQ(BeginFrame(0xff000000), 1);
  EXPECT_EQ(device.Count("BeginScene"), 1u);
  EXPECT_TRUE(os.sentMessages.empty());
}

TEST_F(FrameTest, DeviceNeedingAResetClosesTheWindow) {
  device.cooperativeLevel = D3DERR_DEVICENOTRESET;
  EXPECT_EQ(BeginFrame(0xff000000), 0);
  EXPECT_EQ(os.DebugText(), "3Dデバイスのリセットが必要です.\n");
  ASSERT_EQ(os.sentMessages.size(), 1u);
  EXPECT_EQ(os.sentMessages[0].window, FakeOs::FakeWindowHandle());
  EXPECT_EQ(os.sentMessages[0].message, WM_CLOSE);
  EXPECT_EQ(device.Count("BeginScene"), 0u);
}

TEST_F(FrameTest, FailedBeginSceneSkipsTheFrame) {
  device.beginSceneResult = E_FAIL;
  EXPECT_EQ(BeginFrame(0xff000000), 0);
  EXPECT_EQ(device.Count("Clear"), 0u);
}

TEST_F(FrameTest, EndFrameEndsTheSceneAndPassesPresentsResult) {
  ASSERT_EQ(BeginFrame(0xff000000), 1);
  device.ClearCalls();
  device.presentResult = D3DERR_INVALIDCALL;
  EXPECT_EQ(EndFrame(), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.Names(), (std::vector<std::string>{"EndScene", "Present"}));
}

TEST_F(FrameTest, AFrameForAPictureStaysInTheBackBuffer) {
  PresentFrames(false);
  ASSERT_EQ(BeginFrame(0xff000000), 1);
  device.ClearCalls();
  EXPECT_EQ(EndFrame(), D3D_OK);
  PresentFrames(true);
  EXPECT_EQ(device.Names(), std::vector<std::string>{"EndScene"});
}

TEST_F(FrameTest, EndFrameAfterALostFramePassesTheFailureBack) {
  device.cooperativeLevel = D3DERR_DEVICELOST;
  EXPECT_EQ(BeginFrame(0xff000000), 0);
  EXPECT_EQ(EndFrame(), D3DERR_DEVICELOST);
  EXPECT_EQ(device.Count("EndScene"), 1u);
}

TEST_F(FrameTest, DirectionalLightIsNormalisedAndEnabled) {
  SetDirectionalLight(D3DXVECTOR3(0, -3, 4), D3DCOLORVALUE{1, 0.5f, 0.25f, 1});
  EXPECT_EQ(device.Names(), (std::vector<std::string>{"SetLight", "LightEnable"}));
  const D3DLIGHT8& light = device.Named("SetLight")[0]->light;
  EXPECT_EQ(device.Named("SetLight")[0]->Arg(0), 0);
  EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
  EXPECT_FLOAT_EQ(light.Direction.y, -0.6f);
  EXPECT_FLOAT_EQ(light.Direction.z, 0.8f);
  EXPECT_EQ(light.Range, 1000.0f);
  EXPECT_EQ(light.Diffuse.g, 0.5f);
  EXPECT_EQ(light.Specular.r, 0.0f);
  EXPECT_EQ(light.Ambient.r, 0.0f);
  EXPECT_EQ(light.Attenuation0, 0.0f);
  EXPECT_EQ(directionalLight.Direction.z, 0.8f);
  EXPECT_TRUE(device.states.lightEnabled[0]);
}

}  // namespace
