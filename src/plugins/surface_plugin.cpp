#include "plugins/surface_plugin.h"

#include "plugins/plugin_list.h"

namespace {
constexpr char kFileName[] = "Surface.txt";
constexpr int kItems = 5;
}  // namespace

SurfacePlugin::SurfacePlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : PluginObject(directoryName) {
  LoadModel(mesh, loadNow);
  int itemsRead = DefinitionReader(definitionFile, kFileName)
                      .Read("%s\n%s\n%f\n%f\n%f", name, author, &scaleFigure, &widthX, &widthZ);
  FinishReading(kFileName, itemsRead, kItems);
  widthX *= drawScale;
  widthZ *= drawScale;
  AppendTo(surfaceList);
}

SurfacePlugin::~SurfacePlugin() { DeleteRest(); }

void SurfacePlugin::showSelected(int offset) {
  if (ShowIfSelected(surfaceList, getModel(), ModelScale(), offset)) writeInfo();
  if (offset != kLastShownOffset && next) static_cast<SurfacePlugin*>(next)->showSelected(offset - 1);
}

void SurfacePlugin::writeInfo() {
  WriteInfoHead(surfaceList.info, " 作: ");
  surfaceList.info.AddLinef("X幅: %.1f", widthX);
  surfaceList.info.AddLinef("Z幅: %.1f", widthZ);
}
