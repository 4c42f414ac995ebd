// The per-kind frame routines: one routine with per-kind data. Each reads the
// mouse and keys, moves its camera and light, draws the plug-in's model, the
// station's preview rails, the overlay texts, and presents the frame.
#pragma once
#include "gfxutil/d3dx_math.h"
#include "viewer/plugin_kind.h"

// Camera and light state of one frame routine; each routine has its own.
struct ViewState {
  float yaw = 5.4977875f;    // 315 degrees
  float pitch = 0.5235988f;  // 30 degrees
  float distance = 30.0f;
  float lightYaw = -0.7853982f;   // -45 degrees
  float lightPitch = -0.9553165f;  // with the yaw above the light shines along (1, -2, 1)
  D3DXVECTOR3 target;
  bool started = false;  // the target is taken from the home point on the first call
};

// Which overlay texts the frame routines draw: all of them in the window,
// all but the frame rate in a picture of the first frame, or none.
enum class OverlayTexts { kAll, kAllButFrameRate, kNone };
void SetOverlayTexts(OverlayTexts texts);

void TrainFrame();
void StructFrame();
void StationFrame();
void SurfaceFrame();
// The picture of a kind's routine drawn again as it stands, without reading
// input or moving anything: for a window that is not active.
void RedrawFrame(PluginKind kind);

// The state of the routine of a kind (PluginKind of viewer/plugin_loading.h),
// and the state it starts from.
ViewState& ViewStateOf(PluginKind kind);
ViewState InitialViewState(PluginKind kind);
