// Plug-in objects built from files in a scratch directory, with the recording
// device as the program's device, the debug log captured, and the four info
// blocks laid out as the viewer lays them out.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_os.h"
#include "graphics/direct3d.h"
#include "plugins/plugin_list.h"
#include "recording_device.h"
#include "resources/texture_cache.h"
#include "scratch_directory.h"
#include "state_names.h"

class PluginTest : public ::testing::Test {
 protected:
  void SetUp() override {
    d3dDevice = &device;
    trainList.info.Setup(5, 5, 405);
    structList.info.Setup(3, 5, 433);
    stationList.info.Setup(4, 5, 419);
    surfaceList.info.Setup(5, 5, 405);
  }
  void TearDown() override {
    for (PluginList* list : {&trainList, &structList, &stationList, &surfaceList}) list->DestroyObjects();
    EXPECT_TRUE(textureCache.Entries().empty());
    d3dDevice = nullptr;
  }

  // Writes the definition file and opens it as the launcher does.
  FILE* Definition(const std::string& fileName, const std::string& text) {
    scratch.Write(fileName, text);
    FILE* file = scratch.Open(fileName);
    opened.push_back(file);
    return file;
  }
  ~PluginTest() override {
    for (FILE* file : opened) std::fclose(file);
  }

  // The lines a block shows, top to bottom, empty slots left out.
  static std::vector<std::string> Shown(const TextLines& block) {
    std::vector<std::string> shown;
    for (int i = 0; i < block.capacity; ++i)
      if (block.Line(i)) shown.push_back(block.Line(i));
    return shown;
  }

  FakeOs os;
  RecordingDevice device;
  ScratchDirectory scratch;
  std::vector<FILE*> opened;
};

// A model of one triangle over three points (x, y, z).
inline std::string TriangleModel(float x0, float y0, float z0, float x1, float y1, float z1, float x2, float y2,
                                 float z2) {
  char text[256];
  std::snprintf(text, sizeof text, "xof 0302txt 0032\nMesh {\n3;\n%g;%g;%g;,\n%g;%g;%g;,\n%g;%g;%g;;\n1;\n3;0,1,2;;\n}\n",
                x0, y0, z0, x1, y1, z1, x2, y2, z2);
  return text;
}
inline std::string UnitModel() { return TriangleModel(0, 0, 0, 0, 1, 0, 1, 0, 0); }
