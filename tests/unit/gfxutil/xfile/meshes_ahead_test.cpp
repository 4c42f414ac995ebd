// A text file of many small meshes read with a second reader of meshes gives
// exactly what one reader gives: the same model and notes, or the same error
// at the same line, whichever meshes the second reader happened to read.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "gfxutil/xfile/mesh_builder.h"
#include "gfxutil/xfile/objects.h"
#include "gfxutil/xfile/text_reader.h"

namespace {

constexpr int kMeshes = 1200;

// The parts of mesh `k`, which a case may change before they are joined.
struct MeshParts {
  std::string frameChildren;  // before the mesh, inside its frame
  std::string faces =
      "12;\n3;0,1,2;,3;0,2,3;,3;4,6,5;,3;4,7,6;,3;0,4,5;,3;0,5,1;,"
      "3;1,5,6;,3;1,6,2;,3;2,6,7;,3;2,7,3;,3;3,7,4;,3;3,4,0;;\n";
  std::string materials;  // inside the MeshMaterialList, after the indexes
  std::string indexes = "12;\n0,0,0,0,0,0,0,0,0,0,0,0;\n";
  int materialCount = 1;
};

// A box of its own in a frame of its own, ten frames to a group, each with a
// material named after it.
std::string MeshText(int k, const MeshParts& parts) {
  std::string corners;
  for (int c = 0; c < 8; ++c)
    corners += std::to_string(k + (c & 1) * 0.5) + ";" + std::to_string((c >> 1 & 1) * 0.25) + ";" +
               std::to_string((c >> 2) * 0.75) + ";" + (c < 7 ? ",\n" : ";\n");
  std::string uvs;
  for (int c = 0; c < 8; ++c) uvs += std::to_string(c / 8.0) + ";0.5;" + (c < 7 ? "," : ";\n");
  return "\tFrame Part" + std::to_string(k) + " {\n" + parts.frameChildren + "\tMesh Mesh" + std::to_string(k) +
         " {\n8;\n" + corners + parts.faces +
         "\tMeshNormals {\n2;\n0.0;1.0;0.0;,1.0;0.0;0.0;;\n12;\n"
         "3;0,0,0;,3;0,0,0;,3;0,0,0;,3;0,0,0;,3;1,1,1;,3;1,1,1;,"
         "3;1,1,1;,3;1,1,1;,3;0,0,0;,3;0,0,0;,3;1,1,1;,3;1,1,1;;\n}\n"
         "\tMeshTextureCoords {\n8;\n" +
         uvs +
         "}\n"
         "\tMeshMaterialList {\n" +
         std::to_string(parts.materialCount) + ";\n" + parts.indexes + parts.materials + "}\n}\n}\n";
}

std::string InlineMaterial(int k) {
  return "Material Mat" + std::to_string(k) + " {\n" + std::to_string(k % 10 / 10.0) +
         ";0.5;0.25;1.0;;\n5.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\nTextureFilename { \"tex" + std::to_string(k) +
         ".png\"; }\n}\n";
}

using Change = std::function<void(int k, MeshParts& parts)>;

std::string FileText(const Change& change) {
  std::string text = "Frame Scene {\n";
  for (int k = 0; k < kMeshes; ++k) {
    if (k % 10 == 0) text += "Frame Group" + std::to_string(k / 10) + " {\n";
    MeshParts parts;
    parts.materials = InlineMaterial(k);
    change(k, parts);
    text += MeshText(k, parts);
    if (k % 10 == 9) text += "}\n";
  }
  return text + "}\n";
}

struct Result {
  bool ok = false;
  bool invalidData = false;
  std::string error;
  unsigned line = 0;
  XMeshData mesh;
  std::vector<std::string> notes;
  size_t meshesReadAhead = 0;
};

// `listMinimum`: lists of this many values are read in two halves.
Result Read(const std::string& text, XTextReader::SecondReader second, size_t listMinimum = 1u << 16) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.data());
  XTextReader reader(begin, begin + text.size());
  reader.SetSecondReader(second);
  reader.SetReadAheadMinimum(listMinimum);
  XMeshBuilder builder;
  XParseOutcome outcome = ParseXObjects(reader, builder, "meshes.x");
  Result result;
  result.ok = outcome.ok && builder.Finish(result.mesh);
  result.invalidData = outcome.invalidData;
  result.error = reader.Error().Text();
  result.line = reader.Error().line;
  for (const LoadNote& note : outcome.notes.All()) result.notes.push_back(note.Text());
  result.meshesReadAhead = outcome.meshesReadAhead;
  return result;
}

struct Case {
  const char* name;
  Change change;
  bool succeeds = true;
};

const Case kCases[] = {
    {"every mesh its own", [](int, MeshParts&) {}},
    {"a frame refers to an earlier mesh",
     [](int k, MeshParts& parts) {
       if (k % 100 == 50) parts.frameChildren = "{ Mesh" + std::to_string(k - 40) + " }\n";
     }},
    // The second reader leaves a mesh with a reference to the main reader.
    {"a mesh refers to an earlier mesh's material",
     [](int k, MeshParts& parts) {
       if (k == kMeshes * 3 / 5) parts.materials = "{ Mat3 }\n";
     }},
    // The main reader resolves these by what the second reader recorded.
    {"the last mesh refers to every material before it",
     [](int k, MeshParts& parts) {
       if (k != kMeshes - 1) return;
       parts.materialCount = kMeshes - 1;
       parts.indexes = "12;\n";
       for (int f = 0; f < 12; ++f) parts.indexes += std::to_string(f * 97 % (kMeshes - 1)) + (f < 11 ? "," : ";\n");
       parts.materials.clear();
       for (int m = 0; m + 1 < kMeshes; ++m) parts.materials += "{ Mat" + std::to_string(m) + " }\n";
     }},
    {"a note in one mesh",
     [](int k, MeshParts& parts) {
       if (k == kMeshes / 2) parts.indexes = "10;\n0,0,0,0,0,0,0,0,0,0;\n";
     }},
    {"a face beyond the vertices late in the file",
     [](int k, MeshParts& parts) {
       if (k == kMeshes * 7 / 10) parts.faces.replace(parts.faces.find("4,6,5"), 5, "4,6,9");
     },
     false},
    {"a mesh cut short by a stray brace",
     [](int k, MeshParts& parts) {
       if (k == kMeshes * 4 / 5) parts.faces = "12;\n3;0,1,2;,}\n";
     },
     false},
};

class MeshesAhead : public testing::TestWithParam<Case> {};

TEST_P(MeshesAhead, GivesWhatOneReaderGives) {
  std::string text = FileText(GetParam().change);
  Result alone = Read(text, XTextReader::SecondReader::Never);
  EXPECT_EQ(alone.ok, GetParam().succeeds) << alone.error;
  EXPECT_EQ(alone.meshesReadAhead, 0u);
  Result split = Read(text, XTextReader::SecondReader::Always);
  EXPECT_EQ(split.ok, alone.ok);
  EXPECT_EQ(split.invalidData, alone.invalidData);
  EXPECT_EQ(split.error, alone.error);
  EXPECT_EQ(split.line, alone.line);
  EXPECT_EQ(split.notes, alone.notes);
  EXPECT_EQ(split.mesh.vertexBytes, alone.mesh.vertexBytes);
  EXPECT_EQ(split.mesh.indices, alone.mesh.indices);
  EXPECT_EQ(split.mesh.attributes, alone.mesh.attributes);
  ASSERT_EQ(split.mesh.materials.size(), alone.mesh.materials.size());
  for (size_t m = 0; m < alone.mesh.materials.size(); ++m)
    EXPECT_EQ(split.mesh.materials[m].textureName, alone.mesh.materials[m].textureName) << m;
  EXPECT_GT(split.meshesReadAhead, 0u);
}

// Meshes whose lists are long enough to be read in two halves start no
// second reader of meshes: the two would share one spare core.
TEST(MeshesAheadStart, NotWhereListsAreReadInTwoHalves) {
  std::string text = FileText([](int, MeshParts&) {});
  Result alone = Read(text, XTextReader::SecondReader::Never);
  Result lists = Read(text, XTextReader::SecondReader::Always, 16);
  EXPECT_TRUE(lists.ok) << lists.error;
  EXPECT_EQ(lists.meshesReadAhead, 0u);
  EXPECT_EQ(lists.mesh.vertexBytes, alone.mesh.vertexBytes);
}

INSTANTIATE_TEST_SUITE_P(Files, MeshesAhead, testing::ValuesIn(kCases), [](const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

}  // namespace
