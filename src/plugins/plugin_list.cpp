#include "plugins/plugin_list.h"

#include <utility>

PluginLists& Plugins() {
  static PluginLists lists;
  return lists;
}

PluginObject* PluginList::Append(std::unique_ptr<PluginObject> object) {
  object->serial = static_cast<int32_t>(objects.size());
  objects.push_back(std::move(object));
  return objects.back().get();
}

PluginObject* PluginList::After(const PluginObject& object) const {
  size_t next = static_cast<size_t>(object.serial) + 1;
  return next < objects.size() && objects[next - 1].get() == &object ? objects[next].get() : nullptr;
}

void PluginList::DestroyObjects() {
  info.Clear();
  sceneNode.Attach(nullptr, modelPosition.x, modelPosition.y, modelPosition.z, 1.0f);
  selectedObject = nullptr;
  objects.clear();
}

PluginObjects PluginList::TakeObjects() { return std::exchange(objects, {}); }

void PluginList::PutBack(PluginObjects taken) { objects = std::move(taken); }
