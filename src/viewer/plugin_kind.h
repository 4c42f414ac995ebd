// The kinds of plug-in, in the launcher's probing order; each has its
// definition file, object list, scene node and frame routine.
#pragma once

enum PluginKind { kTrainKind = 0, kStructKind = 1, kStationKind = 2, kSurfaceKind = 3, kKindCount = 4 };

constexpr PluginKind kAllKinds[kKindCount] = {kTrainKind, kStructKind, kStationKind, kSurfaceKind};
