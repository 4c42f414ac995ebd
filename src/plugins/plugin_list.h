// The list of each plug-in kind: its objects in order of construction, the
// selected one, the scene node that shows its model and its info text block.
#pragma once
#include <cstdint>

#include "gfxutil/d3dx_math.h"
#include "graphics/text_lines.h"
#include "scene/scene_node.h"

class PluginObject;

struct PluginList {
  PluginList() = default;
  PluginList(const PluginList&) = delete;
  PluginList& operator=(const PluginList&) = delete;

  // Destroys the objects (the head takes the rest with it) and empties the
  // list; the scene node and the info block let go of them too.
  void DestroyObjects();
  // Takes the objects out and leaves the list empty, so that a replacement
  // joins it as the first object; the scene node and the info block still
  // show the objects taken out.
  PluginObject* TakeObjects();
  // Makes objects taken out the list's objects again; the list must be empty.
  void PutBack(PluginObject* objects);

  PluginObject* head = nullptr;
  PluginObject** tailLink = &head;  // where the next appended object is linked
  int32_t count = 0;                // objects appended so far
  int32_t selectedSerial = 0;
  PluginObject* selectedObject = nullptr;  // set by showSelected
  SceneNode sceneNode;
  D3DXVECTOR3 modelPosition;  // (0, 0, 0)
  TextLines info;             // set up by the viewer with room for the kind's lines
};

extern PluginList trainList, structList, stationList, surfaceList;
