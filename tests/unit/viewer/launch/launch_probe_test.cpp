#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/os/file_source.h"
#include "viewer/launch.h"
#include "zip_bytes.h"

namespace {

namespace fs = std::filesystem;

class LaunchProbeTest : public testing::Test {
 protected:
  void SetUp() override {
    startDirectory = fs::current_path();
    root = fs::temp_directory_path() / ("vdl_launch_" + std::to_string(getpid()));
    fs::create_directories(root);
    root = fs::canonical(root);
    // A neutral current directory that holds no plug-in.
    fs::create_directories(root / "neutral");
    fs::current_path(root / "neutral");
  }
  void TearDown() override {
    if (probe.definitionFile) std::fclose(probe.definitionFile);
    UseFiles(nullptr);
    fs::current_path(startDirectory);
    fs::remove_all(root);
  }
  fs::path Plugin(const std::string& name, std::initializer_list<const char*> files) {
    fs::path directory = root / name;
    fs::create_directories(directory);
    for (const char* file : files) std::ofstream(directory / file) << file << "\n";
    return directory;
  }
  void Probe(const fs::path& argument) { Probe(argument.string()); }
  void Probe(const std::string& argument) {
    probed = argument;  // the probe points into it
    probe = ProbeLaunchArgument(probed.c_str());
  }
  std::string FirstLineOfDefinitionFile() {
    char line[64] = {};
    if (!probe.definitionFile || !std::fgets(line, sizeof line, probe.definitionFile)) return "";
    return line;
  }

  fs::path startDirectory;
  fs::path root;
  LaunchProbe probe;
  std::string probed;
};

TEST_F(LaunchProbeTest, DefinitionFilePathWithModelBesideItIsItsKind) {
  fs::path foo = Plugin("Foo", {"Train.txt", "Model.x"});
  Probe(foo / "Train.txt");
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 0);
  EXPECT_EQ(fs::current_path(), foo);
  EXPECT_EQ(FirstLineOfDefinitionFile(), "Train.txt\n");
}

TEST_F(LaunchProbeTest, DefinitionFileNameMatchesIgnoringCase) {
  fs::path foo = Plugin("Foo", {"station.TXT", "Model.x"});
  Probe(foo / "station.TXT");
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 2);
  EXPECT_EQ(FirstLineOfDefinitionFile(), "station.TXT\n");
}

TEST_F(LaunchProbeTest, DirectoryIsProbedByContentsInTableOrder) {
  fs::path foo = Plugin("Foo", {"Surface.txt", "Struct.txt", "Model.x"});
  Probe(foo);
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 1);
  EXPECT_EQ(fs::current_path(), foo);
  EXPECT_EQ(FirstLineOfDefinitionFile(), "Struct.txt\n");
}

TEST_F(LaunchProbeTest, DirectoryWithEveryKindIsTrain) {
  Probe(Plugin("All", {"Station.txt", "Surface.txt", "Struct.txt", "Train.txt", "Model.x"}));
  EXPECT_EQ(probe.kind, 0);
}

TEST_F(LaunchProbeTest, FilesInsideDirectoryAreFoundIgnoringCase) {
  fs::path foo = Plugin("Foo", {"SURFACE.TXT", "model.X"});
  Probe(foo);
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 3);
}

TEST_F(LaunchProbeTest, DirectoriesNamedLikeTheFilesArePassedOver) {
  // A directory is no file: a Model.x directory makes no plug-in, and a
  // Train.txt directory does not hide the Struct.txt file beside it.
  fs::path noModel = Plugin("NoModel", {"Struct.txt"});
  fs::create_directories(noModel / "Model.x");
  Probe(noModel);
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);

  fs::path old = Plugin("Old", {"STRUCT.TXT", "MODEL.X"});
  fs::create_directories(old / "Model.x");
  fs::create_directories(old / "Train.txt");
  Probe(old);
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 1);
  EXPECT_EQ(FirstLineOfDefinitionFile(), "STRUCT.TXT\n");
}

TEST_F(LaunchProbeTest, DirectoryWithTrailingSlashWorksToo) {
  fs::path foo = Plugin("Foo", {"Station.txt", "Model.x"});
  Probe(foo.string() + "/");
  EXPECT_EQ(probe.kind, 2);
}

TEST_F(LaunchProbeTest, DefinitionFileWithoutModelNamesNothingAndStaysInItsDirectory) {
  fs::path foo = Plugin("Foo", {"Train.txt"});
  Probe(foo / "Train.txt");
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
  EXPECT_EQ(probe.definitionFile, nullptr);
  EXPECT_NE(std::string(probe.reason), "");
  EXPECT_EQ(fs::current_path(), foo);
}

TEST_F(LaunchProbeTest, DirectoryWithoutModelOrWithoutDefinitionFileNamesNothing) {
  Probe(Plugin("NoModel", {"Struct.txt"}));
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
  Probe(Plugin("OnlyModel", {"Model.x"}));
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
}

TEST_F(LaunchProbeTest, XFileIsBareModelAndItsDirectoryBecomesCurrent) {
  fs::path models = Plugin("models", {"Train.X"});
  Probe(models / "Train.X");
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
  EXPECT_EQ(fs::current_path(), models);
  EXPECT_EQ(probe.modelPath, probed);  // absolute: kept as given
}

TEST_F(LaunchProbeTest, RelativeModelPathIsOpenedFromItsDirectory) {
  Plugin("models", {"car.x"});
  fs::current_path(root);
  Probe(std::string("models/car.x"));
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
  EXPECT_EQ(fs::current_path(), root / "models");
  EXPECT_EQ(probe.modelPath, "car.x");
}

TEST_F(LaunchProbeTest, BareFileNameLeavesCurrentDirectory) {
  Probe(std::string("car.x"));
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
  EXPECT_EQ(fs::current_path(), root / "neutral");
  EXPECT_EQ(probe.modelPath, "car.x");
}

TEST_F(LaunchProbeTest, NameEndingInDefinitionFileNameProbesCurrentDirectory) {
  // MyTrain.txt ends with Train.txt: ".../My" cannot be entered, so the Train
  // probe looks in whatever directory is current.
  fs::path current = Plugin("Current", {"Train.txt", "Model.x"});
  fs::current_path(current);
  Probe(Plugin("x", {"MyTrain.txt"}) / "MyTrain.txt");
  EXPECT_EQ(probe.target, LaunchTarget::kPlugin);
  EXPECT_EQ(probe.kind, 0);
  EXPECT_EQ(fs::current_path(), current);
}

TEST_F(LaunchProbeTest, NameEndingInDefinitionFileNameWithNothingCurrentNamesNothing) {
  Probe(Plugin("x", {"MyTrain.txt", "Model.x"}) / "MyTrain.txt");
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
}

TEST_F(LaunchProbeTest, OptionInPlaceOfPathNamesNothing) {
  Probe(std::string("-dbf"));
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
  EXPECT_EQ(fs::current_path(), root / "neutral");
}

TEST_F(LaunchProbeTest, ArgumentOf1024BytesOrMoreNamesNothing) {
  std::string longName(1024, 'a');
  longName.replace(longName.size() - 2, 2, ".x");
  Probe(longName);
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
  EXPECT_NE(std::string(probe.reason).find("1024"), std::string::npos);
  Probe(longName.substr(1));  // 1023 bytes still fit
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
}

TEST_F(LaunchProbeTest, ArchiveOfOnePluginIsReadInPlace) {
  struct Case {
    std::vector<ZipMember> members;
    const char* directory;  // the current directory shown, after the archive's path
    PluginKind kind;
  } cases[] = {
      {{{"Pack/Struct.txt", "Struct.txt\n"}, {"Pack/model.X", ""}}, "!/Pack/", kStructKind},
      {{{"Pack/", ""}, {"Pack\\Station.TXT", "Station.txt\n"}, {"Pack\\Model.x", ""}}, "!/Pack/", kStationKind},
      {{{"Train.txt", "Train.txt\n"}, {"Model.x", ""}}, "!/", kTrainKind},
  };
  for (const Case& c : cases) {
    std::string archive = (root / "pack.ZIP").string();
    ASSERT_TRUE(WriteZip(archive, c.members));
    Probe(archive);
    ASSERT_EQ(probe.target, LaunchTarget::kPlugin) << c.directory << " " << probe.reason;
    EXPECT_EQ(probe.kind, c.kind);
    EXPECT_EQ(FirstLineOfDefinitionFile(), std::string(DefinitionFileName(c.kind)) + "\n");
    EXPECT_EQ(Files().CurrentDirectory(), archive + c.directory);
    EXPECT_EQ(fs::current_path(), root / "neutral");  // the process's own directory stays
    std::fclose(probe.definitionFile);
    probe.definitionFile = nullptr;
  }
}

TEST_F(LaunchProbeTest, ArchiveOfSeveralPluginsNamesEachAndTakesTheOneNamed) {
  std::string archive = (root / "pack.zip").string();
  ASSERT_TRUE(WriteZip(archive, {{"A/Train.txt", ""}, {"A/Model.x", ""}, {"B/Struct.txt", ""},
                                 {"B/Model.x", ""}, {"models/car.x", ""}, {"readme.txt", ""}}));
  Probe(archive);
  EXPECT_EQ(probe.target, LaunchTarget::kNothing);
  EXPECT_NE(probe.reason.find("holds 3 plug-ins"), std::string::npos) << probe.reason;
  for (const char* name : {"!/A", "!/B", "!/models/car.x"})
    EXPECT_NE(probe.reason.find(archive + name), std::string::npos) << probe.reason;
  Probe(archive + "!/B");
  EXPECT_EQ(probe.kind, 1);
  Probe(archive + "!/models/car.x");
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
  EXPECT_EQ(probe.modelPath, "car.x");
  EXPECT_EQ(Files().CurrentDirectory(), archive + "!/models/");
  std::vector<std::string> plugins;
  std::string error;
  ASSERT_TRUE(ListArchivePlugins(archive, plugins, error)) << error;
  EXPECT_EQ(plugins, (std::vector<std::string>{"A", "B", "models/car.x"}));
  EXPECT_TRUE(Files().OnDisk());
}

TEST_F(LaunchProbeTest, ArchiveWithoutPluginsOrUnreadableNamesNothingWithItsReason) {
  std::string empty = (root / "empty.zip").string();
  ASSERT_TRUE(WriteZip(empty, {{"readme.txt", "none"}}));
  std::string junk = (root / "junk.zip").string();
  std::FILE* file = std::fopen(junk.c_str(), "w");
  std::fputs("not a zip", file);
  std::fclose(file);
  struct Case {
    std::string argument;
    const char* reason;
  } cases[] = {{empty, "holds no plug-in"}, {junk, "not a readable zip archive"},
               {(root / "absent.zip").string(), "not a readable zip archive"}, {empty + "!/Nothing", "no Model.x"}};
  for (const Case& c : cases) {
    Probe(c.argument);
    EXPECT_EQ(probe.target, LaunchTarget::kNothing) << c.argument;
    EXPECT_NE(probe.reason.find(c.reason), std::string::npos) << c.argument << ": " << probe.reason;
  }
  // A later argument on disk is read from disk again.
  Probe(Plugin("Foo", {"Surface.txt", "Model.x"}));
  EXPECT_EQ(probe.kind, 3);
  EXPECT_TRUE(Files().OnDisk());
}

TEST(StripToDirectoryTest, CutsAfterLastSlash) {
  char path[64] = "/a/b/c.x";
  StripToDirectory(path);
  EXPECT_STREQ(path, "/a/b/");
  char root[64] = "/c.x";
  StripToDirectory(root);
  EXPECT_STREQ(root, "/");
  char bare[64] = "c.x";
  StripToDirectory(bare);
  EXPECT_STREQ(bare, "");
}

}  // namespace
