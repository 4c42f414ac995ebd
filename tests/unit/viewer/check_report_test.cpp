#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_os.h"
#include "graphics/direct3d.h"
#include "scratch_directory.h"
#include "test_paths.h"
#include "viewer/check_report.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

namespace {

// Loads through the viewer's own loading on the memory device and gathers the report.
class CheckReportTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!getcwd(start_, sizeof start_)) start_[0] = '\0';
    ASSERT_EQ(InitMemoryDevice(), 1);
  }
  void TearDown() override {
    ViewerShutdown();
    FreeDirect3D();
    if (start_[0] && chdir(start_) != 0) std::perror("chdir");
  }
  CheckReport Load(const std::string& path) {
    LaunchProbe probe;
    std::vector<LoadNote> notes;
    std::string reason;
    EXPECT_TRUE(LoadLaunchArgumentKeepingNotes(path.c_str(), probe, notes, reason)) << reason;
    return GatherCheckReport(probe, CurrentPlugin(), notes);
  }

  FakeOs os;
  char start_[PATH_MAX] = {};
};

TEST_F(CheckReportTest, TheStationSampleIsReportedWhole) {
  CheckReport report = Load(SourcePath("samples/Station"));
  EXPECT_EQ(report.kind, "Station");
  EXPECT_EQ(report.definitionFile, "Station.txt");
  EXPECT_EQ(report.name, "サンプル駅");
  EXPECT_EQ(report.directory.back(), '/');
  ASSERT_EQ(report.fields.size(), 4u + 4 * 6);
  EXPECT_EQ(report.fields[0].name, "name");
  EXPECT_EQ(report.fields[0].line, 1u);
  EXPECT_EQ(report.fields[2].name, "scale figure");
  EXPECT_EQ(report.fields[2].text, "1.0");
  EXPECT_EQ(report.fields[3].name, "platform count");
  EXPECT_EQ(report.fields[4].name, "platform 1 start x");
  EXPECT_EQ(report.fields[4].line, 5u);
  EXPECT_EQ(report.fields[27].name, "platform 4 end z");
  EXPECT_EQ(report.fields[27].line, 8u);

  const CheckModel& model = report.model;
  EXPECT_TRUE(model.loaded);
  EXPECT_EQ(model.form, "text");
  EXPECT_EQ(model.floatBits, 32u);
  EXPECT_GT(model.vertices, 0u);
  EXPECT_GT(model.faces, 0u);
  EXPECT_EQ(model.indexBits, 16u);
  ASSERT_EQ(model.materials.size(), 12u);
  EXPECT_STREQ(model.materials[8].alphaMeaning, "lit window at night");
  EXPECT_EQ(model.materials[0].texture, "tex\\paving.png");
  uint32_t faces = 0;
  for (const CheckSubset& subset : model.subsets) faces += subset.faceCount;
  EXPECT_EQ(faces, model.faces);

  ASSERT_EQ(report.textures.size(), 2u);
  const CheckTexture& paving = report.textures[0];
  EXPECT_EQ(paving.name, "tex\\paving.png");
  EXPECT_EQ(paving.materials, (std::vector<uint32_t>{0, 1, 2}));
  EXPECT_TRUE(paving.found);
  EXPECT_EQ(paving.path, "tex/paving.png");
  EXPECT_STREQ(paving.foundBy, "letter case or separators");
  EXPECT_TRUE(paving.loaded);
  EXPECT_STREQ(paving.format, "PNG");
  EXPECT_STREQ(report.textures[1].foundBy, "exact");
  EXPECT_STREQ(report.textures[1].format, "JPEG");
  EXPECT_TRUE(report.problems.empty());
}

TEST_F(CheckReportTest, ABareModelHasNoDefinitionFile) {
  CheckReport report = Load(SourcePath("samples/model/Car.x"));
  EXPECT_EQ(report.kind, "model");
  EXPECT_TRUE(report.definitionFile.empty());
  EXPECT_TRUE(report.fields.empty());
  EXPECT_TRUE(report.model.loaded);
  EXPECT_FLOAT_EQ(report.drawScale, 10.0f / report.model.sphereRadius);
}

constexpr char kShortMaterialList[] =
    "xof 0302txt 0032\n"
    "Mesh {\n"
    " 4; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;;\n"
    " 2; 3;0,1,2;, 3;1,3,2;;\n"
    " MeshMaterialList {\n"
    "  1; 1; 0;;\n"
    "  Material { 1;1;1;0;; 5; 0;0;0;; 0;0;0;; TextureFilename { \"missing.bmp\"; } }\n"
    " }\n"
    "}\n";

struct ProblemCase {
  const char* file;
  unsigned line;
  const char* message;
};

TEST_F(CheckReportTest, EveryProblemHasItsFileAndLine) {
  ScratchDirectory scratch;
  scratch.Write("Bad/Station.txt", std::string(300, 'n') + "\nauthor\n0\n3\n(0,0,0),(10,0,0)\n\n(0,0,0) ,(5,0,0)\n");
  scratch.Write("Bad/Model.x", kShortMaterialList);
  CheckReport report = Load(scratch.path() + "/Bad");
  const ProblemCase expected[] = {
      {"Station.txt", 1, "a word longer than 255 bytes was cut to its first 255"},
      {"Station.txt", 3, "scale figure 0 is not usable; drawScale 1.0 instead"},
      {"Station.txt", 7, "1 of 3 platforms read"},
      {"Model.x", 8, "1 material indexes for 2 faces; the last one is repeated"},  // the list's end
      {"missing.bmp", 0, "file not found"},
  };
  ASSERT_EQ(report.problems.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_EQ(report.problems[i].file, expected[i].file) << i;
    EXPECT_EQ(report.problems[i].line, expected[i].line) << i;
    EXPECT_EQ(report.problems[i].message, expected[i].message) << i;
  }
  EXPECT_STREQ(report.model.materials[0].alphaMeaning, "hidden by day");
  ASSERT_EQ(report.textures.size(), 1u);
  EXPECT_FALSE(report.textures[0].found);
  EXPECT_STREQ(report.textures[0].foundBy, "missing");
  EXPECT_FALSE(report.textures[0].loaded);
  // The log lines name the file and the place.
  EXPECT_NE(os.DebugText().find("Station.txt: line 3: scale figure 0 is not usable; drawScale 1.0 instead\n"), std::string::npos);
  EXPECT_NE(os.DebugText().find("Model.x: line 8: 1 material indexes"), std::string::npos);
}

// A model of one triangle whose one material names the texture.
std::string ModelNaming(const std::string& texture) {
  return "xof 0302txt 0032\nMesh {\n 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n MeshMaterialList {\n  1; 1; 0;;\n"
         "  Material { 1;1;1;1;; 5; 0;0;0;; 0;0;0;; TextureFilename { \"" + texture + "\"; } }\n }\n}\n";
}

struct TextureCase {
  const char* stored;  // as the model names it; X-file strings take '\\' as it is
  const char* foundBy;
  const char* path;
  size_t problems;
};

TEST_F(CheckReportTest, EachTextureSaysHowItWasFound) {
  const TextureCase cases[] = {
      {"wall.ppm", "exact", "wall.ppm", 0},
      {"tex\\WALL.PPM", "letter case or separators", "tex/wall.ppm", 0},
      {"C:\\author\\wall.ppm", "model directory", "wall.ppm", 1},  // the note names the file used
      {"C:\\author\\Tex\\Wall.ppm", "trailing path", "tex/wall.ppm", 1},
      {"gone.ppm", "missing", "", 1},
  };
  for (const TextureCase& c : cases) {
    ScratchDirectory scratch;
    scratch.Write("P/Struct.txt", "name\nauthor\n1.0\n");
    scratch.Write("P/Model.x", ModelNaming(c.stored));
    const std::string pixel("P6\n1 1\n255\n\xff\x00\x00", 14);
    scratch.Write("P/wall.ppm", pixel);
    scratch.Write("P/tex/wall.ppm", pixel);
    CheckReport report = Load(scratch.path() + "/P");
    ASSERT_EQ(report.textures.size(), 1u) << c.stored;
    const CheckTexture& texture = report.textures[0];
    EXPECT_EQ(texture.name, c.stored);
    EXPECT_STREQ(texture.foundBy, c.foundBy) << c.stored;
    EXPECT_EQ(texture.path.empty() ? "" : std::filesystem::path(texture.path).lexically_relative(".").string(),
              c.path) << c.stored;
    EXPECT_EQ(texture.loaded, texture.found) << c.stored;
    if (texture.loaded) {
      EXPECT_STREQ(texture.format, "PPM");
    }
    EXPECT_EQ(report.problems.size(), c.problems) << c.stored;
    ViewerShutdown();
  }
}

struct AlphaCase {
  float alpha;
  const char* meaning;
};

TEST(CheckReportParts, AlphaMeansWhatTheViewerDoesWithIt) {
  const AlphaCase cases[] = {{1.0f, "opaque"},          {0.5f, "lit window at night"}, {0.0f, "hidden by day"},
                             {0.49999997f, "translucent"}, {0.25f, "translucent"},       {-0.0f, "hidden by day"}};
  for (const AlphaCase& c : cases) EXPECT_STREQ(AlphaMeaning(c.alpha), c.meaning) << c.alpha;
}

TEST(CheckReportParts, APlaceThatIsNoLineLeadsTheMessage) {
  EXPECT_EQ(ProblemMessage(LoadNote{"Model.x", 0, "offset 345", "expected a number"}), "offset 345: expected a number");
  EXPECT_EQ(ProblemMessage(LoadNote{"Model.x", 12, "line 12", "unexpected '}'"}), "unexpected '}'");
  EXPECT_EQ(ProblemMessage(LoadNote{"a.png", 0, "", "file not found"}), "file not found");
}

CheckReport SmallReport() {
  CheckReport report;
  report.kind = "Struct";
  report.directory = "/p/\"q\"\\r/";
  report.definitionFile = "Struct.txt";
  report.name = "名前\tx";
  report.author = "a";
  report.scaleFigure = INFINITY;
  report.drawScale = 1.0f;
  report.fields = {{"name", 1, "名前"}};
  report.model.file = "Model.x";
  report.model.loaded = true;
  report.model.form = "compressed binary";
  report.model.floatBits = 64;
  report.model.vertices = 3;
  report.model.faces = 1;
  report.model.indexBits = 16;
  report.model.materials.push_back({{1, 0.5f, 0, 0.5f}, {}, 2, {}, "lit window at night", ""});
  report.textures.push_back({"a.bmp", {0}, false, "", "missing", false, "", 0, 0});
  report.problems.push_back({"a.bmp", 0, "", "file not found\x01"});
  report.notes.push_back({"Model.x", 9, "line 9", "1 closing '}' more", LoadNoteKind::kInformation});
  return report;
}

TEST(CheckReportParts, JsonEscapesTextAndWritesNullForWhatIsNot) {
  std::string json = CheckReportJson(SmallReport());
  for (const char* part : {"\"kind\": \"Struct\"", "\"directory\": \"/p/\\\"q\\\"\\\\r/\"", "\"name\": \"名前\\tx\"",
                           "\"scaleFigure\": null", "\"drawScale\": 1", "\"form\": \"compressed binary\"",
                           "\"floatBits\": 64", "\"vertices\": 3", "\"faces\": 1",
                           "\"materials\": [{\"diffuse\": [1, 0.5, 0], \"alpha\": 0.5, \"alphaMeaning\": \"lit window "
                           "at night\"",
                           "\"texture\": null", "{\"name\": \"a.bmp\", \"materials\": [0], \"found\": false",
                           "\"path\": null", "\"problems\": [{\"file\": \"a.bmp\", \"line\": null, \"message\": "
                           "\"file not found\\u0001\"}]",
                           "\"fields\": [{\"name\": \"name\", \"line\": 1, \"text\": \"名前\"}]",
                           "\"notes\": [{\"file\": \"Model.x\", \"line\": 9, \"message\": \"1 closing '}' more\"}]"})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
  EXPECT_EQ(json.back(), '\n');
}

TEST(CheckReportParts, TextHasEverySection) {
  std::string text = CheckReportText(SmallReport());
  // Control characters are escaped: each item stays on its line.
  for (const char* part : {"Struct plug-in \"名前\\tx\" by a\n", "Definition file Struct.txt\n",
                           "Model Model.x (compressed binary, 64-bit floats)\n", "Textures\n", "Problems (1)\n",
                           "  a.bmp: file not found\\x01\n", "  directory        /p/\"q\"\\r/\n", "\nNotes (1)\n",
                           "  Model.x:9: 1 closing '}' more\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  CheckReport clean = SmallReport();
  clean.problems.clear();
  clean.notes.clear();
  EXPECT_NE(CheckReportText(clean).find("No problems found."), std::string::npos);
  EXPECT_EQ(CheckReportText(clean).find("Notes"), std::string::npos) << "no notes, no section";
}

}  // namespace
