// A structure plug-in, and the base of the station. A bare model file is
// shown as a structure too.
#pragma once
#include <cstdio>

#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"

class StructPlugin : public PluginObject {
 public:
  // Loads the model when loadNow is set and reads Struct.txt from the open file.
  StructPlugin(const char* directoryName, FILE* definitionFile, bool loadNow);
  // A bare model file, scaled so that its bounding sphere has a radius of 10
  // scene units; modelLoaded stays false when the model cannot be loaded.
  explicit StructPlugin(const char* modelPath);

  virtual MeshResource& getModel() { return mesh; }
  virtual void showSelected(int offset);
  virtual void writeInfo();

  MeshResource mesh;

 protected:
  // The common steps up to loading the model; the station reads its own file.
  StructPlugin(const char* directoryName, bool loadNow);
};
