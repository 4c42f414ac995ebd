// The checks -check makes beyond what the loads note: what loads fine yet will
// look wrong in the simulator, or works on the author's machine only. Each
// gives its findings as display text, with the codes of check_codes.h.
#pragma once
#include <string>
#include <vector>

#include "gfxutil/load_notes.h"
#include "viewer/plugin_kind.h"

class MeshResource;
class PluginObject;
struct ShownPlugin;

// Numbers read in part or not at all; a station's platforms too short to count.
std::vector<LoadNote> DefinitionFindings(const PluginObject& object, PluginKind kind);
// Materials hidden by day, geometry, and the size as drawn (drawScale; 0 for
// a bare model, which is scaled to fit the view).
std::vector<LoadNote> ModelFindings(const MeshResource& model, float drawScale);
// Where each texture was found, and its size. pluginDirectory: the absolute
// directory the plug-in's names start from, with its trailing '/'.
std::vector<LoadNote> TextureFindings(const MeshResource& model, const std::string& pluginDirectory);

// Everything about the shown plug-in: its definition file's problems, the
// notes of its loads, then the checks above. A bare model has no scale of
// its own to check.
std::vector<LoadNote> PluginFindings(const ShownPlugin& shown, bool bareModel);
