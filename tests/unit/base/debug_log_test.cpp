#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "base/command_line.h"
#include "base/debug_log.h"
#include "base/program_globals.h"
#include "fake_os.h"

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
  }
  void TearDown() override {
    debugLogPath[0] = '\0';
    SetCommandLine(0, nullptr);
    std::filesystem::remove_all(directory);
  }
  void StartWith(std::initializer_list<const char*> words) {
    arguments.assign(words.begin(), words.end());
    SetCommandLine(static_cast<int>(arguments.size()), const_cast<char**>(arguments.data()));
  }

  FakeOs os;
  std::filesystem::path directory;
  std::vector<const char*> arguments;
};

const std::string kReport =
    "2024/03/07  09:08\n"
    "OS = ID 16 ver,6.1 build 15\n"
    "利用可能／搭載メモリ = 200/512 MB\n";

TEST_F(DebugLogTest, WithoutOptionEverythingGoesToDebuggerOutputAndNoFileIsMade) {
  StartWith({"viewer", "/plugins/Foo"});
  EXPECT_EQ(InitDebugStream(), 1);
  EXPECT_EQ(os.DebugText(), kSeparator + "InitDebugStream\n" + kReport);
  EXPECT_FALSE(std::filesystem::exists(directory / "debug.txt"));
}

TEST_F(DebugLogTest, OptionAppendsToDebugTxtInProgramDirectoryAcrossRuns) {
  StartWith({"viewer", "/plugins/Foo", "-dbf"});
  InitDebugStream();
  LogPrintf("first run %d\n", 1);
  debugLogPath[0] = '\0';
  InitDebugStream();
  LogPrintf("second run\n");
  std::string run = kSeparator + "InitDebugStream\n" + kReport;
  EXPECT_EQ(ReadFile(directory / "debug.txt"), run + "first run 1\n" + run + "second run\n");
  EXPECT_TRUE(os.debugOutput.empty());
}

TEST_F(DebugLogTest, OptionMustMatchExactly) {
  for (const char* option : {"-DBF", "-dbf2", "dbf", "-db"}) {
    StartWith({"viewer", "/plugins/Foo", option});
    InitDebugStream();
    EXPECT_EQ(debugLogPath[0], '\0') << option;
  }
  EXPECT_FALSE(std::filesystem::exists(directory / "debug.txt"));
}

TEST_F(DebugLogTest, PercentSignInFormattedTextIsWrittenUnchanged) {
  StartWith({"viewer", "/plugins/Foo", "-dbf"});
  InitDebugStream();
  LogPrintf("load(%s) ... ", "tex%d%s.bmp");
  LogPrintf("ok.\n");
  std::string log = ReadFile(directory / "debug.txt");
  EXPECT_NE(log.find("load(tex%d%s.bmp) ... ok.\n"), std::string::npos);
}

TEST_F(DebugLogTest, UnopenableLogFileSendsLinesToDebuggerOutput) {
  std::filesystem::create_directory(directory / "debug.txt");  // a directory cannot be appended to
  StartWith({"viewer", "/plugins/Foo", "-dbf"});
  InitDebugStream();
  LogPrintf("still here\n");
  EXPECT_EQ(os.DebugText(), kSeparator + "InitDebugStream\n" + kReport + "still here\n");
}

TEST_F(DebugLogTest, ProgramDirectoryTooLongForLogPathKeepsLogOnDebuggerOutput) {
  os.moduleFileName = "/" + std::string(249, 'd') + "/viewer";  // directory fits, directory + debug.txt does not
  StartWith({"viewer", "/plugins/Foo", "-dbf"});
  InitDebugStream();
  EXPECT_EQ(debugLogPath[0], '\0');
  EXPECT_NE(os.DebugText().find("too long"), std::string::npos);
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
