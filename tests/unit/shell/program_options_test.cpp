#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/program_options.h"

namespace {

ProgramOptions Parse(std::vector<const char*> words) {
  words.insert(words.begin(), "vondrel-viewer");
  return ParseProgramOptions(static_cast<int>(words.size()), const_cast<char**>(words.data()));
}

struct ModeCase {
  std::vector<const char*> words;
  ProgramMode mode;
};

TEST(ProgramOptions, TheModeFollowsTheWords) {
  const ModeCase cases[] = {
      {{}, ProgramMode::kViewer},
      {{"/p/Foo"}, ProgramMode::kViewer},
      {{"/p/Foo", "-win", "-dbf", "-full", "-2nd"}, ProgramMode::kViewer},
      {{"/p/Foo", "-shot", "out.png"}, ProgramMode::kShot},
      {{"/p/Foo", "-check"}, ProgramMode::kCheck},
      {{"/p/Foo", "-check", "-json"}, ProgramMode::kCheck},
      {{"--help"}, ProgramMode::kHelp},
      {{"-h"}, ProgramMode::kHelp},
      {{"/p/Foo", "-check", "--help"}, ProgramMode::kHelp},
      {{"--version"}, ProgramMode::kVersion},
      {{"/p/Foo", "--version", "-h"}, ProgramMode::kVersion},
      {{"-check"}, ProgramMode::kUsageError},
      {{"-check", "/p/Foo"}, ProgramMode::kUsageError},
      {{"/p/Foo", "-shot"}, ProgramMode::kUsageError},
      {{"/p/Foo", "-check", "-shot", "a.png"}, ProgramMode::kUsageError},
      {{"/p/Foo", "-shot", "a.png", "-size"}, ProgramMode::kUsageError},
      // The path comes first; an option word in its place is the path, as the simulator never writes one there.
      {{"-win"}, ProgramMode::kViewer},
      {{"-gallery", "plugins", "site"}, ProgramMode::kGallery},
      {{"-gallery", "plugins", "site", "-j", "3"}, ProgramMode::kGallery},
      {{"-gallery", "plugins"}, ProgramMode::kUsageError},
      {{"-gallery", "plugins", "site", "-j"}, ProgramMode::kUsageError},
      {{"-gallery", "plugins", "site", "-j", "0"}, ProgramMode::kUsageError},
      {{"-gallery", "plugins", "site", "-j", "257"}, ProgramMode::kUsageError},
      {{"-gallery", "plugins", "site", "-j", "two"}, ProgramMode::kUsageError},
      {{"-gallery", "plugins", "site", "--help"}, ProgramMode::kHelp},
      {{"/p/Foo", "-check", "-ignore", "NO_NORMALS,MODEL_SCALE"}, ProgramMode::kCheck},
      {{"/p/Foo", "-check", "-ignore"}, ProgramMode::kUsageError},
      {{"/p/Foo", "-check", "-ignore", "NO_NORMALS,"}, ProgramMode::kUsageError},
      {{"/p/Foo", "-check", "-ignore", "no_normals"}, ProgramMode::kUsageError},
      {{"-checks-doc"}, ProgramMode::kChecksDoc},
  };
  for (const ModeCase& c : cases) {
    ProgramOptions options = Parse(c.words);
    std::string line;
    for (const char* w : c.words) line += std::string(w) + " ";
    EXPECT_EQ(options.mode, c.mode) << line;
    EXPECT_EQ(options.usageError.empty(), c.mode != ProgramMode::kUsageError) << line;
  }
}

TEST(ProgramOptions, GalleryTakesItsFolderOutputAndWorkers) {
  ProgramOptions options = Parse({"-gallery", "plugins", "site", "-j", "256", "-night"});
  EXPECT_EQ(options.galleryFolder, "plugins");
  EXPECT_EQ(options.galleryOutput, "site");
  EXPECT_EQ(options.jobs, kMaxJobs);
  ASSERT_EQ(options.warnings.size(), 1u);
  EXPECT_NE(options.warnings[0].find("-night ignored"), std::string::npos) << options.warnings[0];
  EXPECT_EQ(Parse({"-gallery", "plugins", "site"}).jobs, 0);
  EXPECT_TRUE(Parse({"-gallery", "plugins", "site", "-log"}).log);
}

TEST(ProgramOptions, PathAndSwitchesAreTaken) {
  ProgramOptions options = Parse({"/p/Train.txt", "-shot", "/tmp/t.png", "-night", "-linear", "-notext"});
  EXPECT_STREQ(options.pluginPath, "/p/Train.txt");
  EXPECT_EQ(options.shotPath, "/tmp/t.png");
  EXPECT_TRUE(options.night);
  EXPECT_TRUE(options.linear);
  EXPECT_TRUE(options.noText);
  EXPECT_FALSE(options.json);
  EXPECT_EQ(options.shotWidth, 640);
  EXPECT_EQ(options.shotHeight, 480);
  EXPECT_TRUE(options.warnings.empty());
  EXPECT_FALSE(options.log);
  EXPECT_EQ(Parse({}).pluginPath, nullptr);
  for (auto words : {std::vector<const char*>{"/p/Foo", "-log"}, {"/p/Foo", "-check", "-log"}}) {
    EXPECT_TRUE(Parse(words).log) << words.back();
    EXPECT_TRUE(Parse(words).warnings.empty()) << words.back();
  }
}

struct SizeCase {
  const char* size;
  int width, height;  // 0: a usage error
};

TEST(ProgramOptions, SizeIsFittedWithTheAspectKept) {
  const SizeCase cases[] = {
      {"256x192", 256, 192}, {"128x128", 128, 96},   {"256x256", 256, 192}, {"100x1000", 100, 75},
      {"1000x100", 133, 100}, {"1X1", 1, 1},         {"4096x3072", 4096, 3072}, {"640x480", 640, 480},
      {"0x100", 0, 0},       {"100x0", 0, 0},        {"4097x100", 0, 0},    {"x100", 0, 0},
      {"100x", 0, 0},        {"100", 0, 0},          {"-5x10", 0, 0},       {"10x10x10", 0, 0},
      {" 10x10", 0, 0},      {"99999999999x1", 0, 0},
  };
  for (const SizeCase& c : cases) {
    ProgramOptions options = Parse({"/p/Foo", "-shot", "a.png", "-size", c.size});
    if (c.width == 0) {
      EXPECT_EQ(options.mode, ProgramMode::kUsageError) << c.size;
      continue;
    }
    ASSERT_EQ(options.mode, ProgramMode::kShot) << c.size;
    EXPECT_EQ(options.shotWidth, c.width) << c.size;
    EXPECT_EQ(options.shotHeight, c.height) << c.size;
  }
}

struct WarningCase {
  std::vector<const char*> words;
  std::vector<std::string> warnings;
};

TEST(ProgramOptions, WordsThatChangeNothingGetOneLineEach) {
  const WarningCase cases[] = {
      {{"/p/Foo", "-frob"}, {"unknown option -frob ignored (--help lists the options)"}},
      {{"/p/Foo", "-frob", "--x"},
       {"unknown option -frob ignored (--help lists the options)", "unknown option --x ignored (--help lists the options)"}},
      {{"/p/Foo", "extra"}, {"argument extra ignored: the plug-in path comes first"}},
      {{"/p/Foo", "-json"}, {"-json has no effect without -check"}},
      {{"/p/Foo", "-size", "10x10"}, {"-size has no effect without -shot"}},
      {{"/p/Foo", "-DBF"}, {"unknown option -DBF ignored (--help lists the options)"}},
      {{"/p/Foo", "-check", "-frob"}, {"unknown option -frob ignored (--help lists the options)"}},
      {{"/p/Foo", "-ignore", "NO_NORMALS"}, {"-ignore has no effect without -check"}},
      {{"/p/Foo", "-check", "-watch"}, {"-watch has no effect with -check"}},
      {{"/p/Foo", "-watch", "-shot", "a.png"}, {"-watch has no effect with -shot"}},
      {{"/p/Foo", "-watch", "-check", "-json"}, {"-watch has no effect with -check"}},
      {{"/p/Foo", "-watch", "-log", "-dbf"}, {}},
  };
  for (const WarningCase& c : cases) {
    ProgramOptions options = Parse(c.words);
    EXPECT_NE(options.mode, ProgramMode::kUsageError) << c.words[1];
    EXPECT_EQ(options.warnings, c.warnings) << c.words[1];
  }
}

// The log file, the watch and the display words, read once here for the layers
// that use them: whole words, exact case, -win over -full wherever it stands.
TEST(ProgramOptions, LogWatchAndDisplayWordsAreTakenAsWholeWords) {
  using enum WindowModeRequest;
  struct Case {
    std::vector<const char*> words;
    bool logFile, watch, secondAdapter;
    WindowModeRequest windowMode;
  };
  const Case cases[] = {
      {{"/p/Foo"}, false, false, false, kConfigured},
      {{"/p/Foo", "-dbf", "-watch", "-2nd"}, true, true, true, kConfigured},
      {{"/p/Foo", "-full"}, false, false, false, kFullScreen},
      {{"/p/Foo", "-full", "-win"}, false, false, false, kWindowed},
      {{"/p/Foo", "-win", "-full"}, false, false, false, kWindowed},
      {{"/p/Foo", "-DBF", "-dbf2", "dbf", "-db", "-WIN", "-Full", "-watch "}, false, false, false, kConfigured},
      {{"-dbf", "/p/Foo"}, true, false, false, kConfigured},  // an option word where the path goes
  };
  for (const Case& c : cases) {
    ProgramOptions options = Parse(c.words);
    std::string words;
    for (const char* word : c.words) words += std::string(word) + " ";
    EXPECT_EQ(options.logFile, c.logFile) << words;
    EXPECT_EQ(options.watch, c.watch) << words;
    EXPECT_EQ(options.display.secondAdapter, c.secondAdapter) << words;
    EXPECT_EQ(options.display.windowMode, c.windowMode) << words;
  }
}

TEST(ProgramOptions, IgnoredCodesAddUpAndAnUnknownOneIsNamed) {
  ProgramOptions options = Parse({"/p/Foo", "-check", "-ignore", "NO_NORMALS,MODEL_SCALE", "-ignore", "UNUSED_VERTICES"});
  EXPECT_EQ(options.ignoredCodes,
            (std::vector<FindingCode>{FindingCode::kNoNormals, FindingCode::kModelScale, FindingCode::kUnusedVertices}));
  options = Parse({"/p/Foo", "-check", "-ignore", "NO_NORMALS,NO_SUCH"});
  EXPECT_EQ(options.usageError, "-ignore: \"NO_SUCH\" is no code of -check (docs/checks.md lists them)");
}

TEST(ProgramOptions, ValuesAreTakenWhateverTheyLookLike) {
  ProgramOptions options = Parse({"/p/Foo", "-shot", "-notext"});
  EXPECT_EQ(options.mode, ProgramMode::kShot);
  EXPECT_EQ(options.shotPath, "-notext");
  EXPECT_FALSE(options.noText);
}

}  // namespace
