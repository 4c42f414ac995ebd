// Builds the one plug-in object of a run, installs its frame routine, and
// destroys it at the end.
#pragma once
#include <cstdio>

class MeshResource;
class PluginObject;

// Kind indices, in the launcher's probing order.
enum PluginKind { kTrainKind = 0, kStructKind = 1, kStationKind = 2, kSurfaceKind = 3, kKindCount = 4 };

void SetupInfoBlocks();
// Takes over the open definition file and closes it.
void LoadPlugin(int kind, FILE* definitionFile);
// Returns 0 when the model cannot be loaded; the caller then ends the program.
int LoadBareModel(const char* modelPath);
void ViewerShutdown();

// The object that LoadPlugin or LoadBareModel put on show, its kind and its
// model; object null before.
struct ShownPlugin {
  int kind = -1;
  PluginObject* object = nullptr;
  const MeshResource* model = nullptr;
};
ShownPlugin CurrentPlugin();
