#include "plugins/struct_plugin.h"

#include "plugins/plugin_list.h"

namespace {
constexpr char kFileName[] = "Struct.txt";
}  // namespace

StructPlugin::StructPlugin(const char* directoryName, bool loadNow) : PluginObject(directoryName) {
  LoadModel(mesh, loadNow);
}

StructPlugin::StructPlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : StructPlugin(directoryName, loadNow) {
  DefinitionReader reader(definitionFile, kFileName);
  int itemsRead = reader.Read("%s\n%s\n%f", name, author, &scaleFigure);
  FinishReading(reader, itemsRead, {});
  definition = std::move(reader.Record());
}

void StructPlugin::showSelected(int offset) {
  if (ShowIfSelected(Plugins().structList, getModel(), drawScale, offset)) writeInfo();
  if (PluginObject* after = NextToShow(Plugins().structList, offset))
    static_cast<StructPlugin*>(after)->showSelected(offset - 1);
}

void StructPlugin::writeInfo() { WriteInfoHead(Plugins().structList.info, "作: "); }
