// Builds the one plug-in object of a run, installs its frame routine, and
// destroys it at the end. A reload (viewer/plugin_reload.h) repeats the same
// construction and showing.
#pragma once
#include <cstdio>
#include <vector>

#include "gfxutil/load_notes.h"
#include "viewer/plugin_kind.h"

class MeshResource;
class PluginObject;
struct PluginList;


void SetupInfoBlocks();
// Takes over the open definition file and closes it.
void LoadPlugin(PluginKind kind, FILE* definitionFile);
// Returns 0 when the model cannot be loaded (its notes, the fault first, then
// go to failureNotes when given); the caller then ends the program.
int LoadBareModel(const char* modelPath, std::vector<LoadNote>* failureNotes = nullptr);
void ViewerShutdown();

// The object that LoadPlugin or LoadBareModel put on show, its kind and its
// model; object null before.
struct ShownPlugin {
  PluginKind kind = kStructKind;  // of the object shown
  PluginObject* object = nullptr;
  const MeshResource* model = nullptr;
};
ShownPlugin CurrentPlugin();

// The object of a kind, built from its open definition file (closed here) and
// appended to its kind's list, not shown. Ends the program when it cannot
// be allocated.
PluginObject* ConstructPlugin(PluginKind kind, FILE* definitionFile);
// The object of a bare model, a structure; null when the model cannot be
// loaded, its notes then in failureNotes when given.
PluginObject* ConstructBareModel(const char* modelPath, std::vector<LoadNote>* failureNotes = nullptr);
// Puts the object's model in its kind's scene node, writes its info block and
// installs the kind's frame routine. A bare model is of the Struct kind.
void ShowPlugin(PluginKind kind, PluginObject* object);
MeshResource& ModelOf(PluginKind kind, PluginObject* object);
PluginList& ListOf(PluginKind kind);
