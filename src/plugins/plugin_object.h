// What every plug-in object shares: its names and scale, its place in its
// kind's list, and the steps of construction and showing common to all kinds.
#pragma once
#include <cstdint>

#include "plugins/definition_reader.h"

// The model every plug-in directory holds.
inline constexpr char kModelFileName[] = "Model.x";

class MeshResource;
struct PluginList;
struct TextLines;

class PluginObject {
 public:
  virtual ~PluginObject() = default;
  PluginObject(const PluginObject&) = delete;
  PluginObject& operator=(const PluginObject&) = delete;

  char dirName[kPluginWordSize] = {};  // the plug-in's directory inside the simulator's: "PLUGIN", "XFILE"
  char name[kPluginWordSize] = {};     // bytes as read (code page 932 in the simulator's files)
  char author[kPluginWordSize] = {};
  bool modelLoaded = false;  // the model has been requested into the mesh
  int32_t serial = 0;        // its place in its list, from 0
  float drawScale = 0.0f;    // model units to scene units: 0.5 / scaleFigure
  float scaleFigure = 0.0f;
  // The definition file as read, with its problems; a bare model keeps the
  // problems of its model's scale here, under the model's name.
  DefinitionRecord definition;

 protected:
  explicit PluginObject(const char* directoryName);  // kept to 255 bytes

  // Requests "Model.x" of the current directory into mesh when loadNow is set.
  void LoadModel(MeshResource& mesh, bool loadNow);
  // drawScale = 0.5 / scaleFigure; false, with drawScale 1.0, when that is
  // not a finite positive number.
  bool ComputeDrawScale();
  // After a definition file's formatted read of the common head (name,
  // author, scale figure) and the kind's own items: the fields named,
  // drawScale, and a problem for items not read and for an unusable scale figure.
  void FinishReading(DefinitionReader& reader, int itemsRead, std::span<const char* const> kindItemNames);
  // The common first step of showSelected: when this is the list's selected
  // object at this offset, puts the model in the list's scene node and records
  // the selection. Returns whether it did; the caller then writes the info.
  bool ShowIfSelected(PluginList& list, MeshResource& model, float modelScale, int offset);
  // Clears the block and writes "<dirName>", the name and the author line,
  // whose prefix differs by kind.
  void WriteInfoHead(TextLines& block, const char* authorPrefix) const;
  // The object that showSelected at this offset goes on to, or null after the last it considers.
  PluginObject* NextToShow(const PluginList& list, int offset) const;

  // Offset of the last of the eight objects that showSelected considers.
  static constexpr int kLastShownOffset = -7;
};
