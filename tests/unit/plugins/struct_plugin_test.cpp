// The Struct kind, and through it what all kinds share: the list, showing the
// selected object, the head of the info block and the scale figure.
#include "plugins/struct_plugin.h"

#include <cmath>
#include <filesystem>

#include "code_page_932.h"
#include "plugin_fixture.h"
#include "appended_plugin.h"
#include "state_names.h"

namespace {

class StructPluginTest : public PluginTest {
 protected:
  StructPlugin* Make(const std::string& text) {
    return AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", text), false);
  }
};

TEST_F(StructPluginTest, ShowsThreeInfoLinesAndPlacesTheModelAtTheOrigin) {
  scratch.Write("Model.x", UnitModel());
  auto* object = AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", "Shed\nBuilder\n1.0\n"), true);
  object->showSelected(0);
  EXPECT_EQ(Shown(structList.info), (std::vector<std::string>{"<PLUGIN>", "Shed", "作: Builder"}));
  EXPECT_EQ(structList.sceneNode.Mesh(), &object->mesh);
  EXPECT_TRUE(structList.sceneNode.IsVisible());
  EXPECT_EQ(structList.sceneNode.Scale(), 0.5f);
  const D3DMATRIX& local = structList.sceneNode.Local();
  EXPECT_EQ(local._41, 0.0f);
  EXPECT_EQ(local._42, 0.0f);
  EXPECT_EQ(local._43, 0.0f);
  EXPECT_EQ(local._11, 0.5f);
}

TEST_F(StructPluginTest, ScaleFiguresGiveHalfTheirInverse) {
  EXPECT_EQ(Make("a b 2.0")->drawScale, 0.25f);
  EXPECT_EQ(Make("a b 0.5")->drawScale, 1.0f);
  EXPECT_EQ(os.DebugText(), "");
}

TEST_F(StructPluginTest, AnUnusableScaleFigureDrawsAtScaleOneWithALogLine) {
  const struct {
    const char* figure;
    const char* line;
  } cases[] = {
      {"0", "Struct.txt: line 1: scale figure 0 is not usable; drawScale 1.0 instead\n"},
      {"-2.5", "Struct.txt: line 1: scale figure -2.5 is not usable; drawScale 1.0 instead\n"},
      {"nan", "Struct.txt: line 1: scale figure nan is not usable; drawScale 1.0 instead\n"},
      {"inf", "Struct.txt: line 1: scale figure inf is not usable; drawScale 1.0 instead\n"},
      {"1e-45", "Struct.txt: line 1: scale figure 1.4013e-45 is not usable; drawScale 1.0 instead\n"},
      {"", "Struct.txt: line 1: only 2 of 3 items read\nStruct.txt: line 1: no scale figure; drawScale 1.0 instead\n"},
  };
  for (const auto& c : cases) {
    os.debugOutput.clear();
    StructPlugin* object = Make(std::string("a b ") + c.figure);
    EXPECT_EQ(object->drawScale, 1.0f) << c.figure;
    EXPECT_EQ(os.DebugText(), c.line) << c.figure;
  }
}

TEST_F(StructPluginTest, ShiftJisNamesAreKeptAsReadAndTheAuthorLineIsShownDecoded) {
  std::string name = ToCodePage932("煉瓦倉庫"), author = ToCodePage932("表示工房");
  StructPlugin* object = Make(name + "\r\n" + author + "\r\n1.0\r\n");
  EXPECT_EQ(std::string(object->name), name);
  EXPECT_EQ(std::string(object->author), author);
  object->showSelected(0);
  EXPECT_EQ(Shown(structList.info), (std::vector<std::string>{"<PLUGIN>", name, "作: 表示工房"}));
}

TEST_F(StructPluginTest, ObjectsJoinTheirListInOrderWithSerials) {
  StructPlugin* first = Make("a b 1");
  StructPlugin* second = Make("c d 1");
  ASSERT_EQ(structList.objects.size(), 2u);
  EXPECT_EQ(structList.objects[0].get(), first);
  EXPECT_EQ(structList.After(*first), second);
  EXPECT_EQ(structList.After(*second), nullptr);
  EXPECT_EQ(first->serial, 0);
  EXPECT_EQ(second->serial, 1);

  first->showSelected(0);  // the selected serial is 0
  EXPECT_EQ(structList.selectedObject, first);
  EXPECT_EQ(Shown(structList.info)[1], "a");

  structList.selectedSerial = 1;
  first->showSelected(0);
  EXPECT_EQ(structList.selectedObject, second);
  EXPECT_EQ(Shown(structList.info)[1], "c");
  structList.selectedSerial = 0;
}

TEST_F(StructPluginTest, ShowingConsidersEightObjectsAtMost) {
  for (int i = 0; i < 9; ++i) Make("a b 1");
  auto* head = static_cast<StructPlugin*>(structList.objects.front().get());
  structList.selectedSerial = 8;
  head->showSelected(0);
  EXPECT_EQ(structList.selectedObject, nullptr);
  structList.selectedSerial = 7;
  head->showSelected(0);
  EXPECT_NE(structList.selectedObject, nullptr);
  EXPECT_EQ(structList.selectedObject->serial, 7);
  structList.selectedSerial = 0;
}

TEST_F(StructPluginTest, DestroyingTheListReleasesTheModelsAndEmptiesIt) {
  scratch.Write("Model.x", UnitModel());
  auto* object = AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", "a b 1"), true);
  AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", "c d 1"), true);
  object->showSelected(0);
  os.debugOutput.clear();
  structList.DestroyObjects();
  EXPECT_EQ(os.DebugText(), "release(Model.x)\nrelease(Model.x)\n");
  EXPECT_TRUE(structList.objects.empty());
  EXPECT_EQ(structList.selectedObject, nullptr);
  EXPECT_EQ(structList.sceneNode.Mesh(), nullptr);
  EXPECT_TRUE(Shown(structList.info).empty());
}

TEST_F(StructPluginTest, TheModelIsFoundInAnyLetterCase) {
  for (const char* fileName : {"MODEL.X", "model.x", "Model.X"}) {
    scratch.Write(fileName, UnitModel());
    os.debugOutput.clear();
    auto* object = AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", "a b 1"), true);
    EXPECT_NE(object->mesh.mesh, nullptr) << fileName;
    EXPECT_EQ(os.DebugText(), "load(Model.x) ... ok.\n") << fileName;
    std::filesystem::remove(scratch.path() + "/" + fileName);
  }
}

TEST_F(StructPluginTest, AModelThatFailsToLoadStillMakesTheObject) {
  auto* object = AppendNew<StructPlugin>(structList, "PLUGIN", Definition("Struct.txt", "a b 1"), true);
  EXPECT_TRUE(object->modelLoaded);
  EXPECT_EQ(object->mesh.mesh, nullptr);
  EXPECT_EQ(structList.objects.front().get(), object);
  std::string log = os.DebugText();
  EXPECT_TRUE(log.starts_with("load(Model.x) ... failed.\nModel.x: cannot open the file")) << log;
}

}  // namespace
