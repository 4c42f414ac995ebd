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
  return "\tFrame Part" + std::to_string(k) + " {\n" + parts.frameChildren + "\tMesh Mesh" + std::to_string(k) +
         " {\n8;\n" + corners + parts.faces + "\tMeshMaterialList {\n" + std::to_string(parts.materialCount) + ";\n" +
         parts.indexes + parts.materials + "}\n}\n}\n";
}

std::string InlineMaterial(int k, int texture) {
  return "Material Mat" + std::to_string(k) + " {\n" + std::to_string(k % 10 / 10.0) +
         ";0.5;0.25;1.0;;\n5.0;\n0.0;0.0;0.0;;\n0.0;0.0;0.0;;\nTextureFilename { \"tex" + std::to_string(texture) +
         ".png\"; }\n}\n";
}
std::string InlineMaterial(int k) { return InlineMaterial(k, k); }

using Change = std::function<void(int k, MeshParts& parts)>;

// kMeshes boxes, ten frames to a group, each box with a material named after
// it. The second reader starts after the first box; while the main reader
// reads that box again through 5,000 references, it gets ahead, however busy
// the machine.
std::string FileText(const Change& change) {
  std::string text = "Frame Scene {\n";
  for (int k = 0; k < kMeshes; ++k) {
    if (k % 10 == 0) text += "Frame Group" + std::to_string(k / 10) + " {\n";
    MeshParts parts;
    parts.materials = InlineMaterial(k);
    for (int copy = 0; copy < 5000 && k == 1; ++copy) parts.frameChildren += "{ Mesh0 }\n";
    change(k, parts);
    text += MeshText(k, parts);
    if (k % 10 == 9) text += "}\n";
  }
  return text + "}\n";
}

// Lists of this many values are read in two halves: not a box's, but a strip's.
constexpr size_t kListMinimum = 4096;

XParseResult Read(const std::string& text, XTextReader::SecondReader second) {
  const auto* begin = reinterpret_cast<const uint8_t*>(text.data());
  XTextReader reader(begin, begin + text.size());
  reader.SetSecondReader(second);
  reader.SetReadAheadMinimum(kListMinimum);
  return ParseText(reader, "meshes.x");
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

struct Case {
  const char* name;
  Change change;
  bool succeeds = true;
  bool readsAhead = true;  // whether the second reader reads any mesh
};

const Case kCases[] = {
    {"every mesh its own", [](int, MeshParts&) {}},
    // The second reader leaves this mesh to the main reader, which resolves
    // the references by what the second reader recorded.
    {"the last mesh refers to every material before it",
     [](int k, MeshParts& parts) {
       if (k != kMeshes - 1) return;
       parts.materialCount = kMeshes - 1;
       parts.indexes = "12;\n";
       for (int f = 0; f < 12; ++f) parts.indexes += std::to_string(f * 97 % (kMeshes - 1)) + (f < 11 ? "," : ";\n");
       parts.materials.clear();
       for (int m = 0; m + 1 < kMeshes; ++m) parts.materials += "{ Mat" + std::to_string(m) + " }\n";
     }},
    // As an exporter refers to a material it wrote once.
    {"every mesh refers to the first box's material",
     [](int k, MeshParts& parts) {
       if (k > 0) parts.materials = "{ Mat0 }\n";
     }},
    // Those of its meshes after the newer material the main reader reads itself.
    {"the material referred to is redefined late in the file",
     [](int k, MeshParts& parts) {
       if (k > 0) parts.materials = "{ Mat0 }\n";
       if (k == kMeshes / 2) parts.frameChildren += InlineMaterial(0, k);
     }},
    // Each reference means the material its mesh has just redefined.
    {"every mesh refers to a material it redefines",
     [](int k, MeshParts& parts) {
       if (k == 0) {
         for (int m = 1; m < kMeshes; ++m) parts.frameChildren += InlineMaterial(m, kMeshes + m);
         return;
       }
       parts.materialCount = 2;
       parts.materials += "{ Mat" + std::to_string(k) + " }\n";
     },
     true, false},
    // The second reader's references count toward the limit where one reader's would.
    {"references repeat more than the file holds",
     [](int k, MeshParts& parts) {
       if (k == 0) {
         parts.frameChildren +=
             "Material Long {1;1;1;1;; 5; 0;0;0;; 0;0;0;; TextureFilename { \"" + std::string(4000, 't') + "\"; } }\n";
         return;
       }
       parts.materialCount = 40;
       parts.materials.clear();
       for (int m = 0; m < 40; ++m) parts.materials += "{ Long }\n";
     },
     false},
    // In meshes side by side, so that the second reader claims one of them.
    {"a note in a few meshes",
     [](int k, MeshParts& parts) {
       if (k / 4 == kMeshes / 8) parts.indexes = "10;\n0,0,0,0,0,0,0,0,0,0;\n";
     }},
    {"a face beyond the vertices late in the file",
     [](int k, MeshParts& parts) {
       if (k == kMeshes * 7 / 10) parts.faces.replace(parts.faces.find("4,6,5"), 5, "4,6,9");
     },
     false},
    // The second reader meets the strip first; it leaves it, and the rest, to
    // the main reader and its second reader of lists.
    {"a mesh of long lists ends the second reader",
     [](int k, MeshParts& parts) {
       if (k == 1) parts.frameChildren += StripMesh(2000);
     },
     true, false},
};

class MeshesAhead : public testing::TestWithParam<Case> {};

TEST_P(MeshesAhead, GivesWhatOneReaderGives) {
  std::string text = FileText(GetParam().change);
  XParseResult alone = Read(text, XTextReader::SecondReader::Never);
  EXPECT_EQ(alone.ok, GetParam().succeeds) << alone.error;
  XParseResult split = Read(text, XTextReader::SecondReader::Always);
  ExpectSameParse(split, alone);
  EXPECT_EQ(split.meshesReadAhead > 0, GetParam().readsAhead) << split.meshesReadAhead;
}

// The second reader keeps at most kMostWaiting meshes aside: it claims the
// next only once the main reader takes one.
TEST(MeshesAheadQueue, KeepsAtMostSoManyMeshesAside) {
  std::atomic<size_t> claimed{0};
  XMeshesAhead ahead;
  ASSERT_TRUE(ahead.Start([&](XMeshesAhead& second) {
    for (size_t body = 1; body <= 2 * XMeshesAhead::kMostWaiting && second.Claim(body); ++body) {
      claimed.fetch_add(1);
      XMeshAhead mesh;
      mesh.body = body;
      mesh.read = true;
      second.Hand(std::move(mesh));
    }
  }));
  auto claimedAfterAWhile = [&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    return claimed.load();
  };
  EXPECT_EQ(claimedAfterAWhile(), XMeshesAhead::kMostWaiting);
  XMeshAhead first;
  ASSERT_TRUE(ahead.Take(1, first));
  EXPECT_EQ(claimedAfterAWhile(), XMeshesAhead::kMostWaiting + 1);
}

INSTANTIATE_TEST_SUITE_P(Files, MeshesAhead, testing::ValuesIn(kCases), [](const testing::TestParamInfo<Case>& info) {
  std::string name;
  for (const char* c = info.param.name; *c; ++c) name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
  return name;
});

}  // namespace
