// A text file of many small meshes read with a second reader of meshes gives
// exactly what one reader gives: the same model and notes, or the same error
// at the same line, whichever meshes the second reader happened to read.
#include <gtest/gtest.h>

#include <atomic>
#include <cctype>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "gfxutil/xfile/meshes_ahead.h"
#include "gfxutil/xfile/text_reader.h"
#include "parse_results.h"

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

// Box `k` in a frame of its own.
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

// kMeshes boxes, ten frames to a group, each box with a material named after it.
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

// `listMinimum`: lists of this many values are read in two halves.
XParseResult Read(const std::string& text, XTextReader::SecondReader second, size_t listMinimum = 1u << 16) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.data());
  XTextReader reader(begin, begin + text.size());
  reader.SetSecondReader(second);
  reader.SetReadAheadMinimum(listMinimum);
  return ParseText(reader, "meshes.x");
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
  XParseResult alone = Read(text, XTextReader::SecondReader::Never);
  EXPECT_EQ(alone.ok, GetParam().succeeds) << alone.error;
  EXPECT_EQ(alone.meshesReadAhead, 0u);
  XParseResult split = Read(text, XTextReader::SecondReader::Always);
  ExpectSameParse(split, alone);
  EXPECT_GT(split.meshesReadAhead, 0u);
}

// Meshes whose lists are long enough to be read in two halves start no
// second reader of meshes: the two would share one spare core.
TEST(MeshesAheadStart, NotWhereListsAreReadInTwoHalves) {
  std::string text = FileText([](int, MeshParts&) {});
  XParseResult alone = Read(text, XTextReader::SecondReader::Never);
  XParseResult lists = Read(text, XTextReader::SecondReader::Always, 16);
  EXPECT_TRUE(lists.ok) << lists.error;
  EXPECT_EQ(lists.meshesReadAhead, 0u);
  EXPECT_EQ(lists.mesh.vertexBytes, alone.mesh.vertexBytes);
}

// A strip of `count` vertices and count - 2 triangles.
std::string StripMesh(int count) {
  std::string text = "Mesh Strip {\n" + std::to_string(count) + ";\n";
  for (int v = 0; v < count; ++v)
    text += std::to_string(v) + ";" + std::to_string(v % 2) + ";0;" + (v + 1 < count ? ",\n" : ";\n");
  text += std::to_string(count - 2) + ";\n";
  for (int f = 0; f + 2 < count; ++f)
    text += "3;" + std::to_string(f) + "," + std::to_string(f + 1) + "," + std::to_string(f + 2) + ";" +
            (f + 3 < count ? ",\n" : ";\n");
  return text + "}\n";
}

// A mesh whose lists are long enough for two halves ends the walk of the
// second reader of meshes: the main reader reads it, and the rest, with its
// second reader of lists. Here the main reader reads the first mesh again
// and again by reference, so that the second reader meets the long one first.
TEST(MeshesAheadStart, EndsAtAMeshOfLongLists) {
  MeshParts box;
  box.materials = InlineMaterial(0);
  std::string text = "Frame Scene {\n" + MeshText(0, box) + "Frame Copies {\n";
  for (int copy = 0; copy < 5000; ++copy) text += "{ Mesh0 }\n";
  text += "}\nFrame Long {\n" + StripMesh(2000) + "}\n";
  for (int k = 1; k < 300; ++k) text += MeshText(k, box);
  text += "}\n";
  XParseResult alone = Read(text, XTextReader::SecondReader::Never, 4096);
  XParseResult split = Read(text, XTextReader::SecondReader::Always, 4096);
  EXPECT_TRUE(split.ok) << split.error;
  ExpectSameParse(split, alone);
  EXPECT_EQ(split.meshesReadAhead, 0u);
}

// The second reader keeps at most kMostWaiting meshes aside: it waits to
// claim the next until the main reader takes one.
TEST(MeshesAheadQueue, KeepsAtMostSoManyMeshesAside) {
  constexpr size_t kBodies = 3 * XMeshesAhead::kMostWaiting;
  std::atomic<size_t> claimed{0};
  XMeshesAhead ahead;
  ASSERT_TRUE(ahead.Start([&](XMeshesAhead& second) {
    for (size_t body = 1; body <= kBodies && second.Claim(body); ++body) {
      claimed.fetch_add(1);
      XMeshAhead mesh;
      mesh.body = body;
      mesh.read = true;
      second.Hand(std::move(mesh));
    }
  }));
  auto until = [&](size_t count) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (claimed.load() < count && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  };
  until(XMeshesAhead::kMostWaiting);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(claimed.load(), XMeshesAhead::kMostWaiting);
  for (size_t body = 1; body <= XMeshesAhead::kMostWaiting; ++body) {
    XMeshAhead mesh;
    ASSERT_TRUE(ahead.Take(body, mesh)) << body;
    EXPECT_EQ(mesh.body, body);
  }
  until(XMeshesAhead::kMostWaiting + 1);
  EXPECT_GT(claimed.load(), XMeshesAhead::kMostWaiting) << "taken, the meshes make room for more";
}

INSTANTIATE_TEST_SUITE_P(Files, MeshesAhead, testing::ValuesIn(kCases), [](const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

}  // namespace
