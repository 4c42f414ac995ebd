#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "fake_os.h"
#include "graphics/direct3d.h"
#include "recording_device.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"
#include "state_names.h"

// The plug-in loading, recorded: the launcher's hand-over is what is tested here.
namespace {
std::vector<std::string> loadingCalls;
int bareModelResult = 1;
}  // namespace

void SetupInfoBlocks() { loadingCalls.push_back("SetupInfoBlocks"); }

void LoadPlugin(PluginKind kind, FILE* definitionFile) {
  loadingCalls.push_back("LoadPlugin " + std::to_string(kind) + (definitionFile ? " open" : " null"));
  if (definitionFile) std::fclose(definitionFile);
}

int LoadBareModel(const char* modelPath, std::vector<LoadNote>* /*failureNotes*/) {
  loadingCalls.push_back(std::string("LoadBareModel ") + modelPath);
  return bareModelResult;
}

// Nothing is put on show, so there are no problems to tell.
ShownPlugin CurrentPlugin() { return {}; }

namespace {

namespace fs = std::filesystem;

class ViewerStartupTest : public testing::Test {
 protected:
  void SetUp() override {
    loadingCalls.clear();
    bareModelResult = 1;
    debugLogPath[0] = '\0';
    startDirectory = fs::current_path();
    root = fs::temp_directory_path() / ("vdl_startup_" + std::to_string(getpid()));
    fs::create_directories(root / "Foo");
    for (const char* file : {"Struct.txt", "Model.x"}) std::ofstream(root / "Foo" / file) << "x\n";
    mainWindow = FakeOs::FakeWindowHandle();
    os.activeWindow = mainWindow;
    d3dDevice = &d3d.device;
  }
  void TearDown() override {
    d3dDevice = nullptr;
    mainWindow = nullptr;
    fs::current_path(startDirectory);
    fs::remove_all(root);
  }
  FakeOs os;
  RecordingDirect3D d3d;
  fs::path startDirectory, root;
};

TEST_F(ViewerStartupTest, PluginIsHandedOverAfterCaptionRenormalisationCursorAndInfoBlocks) {
  ViewerStartup((root / "Foo").c_str(), false);
  EXPECT_EQ(os.windowTexts, std::vector<std::string>{"Vondrel Plugin Viewer"});
  ASSERT_FALSE(d3d.device.Named("SetRenderState").empty());
  const DeviceCall* renormalise = d3d.device.Named("SetRenderState").front();
  EXPECT_EQ(renormalise->args, (std::vector<double>{D3DRS_NORMALIZENORMALS, 1}));
  EXPECT_EQ(os.showCursorCalls, std::vector<bool>{false});
  EXPECT_EQ(loadingCalls, (std::vector<std::string>{"SetupInfoBlocks", "LoadPlugin 1 open"}));
  EXPECT_EQ(fs::current_path(), fs::canonical(root / "Foo"));
  EXPECT_TRUE(os.messageBoxes.empty());
  std::string directory = fs::canonical(root / "Foo").string() + "/";
  EXPECT_NE(os.DebugText().find("ViewerStartup: Struct plug-in in " + directory + " (Struct.txt)\n"), std::string::npos)
      << os.DebugText();
}

TEST_F(ViewerStartupTest, AbsoluteBareModelIsHandedOverWithFullPath) {
  std::string model = (root / "Foo" / "car.X").string();
  ViewerStartup(model.c_str(), false);
  EXPECT_EQ(loadingCalls, (std::vector<std::string>{"SetupInfoBlocks", "LoadBareModel " + model}));
  EXPECT_NE(os.DebugText().find("ViewerStartup: model " + model + "\n"), std::string::npos) << os.DebugText();
}

TEST_F(ViewerStartupTest, RelativeBareModelIsLoggedWithItsDirectory) {
  fs::current_path(root);
  ViewerStartup("Foo/car.x", false);
  EXPECT_EQ(loadingCalls, (std::vector<std::string>{"SetupInfoBlocks", "LoadBareModel car.x"}));
  std::string model = fs::canonical(root / "Foo").string() + "/car.x";
  EXPECT_NE(os.DebugText().find("ViewerStartup: model " + model + "\n"), std::string::npos) << os.DebugText();
}

TEST_F(ViewerStartupTest, WorksWithoutDevice) {
  d3dDevice = nullptr;
  ViewerStartup((root / "Foo").c_str(), false);
  EXPECT_EQ(loadingCalls.back(), "LoadPlugin 1 open");
}

using ViewerStartupDeathTest = ViewerStartupTest;

TEST_F(ViewerStartupTest, FatalMessageMinimisesWindowThenShowsBoxOwnedByActiveWindow) {
  ShowFatalMessage("%s %d%%", "text", 5);
  EXPECT_EQ(os.calls, (std::vector<std::string>{"CloseWindow", "MessageBoxA"}));
  ASSERT_EQ(os.messageBoxes.size(), 1u);
  EXPECT_EQ(os.messageBoxes[0].text, "text 5%");
  EXPECT_EQ(os.messageBoxes[0].caption, "Vondrel");
  EXPECT_EQ(os.messageBoxes[0].style, MB_OK);
  EXPECT_EQ(os.messageBoxes[0].owner, mainWindow);
}

TEST_F(ViewerStartupDeathTest, NoArgumentShowsMessageAndEndsWithStatus1AndReason) {
  os.echoToStderr = true;
  EXPECT_EXIT(ViewerStartup(nullptr, false), testing::ExitedWithCode(1),
              "\\[Vondrel\\] 単独で起動しても使えませんのだ(.|\n)*no plug-in path");
}

TEST_F(ViewerStartupDeathTest, ArgumentNamingNothingEndsSilentlyWithReasonAndStatus1) {
  std::string nothing = (root / "nothing-here").string();
  os.moduleFileName = (root / "vondrel-viewer").string();
  debugLogPath[0] = '\0';
  os.echoToStderr = true;
  EXPECT_EXIT(
      {
        InitDebugStream(true);
        ViewerStartup(nothing.c_str(), false);
      },
      testing::ExitedWithCode(1), "nothing-here: no Model.x");
  std::ifstream log(root / "debug.txt");
  std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
  EXPECT_NE(text.find("ViewerStartup: "), std::string::npos);  // the reason is in the log file as well
}

TEST_F(ViewerStartupDeathTest, BareModelThatCannotLoadEndsWithStatus1) {
  bareModelResult = 0;
  os.echoToStderr = true;
  EXPECT_EXIT(ViewerStartup("broken.x", false), testing::ExitedWithCode(1), "broken.x: the model cannot be loaded");
}

}  // namespace
