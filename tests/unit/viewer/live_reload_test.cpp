#include "viewer/live_reload.h"

#include <memory>
#include <string>
#include <vector>

#include "fake_file_watcher.h"
#include "platform/os/file_source.h"
#include "reload_fixture.h"
#include "zip_bytes.h"
#include "state_names.h"

namespace {

using Files = std::vector<std::string>;

// The Struct sample in a folder of a zip archive, its brick texture replaced.
bool WriteStructArchive(const std::string& path, const std::string& brick) {
  std::vector<ZipMember> members;
  for (const char* name : {"Struct.txt", "Model.x", "tiles.jpg"})
    members.push_back({std::string("Pack/") + name, FileText(SourcePath(std::string("samples/Struct/") + name))});
  members.push_back({"Pack/brick.png", brick});
  return WriteZip(path, members);
}

class LiveReloadTest : public ReloadTest {
 protected:
  void SetUp() override {
    ReloadTest::SetUp();
    os.now = 10000;
  }
  void TearDown() override {
    isActive = 1;
    ReloadTest::TearDown();  // its ViewerShutdown stops the watch
    EXPECT_EQ(application.pumpRoutine, nullptr);
  }

  void Watch() {
    auto owned = std::make_unique<FakeFileWatcher>();
    watcher = owned.get();
    StartWatching(source, std::move(owned));
  }
  // One pass of the message pump a frame later; changed files are seen in it.
  void Pump(const Files& changed = {}) {
    os.now += 33;
    if (!changed.empty()) watcher->batches.push_back({changed, {}});
    application.pumpRoutine();
  }
  // Reloads begun: "reload: <files> changed" lines.
  size_t Reloads() const { return CountOf(os.DebugText(), " changed\n"); }

  FakeFileWatcher* watcher = nullptr;
};

TEST_F(LiveReloadTest, TheDefinitionFileTheModelAndItsTexturesAreWatchedFromThePump) {
  LoadSample("Struct", kStructKind);
  Watch();
  EXPECT_EQ(watcher->watched, (Files{"Struct.txt", "Model.x", "brick.png", "tiles.jpg"}));
  EXPECT_EQ(application.pumpRoutine, &CheckWatchedFiles);
  Pump();
  EXPECT_EQ(watcher->takeCalls, 1) << "the changes are taken once per pump";
}

TEST_F(LiveReloadTest, AnArchiveIsWatchedAsOneFileAndReadAgainWhenSaved) {
  std::string archive = scratch.path() + "/pack.zip";
  ASSERT_TRUE(WriteStructArchive(archive, OneColourImage(255, 0, 0)));
  LaunchProbe probe = ProbeLaunchArgument("pack.zip");
  ASSERT_EQ(probe.target, LaunchTarget::kPlugin) << probe.reason;
  source = {probe.kind, ""};
  LoadPlugin(probe.kind, probe.definitionFile);
  shownFailures = TakeFailuresOf(Shown());
  Watch();
  EXPECT_EQ(watcher->watched, Files{archive});
  // Saved again, with a texture the old archive did not decode the same way.
  ASSERT_TRUE(WriteStructArchive(archive, OneColourImage(0, 0, 255)));
  Pump({archive});
  for (int frame = 0; frame < 12; ++frame) Pump();
  EXPECT_EQ(Reloads(), 1u) << os.DebugText();
  EXPECT_NE(os.DebugText().find("reload: ok"), std::string::npos) << os.DebugText();
  EXPECT_EQ(watcher->watched, Files{archive});
  // An archive that is no longer one keeps the plug-in shown, with the reason.
  std::FILE* broken = std::fopen(archive.c_str(), "w");
  std::fputs("not a zip", broken);
  std::fclose(broken);
  Pump({archive});
  for (int frame = 0; frame < 12; ++frame) Pump();
  EXPECT_NE(ReloadAlert().find("pack.zip"), std::string::npos) << ReloadAlert();
  EXPECT_NE(Shown(), nullptr);
  UseFiles(nullptr);
}

TEST_F(LiveReloadTest, ABurstOfWritesGivesOneReloadOnceTheyHaveSettled) {
  LoadSample("Struct", kStructKind);
  Watch();
  // An exporter writing for about half a second, a write seen every other frame.
  for (int frame = 0; frame < 16; ++frame) Pump(frame % 2 ? Files{} : Files{"Model.x"});
  EXPECT_EQ(Reloads(), 0u);
  for (int frame = 0; frame < 6; ++frame) Pump();  // 231 ms after the last write
  EXPECT_EQ(Reloads(), 0u);
  Pump();
  Pump();
  EXPECT_EQ(Reloads(), 1u) << os.DebugText();
  EXPECT_NE(os.DebugText().find("reload: Model.x changed\nload(Model.x) ... ok.\n"), std::string::npos)
      << os.DebugText();
  for (int frame = 0; frame < 30; ++frame) Pump();
  EXPECT_EQ(Reloads(), 1u);
}

TEST_F(LiveReloadTest, AFailedReloadShowsItsReasonUntilAGoodSave) {
  LoadSample("Struct", kStructKind);
  const std::string goodModel = FileText("Model.x");
  Watch();
  PluginObject* shown = Shown();

  scratch.Write("Model.x", goodModel.substr(0, goodModel.size() / 3));
  Pump({"Model.x"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_EQ(Shown(), shown);
  EXPECT_EQ(ReloadAlert().rfind("Model.x: ", 0), 0u) << ReloadAlert();
  EXPECT_NE(os.DebugText().find("reload: failed, the plug-in shown is kept: Model.x: "), std::string::npos)
      << os.DebugText();

  scratch.Write("Model.x", goodModel);
  Pump({"Model.x"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_NE(Shown(), shown);
  EXPECT_EQ(ReloadAlert(), "");
  EXPECT_NE(os.DebugText().find("reload: ok ("), std::string::npos);
}

// After each good reload the counts of errors and warnings stand on the screen
// for a few seconds, and the log names the codes that came and went.
TEST_F(LiveReloadTest, AGoodReloadShowsItsCountsAndTheCodesThatCameOrWent) {
  LoadSample("Struct", kStructKind);
  const std::string definition = FileText("Struct.txt");
  Watch();
  EXPECT_EQ(ReloadCounts(), "");

  scratch.Write("Struct.txt", "Tiny\nSomeone\n10000\n");  // drawn a few millimetres across
  Pump({"Struct.txt"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_EQ(ReloadCounts(), "エラー 0  警告 1");
  EXPECT_NE(os.DebugText().find("reload: エラー 0  警告 1; new MODEL_SCALE\n"), std::string::npos) << os.DebugText();
  os.now += 4000;
  EXPECT_EQ(ReloadCounts(), "") << "the counts are gone after a few seconds";

  scratch.Write("Struct.txt", definition);
  Pump({"Struct.txt"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_EQ(ReloadCounts(), "エラー 0  警告 0");
  EXPECT_NE(os.DebugText().find("reload: エラー 0  警告 0; gone MODEL_SCALE\n"), std::string::npos) << os.DebugText();
}

TEST_F(LiveReloadTest, AReloadWhileTheWindowIsInactiveIsDrawnAtOnce) {
  LoadSample("Struct", kStructKind);
  Watch();
  isActive = 0;
  device.ClearCalls();
  const size_t cursorMoves = os.cursorMoves.size();
  scratch.Write("Struct.txt", "Renamed\nSomeone\n0.5\n");
  Pump({"Struct.txt"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_STREQ(structList.info.Line(1), "Renamed");
  EXPECT_EQ(device.Count("Present"), 1u);
  EXPECT_EQ(os.cursorMoves.size(), cursorMoves) << "a redraw must not take the pointer";
}

TEST_F(LiveReloadTest, AMissingTextureNamedByAFailedLoadIsWatchedUntilItComes) {
  LoadSample("Struct", kStructKind);
  Watch();
  std::string model = FileText("Model.x");
  size_t name = model.find("\"tiles.jpg\"");
  ASSERT_NE(name, std::string::npos);
  scratch.Write("Model.x", model.replace(name, 11, "\"later.png\""));
  Pump({"Model.x"});
  for (int frame = 0; frame < 10; ++frame) Pump();
  EXPECT_EQ(ReloadAlert().rfind("later.png: ", 0), 0u) << ReloadAlert();
  EXPECT_EQ(watcher->watched, (Files{"Struct.txt", "Model.x", "brick.png", "tiles.jpg", "later.png"}));
}

// With inotify itself: a save by rename is noticed and reloaded.
TEST_F(LiveReloadTest, AWatchedSaveByRenameIsReloaded) {
  LoadSample("Struct", kStructKind);
  WatchPlugin(source);
  ASSERT_EQ(application.pumpRoutine, &CheckWatchedFiles);
  scratch.Write("Struct.txt.new", "Renamed\nSomeone\n0.5\n");
  std::rename("Struct.txt.new", "Struct.txt");
  for (int frame = 0; frame < 10; ++frame) {
    os.now += 33;
    application.pumpRoutine();
  }
  EXPECT_STREQ(structList.info.Line(1), "Renamed");
}

}  // namespace
