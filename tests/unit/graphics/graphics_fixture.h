// A device set-up under test: a scripted operating system and Direct3D, and
// the program's state reset around every test.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/program_state.h"
#include "fake_os.h"
#include "program_state_reset.h"
#include "graphics/device_setup.h"
#include "graphics/overlay_text.h"
#include "recording_device.h"

class GraphicsTest : public ::testing::Test {
 protected:
  GraphicsTest() : factory_(&d3d) {
    ResetProgramState(FakeOs::FakeWindowHandle());
    os.activeWindow = FakeOs::FakeWindowHandle();
  }
  ~GraphicsTest() override {
    ReleaseOverlayFont();  // it holds a reference to the recording device, which goes with the test
    ResetProgramState();
  }

  // Calls of the recorded device with the given name and first argument.
  std::vector<const DeviceCall*> DeviceCalls(const char* name) const { return d3d.device.Named(name); }

  FakeOs os;
  RecordingDirect3D d3d;

 private:
  ScopedDirect3DFactory factory_;
};
