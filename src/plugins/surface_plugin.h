// A surface plug-in: ground whose widths along X and Z are given; its model
// is shown at a twentieth of the common scale.
#pragma once
#include <cstdio>

#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"

class SurfacePlugin : public PluginObject {
 public:
  // Loads the model when loadNow is set and reads Surface.txt from the open file.
  SurfacePlugin(const char* directoryName, FILE* definitionFile, bool loadNow);

  MeshResource& getModel() { return mesh; }
  void showSelected(int offset);
  void writeInfo();
  float ModelScale() const { return kModelScaleFactor * drawScale; }

  float widthX = 0.0f;  // scene units
  float widthZ = 0.0f;  // scene units
  MeshResource mesh;

 private:
  static constexpr float kModelScaleFactor = 0.05f;
};
