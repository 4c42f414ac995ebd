#include "platform/os/path_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "image_test_support.h"

namespace {

// "表札" in code page 932: the second byte of 表 is 0x5C, the byte of '\'.
const std::string kSignCp932 = "\x95\x5C\x8E\x44";
const std::string kSignUtf8 = "表札";

class PathLookup : public ::testing::Test {
 protected:
  TempDir dir;
  ScopedCurrentDirectory current{dir.path()};
};

TEST_F(PathLookup, ExistingNameIsReturnedAsGiven) {
  dir.Write("Model.x", {1});
  EXPECT_EQ(ResolveExistingPath("Model.x"), "Model.x");
  EXPECT_EQ(ResolveExistingPath(dir.path() + "/Model.x"), dir.path() + "/Model.x");
  EXPECT_EQ(ResolveExistingPath("./Model.x"), "./Model.x");
}

TEST_F(PathLookup, WindowsSeparatorsAndRunsOfSeparators) {
  dir.Write("tex/wall/brick.bmp", {1});
  EXPECT_EQ(ResolveExistingPath("tex\\wall\\brick.bmp"), "tex/wall/brick.bmp");
  EXPECT_EQ(ResolveExistingPath("tex\\\\wall//\\brick.bmp"), "tex/wall/brick.bmp");
  EXPECT_EQ(ResolveExistingPath(".\\tex\\wall\\brick.bmp"), "./tex/wall/brick.bmp");
}

TEST_F(PathLookup, LetterCaseIgnoredElementByElement) {
  dir.Write("Tex/Wall/Brick.BMP", {1});
  EXPECT_EQ(ResolveExistingPath("tex\\WALL\\brick.bmp"), "Tex/Wall/Brick.BMP");
  EXPECT_EQ(ResolveExistingPath("TEX/wall/../wall/BRICK.bmp"), "Tex/Wall/../Wall/Brick.BMP");
  EXPECT_EQ(ResolveExistingPath(dir.path() + "/TEX/wall/brick.bmp"), dir.path() + "/Tex/Wall/Brick.BMP");
  EXPECT_EQ(ResolveExistingPath("Tex/Brick.BMP/x"), "");  // a file is no directory
}

TEST_F(PathLookup, SeveralCaseMatchesTakeTheFirstInByteOrder) {
  dir.Write("b.png", {1});
  dir.Write("B.PNG", {2});
  EXPECT_EQ(ResolveExistingPath("B.png"), "B.PNG");
}

TEST_F(PathLookup, OnlyRegularFilesAreFoundNeverDirectoriesOrPipes) {
  std::filesystem::create_directories(dir.path() + "/Model.x");
  std::filesystem::create_directories(dir.path() + "/tex/Train.txt");
  ASSERT_EQ(mkfifo((dir.path() + "/Side.bmp").c_str(), 0600), 0);  // opening it would wait for a writer
  EXPECT_EQ(ResolveExistingPath("Model.x"), "");
  EXPECT_EQ(ResolveExistingPath("MODEL.X"), "");
  EXPECT_EQ(ResolveExistingPath("tex\\train.TXT"), "");
  EXPECT_EQ(ResolveExistingPath("Side.bmp"), "");
  // A file whose name differs from the directory's only in case is found beside it.
  dir.Write("model.X", {1});
  dir.Write("tex/TRAIN.TXT", {1});
  EXPECT_EQ(ResolveExistingPath("Model.x"), "model.X");
  EXPECT_EQ(ResolveExistingPath("MODEL.X"), "model.X");
  EXPECT_EQ(ResolveExistingPath("TEX\\Train.txt"), "tex/TRAIN.TXT");
}

TEST_F(PathLookup, ShiftJisNamesFindUtf8Files) {
  dir.Write("tex/" + kSignUtf8 + ".bmp", {1});
  EXPECT_EQ(ResolveExistingPath("tex\\" + kSignCp932 + ".bmp"), "tex/" + kSignUtf8 + ".bmp");
  EXPECT_EQ(ResolveExistingPath("TEX\\" + kSignCp932 + ".BMP"), "tex/" + kSignUtf8 + ".bmp");
}

TEST_F(PathLookup, ShiftJisNamesStoredAsBytesKeepTheirSecondByte) {
  dir.Write("tex/" + kSignCp932 + ".bmp", {1});
  EXPECT_EQ(ResolveExistingPath("tex\\" + kSignCp932 + ".bmp"), "tex/" + kSignCp932 + ".bmp");
  EXPECT_EQ(ResolveExistingPath("Tex\\" + kSignCp932 + ".Bmp"), "tex/" + kSignCp932 + ".bmp");
}

TEST_F(PathLookup, ReportsHowTheFileWasFound) {
  dir.Write("Model.x", {1});
  dir.Write("Tex/Side.BMP", {1});
  dir.Write("Tex/" + kSignUtf8 + ".bmp", {1});
  const struct {
    std::string name;
    std::string path;
    PathMatch match;
  } cases[] = {
      {"Model.x", "Model.x", PathMatch::kExact},
      {"MODEL.X", "Model.x", PathMatch::kCaseOrSeparators},
      {"Tex\\Side.BMP", "Tex/Side.BMP", PathMatch::kCaseOrSeparators},
      {"tex/side.bmp", "Tex/Side.BMP", PathMatch::kCaseOrSeparators},
      {"Tex\\" + kSignCp932 + ".bmp", "Tex/" + kSignUtf8 + ".bmp", PathMatch::kCodePage932},  // as unpacked on Linux
      {"TEX\\" + kSignCp932 + ".BMP", "Tex/" + kSignUtf8 + ".bmp", PathMatch::kCodePage932},
      {"C:\\other\\Model.x", "", PathMatch::kMissing},  // no model directory to fall back on
      {"Tex", "", PathMatch::kMissing},                     // a directory
      {"nothing.x", "", PathMatch::kMissing},
  };
  for (const auto& c : cases) {
    ResolvedPath found = ResolvePath(c.name);
    EXPECT_EQ(found.path, c.path) << c.name;
    EXPECT_EQ(found.match, c.match) << c.name;
  }
}

TEST_F(PathLookup, TextureNamesThatFindNothingAreLookedForInTheModelDirectory) {
  dir.Write("models/Side.bmp", {1});
  dir.Write("models/tex/Roof.bmp", {1});
  dir.Write("models/" + kSignUtf8 + ".bmp", {1});
  dir.Write("Top.bmp", {1});
  std::filesystem::create_directories(dir.path() + "/models/Door.bmp");
  const struct {
    std::string name;
    std::string modelDirectory;
    std::string path;
    PathMatch match;
  } cases[] = {
      {"C:\\Users\\me\\My Documents\\tex\\Side.bmp", "models", "models/Side.bmp", PathMatch::kModelDirectory},
      {"C:\\Users\\me\\My Documents\\tex\\SIDE.BMP", "models/", "models/Side.bmp", PathMatch::kModelDirectory},
      {"..\\..\\common\\side.bmp", dir.path() + "/models", dir.path() + "/models/Side.bmp",
       PathMatch::kModelDirectory},
      {"D:\\tex\\" + kSignCp932 + ".BMP", "models", "models/" + kSignUtf8 + ".bmp", PathMatch::kModelDirectory},
      {"C:\\x\\Top.bmp", "", "Top.bmp", PathMatch::kModelDirectory},  // empty: the current directory
      // The name as stored comes first.
      {"Top.bmp", "models", "Top.bmp", PathMatch::kExact},
      {"MODELS\\TEX\\roof.bmp", "models", "models/tex/Roof.bmp", PathMatch::kCaseOrSeparators},
      // Only the model's own directory, only files; trailing elements as below.
      {"D:\\tex\\Roof.bmp", "models", "models/tex/Roof.bmp", PathMatch::kTrailingPath},
      {"D:\\tex\\Door.bmp", "models", "", PathMatch::kMissing},
      {"D:\\tex\\", "models", "", PathMatch::kMissing},
      {"D:\\tex\\..", "models", "", PathMatch::kMissing},
      {"D:\\gone.bmp", "no such directory", "", PathMatch::kMissing},
  };
  for (const auto& c : cases) {
    ResolvedPath found = ResolveTexturePath(c.name, c.modelDirectory);
    EXPECT_EQ(found.path, c.path) << c.name;
    EXPECT_EQ(found.match, c.match) << c.name;
  }
}

// A model made on Windows names its textures where they lay on the author's
// machine; they ship in folders beside the model.
TEST_F(PathLookup, TextureNamesFindTheirTrailingElementsInTheModelDirectory) {
  dir.Write("logHouse/Tex/Wood_Floor.jpg", {1});
  dir.Write("logHouse/Wood_Floor.jpg", {2});
  dir.Write("logHouse/Game/Tex/Roof.png", {1});
  dir.Write("logHouse/Tex/Roof.png", {2});
  dir.Write("logHouse/Signs/" + kSignUtf8 + "/Sign.bmp", {1});
  dir.Write("logHouse/Door.bmp", {1});
  dir.Write("outside/Tex/Gate.bmp", {1});
  const std::string home = dir.path() + "/logHouse";
  const struct {
    std::string name;
    std::string path;  // below the model's directory
    PathMatch match;
  } cases[] = {
      // The longest trailing part that is there wins over the file name alone.
      {"C:\\Users\\someone\\Desktop\\Game\\logHouse\\Tex\\Wood_Floor.jpg", "Tex/Wood_Floor.jpg",
       PathMatch::kTrailingPath},
      {"C:\\Users\\someone\\Desktop\\Game\\Tex\\Roof.png", "Game/Tex/Roof.png", PathMatch::kTrailingPath},
      {"D:/work/TEX/wood_floor.JPG", "Tex/Wood_Floor.jpg", PathMatch::kTrailingPath},  // letter case
      {"D:\\work\\SIGNS\\" + kSignCp932 + "\\sign.bmp", "Signs/" + kSignUtf8 + "/Sign.bmp",
       PathMatch::kTrailingPath},  // code page 932
      {"C:\\Users\\someone\\Door.bmp", "Door.bmp", PathMatch::kModelDirectory},
      {"C:\\Users\\someone\\Wood_Floor.jpg", "Wood_Floor.jpg", PathMatch::kModelDirectory},
      // Only what stays inside the model's directory: nothing before a '..'.
      {"..\\outside\\Tex\\Gate.bmp", "", PathMatch::kMissing},
      {"C:\\x\\..\\Tex\\Wood_Floor.jpg", "Tex/Wood_Floor.jpg", PathMatch::kTrailingPath},
      {"C:\\x\\Tex\\..", "", PathMatch::kMissing},
      {"C:\\x\\Tex\\", "", PathMatch::kMissing},  // a directory is no texture
  };
  for (const auto& c : cases) {
    ResolvedPath found = ResolveTexturePath(c.name, home);
    EXPECT_EQ(found.path, c.path.empty() ? "" : home + "/" + c.path) << c.name;
    EXPECT_EQ(found.match, c.match) << c.name;
  }
}

TEST_F(PathLookup, MissingEmptyAndOverlongNames) {
  EXPECT_EQ(ResolveExistingPath("nothing.png"), "");
  EXPECT_EQ(ResolveExistingPath("no\\such\\dir\\a.png"), "");
  EXPECT_EQ(ResolveExistingPath(""), "");
  EXPECT_EQ(ResolveExistingPath(std::string(5000, 'a')), "");
  EXPECT_EQ(ResolveTexturePath("C:\\" + std::string(5000, 'a'), "").match, PathMatch::kMissing);
}

}  // namespace
