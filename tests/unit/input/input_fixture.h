// The scripted operating system and DirectInput that the input tests run on,
// with a 640 x 480 windowed main window whose client area starts at (100, 50).
#pragma once
#include <gtest/gtest.h>

#include "base/program_state.h"
#include "fake_dinput.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "input/input.h"
#include "state_names.h"

class InputTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mainWindow = FakeOs::FakeWindowHandle();
    os.activeWindow = mainWindow;
    os.clientOrigin = {100, 50};
    clientWidth = 640;
    clientHeight = 480;
    isWindowed = 1;
  }

  void TearDown() override {
    FreeInput();
    ClearInputState();
    mainWindow = nullptr;
  }

  void StartInput() { ASSERT_EQ(InitDirectInput(), 1); }

  FakeOs os;
  FakeDirectInput input;
};
