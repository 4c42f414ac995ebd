#include "plugins/surface_plugin.h"

#include "plugins/plugin_list.h"

namespace {
constexpr char kFileName[] = "Surface.txt";
constexpr const char* kItemNames[] = {"X width", "Z width"};
}  // namespace

SurfacePlugin::SurfacePlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : PluginObject(directoryName) {
  LoadModel(mesh, loadNow);
  DefinitionReader reader(definitionFile, kFileName);
  int itemsRead = reader.Read("%s\n%s\n%f\n%f\n%f", name, author, &scaleFigure, &widthX, &widthZ);
  FinishReading(reader, itemsRead, kItemNames);
  definition = std::move(reader.Record());
  widthX *= drawScale;
  widthZ *= drawScale;
}

void SurfacePlugin::showSelected(int offset) {
  if (ShowIfSelected(Plugins().surfaceList, getModel(), ModelScale(), offset)) writeInfo();
  if (PluginObject* after = NextToShow(Plugins().surfaceList, offset))
    static_cast<SurfacePlugin*>(after)->showSelected(offset - 1);
}

void SurfacePlugin::writeInfo() {
  WriteInfoHead(Plugins().surfaceList.info, " 作: ");
  Plugins().surfaceList.info.AddLinef("X幅: %.1f", widthX);
  Plugins().surfaceList.info.AddLinef("Z幅: %.1f", widthZ);
}
