// A recording device as the program's device, the debug log captured by a
// fake operating system, and a scratch directory to write models and
// textures into.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_os.h"
#include "graphics/direct3d.h"
#include "recording_device.h"
#include "scene/lighting.h"
#include "scratch_directory.h"
#include "state_names.h"

class ResourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3dDevice = &device;
    nightMode = 0;
  }
  void TearDown() override {
    nightMode = 0;
    d3dDevice = nullptr;
  }

  FakeOs os;
  RecordingDevice device;
  ScratchDirectory scratch;
};

// A 2 x 2 binary PPM image of one colour.
inline std::string TinyImage(unsigned char r, unsigned char g, unsigned char b) {
  std::string image = "P6\n2 2\n255\n";
  for (int i = 0; i < 4; ++i) image += {static_cast<char>(r), static_cast<char>(g), static_cast<char>(b)};
  return image;
}

struct TestMaterial {
  float r, g, b, a;
  std::string texture;  // empty: none
  float emissive = 0.0f;
};

// A text X file with one triangle per material, triangle i lying at x = i.
std::string MeshWithMaterials(const std::vector<TestMaterial>& materials);
// A text X file of one untextured triangle list over the given points (x, y, z).
std::string MeshOverPoints(const std::vector<D3DVECTOR>& points);
