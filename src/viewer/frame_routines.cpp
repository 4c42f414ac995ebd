#include "viewer/frame_routines.h"

#include "base/program_state.h"
#include "gfxutil/vector_ops.h"
#include "graphics/direct3d.h"
#include "graphics/overlay_text.h"
#include "input/input.h"
#include "platform/dinput/dinput8.h"
#include "plugins/plugin_list.h"
#include "plugins/station_plugin.h"
#include "rail/station_rails.h"
#include "scene/camera.h"
#include "scene/lighting.h"
#include "viewer/live_reload.h"
#include "viewer/plugin_loading.h"

namespace {

constexpr float kBlinkStep = 0.20943952f;  // 12 degrees: a full turn every 30 frames
const D3DXVECTOR3 kForward(0.0f, 0.0f, 1.0f);
OverlayTexts overlayTexts = OverlayTexts::kAll;

// What sets the routines of the kinds apart.
struct KindFrame {
  PluginList& list;
  bool advancesBlink;
  const char* timeOfDayFormat;
  bool drawsStationRails;
  ViewState view;
};

KindFrame& FrameOf(PluginKind kind) {
  static KindFrame frames[kKindCount] = {
      {Plugins().trainList, false, "    時間帯(TAB): %s", false, InitialViewState(kTrainKind)},
      {Plugins().structList, true, "時間帯(TAB)    : %s", false, InitialViewState(kStructKind)},
      {Plugins().stationList, true, "時間帯(TAB)    : %s", true, InitialViewState(kStationKind)},
      {Plugins().surfaceList, true, "時間帯(TAB)    : %s", false, InitialViewState(kSurfaceKind)},
  };
  return frames[kind];
}

void MoveCameraByMouse(ViewState& view) {
  POINT cursor = CursorPosition();
  if (IsHeld(MouseButtonState(0))) {
    PanTarget(cursor, view.target);
  } else if (IsHeld(MouseButtonState(1))) {
    if (IsHeld(VirtualKeyState(VK_SHIFT)))
      OrbitCamera(cursor, view.lightYaw, view.lightPitch);
    else
      OrbitCamera(cursor, view.yaw, view.pitch);
  }
  SetCursorClientPos(Program().clientWidth / 2, Program().clientHeight / 2);
}

void SetUnlitLineState() {
  Graphics().d3dDevice->SetTransform(D3DTS_WORLD, &Graphics().worldMatrix);  // the identity
  D3DMATERIAL8 material{};
  material.Diffuse = {1.0f, 1.0f, 1.0f, 1.0f};
  material.Ambient = {0.5f, 0.5f, 0.5f, 1.0f};
  Graphics().d3dDevice->SetMaterial(&material);
  Graphics().d3dDevice->SetTexture(0, nullptr);
  Graphics().d3dDevice->SetRenderState(D3DRS_LIGHTING, FALSE);
}

void DrawModel(PluginList& list) {
  list.sceneNode.SetPosition(list.modelPosition);
  list.sceneNode.SetOrientation(kForward, kWorldUp);
  list.sceneNode.Draw();
}

// Everything after the frame has begun, with the switches as they stand.
void DrawKindFrame(KindFrame& frame) {
  const D3DXVECTOR3 home = frame.list.modelPosition;
  ApplyDayNight(frame.view.lightYaw, frame.view.lightPitch);
  ApplyTextureFilter();

  Graphics().d3dDevice->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
  Graphics().d3dDevice->SetRenderState(D3DRS_LIGHTING, TRUE);
  DrawModel(frame.list);

  SetUnlitLineState();
  if (IsHeld(VirtualKeyState(VK_SHIFT))) DrawAxesGizmo();
  if (frame.drawsStationRails && frame.list.selectedObject)
    static_cast<StationPlugin*>(frame.list.selectedObject)->DrawStationRails(home, kForward, kWorldUp);

  if (overlayTexts != OverlayTexts::kNone) {
    frame.list.info.Draw();
    DrawOverlayTextf(Program().screenWidth - 180, 5, frame.timeOfDayFormat, Program().nightMode ? "夜" : "昼");
    DrawOverlayTextf(Program().screenWidth - 180, 19, "フィルタ(SPACE): %s",
                     Program().isLinearFilter ? "線形補完" : "最近補完");
  }
  if (overlayTexts == OverlayTexts::kAll) DrawFps(5, 5);
  DrawReloadAlert();
  EndFrame();
}

void RunKindFrame(PluginKind kind) {
  KindFrame& frame = FrameOf(kind);
  ViewState& view = frame.view;
  const D3DXVECTOR3 home = frame.list.modelPosition;
  if (!view.started) {
    view.target = home;
    view.started = true;
  }

  MoveCameraByMouse(view);
  ZoomCamera(view.distance);
  UpdateCamera(view.yaw, view.pitch, view.distance, view.target);
  if (frame.advancesBlink) Program().blinkAngle = ReduceAngle(Program().blinkAngle + kBlinkStep);

  BeginFrame(0xff000000);  // drawing goes on even when the frame is skipped
  if (IsPressed(KeyState(DIK_HOME))) view.target = home;  // seen from the next frame on
  if (IsPressed(KeyState(DIK_TAB))) Program().nightMode = !Program().nightMode;
  if (IsPressed(KeyState(DIK_SPACE))) Program().isLinearFilter = !Program().isLinearFilter;
  DrawKindFrame(frame);
}

}  // namespace

ViewState InitialViewState(PluginKind kind) {
  constexpr float kInitialDistance[kKindCount] = {10.0f, 30.0f, 30.0f, 50.0f};
  ViewState view;
  view.distance = kInitialDistance[kind];
  return view;
}

ViewState& ViewStateOf(PluginKind kind) { return FrameOf(kind).view; }

void SetOverlayTexts(OverlayTexts texts) { overlayTexts = texts; }

void RedrawFrame(PluginKind kind) {
  BeginFrame(0xff000000);
  DrawKindFrame(FrameOf(kind));
}

void TrainFrame() { RunKindFrame(kTrainKind); }
void StructFrame() { RunKindFrame(kStructKind); }
void StationFrame() { RunKindFrame(kStationKind); }
void SurfaceFrame() { RunKindFrame(kSurfaceKind); }
