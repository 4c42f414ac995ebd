// The list of each plug-in kind: its objects in order of construction, the
// selected one, the scene node that shows its model and its info text block.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "gfxutil/d3dx_math.h"
#include "graphics/text_lines.h"
#include "plugins/plugin_object.h"
#include "scene/scene_node.h"

using PluginObjects = std::vector<std::unique_ptr<PluginObject>>;

struct PluginList {
  PluginList() = default;
  PluginList(const PluginList&) = delete;
  PluginList& operator=(const PluginList&) = delete;

  // Takes the object in as the last, numbered with the count of objects
  // before it (its serial); returns it.
  PluginObject* Append(std::unique_ptr<PluginObject> object);
  // The object made after this one, or null.
  PluginObject* After(const PluginObject& object) const;
  // Destroys the objects; the scene node and the info block let go of them too.
  void DestroyObjects();
  // Takes the objects out and leaves the list empty, so that a replacement
  // joins it as the first object; the scene node and the info block still
  // show the objects taken out.
  PluginObjects TakeObjects();
  // Makes objects taken out the list's objects again, destroying those it holds.
  void PutBack(PluginObjects taken);

  PluginObjects objects;
  int32_t selectedSerial = 0;
  PluginObject* selectedObject = nullptr;  // set by showSelected
  SceneNode sceneNode;
  D3DXVECTOR3 modelPosition;  // (0, 0, 0)
  TextLines info;             // set up by the viewer with room for the kind's lines
};

// The list of every kind, owned by plugins/ and reached through Plugins().
struct PluginLists {
  PluginList trainList, structList, stationList, surfaceList;
};

PluginLists& Plugins();
