#include "plugins/struct_plugin.h"

#include "plugins/plugin_list.h"

namespace {
constexpr char kFileName[] = "Struct.txt";
constexpr int kItems = 3;
}  // namespace

StructPlugin::StructPlugin(const char* directoryName, bool loadNow) : PluginObject(directoryName) {
  LoadModel(mesh, loadNow);
}

StructPlugin::StructPlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : StructPlugin(directoryName, loadNow) {
  int itemsRead = DefinitionReader(definitionFile, kFileName).Read("%s\n%s\n%f", name, author, &scaleFigure);
  FinishReading(kFileName, itemsRead, kItems);
  AppendTo(structList);
}

StructPlugin::~StructPlugin() { DeleteRest(); }

void StructPlugin::showSelected(int offset) {
  if (ShowIfSelected(structList, getModel(), drawScale, offset)) writeInfo();
  if (offset != kLastShownOffset && next) static_cast<StructPlugin*>(next)->showSelected(offset - 1);
}

void StructPlugin::writeInfo() { WriteInfoHead(structList.info, "作: "); }
