// A train plug-in: a vehicle with a body length and a maximum speed.
#pragma once
#include <cstdio>

#include "plugins/plugin_object.h"
#include "resources/mesh_resource.h"

class TrainPlugin : public PluginObject {
 public:
  // Loads the model when loadNow is set and reads Train.txt from the open file.
  TrainPlugin(const char* directoryName, FILE* definitionFile, bool loadNow);

  MeshResource& getModel() { return mesh; }
  void showSelected(int offset);
  void writeInfo();

  float bodyLength = 0.0f;    // scene units
  float secondLength = 0.0f;  // scene units
  float maxSpeed = 0.0f;      // as read
  MeshResource mesh;
};
