#include "platform/os/os.h"
#include "shell/application.h"

namespace {
constexpr int kFramesPerFpsMeasurement = 15;
constexpr int kFramesPerCadence = 3;
constexpr uint32_t kMaxPeriodsBehind = 4;
}  // namespace

void ResetFramePacing() {
  Program().framePacing = FramePacing{};
  Program().framePacing.nextFrameTime = Program().framePacing.lastFpsTime = Os().timeGetTime();
}

// All clock arithmetic is unsigned 32-bit, so the schedule survives the wrap.
void PaceFrame() {
  FramePacing& p = Program().framePacing;
  uint32_t now = Os().timeGetTime();
  uint32_t elapsed = now - p.nextFrameTime;

  if (++p.fpsFrameCounter == kFramesPerFpsMeasurement) {
    uint32_t span = now - p.lastFpsTime;
    // A span of 0 ms (a stalled or scripted clock) has no rate; keep the last one.
    if (span != 0) p.fps = 1000.0f * kFramesPerFpsMeasurement / static_cast<float>(span);
    p.lastFpsTime = now;
    p.fpsFrameCounter = 0;
  }

  uint32_t interval = p.frameIntervalMs;
  if (++p.pacingFrameCounter == kFramesPerCadence) {
    interval += p.extraMs;
    p.pacingFrameCounter = 0;
  }

  if (elapsed < interval) {
    Os().Sleep(interval - elapsed);
    p.nextFrameTime += interval;
  } else if (elapsed < kMaxPeriodsBehind * interval) {
    p.nextFrameTime += interval;
  } else {
    p.nextFrameTime = now - interval;
  }
}
