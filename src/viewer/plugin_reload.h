// Loading the shown plug-in again, in place, through the viewer's own
// construction; the new object is shown only when its load is no worse.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"
#include "viewer/plugin_kind.h"

class PluginObject;

// What a run shows, so that it can be loaded again.
struct PluginSource {
  PluginKind kind = kStructKind;  // a bare model is a Struct
  std::string bareModelPath;  // a bare model's path; empty for a plug-in directory

  bool IsBareModel() const { return !bareModelPath.empty(); }
};

struct ReloadOutcome {
  bool reloaded = false;
  std::string reason;              // when not reloaded: why, one line
  std::vector<std::string> files;  // what the new load read or named
};

// Builds a new object of the source (the definition file, the model and its
// textures all read from the files again) while the shown one stays in its
// scene node. When the new load failed in some way that the shown one's did
// not (shownFailures, as TakeFailuresOf gives them), the new object is
// destroyed and the shown one kept as it is, its textures included; otherwise
// the new object is shown, the old one destroyed, and shownFailures become
// the new load's.
ReloadOutcome ReloadPlugin(const PluginSource& source, std::vector<LoadNote>& shownFailures);
// The failures of the load that made the object: the failed model and texture
// loads since the last take, and its definition file's problems.
std::vector<LoadNote> TakeFailuresOf(const PluginObject* object);

// The files the shown object reads: the definition file, the model and the
// textures its model names (where each was found, else as named).
std::vector<std::string> FilesOfShownPlugin(const PluginSource& source);
