#include "platform/os/path_lookup.h"

#include <gtest/gtest.h>

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

TEST_F(PathLookup, MissingEmptyAndOverlongNames) {
  EXPECT_EQ(ResolveExistingPath("nothing.png"), "");
  EXPECT_EQ(ResolveExistingPath("no\\such\\dir\\a.png"), "");
  EXPECT_EQ(ResolveExistingPath(""), "");
  EXPECT_EQ(ResolveExistingPath(std::string(5000, 'a')), "");
}

}  // namespace
