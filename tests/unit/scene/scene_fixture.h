// A recording device installed as the program's device, and a 640 x 480
// client area, for the scene operations.
#pragma once
#include <gtest/gtest.h>

#include "base/program_state.h"
#include "gfxutil/d3dx_math.h"
#include "graphics/direct3d.h"
#include "recorded_lines.h"
#include "recording_device.h"
#include "state_names.h"

class SceneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3dDevice = &device;
    clientWidth = 640;
    clientHeight = 480;
  }
  void TearDown() override { d3dDevice = nullptr; }

  RecordingDevice device;
};

inline void ExpectNear(const D3DXVECTOR3& actual, const D3DXVECTOR3& expected, float tolerance = 1e-4f) {
  EXPECT_NEAR(actual.x, expected.x, tolerance);
  EXPECT_NEAR(actual.y, expected.y, tolerance);
  EXPECT_NEAR(actual.z, expected.z, tolerance);
}

inline void ExpectNear(const D3DMATRIX& actual, const D3DMATRIX& expected, float tolerance = 1e-4f) {
  for (int i = 0; i < 16; ++i)
    EXPECT_NEAR(actual.m[i / 4][i % 4], expected.m[i / 4][i % 4], tolerance) << "element " << i / 4 + 1 << i % 4 + 1;
}
