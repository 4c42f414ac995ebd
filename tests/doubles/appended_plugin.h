// A plug-in object made as the viewer makes it: appended to its kind's list,
// which owns it.
#pragma once
#include <memory>
#include <utility>

#include "plugins/plugin_list.h"

template <typename Plugin, typename... Arguments>
Plugin* AppendNew(PluginList& list, Arguments&&... arguments) {
  return static_cast<Plugin*>(list.Append(std::make_unique<Plugin>(std::forward<Arguments>(arguments)...)));
}
