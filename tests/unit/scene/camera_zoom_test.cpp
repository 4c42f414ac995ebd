// Zooming reads the wheel and the paging and Ctrl keys through the input state.
#include <limits>

#include "fake_dinput.h"
#include "fake_os.h"
#include "input/input.h"
#include "scene/camera.h"
#include "scene_fixture.h"
#include "state_names.h"

namespace {

constexpr int16_t kHeld = static_cast<int16_t>(0x8000);

class Zoom : public SceneTest {
 protected:
  void SetUp() override {
    SceneTest::SetUp();
    mainWindow = FakeOs::FakeWindowHandle();
    os.activeWindow = mainWindow;
    ASSERT_EQ(InitDirectInput(), 1);
  }

  void TearDown() override {
    os.asyncKeys.clear();
    PollVirtualKeys();
    PollVirtualKeys();
    Wheel(0);
    FreeInput();
    ClearInputState();
    mainWindow = nullptr;
    SceneTest::TearDown();
  }

  void Wheel(int32_t delta) {
    input.mouse.mouse.lZ = delta;
    PollInput();
  }

  void Hold(int virtualKey) {
    os.asyncKeys[virtualKey] = kHeld;
    PollVirtualKeys();
  }

  // One frame of holding the keys already held.
  float Frames(float distance, int count) {
    for (int i = 0; i < count; ++i) {
      PollVirtualKeys();
      ZoomCamera(distance);
    }
    return distance;
  }

  FakeOs os;
  FakeDirectInput input;
};

TEST_F(Zoom, NothingPressedKeepsTheDistance) {
  EXPECT_FLOAT_EQ(Frames(30, 5), 30);
}

TEST_F(Zoom, PageUpForOneHundredFramesBringsThirtyToSixThenStopsAtOne) {
  Hold(VK_PRIOR);
  float distance = Frames(30, 100);
  EXPECT_NEAR(distance, 6.0f, 1e-3f);
  EXPECT_FLOAT_EQ(Frames(distance, 30), 1.0f);
}

TEST_F(Zoom, PageDownStopsAtFourHundredAndCtrlMakesItTenTimesFaster) {
  Hold(VK_NEXT);
  EXPECT_NEAR(Frames(30, 1), 30.24f, 1e-5f);
  Hold(VK_CONTROL);
  EXPECT_NEAR(Frames(30, 1), 32.4f, 1e-5f);
  EXPECT_FLOAT_EQ(Frames(390, 10), 400.0f);
}

TEST_F(Zoom, BothPagingKeysCancel) {
  Hold(VK_PRIOR);
  Hold(VK_NEXT);
  EXPECT_NEAR(Frames(30, 10), 30.0f, 1e-5f);
}

TEST_F(Zoom, WheelForwardComesCloser) {
  Wheel(240);
  EXPECT_NEAR(Frames(30, 1), 30 - 0.48f, 1e-5f);
  Wheel(-120);
  EXPECT_NEAR(Frames(30, 1), 30.24f, 1e-5f);
}

TEST_F(Zoom, WheelWithCtrlMovesTenTimesAsFar) {
  Hold(VK_CONTROL);
  Wheel(240);
  EXPECT_NEAR(Frames(30, 1), 30 - 4.8f, 1e-5f);
}

TEST_F(Zoom, ADistanceThatIsNotANumberEndsAtTheNearLimit) {
  EXPECT_FLOAT_EQ(Frames(std::numeric_limits<float>::quiet_NaN(), 1), 1.0f);
}

}  // namespace
