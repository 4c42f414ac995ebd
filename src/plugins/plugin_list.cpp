#include "plugins/plugin_list.h"

#include "plugins/plugin_object.h"

PluginList trainList, structList, stationList, surfaceList;

void PluginList::DestroyObjects() {
  info.Clear();
  sceneNode.Attach(nullptr, modelPosition.x, modelPosition.y, modelPosition.z, 1.0f);
  selectedObject = nullptr;
  delete TakeObjects();
}

PluginObject* PluginList::TakeObjects() {
  PluginObject* objects = head;
  head = nullptr;
  tailLink = &head;
  count = 0;
  return objects;
}

void PluginList::PutBack(PluginObject* objects) {
  head = objects;
  tailLink = &head;
  count = 0;
  for (; *tailLink; tailLink = &(*tailLink)->next) ++count;
}
