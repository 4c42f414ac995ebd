#include "plugins/train_plugin.h"

#include "plugins/plugin_list.h"

namespace {
constexpr char kFileName[] = "Train.txt";
constexpr const char* kItemNames[] = {"second length", "body length", "maximum speed"};
}  // namespace

TrainPlugin::TrainPlugin(const char* directoryName, FILE* definitionFile, bool loadNow)
    : PluginObject(directoryName) {
  LoadModel(mesh, loadNow);
  DefinitionReader reader(definitionFile, kFileName);
  int itemsRead =
      reader.Read("%s\n%s\n%f\n%f\n%f\n%f", name, author, &scaleFigure, &secondLength, &bodyLength, &maxSpeed);
  FinishReading(reader, itemsRead, kItemNames);
  definition = std::move(reader.Record());
  secondLength *= drawScale;
  bodyLength *= drawScale;
}

void TrainPlugin::showSelected(int offset) {
  if (ShowIfSelected(Plugins().trainList, getModel(), drawScale, offset)) writeInfo();
  if (PluginObject* after = NextToShow(Plugins().trainList, offset))
    static_cast<TrainPlugin*>(after)->showSelected(offset - 1);
}

void TrainPlugin::writeInfo() {
  WriteInfoHead(Plugins().trainList.info, "作: ");
  Plugins().trainList.info.AddLinef("最高速度: %.2f", maxSpeed);
  Plugins().trainList.info.AddLinef("車体長さ: %.2f", bodyLength);
}
