#include "viewer/plugin_reload.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "plugins/station_plugin.h"
#include "reload_fixture.h"
#include "state_names.h"

namespace {

namespace fs = std::filesystem;

struct ReloadCase {
  const char* what;
  std::function<void(const ScratchDirectory&)> change;
  bool reloaded;
  std::string reasonStart;  // when not reloaded
};

TEST_F(ReloadTest, AWorseLoadKeepsTheShownPluginAndItsTexturesAndABetterOneReplacesIt) {
  const std::string goodModel = FileText(SourcePath("samples/Struct/Model.x"));
  const ReloadCase cases[] = {
      {"the name changed", [](const ScratchDirectory& s) { s.Write("Struct.txt", "Renamed\nSomeone\n0.5\n"); }, true, ""},
      {"a texture replaced", [](const ScratchDirectory& s) { s.Write("brick.png", OneColourImage(0, 0, 255)); }, true,
       ""},
      {"the model cut in half",
       [&](const ScratchDirectory& s) { s.Write("Model.x", goodModel.substr(0, goodModel.size() / 2)); }, false,
       "Model.x: "},
      {"the model back", [&](const ScratchDirectory& s) { s.Write("Model.x", goodModel); }, true, ""},
      {"a texture cut short", [](const ScratchDirectory& s) { s.Write("tiles.jpg", "\xFF\xD8\xFF"); }, false,
       "tiles.jpg: "},
      {"the texture back",
       [](const ScratchDirectory& s) { s.Write("tiles.jpg", FileText(SourcePath("samples/Struct/tiles.jpg"))); },
       true, ""},
      {"the definition file cut short", [](const ScratchDirectory& s) { s.Write("Struct.txt", "Renamed\n"); }, false,
       "Struct.txt: line 2: only 1 of 3 items read"},
      {"the definition file gone", [](const ScratchDirectory&) { fs::remove("Struct.txt"); }, false,
       "Struct.txt: cannot be opened"},
      {"the definition file back", [](const ScratchDirectory& s) { s.Write("Struct.txt", "Again\nSomeone\n0.5\n"); },
       true, ""},
  };
  LoadSample("Struct", kStructKind);
  ViewStateOf(kStructKind).yaw = 1.25f;  // a camera the author has set up
  nightMode = 1;

  for (const ReloadCase& c : cases) {
    SCOPED_TRACE(c.what);
    PluginObject* before = Shown();
    ASSERT_NE(before, nullptr);
    const std::vector<IDirect3DTexture8*> texturesBefore = ShownModel().textures;
    const std::string infoBefore = structList.info.Line(1);
    c.change(scratch);

    ReloadOutcome outcome = ReloadPlugin(source, shownFailures);

    EXPECT_EQ(outcome.reloaded, c.reloaded);
    EXPECT_EQ(structList.objects.front().get(), Shown());
    EXPECT_EQ(structList.objects.size(), 1u);
    EXPECT_EQ(structList.sceneNode.Mesh(), &ShownModel());
    EXPECT_EQ(application.frameRoutine, &StructFrame);
    EXPECT_EQ(ViewStateOf(kStructKind).yaw, 1.25f);
    EXPECT_EQ(nightMode, 1);
    if (c.reloaded) {
      EXPECT_NE(Shown(), before);
      EXPECT_EQ(outcome.reason, "");
      EXPECT_NE(ShownModel().mesh.get(), nullptr);
      for (IDirect3DTexture8* texture : ShownModel().textures) EXPECT_TRUE(!texture || CacheHolds(texture));
      for (IDirect3DTexture8* texture : texturesBefore) EXPECT_FALSE(texture && CacheHolds(texture)) << "old texture kept";
    } else {
      EXPECT_EQ(Shown(), before);
      EXPECT_EQ(outcome.reason.rfind(c.reasonStart, 0), 0u) << outcome.reason;
      EXPECT_EQ(ShownModel().textures, texturesBefore);
      for (IDirect3DTexture8* texture : texturesBefore)
        EXPECT_TRUE(!texture || CacheHolds(texture)) << "texture of the shown model freed";
      EXPECT_EQ(structList.info.Line(1), infoBefore);
    }
  }
  EXPECT_STREQ(structList.info.Line(1), "Again");
}

TEST_F(ReloadTest, AReplacedTextureIsReadFromItsFileAgain) {
  LoadSample("Struct", kStructKind);
  scratch.Write("brick.png", OneColourImage(0, 0, 255));
  ASSERT_TRUE(ReloadPlugin(source, shownFailures).reloaded);
  const std::string log = os.DebugText();
  EXPECT_EQ(CountOf(log, "load(brick.png) ... ok.\n"), 2u) << log;
  EXPECT_EQ(CountOf(log, "load(tiles.jpg) ... ok.\n"), 2u) << log;
  EXPECT_EQ(CountOf(log, "release(brick.png)\n"), 1u) << log;
  EXPECT_EQ(CountOf(log, "release(Model.x)\n"), 1u) << log;
  const std::vector<std::string>& names = ShownModel().textureNames;
  size_t brick = std::find(names.begin(), names.end(), "brick.png") - names.begin();
  ASSERT_LT(brick, names.size());
  auto* texture = static_cast<RecordingTexture*>(ShownModel().textures[brick]);
  ASSERT_NE(texture, nullptr);
  EXPECT_EQ(texture->width, 2u);
}

TEST_F(ReloadTest, AFailureTheShownPluginAlreadyHadDoesNotHoldTheReloadBack) {
  LoadSample("Struct", kStructKind, [] { fs::remove("tiles.jpg"); });
  ASSERT_EQ(shownFailures.size(), 1u);
  EXPECT_EQ(shownFailures[0].file, "tiles.jpg");
  scratch.Write("Struct.txt", "Renamed\nSomeone\n0.5\n");
  EXPECT_TRUE(ReloadPlugin(source, shownFailures).reloaded);
  EXPECT_STREQ(structList.info.Line(1), "Renamed");
}

TEST_F(ReloadTest, AStationReloadShowsItsNewPlatforms) {
  LoadSample("Station", kStationKind);
  std::string text = FileText("Station.txt");
  int platforms = static_cast<StationPlugin*>(Shown())->platformCount;
  // The count comes after the name, the author and the scale figure.
  size_t count = text.find('\n', text.find('\n', text.find('\n') + 1) + 1) + 1;
  scratch.Write("Station.txt", text.substr(0, count) + "1\n(0,0,0),(0,0,40)\n");
  ASSERT_TRUE(ReloadPlugin(source, shownFailures).reloaded);
  EXPECT_EQ(static_cast<StationPlugin*>(Shown())->platformCount, 1) << "was " << platforms;
  EXPECT_STREQ(stationList.info.Line(3), "ホーム数: 1");
}

TEST_F(ReloadTest, ABareModelIsLoadedAgainFromItsPathAndKeptWhenBroken) {
  scratch.CopyFrom(SourcePath("samples/model"));
  ASSERT_EQ(LoadBareModel("Car.x"), 1);
  source = {kStructKind, "Car.x"};
  shownFailures = TakeFailuresOf(Shown());
  EXPECT_EQ(FilesOfShownPlugin(source), (std::vector<std::string>{"Car.x", "paint.tga"}));

  PluginObject* first = Shown();
  scratch.Write("Car.x", "xof 0302txt 0032\nMesh {");
  ReloadOutcome broken = ReloadPlugin(source, shownFailures);
  EXPECT_FALSE(broken.reloaded);
  EXPECT_EQ(broken.reason.rfind("Car.x: ", 0), 0u) << broken.reason;
  EXPECT_EQ(Shown(), first);
  EXPECT_EQ(structList.sceneNode.Mesh(), &ShownModel());

  scratch.CopyFrom(SourcePath("samples/model"));
  EXPECT_TRUE(ReloadPlugin(source, shownFailures).reloaded);
  EXPECT_NE(Shown(), first);
  EXPECT_STREQ(structList.info.Line(0), "<XFILE>");
}

}  // namespace
