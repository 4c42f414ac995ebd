#include <gtest/gtest.h>

#include <algorithm>

#include "graphics_fixture.h"
#include "state_names.h"

namespace {

using InitDirect3DTest = GraphicsTest;

TEST_F(InitDirect3DTest, LogsEveryStepOfADefaultStart) {
  d3d.adapterDescription = "Test GPU";
  d3d.device.caps.MaxPrimitiveCount = 65535;
  d3d.device.caps.MaxActiveLights = 8;
  d3d.device.caps.RasterCaps = D3DPRASTERCAPS_FOGTABLE;
  d3d.device.caps.MaxTextureWidth = 2048;
  d3d.device.caps.MaxTextureHeight = 1024;
  d3d.device.caps.MaxSimultaneousTextures = 2;
  d3d.device.caps.TextureCaps = D3DPTEXTURECAPS_MIPMAP;
  d3d.device.caps.TextureOpCaps = D3DTEXOPCAPS_BUMPENVMAP;
  d3d.device.availableTextureMem = (32u << 20) + 1023;

  ASSERT_EQ(InitDirect3D(640, 480), 1);

  EXPECT_EQ(os.DebugText(),
            "InitDirect3D\n"
            "アダプタ数 = 1\n"
            "アダプタID = D3DADAPTER_DEFAULT\n"
            "アダプタ名 = Test GPU\n"
            "アダプタのモード数 = 2\n"
            "現在のモード = 1920 x 1080 D3DFMT_X8R8G8B8\n"
            "ウインドウ化 = CFG(1)\n"
            "選択されたモード = 640 x 480 D3DFMT_X8R8G8B8 (D3DFMT_D24S8)\n"
            "デバイスタイプ = TnLHAL\n"
            "最大プリミティブ = 65535\n最大ライト = 8\nフォグ{\n\t頂点 = 0\n\tピクセル = 1\n\t範囲 = 0\n}\n"
            "テクスチャー{\n\t利用可能メモリ = 32768 KB\n\t最大サイズ = 2048 x 1024\n\t最大ステージ = 2\n"
            "\tアルファブレンド = 0\n\tミップマップ = 1\n\tバンプマップ = 1\n}\n");
  EXPECT_EQ(direct3d, &d3d);
  EXPECT_EQ(d3dDevice, &d3d.device);
  EXPECT_EQ(requestedWidth, 640);
  EXPECT_EQ(requestedHeight, 480);
  EXPECT_EQ(d3d.Named("Direct3DCreate8").at(0)->args, std::vector<double>{220});
}

TEST_F(InitDirect3DTest, FillsThePresentationParameters) {
  ASSERT_EQ(InitDirect3D(800, 600), 1);
  const D3DPRESENT_PARAMETERS& p = d3d.Named("CreateDevice").at(0)->presentation;
  EXPECT_EQ(p.BackBufferWidth, 800u);
  EXPECT_EQ(p.BackBufferHeight, 600u);
  EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
  EXPECT_EQ(p.BackBufferCount, 1u);
  EXPECT_EQ(p.MultiSampleType, D3DMULTISAMPLE_NONE);
  EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
  EXPECT_EQ(p.hDeviceWindow, FakeOs::FakeWindowHandle());
  EXPECT_EQ(p.Windowed, 1);
  EXPECT_EQ(p.EnableAutoDepthStencil, 1);
  EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D24S8);
  EXPECT_EQ(p.Flags, 0u);
  EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
  EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_DEFAULT);
}

TEST_F(InitDirect3DTest, SetsTransformsDefaultStatesClearAndLightInOrder) {
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  std::vector<std::string> names;
  for (const DeviceCall& call : d3d.device.calls) {
    if (call.name == "GetDeviceCaps" || call.name == "GetAvailableTextureMem") continue;
    names.push_back(call.name);
    if (call.name == "LightEnable") break;  // the overlay font follows
  }
  std::vector<std::string> expected = {"SetTransform", "SetTransform", "SetTransform", "SetClipStatus"};
  expected.insert(expected.end(), 11, "SetRenderState");
  expected.insert(expected.end(), 9, "SetTextureStageState");
  expected.insert(expected.end(), {"Clear", "SetLight", "LightEnable"});
  EXPECT_EQ(names, expected);

  std::vector<std::pair<double, double>> renderStates;
  for (const DeviceCall* call : DeviceCalls("SetRenderState")) renderStates.emplace_back(call->args[0], call->args[1]);
  EXPECT_EQ(renderStates, (std::vector<std::pair<double, double>>{
                              {D3DRS_LIGHTING, 1},
                              {D3DRS_AMBIENT, 0xff808080u},
                              {D3DRS_SPECULARENABLE, 0},
                              {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
                              {D3DRS_CULLMODE, D3DCULL_CCW},
                              {D3DRS_ZENABLE, D3DZB_TRUE},
                              {D3DRS_ZWRITEENABLE, 1},
                              {D3DRS_FOGENABLE, 0},
                              {D3DRS_ALPHABLENDENABLE, 1},
                              {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                              {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
                          }));

  std::vector<std::vector<double>> stageStates;
  for (const DeviceCall* call : DeviceCalls("SetTextureStageState")) stageStates.push_back(call->args);
  EXPECT_EQ(stageStates, (std::vector<std::vector<double>>{
                             {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
                             {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
                             {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
                             {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
                             {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
                             {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
                             {0, D3DTSS_MAGFILTER, D3DTEXF_POINT},
                             {0, D3DTSS_MINFILTER, D3DTEXF_POINT},
                             {0, D3DTSS_MIPFILTER, D3DTEXF_POINT},
                         }));

  const DeviceCall* clear = DeviceCalls("Clear").at(0);
  EXPECT_EQ(clear->args, (std::vector<double>{0, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL, 0, 1.0, 0}));

  const D3DLIGHT8& light = DeviceCalls("SetLight").at(0)->light;
  EXPECT_EQ(light.Type, D3DLIGHT_DIRECTIONAL);
  EXPECT_FLOAT_EQ(light.Direction.x, 0.57735026f);
  EXPECT_FLOAT_EQ(light.Direction.y, -0.57735026f);
  EXPECT_FLOAT_EQ(light.Diffuse.r, 0.5f);
  EXPECT_FLOAT_EQ(light.Diffuse.a, 0.0f);
  EXPECT_EQ(DeviceCalls("LightEnable").at(0)->args, (std::vector<double>{0, 1}));
}

struct DepthCase {
  std::set<D3DFORMAT> formats;   // pass CheckDeviceFormat
  std::set<D3DFORMAT> matching;  // pass CheckDepthStencilMatch
  D3DFORMAT chosen;
  DWORD clearFlags;
  size_t formatChecks;
};

class DepthFormatTest : public GraphicsTest, public ::testing::WithParamInterface<DepthCase> {};

TEST_P(DepthFormatTest, TakesTheFirstCandidateThatPassesBothChecks) {
  const DepthCase& c = GetParam();
  d3d.depthFormats = c.formats;
  d3d.matchingDepthFormats = c.matching;
  ASSERT_EQ(InitDirect3D(640, 480), 1);

  std::vector<const DeviceCall*> checks = d3d.Named("CheckDeviceFormat");
  ASSERT_EQ(checks.size(), c.formatChecks);
  const D3DFORMAT order[] = {D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D24X8, D3DFMT_D16, D3DFMT_D15S1};
  for (size_t i = 0; i < checks.size(); ++i)
    EXPECT_EQ(checks[i]->args, (std::vector<double>{0, D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, D3DUSAGE_DEPTHSTENCIL,
                                                    D3DRTYPE_SURFACE, static_cast<double>(order[i])}));
  for (const DeviceCall* match : d3d.Named("CheckDepthStencilMatch")) {
    EXPECT_EQ(match->args[1], D3DDEVTYPE_HAL);
    EXPECT_EQ(match->args[2], D3DFMT_X8R8G8B8);
    EXPECT_EQ(match->args[3], D3DFMT_X8R8G8B8);
  }
  EXPECT_EQ(deviceSetup.depthFormat, c.chosen);
  EXPECT_EQ(d3d.Named("CreateDevice").at(0)->presentation.AutoDepthStencilFormat, c.chosen);
  EXPECT_EQ(deviceSetup.depthClearFlags, c.clearFlags);
  EXPECT_EQ(DeviceCalls("Clear").at(0)->Arg(1), c.clearFlags | D3DCLEAR_TARGET);
  EXPECT_NE(os.DebugText().find(std::string(" (") + FormatName(c.chosen) + ")\n"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Candidates, DepthFormatTest,
    ::testing::Values(DepthCase{{D3DFMT_D24S8}, {D3DFMT_D24S8}, D3DFMT_D24S8, 6, 1},
                      DepthCase{{D3DFMT_D24X4S4, D3DFMT_D16}, {D3DFMT_D24X4S4, D3DFMT_D16}, D3DFMT_D24X4S4, 6, 2},
                      DepthCase{{D3DFMT_D24X8}, {D3DFMT_D24X8}, D3DFMT_D24X8, 2, 3},
                      // Passes the format check but does not match the display format.
                      DepthCase{{D3DFMT_D24S8, D3DFMT_D16}, {D3DFMT_D16}, D3DFMT_D16, 2, 4},
                      DepthCase{{D3DFMT_D15S1}, {D3DFMT_D15S1}, D3DFMT_D15S1, 6, 5},
                      DepthCase{{}, {}, D3DFMT_UNKNOWN, 2, 5}));

TEST_F(InitDirect3DTest, FallsBackFromHardwareVertexProcessingToTheReferenceDevice) {
  d3d.createDeviceResults = {D3DERR_NOTAVAILABLE, E_FAIL};
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  std::vector<const DeviceCall*> attempts = d3d.Named("CreateDevice");
  ASSERT_EQ(attempts.size(), 3u);
  EXPECT_EQ(attempts[0]->args[1], D3DDEVTYPE_HAL);
  EXPECT_EQ(attempts[0]->args[3], D3DCREATE_HARDWARE_VERTEXPROCESSING);
  EXPECT_EQ(attempts[1]->args[1], D3DDEVTYPE_HAL);
  EXPECT_EQ(attempts[1]->args[3], D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  EXPECT_EQ(attempts[2]->args[1], D3DDEVTYPE_REF);
  EXPECT_EQ(attempts[2]->args[3], D3DCREATE_SOFTWARE_VERTEXPROCESSING);
  EXPECT_STREQ(deviceSetup.deviceType, "REF");
  std::string log = os.DebugText();
  EXPECT_NE(log.find("デバイスタイプ = REF\n"), std::string::npos);
  EXPECT_EQ(log.find("TnLHAL"), std::string::npos);
}

TEST_F(InitDirect3DTest, SecondAttemptIsLoggedAsHal) {
  d3d.createDeviceResults = {E_FAIL};
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  EXPECT_EQ(d3d.Count("CreateDevice"), 2u);
  EXPECT_NE(os.DebugText().find("デバイスタイプ = HAL\n"), std::string::npos);
}

TEST_F(InitDirect3DTest, NoDeviceShowsTheErrorBoxAndFails) {
  d3d.createDeviceResults = {E_FAIL, E_FAIL, E_FAIL};
  EXPECT_EQ(InitDirect3D(640, 480), 0);
  EXPECT_EQ(d3d.Count("CreateDevice"), 3u);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].text, "3Dデバイスが作成できません.");
  EXPECT_EQ(os.messageBoxes[0].caption, "エラー");
  EXPECT_EQ(os.messageBoxes[0].style, MB_SYSTEMMODAL);
  EXPECT_EQ(os.messageBoxes[0].owner, FakeOs::FakeWindowHandle());
  EXPECT_EQ(d3dDevice, nullptr);
  EXPECT_EQ(os.DebugText().find("デバイスタイプ"), std::string::npos);
  EXPECT_NE(os.DebugText().find("\n3Dデバイスが作成できません.\n"), std::string::npos);
}

TEST(InitDirect3DWithoutDirect3D, ShowsTheErrorBoxAndFails) {
  FakeOs os;
  ScopedDirect3DFactory factory(nullptr);
  EXPECT_EQ(InitDirect3D(640, 480), 0);
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].text, "Direct3Dの初期化に失敗しました.");
  EXPECT_EQ(os.messageBoxes[0].caption, "エラー");
  EXPECT_EQ(os.messageBoxes[0].style, MB_SYSTEMMODAL);
  EXPECT_EQ(os.DebugText(), "InitDirect3D\nDirect3Dの初期化に失敗しました.\n");
  EXPECT_EQ(direct3d, nullptr);
}

TEST_F(InitDirect3DTest, SecondAdapterNeedsTheRequestAndTwoAdapters) {
  ASSERT_EQ(InitDirect3D(640, 480, {.secondAdapter = true}), 1);
  EXPECT_NE(os.DebugText().find("アダプタID = D3DADAPTER_DEFAULT\n"), std::string::npos);
  EXPECT_EQ(d3d.Named("CreateDevice").at(0)->Arg(0), 0);
}

TEST_F(InitDirect3DTest, SecondAdapterIsUsedEverywhere) {
  d3d.adapterCount = 2;
  ASSERT_EQ(InitDirect3D(640, 480, {.secondAdapter = true}), 1);
  EXPECT_NE(os.DebugText().find("アダプタ数 = 2\nアダプタID = 1\n"), std::string::npos);
  for (const char* name : {"GetAdapterIdentifier", "GetAdapterModeCount", "GetAdapterDisplayMode",
                           "EnumAdapterModes", "CheckDeviceFormat", "CheckDepthStencilMatch", "CreateDevice"})
    for (const DeviceCall* call : d3d.Named(name)) EXPECT_EQ(call->Arg(0), 1) << name;
}

TEST_F(InitDirect3DTest, ShowsAndUpdatesTheWindowOfAWindowedDevice) {
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  EXPECT_TRUE(os.Called("ShowWindow"));
  EXPECT_TRUE(os.Called("UpdateWindow"));
}

TEST_F(InitDirect3DTest, FullScreenLeavesTheWindowHidden) {
  ASSERT_EQ(InitDirect3D(640, 480, {.windowMode = WindowModeRequest::kFullScreen}), 1);
  EXPECT_FALSE(os.Called("ShowWindow"));
  EXPECT_EQ(d3d.Named("CreateDevice").at(0)->presentation.Windowed, 0);
}

TEST_F(InitDirect3DTest, CreatesTheOverlayFontLastAndReleasesItFirst) {
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  std::vector<std::string> names = d3d.device.Names();
  size_t light = std::find(names.begin(), names.end(), "LightEnable") - names.begin();
  ASSERT_LT(light, names.size());
  size_t texture = std::find(names.begin(), names.end(), "CreateTexture") - names.begin();
  ASSERT_LT(texture, names.size()) << "the font makes its glyph texture on the device";
  EXPECT_GT(texture, light);
  ASSERT_EQ(RecordingTexture::liveCount, 1);
  FreeDirect3D();
  EXPECT_EQ(RecordingTexture::liveCount, 0);
}

TEST_F(InitDirect3DTest, FreeReleasesDeviceThenDirect3DAndClearsThem) {
  ASSERT_EQ(InitDirect3D(640, 480), 1);
  EXPECT_EQ(d3d.device.ExtraReferences(), 2);  // the program's and the overlay font's
  EXPECT_EQ(d3d.ExtraReferences(), 1);
  FreeDirect3D();
  EXPECT_EQ(d3d.device.ExtraReferences(), 0);
  EXPECT_EQ(d3d.ExtraReferences(), 0);
  EXPECT_EQ(d3dDevice, nullptr);
  EXPECT_EQ(direct3d, nullptr);
  std::string log = os.DebugText();
  EXPECT_EQ(log.substr(log.size() - 13), "FreeDirect3D\n");
  FreeDirect3D();  // nothing left to release
  EXPECT_EQ(d3d.ExtraReferences(), 0);
}

}  // namespace
