#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "viewer/launch.h"

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
  EXPECT_STREQ(probe.modelPath, "car.x");
}

TEST_F(LaunchProbeTest, BareFileNameLeavesCurrentDirectory) {
  Probe(std::string("car.x"));
  EXPECT_EQ(probe.target, LaunchTarget::kBareModel);
  EXPECT_EQ(fs::current_path(), root / "neutral");
  EXPECT_STREQ(probe.modelPath, "car.x");
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
