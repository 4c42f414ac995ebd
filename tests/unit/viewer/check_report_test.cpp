#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "fake_os.h"
#include "graphics/direct3d.h"
#include "scratch_directory.h"
#include "platform/os/text_encoding.h"
#include "test_paths.h"
#include "viewer/check_report.h"
#include "viewer/check_run.h"
#include "viewer/finding_changes.h"
#include "viewer/launch.h"
#include "viewer/plugin_loading.h"

namespace {

// What the schema's validator (run by the system's Python, with
// python3-jsonschema) says of the JSON reports; empty when all validate.
std::string SchemaFaults(const std::vector<std::string>& reports) {
  namespace fs = std::filesystem;
  fs::path directory = fs::temp_directory_path() / ("check-reports-" + std::to_string(getpid()));
  fs::create_directories(directory);
  std::string command = "/usr/bin/python3 " + SourcePath("tests/e2e/check_report_schema.py");
  for (size_t i = 0; i < reports.size(); ++i) {
    fs::path file = directory / (std::to_string(i) + ".json");
    std::ofstream(file, std::ios::binary) << reports[i];
    command += " " + file.string();
  }
  std::string faults;
  if (FILE* out = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, out)) faults += buffer;
    if (pclose(out) != 0 && faults.empty()) faults = "the validator failed";
  } else {
    faults = "the validator cannot be run";
  }
  fs::remove_all(directory);
  return faults;
}

std::vector<std::string> CodeNames(const std::vector<LoadNote>& findings) {
  std::vector<std::string> names;
  for (const LoadNote& finding : findings) names.push_back(CodeOf(finding.code).name);
  return names;
}

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
    // Every report the test made is one the schema describes.
    EXPECT_EQ(SchemaFaults(reports_), "");
  }
  CheckReport Load(const std::string& path) {
    LaunchProbe probe;
    std::string reason;
    EXPECT_TRUE(LoadLaunchArgument(path.c_str(), probe, reason)) << reason;
    CheckReport report = GatherCheckReport(probe, CurrentPlugin());
    reports_.push_back(CheckReportJson(report));
    return report;
  }
  std::vector<std::string> reports_;  // the JSON of each report made

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
  // Its fourth platform is too short to count; its paving is named with '\\'.
  EXPECT_EQ(CodeNames(report.problems), (std::vector<std::string>{"PLATFORM_NOT_COUNTED", "TEXTURE_FOUND_BY_CASE"}));
  EXPECT_EQ(CheckExitStatus(report), 0);
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
  const char* code;
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
      {"DEFINITION_WORD_CUT", "Station.txt", 1, "a word longer than 255 bytes was cut to its first 255"},
      {"SCALE_FIGURE_UNUSABLE", "Station.txt", 3, "scale figure 0 is not usable; drawScale 1.0 instead"},
      {"PLATFORMS_MISSING", "Station.txt", 7, "1 of 3 platforms read"},
      {"MATERIAL_INDEXES_SHORT", "Model.x", 8, "1 material indexes for 2 faces; the last one is repeated"},  // the list's end
      {"TEXTURE_NOT_FOUND", "missing.bmp", 0, "file not found"},
      {"MODEL_INVISIBLE_BY_DAY", "Model.x", 0, "all 1 materials have alpha 0: the model is hidden by day and drawn only at night"},
      {"NO_NORMALS", "Model.x", 0, "the model has no normals: it is lit flat"},
  };
  ASSERT_EQ(report.problems.size(), std::size(expected));
  for (size_t i = 0; i < std::size(expected); ++i) {
    EXPECT_STREQ(CodeOf(report.problems[i].code).name, expected[i].code) << i;
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
  std::vector<std::string> codes;  // of the findings about the texture
};

TEST_F(CheckReportTest, EachTextureSaysHowItWasFound) {
  const TextureCase cases[] = {
      {"wall.ppm", "exact", "wall.ppm", {}},
      {"tex\\WALL.PPM", "letter case or separators", "tex/wall.ppm", {"TEXTURE_FOUND_BY_CASE"}},
      // The note names the file used.
      {"C:\\author\\wall.ppm", "model directory", "wall.ppm", {"TEXTURE_IN_MODEL_DIRECTORY", "TEXTURE_FOREIGN_PATH"}},
      {"C:\\author\\Tex\\Wall.ppm", "trailing path", "tex/wall.ppm",
       {"TEXTURE_IN_MODEL_DIRECTORY", "TEXTURE_FOREIGN_PATH"}},
      {"gone.ppm", "missing", "", {"TEXTURE_NOT_FOUND"}},
      {"tex\\\x95\x5C\x8E\x44.ppm", "code page 932", "tex/表札.ppm", {"TEXTURE_FOUND_BY_CP932"}},
  };
  for (const TextureCase& c : cases) {
    ScratchDirectory scratch;
    scratch.Write("P/Struct.txt", "name\nauthor\n1.0\n");
    scratch.Write("P/Model.x", ModelNaming(c.stored));
    const std::string pixel("P6\n1 1\n255\n\xff\x00\x00", 14);
    scratch.Write("P/wall.ppm", pixel);
    scratch.Write("P/tex/wall.ppm", pixel);
    scratch.Write("P/tex/表札.ppm", pixel);
    CheckReport report = Load(scratch.path() + "/P");
    ASSERT_EQ(report.textures.size(), 1u) << c.stored;
    const CheckTexture& texture = report.textures[0];
    EXPECT_EQ(texture.name, DisplayText(c.stored));
    EXPECT_STREQ(texture.foundBy, c.foundBy) << c.stored;
    EXPECT_EQ(texture.path.empty() ? "" : std::filesystem::path(texture.path).lexically_relative(".").string(),
              c.path) << c.stored;
    EXPECT_EQ(texture.loaded, texture.found) << c.stored;
    if (texture.loaded) {
      EXPECT_STREQ(texture.format, "PPM");
    }
    std::vector<LoadNote> aboutTexture;
    for (const LoadNote& finding : report.problems)
      if (finding.file == texture.name) aboutTexture.push_back(finding);
    EXPECT_EQ(CodeNames(aboutTexture), c.codes) << c.stored;
    ViewerShutdown();
  }
}

// A model of `body` (vertices, faces and what follows them) in one Mesh.
std::string MeshOf(const std::string& body) { return "xof 0302txt 0032\nMesh body {\n" + body + "}\n"; }

constexpr char kMaterial[] = "Material { 1;1;1;1;; 5; 0;0;0;; 0;0;0;; }";
// One triangle a metre across, with one material and normals.
const std::string kTriangle = " 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n"
                              " MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }\n"
                              " MeshMaterialList { 1; 1; 0;; " + std::string(kMaterial) + " }\n";

std::string PpmOf(unsigned width, unsigned height) {
  return "P6\n" + std::to_string(width) + " " + std::to_string(height) + "\n255\n" +
         std::string(size_t{width} * height * 3, '\x7f');
}

// A model of one textured triangle.
std::string TexturedTriangle(const std::string& texture) {
  return MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }\n"
                " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;1;; 5; 0;0;0;; 0;0;0;; TextureFilename { \"" +
                texture + "\"; } } }\n");
}

struct FindingCase {
  const char* what;
  std::vector<std::pair<std::string, std::string>> files;  // below the scratch directory
  const char* argument;                                     // below the scratch directory
  const char* code;
  const char* message;  // a part of the finding's message
  unsigned line;
};

// Every check finds what its fixture holds, and nothing more of its code.
TEST_F(CheckReportTest, EachCheckFindsWhatItsFixtureHolds) {
  const std::string plain = "name\nauthor\n1.0\n";
  const FindingCase cases[] = {
      {"invisible by day",
       {{"P/Struct.txt", plain},
        {"P/Model.x", MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;; 1; 3;0,1,2;; MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }"
                             " MeshMaterialList { 1; 1; 0;; Material { 1;1;1;0;; 5; 0;0;0;; 0;0;0;; } }\n")}},
       "P", "MODEL_INVISIBLE_BY_DAY", "all 1 materials have alpha 0", 0},
      {"a platform too short",
       {{"P/Station.txt", "name\nauthor\n1.0\n2\n(0,0,0),(10,0,0)\n(0,0,0),(3,0,0)\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "PLATFORM_NOT_COUNTED", "platform 2 is 1.5 long as drawn, under the 2", 6},
      {"a number read in part",
       {{"P/Struct.txt", "name\nauthor\n1x.5\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "DEFINITION_NUMBER", "scale figure \"1x.5\" is read only in part: taken as 1", 3},
      {"a hexadecimal number read in part",
       {{"P/Struct.txt", "name\nauthor\n0x1p3.5\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "DEFINITION_NUMBER", "scale figure \"0x1p3.5\" is read only in part: taken as 8", 3},
      {"a number not read at all",
       {{"P/Station.txt", "name\nauthor\n1.0\n時速95\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "DEFINITION_NUMBER", "platform count \"時速95\" is not a number: nothing is taken", 4},
      {"a foreign absolute path",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("C:\\Users\\me\\wall.ppm")}, {"P/wall.ppm", PpmOf(1, 1)}},
       "P", "TEXTURE_FOREIGN_PATH", "named by the absolute path \"C:\\Users\\me\\wall.ppm\"; found in the model's", 0},
      {"a texture outside the plug-in",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("..\\shared\\wall.ppm")}, {"shared/wall.ppm", PpmOf(1, 1)}},
       "P", "TEXTURE_OUTSIDE_PLUGIN", "found outside the plug-in's folder", 0},
      {"a name code page 932 cannot encode",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("caf\xc3\xa9.ppm")}, {"P/caf\xc3\xa9.ppm", PpmOf(1, 1)}},
       "P", "TEXTURE_NAME_NOT_CP932", "\"café.ppm\" holds characters that code page 932 cannot encode", 0},
      {"found by letter case",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("WALL.PPM")}, {"P/wall.ppm", PpmOf(1, 1)}},
       "P", "TEXTURE_FOUND_BY_CASE", "found only by letter case or separators, as wall.ppm", 0},
      {"found by code page 932",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("\x95\x5C\x8E\x44.ppm")}, {"P/表札.ppm", PpmOf(1, 1)}},
       "P", "TEXTURE_FOUND_BY_CP932", "found only by its code page 932 reading, as 表札.ppm", 0},
      {"not a power of two",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("wall.ppm")}, {"P/wall.ppm", PpmOf(3, 2)}},
       "P", "TEXTURE_NOT_POWER_OF_TWO", "3 x 2: a side is not a power of two", 0},
      {"a side over 2048",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("wall.ppm")}, {"P/wall.ppm", PpmOf(4096, 1)}},
       "P", "TEXTURE_TOO_LARGE", "4096 x 1: a side is over 2048", 0},
      {"an unreadable format",
       {{"P/Struct.txt", plain}, {"P/Model.x", TexturedTriangle("wall.ppm")}, {"P/wall.ppm", "not a picture"}},
       "P", "TEXTURE_UNREADABLE", "", 0},
      {"degenerate faces",
       {{"P/Struct.txt", plain},
        {"P/Model.x", MeshOf(" 4; 0;0;0;, 1;0;0;, 0;1;0;, 2;0;0;;\n 3; 3;0,1,2;, 3;0,1,3;, 3;0,0,2;;\n"
                             " MeshNormals { 1; 0;0;-1;; 3; 3;0,0,0;, 3;0,0,0;, 3;0,0,0;; }\n")}},
       "P", "DEGENERATE_FACES", "2 of the 3 faces have no area", 0},
      {"unused vertices",
       {{"P/Struct.txt", plain},
        {"P/Model.x", MeshOf(" 5; 0;0;0;, 1;0;0;, 0;1;0;, 5;5;5;, 6;6;6;;\n 1; 3;0,1,2;;\n"
                             " MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }\n")}},
       "P", "UNUSED_VERTICES", "2 of the 5 vertices are used by no face", 0},
      {"zero normals",
       {{"P/Struct.txt", plain},
        {"P/Model.x", MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n"
                             " MeshNormals { 2; 0;0;-1;, 0;0;0;; 1; 3;0,1,1;; }\n")}},
       "P", "ZERO_NORMALS", "2 of the 3 vertices have a normal of zero length", 0},
      {"no normals",
       {{"P/Struct.txt", plain}, {"P/Model.x", MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n")}},
       "P", "NO_NORMALS", "the model has no normals", 0},
      {"a material no face uses",
       {{"P/Struct.txt", plain},
        {"P/Model.x", MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n MeshNormals { 1; 0;0;-1;; 1; 3;0,0,0;; }\n"
                             " MeshMaterialList { 2; 1; 0;; " + std::string(kMaterial) + kMaterial + " }\n")}},
       "P", "UNUSED_MATERIAL", "1 of the 2 materials are used by no face: 1", 0},
      {"drawn under 5 cm",
       {{"P/Struct.txt", "name\nauthor\n100\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "MODEL_SCALE", "the model is 0.005 m across as drawn (1 in the file, draw scale 0.005)", 0},
      {"drawn over 2 km",
       {{"P/Struct.txt", "name\nauthor\n0.0001\n"}, {"P/Model.x", MeshOf(kTriangle)}},
       "P", "MODEL_SCALE", "the model is 5e+03 m across as drawn", 0},
  };
  for (const FindingCase& c : cases) {
    ScratchDirectory scratch;
    for (const auto& [name, bytes] : c.files) scratch.Write(name, bytes);
    CheckReport report = Load(scratch.path() + "/" + c.argument);
    std::vector<LoadNote> found;
    for (const LoadNote& finding : report.problems)
      if (std::string(CodeOf(finding.code).name) == c.code) found.push_back(finding);
    ASSERT_EQ(found.size(), 1u) << c.what << ": " << CheckReportText(report);
    EXPECT_NE(found[0].message.find(c.message), std::string::npos) << c.what << ": " << found[0].message;
    EXPECT_EQ(found[0].line, c.line) << c.what;
    ViewerShutdown();
  }
}

// The model's vertices as drawn, and as the reference loader counts them:
// split by their normals, with those no face uses.
TEST_F(CheckReportTest, VerticesAreCountedAsDrawnAndAsInTheFile) {
  ScratchDirectory scratch;
  scratch.Write("P/Struct.txt", "name\nauthor\n1.0\n");
  // Two faces meet at two corners with different normals; a fifth vertex is loose.
  scratch.Write("P/Model.x", MeshOf(" 5; 0;0;0;, 1;0;0;, 0;1;0;, 1;1;0;, 7;7;7;;\n 2; 3;0,1,2;, 3;1,3,2;;\n"
                                    " MeshNormals { 2; 0;0;-1;, 0;0.6;-0.8;; 2; 3;0,0,0;, 3;1,1,1;; }\n"));
  CheckReport report = Load(scratch.path() + "/P");
  EXPECT_EQ(report.model.vertices, 6u);
  EXPECT_EQ(report.model.fileVertices, 7u);
  EXPECT_EQ(report.model.unusedVertices, 1u);
  EXPECT_NE(CheckReportText(report).find("  vertices  6 (7 in the file, 1 used by no face)\n"), std::string::npos);
}

// The plain triangle of the fixtures has nothing to report: each finding above is its fixture's alone.
TEST_F(CheckReportTest, TheFixturesTriangleHasNoFinding) {
  ScratchDirectory scratch;
  scratch.Write("P/Struct.txt", "name\nauthor\n1.0\n");
  scratch.Write("P/Model.x", MeshOf(kTriangle));
  CheckReport report = Load(scratch.path() + "/P");
  EXPECT_EQ(CodeNames(report.problems), std::vector<std::string>{});
}

// A model whose reader notes twenty harmless things before the fault that ends it.
std::string ManyNotesThenAFault() {
  std::string materials;
  for (int i = 0; i < 20; ++i) materials += " Material { 1;1;1;1;; 5; 0;0;0;; 0;0;0;; TextureFilename { \"\"; } }\n";
  return MeshOf(" 3; 0;0;0;, 1;0;0;, 0;1;0;;\n 1; 3;0,1,2;;\n MeshMaterialList { 21; 1; 0;;\n" + materials + " }\n");
}

struct FailureCase {
  const char* what;
  std::string modelBytes;  // written as m.x; empty for no file
  std::vector<std::string> codes;
  const char* reason;  // a part of the reason
};

// A path that shows nothing still gets its report: the model not loaded, the
// reason first, then the fault that stopped the load, however many notes came before it.
TEST_F(CheckReportTest, NothingToShowIsAReportToo) {
  const FailureCase cases[] = {
      {"no file", "", {"NOTHING_TO_SHOW", "MODEL_UNREADABLE"}, "cannot open the file"},
      {"a fault after many notes", ManyNotesThenAFault(),
       {"NOTHING_TO_SHOW", "MODEL_UNREADABLE", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY",
        "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY",
        "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY",
        "TEXTURE_NAME_EMPTY", "TEXTURE_NAME_EMPTY", "NOTES_LEFT_OUT"},
       "the material list names 21 materials but holds 20"},
  };
  for (const FailureCase& c : cases) {
    ScratchDirectory scratch;
    if (!c.modelBytes.empty()) scratch.Write("m.x", c.modelBytes);
    CheckReport report;
    std::string reason;
    EXPECT_FALSE(CheckPlugin((scratch.path() + "/m.x").c_str(), report, reason)) << c.what;
    EXPECT_NE(reason.find(c.reason), std::string::npos) << c.what << ": " << reason;
    EXPECT_EQ(CodeNames(report.problems), c.codes) << c.what;
    EXPECT_EQ(report.kind, "model");
    EXPECT_FALSE(report.model.loaded);
    EXPECT_EQ(CheckExitStatus(report), 3);
    ASSERT_GE(report.problems.size(), 2u);
    EXPECT_NE(report.problems[1].message.find(c.reason), std::string::npos) << c.what;
    reports_.push_back(CheckReportJson(report));
    ASSERT_EQ(InitMemoryDevice(), 1);  // CheckPlugin freed it
  }
}

struct StatusCase {
  std::vector<FindingCode> findings;
  std::vector<FindingCode> ignored;
  int status;
  SeverityCounts counts;  // after ignoring
};

TEST(CheckReportParts, ErrorsAndWarningsLeftAfterIgnoringGiveStatus3) {
  using F = FindingCode;
  const StatusCase cases[] = {
      {{}, {}, 0, {0, 0, 0, 0}},
      {{F::kNoNormals, F::kUnusedVertices}, {}, 0, {0, 0, 1, 1}},
      {{F::kTextureNotFound}, {}, 3, {1, 0, 0, 0}},
      {{F::kModelScale, F::kNoNormals}, {}, 3, {0, 1, 1, 0}},
      {{F::kModelScale, F::kNoNormals}, {F::kModelScale}, 0, {0, 0, 1, 0}},
      {{F::kTextureNotFound, F::kTextureNotFound, F::kTextureForeignPath}, {F::kTextureNotFound}, 3, {0, 1, 0, 0}},
  };
  for (const StatusCase& c : cases) {
    CheckReport report;
    for (F code : c.findings) report.problems.push_back({code, "Model.x", 0, "", "", "m"});
    IgnoreCodes(report, c.ignored);
    EXPECT_EQ(CheckExitStatus(report), c.status) << c.findings.size();
    EXPECT_EQ(CountBySeverity(report.problems), c.counts) << c.findings.size();
  }
}

TEST(CheckReportParts, TheTextGroupsFindingsBySeverityErrorsFirst) {
  CheckReport report;
  report.model.file = "Model.x";
  report.problems = {{FindingCode::kNoNormals, "Model.x", 0, "", "", "flat"},
                     {FindingCode::kTextureNotFound, "a.bmp", 0, "", "", "file not found"},
                     {FindingCode::kMaterialIndexesShort, "Model.x", 8, "line 8", "Frame Body/Mesh body/MeshMaterialList",
                      "short"},
                     {FindingCode::kTextureNotFound, "b.bmp", 0, "", "", "file not found"}};
  std::string text = CheckReportText(report);
  const char* expected =
      "\nProblems (4): 2 errors, 1 warning, 1 info, 0 hints\n"
      "\nErrors (2)\n  a.bmp: file not found [TEXTURE_NOT_FOUND]\n  b.bmp: file not found [TEXTURE_NOT_FOUND]\n"
      "\nWarnings (1)\n  Model.x:8: short (in Frame Body/Mesh body/MeshMaterialList) [MATERIAL_INDEXES_SHORT]\n"
      "\nInfo (1)\n  Model.x: flat [NO_NORMALS]\n";
  EXPECT_TRUE(text.ends_with(expected)) << text;
}

struct CodesChangeCase {
  std::vector<FindingCode> before, after;
  const char* text;
};

TEST(CheckReportParts, TheLogNamesTheCodesThatCameAndWent) {
  using F = FindingCode;
  const CodesChangeCase cases[] = {
      {{}, {}, "no codes new or gone"},
      {{F::kNoNormals}, {F::kNoNormals}, "no codes new or gone"},
      {{}, {F::kTextureNotFound, F::kNoNormals}, "new TEXTURE_NOT_FOUND, NO_NORMALS"},
      {{F::kModelScale}, {}, "gone MODEL_SCALE"},
      {{F::kModelScale, F::kNoNormals}, {F::kNoNormals, F::kTextureTooLarge}, "new TEXTURE_TOO_LARGE; gone MODEL_SCALE"},
  };
  for (const CodesChangeCase& c : cases) EXPECT_EQ(CodesNewAndGone(c.before, c.after), c.text);
  std::vector<LoadNote> findings = {{F::kNoNormals, "", 0, "", "", ""},
                                    {F::kTextureNotFound, "", 0, "", "", ""},
                                    {F::kTextureNotFound, "", 0, "", "", ""},
                                    {F::kModelScale, "", 0, "", "", ""}};
  EXPECT_EQ(DistinctCodes(findings), (std::vector<F>{F::kModelScale, F::kNoNormals, F::kTextureNotFound}));
  EXPECT_EQ(ErrorWarningCounts(findings), "エラー 2  警告 1");
}

TEST(CheckReportParts, BytesThatAreNotUtf8ArePercentEncoded) {
  EXPECT_EQ(PercentEncoded("/p/tex/\x95\x5C a.png"), "/p/tex/%95%5C%20a.png");
  EXPECT_EQ(PercentEncoded("A-z_0.~/"), "A-z_0.~/");
}

TEST(CheckCodes, EveryCodeHasAnUpperCaseNameOfItsOwnAndItsTexts) {
  std::set<std::string> names;
  for (const CheckCode& code : CheckCodes()) {
    std::string name = code.name;
    EXPECT_TRUE(names.insert(name).second) << name;
    EXPECT_EQ(name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_"), std::string::npos) << name;
    EXPECT_EQ(CodeNamed(name), &code);
    for (const char* text : {code.meaning, code.effect, code.fix}) EXPECT_GT(std::strlen(text), 10u) << name;
  }
  EXPECT_EQ(CodeNamed("texture_not_found"), nullptr);
  EXPECT_EQ(CodeNamed(""), nullptr);
}

// docs/checks.md is written from the table: run `vondrel-viewer -checks-doc > docs/checks.md` after a change.
TEST(CheckCodes, TheDocumentInTheRepositoryIsTheTables) {
  std::ifstream file(SourcePath("docs/checks.md"), std::ios::binary);
  std::stringstream document;
  document << file.rdbuf();
  EXPECT_EQ(document.str(), ChecksDocument());
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
  constexpr FindingCode kCode = FindingCode::kModelUnreadable;
  EXPECT_EQ(ProblemMessage(LoadNote{kCode, "Model.x", 0, "offset 345", "", "expected a number"}),
            "offset 345: expected a number");
  EXPECT_EQ(ProblemMessage(LoadNote{kCode, "Model.x", 12, "line 12", "", "unexpected '}'"}), "unexpected '}'");
  EXPECT_EQ(ProblemMessage(LoadNote{kCode, "a.png", 0, "", "", "file not found"}), "file not found");
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
  report.textures.push_back({"a.bmp", {0}, false, "", "", "missing", false, "", 0, 0});
  report.problems.push_back({FindingCode::kTextureNotFound, "a.bmp", 0, "", "", "file not found\x01"});
  report.problems.push_back({FindingCode::kSurplusClosingBraces, "Model.x", 9, "line 9", "", "1 closing '}' more"});
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
                           "\"path\": null", "\"schemaVersion\": 1", "\"directoryBytes\": null",
                           "\"counts\": {\"error\": 1, \"warning\": 0, \"info\": 1, \"hint\": 0}",
                           "\"problems\": [{\"code\": \"TEXTURE_NOT_FOUND\", \"severity\": \"error\", \"file\": "
                           "\"a.bmp\", \"line\": null, \"objectPath\": null, \"message\": \"file not found\\u0001\"}, "
                           "{\"code\": \"SURPLUS_CLOSING_BRACES\", \"severity\": \"info\", \"file\": \"Model.x\", "
                           "\"line\": 9, \"objectPath\": null, \"message\": \"1 closing '}' more\"}]",
                           "\"fields\": [{\"name\": \"name\", \"line\": 1, \"text\": \"名前\"}]"})
    EXPECT_NE(json.find(part), std::string::npos) << part << "\n" << json;
  EXPECT_EQ(json.back(), '\n');
  EXPECT_EQ(SchemaFaults({json}), "");
}

TEST(CheckReportParts, TextHasEverySection) {
  std::string text = CheckReportText(SmallReport());
  // Control characters are escaped: each item stays on its line.
  for (const char* part : {"Struct plug-in \"名前\\tx\" by a\n", "Definition file Struct.txt\n",
                           "Model Model.x (compressed binary, 64-bit floats)\n", "Textures\n",
                           "Problems (2): 1 error, 0 warnings, 1 info, 0 hints\n",
                           "  a.bmp: file not found\\x01 [TEXTURE_NOT_FOUND]\n", "  directory        /p/\"q\"\\r/\n",
                           "\nInfo (1)\n  Model.x:9: 1 closing '}' more [SURPLUS_CLOSING_BRACES]\n"})
    EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
  CheckReport clean = SmallReport();
  clean.problems.clear();
  EXPECT_NE(CheckReportText(clean).find("No problems found."), std::string::npos);
  EXPECT_EQ(CheckReportText(clean).find("Info ("), std::string::npos) << "no findings, no section";
}

}  // namespace
