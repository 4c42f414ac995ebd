#include "plugins/plugin_object.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "base/debug_log.h"
#include "graphics/text_lines.h"
#include "platform/os/text_encoding.h"
#include "plugins/plugin_list.h"
#include "resources/load_log.h"
#include "resources/mesh_resource.h"

namespace {
constexpr int kScaleFigureItem = 3;  // name, author, scale figure
}  // namespace

PluginObject::PluginObject(const char* directoryName) {
  std::snprintf(dirName, sizeof dirName, "%s", directoryName);
}

void PluginObject::LoadModel(MeshResource& mesh, bool loadNow) {
  modelLoaded = loadNow;
  if (loadNow) mesh.load(kModelFileName, 0, 1);
}

bool PluginObject::ComputeDrawScale() {
  drawScale = 0.5f / scaleFigure;
  if (std::isfinite(drawScale) && drawScale > 0.0f) return true;
  drawScale = 1.0f;
  return false;
}

void PluginObject::FinishReading(const char* fileName, int itemsRead, int itemsExpected) {
  if (itemsRead < itemsExpected) ReportReadingProblem(fileName, "only %d of %d items read", itemsRead, itemsExpected);
  if (ComputeDrawScale()) return;
  if (itemsRead < kScaleFigureItem) {
    ReportReadingProblem(fileName, "no scale figure; drawScale 1.0 instead");
  } else {
    ReportReadingProblem(fileName, "scale figure %g is not usable; drawScale 1.0 instead", scaleFigure);
  }
}

void PluginObject::ReportReadingProblem(const char* fileName, const char* format, ...) {
  char detail[160];
  va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(detail, sizeof detail, format, arguments);
  va_end(arguments);
  std::string line = std::string(fileName) + ": " + detail;
  LogPrintf("%s\n", line.c_str());
  NoteLoadFailure(fileName, line.c_str());
}

void PluginObject::AppendTo(PluginList& list) {
  next = nullptr;
  *list.tailLink = this;
  list.tailLink = &next;
  serial = list.count++;
}

bool PluginObject::ShowIfSelected(PluginList& list, MeshResource& model, float modelScale, int offset) {
  if (offset > 0 || serial != list.selectedSerial) return false;
  list.sceneNode.Attach(&model, list.modelPosition.x, list.modelPosition.y, list.modelPosition.z, modelScale);
  list.selectedObject = this;
  return true;
}

void PluginObject::WriteInfoHead(TextLines& block, const char* authorPrefix) const {
  block.Clear();
  block.AddLinef("<%s>", dirName);
  block.AddLine(name);
  // The author's bytes may be code page 932; the line is shown as one text.
  block.AddLinef("%s%s", authorPrefix, DisplayText(author).c_str());
}

void PluginObject::DeleteRest() {
  delete next;
  next = nullptr;
}
