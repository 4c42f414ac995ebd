// The frame routines on scripted input: a fake operating system and
// DirectInput, the recording device, a windowed 640 x 480 client area whose
// top-left corner is at the screen origin.
#pragma once
#include <gtest/gtest.h>

#include <cmath>

#include "base/program_state.h"
#include "fake_dinput.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "program_state_reset.h"
#include "rail/station_rails.h"
#include "recording_device.h"
#include "scene/camera.h"
#include "scene/lighting.h"
#include "shell/application.h"
#include "viewer/frame_routines.h"
#include "viewer/plugin_loading.h"
#include "state_names.h"

class ViewerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetProgramState(FakeOs::FakeWindowHandle(), &device);
    os.activeWindow = mainWindow;
    for (PluginKind kind : kAllKinds) ViewStateOf(kind) = InitialViewState(kind);
    ASSERT_EQ(InitDirectInput(), 1);
    CentreCursor();
  }

  void TearDown() override {
    FreeInput();
    ClearInputState();
    ResetProgramState();
  }

  void CentreCursor() { os.cursor = {clientWidth / 2, clientHeight / 2}; }

  // Holds or lets go of a DirectInput key, mouse button or virtual key for the next frames.
  void SetKey(int dik, bool down) { input.keyboard.keys[dik] = down ? 0x80 : 0; }
  void SetButton(int index, bool down) { input.mouse.mouse.rgbButtons[index] = down ? 0x80 : 0; }
  void SetVirtualKey(int vk, bool down) { os.asyncKeys[vk] = down ? int16_t(0x8000) : int16_t(0); }

  // One pass of the main loop: the pump's key sampling, the input poll, the routine.
  void RunFrame(void (*routine)()) {
    PollVirtualKeys();
    PollInput();
    input.mouse.mouse.lZ = 0;
    routine();
  }

  FakeOs os;
  FakeDirectInput input;
  RecordingDevice device;
};
