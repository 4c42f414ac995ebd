#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/debug_log.h"
#include "base/program_state.h"
#include "fake_os.h"
#include "state_names.h"

namespace {

const std::string kSeparator = "----------------------------------------\n";

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

class DebugLogTest : public testing::Test {
 protected:
  void SetUp() override {
    directory = std::filesystem::temp_directory_path() / ("vdl_log_" + std::to_string(getpid()));
    std::filesystem::create_directories(directory);
    os.moduleFileName = (directory / "vondrel-viewer").string();
    debugLogPath[0] = '\0';
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state) savedState = state;
    setenv("XDG_STATE_HOME", (directory / "state").c_str(), 1);
  }
  void TearDown() override {
    if (savedState.empty()) unsetenv("XDG_STATE_HOME");
    else setenv("XDG_STATE_HOME", savedState.c_str(), 1);
    debugLogPath[0] = '\0';
    std::filesystem::remove_all(directory);
  }
  // A regular file where the user's state directory would be: nothing can be made in it.
  void BlockStateDirectory() {
    std::ofstream(directory / "state-file") << "";
    setenv("XDG_STATE_HOME", (directory / "state-file").c_str(), 1);
  }

  FakeOs os;
  std::filesystem::path directory;
  std::string savedState;
};

const std::string kReport =
    "2024/03/07  09:08\n"
    "OS = ID 16 ver,6.1 build 15\n"
    "利用可能／搭載メモリ = 200/512 MB\n";

TEST_F(DebugLogTest, WithoutOptionEverythingGoesToDebuggerOutputAndNoFileIsMade) {
  EXPECT_EQ(InitDebugStream(false), 1);
  EXPECT_EQ(os.DebugText(), kSeparator + "InitDebugStream\n" + kReport);
  EXPECT_FALSE(std::filesystem::exists(directory / "debug.txt"));
}

TEST_F(DebugLogTest, OptionAppendsToDebugTxtInProgramDirectoryAcrossRuns) {
  InitDebugStream(true);
  LogPrintf("first run %d\n", 1);
  debugLogPath[0] = '\0';
  InitDebugStream(true);
  LogPrintf("second run\n");
  std::string run = kSeparator + "InitDebugStream\n" + kReport;
  EXPECT_EQ(ReadFile(directory / "debug.txt"), run + "first run 1\n" + run + "second run\n");
  EXPECT_TRUE(os.debugOutput.empty());
}

TEST_F(DebugLogTest, PercentSignInFormattedTextIsWrittenUnchanged) {
  InitDebugStream(true);
  LogPrintf("load(%s) ... ", "tex%d%s.bmp");
  LogPrintf("ok.\n");
  std::string log = ReadFile(directory / "debug.txt");
  EXPECT_NE(log.find("load(tex%d%s.bmp) ... ok.\n"), std::string::npos);
}

TEST_F(DebugLogTest, UnopenableLogFileSendsLinesToDebuggerOutput) {
  std::filesystem::create_directory(directory / "debug.txt");  // a directory cannot be appended to
  BlockStateDirectory();
  testing::internal::CaptureStderr();
  InitDebugStream(true);
  std::string line = "debug.txt: " + directory.string() +
                     "/ cannot be written, nor can the user's state directory be; the log goes to standard error\n";
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "vondrel-viewer: " + line);
  LogPrintf("still here\n");
  EXPECT_EQ(os.DebugText(), kSeparator + "InitDebugStream\n" + line + kReport + "still here\n");
}

TEST_F(DebugLogTest, ProgramDirectoryTooLongForLogPathKeepsLogOnDebuggerOutput) {
  os.moduleFileName = "/" + std::string(249, 'd') + "/viewer";  // directory fits, directory + debug.txt does not
  BlockStateDirectory();
  testing::internal::CaptureStderr();
  InitDebugStream(true);
  testing::internal::GetCapturedStderr();
  EXPECT_EQ(debugLogPath[0], '\0');
  EXPECT_NE(os.DebugText().find("too long"), std::string::npos);
}

// An installed program, run by a user, cannot write beside itself.
TEST_F(DebugLogTest, WhereTheProgramsDirectoryCannotBeWrittenTheLogGoesToTheUsersStateDirectory) {
  std::filesystem::create_directory(directory / "debug.txt");
  const std::string home = (directory / "home").string();
  const struct {
    const char* state;  // XDG_STATE_HOME; null: unset
    std::string file;   // where the log goes
  } cases[] = {
      {"/state", "/state/vondrel-viewer/debug.txt"},
      {"/state///", "/state/vondrel-viewer/debug.txt"},
      {nullptr, "/home/.local/state/vondrel-viewer/debug.txt"},
      {"relative/state", "/home/.local/state/vondrel-viewer/debug.txt"},  // only an absolute path counts
      {"", "/home/.local/state/vondrel-viewer/debug.txt"},
  };
  const char* savedHome = std::getenv("HOME");
  std::string keptHome = savedHome ? savedHome : "";
  setenv("HOME", home.c_str(), 1);
  for (const auto& c : cases) {
    std::filesystem::remove_all(directory / "state");
    std::filesystem::remove_all(home);
    std::string state = c.state && c.state[0] == '/' ? directory.string() + c.state : c.state ? c.state : "";
    if (c.state) setenv("XDG_STATE_HOME", state.c_str(), 1);
    else unsetenv("XDG_STATE_HOME");
    std::string file = directory.string() + c.file;
    testing::internal::CaptureStderr();
    InitDebugStream(true);
    std::string line = "debug.txt: " + directory.string() + "/ cannot be written; the log goes to " + file + "\n";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "vondrel-viewer: " + line) << state;
    LogPrintf("here\n");
    EXPECT_EQ(ReadFile(file), kSeparator + "InitDebugStream\n" + line + kReport + "here\n") << state;
    EXPECT_TRUE(os.debugOutput.empty()) << state;
  }
  if (savedHome) setenv("HOME", keptHome.c_str(), 1);
  else unsetenv("HOME");
}

TEST(LogPrintfTest, LongLineIsCutAtWholeCharacterAndKeepsLineEnd) {
  FakeOs os;
  debugLogPath[0] = '\0';
  std::string text(250, 'a');
  text += "ああああ\n";  // 3-byte characters straddle the 255-byte limit
  LogPrintf("%s", text.c_str());
  ASSERT_EQ(os.debugOutput.size(), 1u);
  const std::string& line = os.debugOutput[0];
  EXPECT_LE(line.size(), 255u);
  EXPECT_EQ(line.back(), '\n');
  EXPECT_EQ(line, std::string(250, 'a') + "あ\n");
}

TEST(LogPrintfTest, LineOfExactly255BytesIsKept) {
  FakeOs os;
  debugLogPath[0] = '\0';
  std::string text(254, 'b');
  text += "\n";
  LogPrintf("%s", text.c_str());
  EXPECT_EQ(os.DebugText(), text);
}

TEST(ProgramDirectoryTest, KeepsTrailingSlash) {
  FakeOs os;
  os.moduleFileName = "/a/b/viewer";
  char directory[kPathBufferSize];
  GetProgramDirectory(directory);
  EXPECT_STREQ(directory, "/a/b/");
}

TEST(ProgramDirectoryTest, EmptyWithoutSlashOrWhenPathDoesNotFit) {
  FakeOs os;
  char directory[kPathBufferSize];
  os.moduleFileName = "viewer";
  GetProgramDirectory(directory);
  EXPECT_STREQ(directory, "");
  os.moduleFileName = "/" + std::string(300, 'x') + "/viewer";
  GetProgramDirectory(directory);
  EXPECT_STREQ(directory, "");
}

}  // namespace
