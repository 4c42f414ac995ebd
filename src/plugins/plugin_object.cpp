#include "plugins/plugin_object.h"

#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "graphics/text_lines.h"
#include "platform/os/text_encoding.h"
#include "plugins/plugin_list.h"
#include "resources/mesh_resource.h"

namespace {
// The items every definition file begins with.
constexpr const char* kHeadItemNames[] = {"name", "author", "scale figure"};
constexpr int kScaleFigureItem = 3;
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

void PluginObject::FinishReading(DefinitionReader& reader, int itemsRead, std::span<const char* const> kindItemNames) {
  reader.NameFields(kHeadItemNames);
  reader.NameFields(kindItemNames);
  DefinitionRecord& record = reader.Record();
  int itemsExpected = static_cast<int>(std::size(kHeadItemNames) + kindItemNames.size());
  if (itemsRead < itemsExpected)
    record.AddProblem(FindingCode::kDefinitionItemsMissing, reader.Line(), "only %d of %d items read", itemsRead,
                      itemsExpected);
  if (ComputeDrawScale()) return;
  if (itemsRead < kScaleFigureItem) {
    record.AddProblem(FindingCode::kScaleFigureMissing, reader.Line(), "no scale figure; drawScale 1.0 instead");
  } else {
    record.AddProblem(FindingCode::kScaleFigureUnusable, record.fields[kScaleFigureItem - 1].line,
                      "scale figure %g is not usable; drawScale 1.0 instead", scaleFigure);
  }
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

PluginObject* PluginObject::NextToShow(const PluginList& list, int offset) const {
  return offset == kLastShownOffset ? nullptr : list.After(*this);
}
