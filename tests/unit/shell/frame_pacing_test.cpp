#include <gtest/gtest.h>

#include <vector>

#include "base/program_state.h"
#include "fake_os.h"
#include "shell/application.h"
#include "state_names.h"

namespace {

class FramePacingTest : public testing::Test {
 protected:
  void StartAt(DWORD time) {
    os.now = time;
    ResetFramePacing();
  }
  // One frame whose work takes the given time, then the pacing step.
  void Frame(DWORD workMs) {
    os.now += workMs;
    PaceFrame();
  }
  std::vector<DWORD> SleepsOfFrames(int frames, DWORD workMs) {
    os.sleeps.clear();
    for (int i = 0; i < frames; ++i) Frame(workMs);
    return os.sleeps;
  }

  FakeOs os;
};

TEST_F(FramePacingTest, ResetStartsScheduleNow) {
  framePacing.fps = 12.0f;
  framePacing.pacingFrameCounter = 2;
  StartAt(5000);
  EXPECT_EQ(framePacing.nextFrameTime, 5000u);
  EXPECT_EQ(framePacing.lastFpsTime, 5000u);
  EXPECT_EQ(framePacing.frameIntervalMs, 33u);
  EXPECT_EQ(framePacing.extraMs, 1u);
  EXPECT_EQ(framePacing.pacingFrameCounter, 0);
  EXPECT_EQ(framePacing.fpsFrameCounter, 0);
  EXPECT_FLOAT_EQ(framePacing.fps, 30.0f);
}

TEST_F(FramePacingTest, CadenceIs33And33And34SoThreeFramesTake100Ms) {
  StartAt(1000);
  EXPECT_EQ(SleepsOfFrames(6, 0), (std::vector<DWORD>{33, 33, 34, 33, 33, 34}));
  EXPECT_EQ(os.now, 1200u);
  EXPECT_EQ(framePacing.nextFrameTime, 1200u);
}

TEST_F(FramePacingTest, ShortFrameSleepsRestOfPeriod) {
  StartAt(1000);
  Frame(20);
  EXPECT_EQ(os.sleeps, std::vector<DWORD>{13});
  EXPECT_EQ(framePacing.nextFrameTime, 1033u);
  EXPECT_EQ(os.now, 1033u);
}

TEST_F(FramePacingTest, LateFrameDoesNotSleepAndScheduleAdvancesOnePeriod) {
  StartAt(1000);
  Frame(50);
  EXPECT_TRUE(os.sleeps.empty());
  EXPECT_EQ(framePacing.nextFrameTime, 1033u);
  // The next frame starts at once, 17 ms into its slot, and sleeps only the rest.
  Frame(0);
  EXPECT_EQ(os.sleeps, std::vector<DWORD>{16});
  EXPECT_EQ(framePacing.nextFrameTime, 1066u);
  EXPECT_EQ(os.now, 1066u);
}

TEST_F(FramePacingTest, FrameFourPeriodsLateDropsBacklog) {
  StartAt(1000);
  Frame(200);
  EXPECT_TRUE(os.sleeps.empty());
  EXPECT_EQ(framePacing.nextFrameTime, 1200u - 33u);
  // The next frame counts as one period late and runs without sleeping...
  Frame(0);
  EXPECT_TRUE(os.sleeps.empty());
  EXPECT_EQ(framePacing.nextFrameTime, 1167u + 33u);
  // ...then frames are paced normally again (this one is the third: 34 ms).
  Frame(0);
  EXPECT_EQ(os.sleeps, std::vector<DWORD>{34});
}

TEST_F(FramePacingTest, LagJustUnderFourPeriodsIsCaughtUpAndExactlyFourIsDropped) {
  StartAt(1000);
  Frame(4 * 33 - 1);
  EXPECT_EQ(framePacing.nextFrameTime, 1033u);
  StartAt(1000);
  Frame(4 * 33);
  EXPECT_EQ(framePacing.nextFrameTime, 1000u + 4 * 33 - 33);
}

TEST_F(FramePacingTest, ThirdFrameUsesLongerPeriodForLateness) {
  StartAt(1000);
  Frame(0);
  Frame(0);
  // Third frame: period 34, so 4 * 34 - 1 = 135 ms late is still caught up.
  Frame(135);
  EXPECT_EQ(framePacing.nextFrameTime, 1066u + 34u);
}

TEST_F(FramePacingTest, ScheduleSurvivesClockWrap) {
  StartAt(0xFFFFFFF0u);
  Frame(20);  // the clock wraps during this frame
  EXPECT_EQ(os.sleeps, std::vector<DWORD>{13});
  EXPECT_EQ(framePacing.nextFrameTime, 0xFFFFFFF0u + 33u);
  EXPECT_EQ(framePacing.nextFrameTime, 17u);
  EXPECT_EQ(SleepsOfFrames(4, 0), (std::vector<DWORD>{33, 34, 33, 33}));
}

TEST_F(FramePacingTest, LateFrameAcrossClockWrapIsCaughtUpNotDropped) {
  StartAt(0xFFFFFFE0u);
  Frame(50);
  EXPECT_TRUE(os.sleeps.empty());
  EXPECT_EQ(framePacing.nextFrameTime, 0xFFFFFFE0u + 33u);
}

TEST_F(FramePacingTest, FpsIsMeasuredEveryFifteenFramesAndReads30AtSteadyPace) {
  StartAt(1000);
  SleepsOfFrames(14, 5);
  EXPECT_FLOAT_EQ(framePacing.fps, 30.0f);  // the initial value until the 15th frame
  SleepsOfFrames(1, 5);
  // The first measurement ends 5 ms into the 15th slot: 466 + 5 ms after start.
  EXPECT_FLOAT_EQ(framePacing.fps, 15000.0f / 471.0f);
  EXPECT_EQ(framePacing.fpsFrameCounter, 0);
  framePacing.fps = 0.0f;
  SleepsOfFrames(14, 5);
  EXPECT_FLOAT_EQ(framePacing.fps, 0.0f);
  SleepsOfFrames(1, 5);
  EXPECT_FLOAT_EQ(framePacing.fps, 30.0f);  // 15 frames in 500 ms
}

TEST_F(FramePacingTest, FpsMeasuresSlowFramesOverFifteenFrames) {
  StartAt(1000);
  SleepsOfFrames(15, 100);  // 100 ms per frame: always late, the backlog sometimes dropped
  EXPECT_FLOAT_EQ(framePacing.fps, 15000.0f / 1500.0f);
  EXPECT_EQ(framePacing.lastFpsTime, 2500u);
}

TEST_F(FramePacingTest, FpsAcrossClockWrap) {
  StartAt(0xFFFFFE00u);
  SleepsOfFrames(15, 0);
  EXPECT_EQ(framePacing.lastFpsTime, 0xFFFFFE00u + 466u);
  SleepsOfFrames(15, 0);  // the clock wraps in this window
  EXPECT_EQ(framePacing.lastFpsTime, 0xFFFFFE00u + 966u);
  EXPECT_LT(framePacing.lastFpsTime, 0x1000u);
  EXPECT_FLOAT_EQ(framePacing.fps, 30.0f);
}

TEST_F(FramePacingTest, StalledClockKeepsLastFps) {
  StartAt(1000);
  framePacing.fps = 29.0f;
  for (int i = 0; i < 15; ++i) {
    os.sleeps.clear();
    PaceFrame();
    os.now = 1000;  // undo the sleep: a clock that does not move
  }
  EXPECT_FLOAT_EQ(framePacing.fps, 29.0f);
}

}  // namespace
