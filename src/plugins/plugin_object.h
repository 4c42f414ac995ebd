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
  // Destroying an object destroys the objects after it in its list.
  virtual ~PluginObject() = default;
  PluginObject(const PluginObject&) = delete;
  PluginObject& operator=(const PluginObject&) = delete;

  char dirName[kPluginWordSize] = {};  // the plug-in's directory inside the simulator's: "PLUGIN", "XFILE"
  char name[kPluginWordSize] = {};     // bytes as read (code page 932 in the simulator's files)
  char author[kPluginWordSize] = {};
  bool modelLoaded = false;  // the model has been requested into the mesh
  int32_t serial = 0;        // the list's count when the object was appended
  float drawScale = 0.0f;    // model units to scene units: 0.5 / scaleFigure
  float scaleFigure = 0.0f;
  PluginObject* next = nullptr;

 protected:
  explicit PluginObject(const char* directoryName);  // kept to 255 bytes

  // Requests "Model.x" of the current directory into mesh when loadNow is set.
  void LoadModel(MeshResource& mesh, bool loadNow);
  // drawScale = 0.5 / scaleFigure; false, with drawScale 1.0, when that is
  // not a finite positive number.
  bool ComputeDrawScale();
  // After a definition file's formatted read: drawScale, and a log line for
  // items not read and for an unusable scale figure.
  void FinishReading(const char* fileName, int itemsRead, int itemsExpected);
  // Logs "<fileName>: <detail>" and keeps it as a failure of the file's load.
  static void ReportReadingProblem(const char* fileName, const char* format, ...)
      __attribute__((format(printf, 2, 3)));
  void AppendTo(PluginList& list);
  // The common first step of showSelected: when this is the list's selected
  // object at this offset, puts the model in the list's scene node and records
  // the selection. Returns whether it did; the caller then writes the info.
  bool ShowIfSelected(PluginList& list, MeshResource& model, float modelScale, int offset);
  // Clears the block and writes "<dirName>", the name and the author line,
  // whose prefix differs by kind.
  void WriteInfoHead(TextLines& block, const char* authorPrefix) const;
  // The objects after this one, destroyed before this one's own parts.
  void DeleteRest();

  // Offset of the last of the eight objects that showSelected considers.
  static constexpr int kLastShownOffset = -7;
};
