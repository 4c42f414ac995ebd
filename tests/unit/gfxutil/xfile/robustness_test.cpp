// Malformed files fail with a reason and a place, quickly and without a crash.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "gfxutil/d3dx_mesh.h"
#include "gfxutil/xfile/mapped_file.h"
#include "gfxutil/xfile/token.h"
#include "platform/d3d/gl_device.h"
#include "recording_device.h"
#include "scratch_directory.h"
#include "taken_notes.h"
#include "xfile_test_support.h"

namespace {

const std::string kHeader = "xof 0303txt 0032\n";

void ExpectFailure(const std::vector<uint8_t>& file, const std::string& reason, const std::string& place) {
  XMeshData mesh;
  std::string error;
  EXPECT_TRUE(FAILED(ReadX(file, mesh, &error))) << reason;
  EXPECT_NE(error.find(reason), std::string::npos) << error;
  EXPECT_EQ(error.rfind(place, 0), 0u) << error;
  EXPECT_TRUE(mesh.vertexBytes.empty());
}

void ExpectFailure(const std::string& text, const std::string& reason, const std::string& place) {
  ExpectFailure(Bytes(text), reason, place);
}

TEST(XFileRobustness, CountsLargerThanTheRestOfTheFileFailBeforeAnyAllocation) {
  const std::string triangle = "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;";
  ExpectFailure(kHeader + "Mesh {1000000; 0;0;0;;}", "vertex count 1000000 is larger", "line 2");
  ExpectFailure(kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;;\n4294967295; 3;0,1,2;;}", "face count", "line 3");
  ExpectFailure(kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 4000000000;0,1,2;;}", "corner count", "line 2");
  ExpectFailure(kHeader + triangle + "\nMeshNormals { 700000000; 0;0;1;; } }", "normal count", "line 3");
  ExpectFailure(kHeader + triangle + "\nMeshTextureCoords { 700000000; 0;0;; } }", "texture coordinate count",
                "line 3");
  ExpectFailure(kHeader + triangle + "\nMeshVertexColors { 700000000; 0;1;1;1;1;;; } }", "vertex colour count",
                "line 3");
  ExpectFailure(kHeader + triangle + "\nMeshMaterialList { 1; 700000000; 0;; } }", "material index count", "line 3");

  BinaryX x;
  x.Name("Mesh").Open().Token(6).Count(0x40000000).Count(3);
  ExpectFailure(x.bytes(), "list of 1073741824 values runs past the end", "offset 28");
  BinaryX name;
  name.Token(1).Count(0xFFFFFFF0u);
  ExpectFailure(name.bytes(), "longer than its limit", "offset 16");
}

// A mesh of one polygon with `corners` corners over three vertices: a fan of corners - 2 triangles.
std::vector<uint8_t> Fan(uint32_t corners) {
  std::vector<uint32_t> faces{1, corners};
  for (uint32_t i = 0; i < corners; ++i) faces.push_back(i % 3);
  BinaryX x;
  x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers(faces).Close();
  return x.bytes();
}

// A model within the limits draws each material's faces in one call.
static_assert(kXMaxModelFaces <= kMaxPrimitiveCount);

TEST(XFileRobustness, AModelBeyondItsLimitsFailsBeforeReadingOn) {
  const std::string triangle = "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;";
  ExpectFailure(kHeader + "Mesh {50000000; 0;0;0;;}", "vertex count 50000000 is more than a model may have (2097152 in all)",
                "line 2");
  ExpectFailure(kHeader + triangle + "\nMeshNormals { 5000000; 0;0;1;; } }",
                "normal count 5000000 is more than a model may have (4194304 in all)", "line 3");
  BinaryX faces;
  faces.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers({10000000, 3, 0, 1, 2});
  ExpectFailure(faces.bytes(), "face count 10000000 is more than a model may have (1048575 in all)", "offset");
  // The limits hold for the triangles that polygons make, and for all meshes together.
  ExpectFailure(Fan(kXMaxModelFaces + 3), "the faces make more triangles than a model may have (1048575 in all)",
                "offset");
  XMeshData mesh;
  ASSERT_EQ(ReadX(Fan(kXMaxModelFaces + 2), mesh), D3D_OK);
  EXPECT_EQ(mesh.FaceCount(), kXMaxModelFaces);
  // A fan four triangles short of the limit, then a mesh of a quad and triangles in one list.
  auto fanAndTriangles = [](uint32_t triangles) {
    std::vector<uint32_t> fan{1, kXMaxModelFaces - 2}, faces{triangles + 1, 4, 0, 1, 2, 0};
    for (uint32_t i = 0; i < kXMaxModelFaces - 2; ++i) fan.push_back(i % 3);
    for (uint32_t i = 0; i < triangles; ++i) faces.insert(faces.end(), {3, 0, 1, 2});
    BinaryX x;
    x.Name("Frame").Open();
    for (const std::vector<uint32_t>* list : {&fan, &faces})
      x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers(*list).Close();
    x.Close();
    return x.bytes();
  };
  ASSERT_EQ(ReadX(fanAndTriangles(2), mesh), D3D_OK);
  EXPECT_EQ(mesh.FaceCount(), kXMaxModelFaces);
  ExpectFailure(fanAndTriangles(3), "the faces make more triangles than a model may have", "offset");
  const uint32_t half = kXMaxModelVertices / 2 + 1;
  BinaryX twice;
  twice.Name("Frame").Open().Name("Mesh").Name("big").Open().Integers({half}).Floats(std::vector<float>(half * 3));
  twice.Integers({1, 3, 0, 1, 2}).Close().Open().Name("big").Close().Close();
  ExpectFailure(twice.bytes(), "vertex count 1048577 is more than a model may have", "offset");

  std::vector<uint8_t> compressed = CompressX(Bytes(kHeader + triangle + "}"));
  const uint8_t declared300MiB[] = {0x00, 0x00, 0xC0, 0x12};
  std::copy(std::begin(declared300MiB), std::end(declared300MiB), compressed.begin() + 16);
  ExpectFailure(compressed, "decompressed size 314572800 is more than the 268435456 bytes the viewer inflates",
                "offset 16");
}

TEST(XFileRobustness, IndexesOutOfRangeNameTheirLine) {
  ExpectFailure(kHeader + "Mesh {\n3;\n0;0;0;,\n1;0;0;,\n1;1;0;;\n2;\n3;0,1,2;,\n3;0,3,1;;\n}",
                "face index 3 is beyond the 3 vertices", "line 9");
  BinaryX x;
  x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 9}).Close();
  ExpectFailure(x.bytes(), "face index 9 is beyond the 3 vertices", "offset");
}

TEST(XFileRobustness, NormalFacesMustFitTheMeshFacesAndTheNormals) {
  auto mesh = [](const std::vector<uint32_t>& faces, const std::vector<uint32_t>& normalFaces) {
    BinaryX x;
    x.Name("Mesh").Open().Integers({4}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0}).Integers(faces);
    x.Name("MeshNormals").Open().Integers({1}).Floats({0, 0, 1}).Integers(normalFaces).Close().Close();
    return x.bytes();
  };
  ExpectFailure(mesh({2, 3, 0, 1, 2, 4, 0, 1, 2, 3}, {2, 3, 0, 0, 0, 3, 0, 0, 0}),
                "a MeshNormals face has 3 corners, the mesh face 4", "offset");
  ExpectFailure(mesh({2, 3, 0, 1, 2, 3, 0, 2, 3}, {2, 3, 0, 0, 0, 3, 0, 5, 0}), "normal index 5 is beyond the 1 normals",
                "offset");
}

struct PlaceCase {
  std::vector<uint8_t> file;
  const char* place;
  unsigned line;
  const char* what;
};

TEST(XFileRobustness, TheFailureKeepsItsPlaceApartFromItsReason) {
  BinaryX binary;
  binary.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 9}).Close();
  const PlaceCase cases[] = {
      {Bytes(kHeader + "Mesh {\n3; 0;0;0;, 1;0;0;, 1;1;0;;\n1; 3;0,1,7;;\n}"), "line 4", 4,
       "face index 7 is beyond the 3 vertices"},
      {Bytes("xof 0303zip 0032\n"), "", 0, "unknown X file encoding"},
      {Bytes(kHeader + "Frame {}"), "", 0, "the file holds no mesh with vertices"},
      {binary.bytes(), "offset", 0, "face index 9 is beyond the 3 vertices"},
  };
  for (const PlaceCase& c : cases) {
    XMeshData mesh;
    XReadError error;
    EXPECT_TRUE(FAILED(ReadXFileMemory(c.file, mesh, error))) << c.what;
    EXPECT_EQ(error.place.rfind(c.place, 0), 0u) << error.place;
    EXPECT_EQ(error.line, c.line) << c.what;
    EXPECT_EQ(error.what, c.what);
    EXPECT_EQ(error.Text(), error.place.empty() ? error.what : error.place + ": " + error.what);
  }
}

TEST(XFileRobustness, NestingIsBounded) {
  std::string deepFrames, deepUnknown, fine;
  for (int i = 0; i < 100000; ++i) deepFrames += "Frame {";
  for (int i = 0; i < 100000; ++i) deepUnknown += "Thing {";
  ExpectFailure(kHeader + deepFrames, "nested more than 256 deep", "line 2");
  ExpectFailure(kHeader + deepUnknown, "nested more than 256 deep", "line 2");
  BinaryX x;
  for (int i = 0; i < 100000; ++i) x.Name("Thing").Open();
  ExpectFailure(x.bytes(), "nested more than 256 deep", "offset");

  for (int i = 0; i < 200; ++i) fine += "Frame {";
  fine += "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;}" + std::string(200, '}');
  XMeshData mesh;
  EXPECT_EQ(ReadX(kHeader + fine, mesh), D3D_OK);
}

TEST(XFileRobustness, NamesAndStringsAreBounded) {
  ExpectFailure(kHeader + "Mesh " + std::string(600, 'n') + " {}", "name longer than 512 bytes", "line 2");
  ExpectFailure(kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; MeshMaterialList {1;1;0;;\n"
                          "Material {1;1;1;1;;0;0;0;0;;0;0;0;; TextureFilename { \"" +
                    std::string(5000, 'x') + "\"; } } } }",
                "string longer than 4096 bytes", "line 3");
  ExpectFailure(kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; Thing { \"never closed } }", "unterminated",
                "line 2");
}

TEST(XFileRobustness, ReferencesCannotMultiplyTheWork) {
  // Each frame refers twice to the one before: 2^40 meshes if followed blindly.
  std::string text = kHeader + "Frame f0 { Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;} }\n";
  for (int i = 1; i <= 40; ++i)
    text += "Frame f" + std::to_string(i) + " { {f" + std::to_string(i - 1) + "} {f" + std::to_string(i - 1) + "} }\n";
  auto start = std::chrono::steady_clock::now();
  ExpectFailure(text, "references repeat more data than the file holds", "line");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// Every truncation of a good file fails cleanly (or, for the whole file, loads).
TEST(XFileRobustness, EveryPrefixOfAGoodFileFailsCleanly) {
  XTestModel model = GridModel(2, 2, 2);
  std::vector<uint8_t> text = Bytes(TextX(model));
  std::vector<uint8_t> binary = BinaryXFile(model);
  for (const auto& file : {text, binary, CompressX(text, 200), CompressX(binary, 100)}) {
    for (size_t length = 0; length < file.size(); ++length) {
      XMeshData mesh;
      std::string error;
      HRESULT result = ReadX(std::vector<uint8_t>(file.begin(), file.begin() + static_cast<ptrdiff_t>(length)), mesh,
                             &error);
      if (SUCCEEDED(result)) {
        // Only a text file missing nothing but its last line end may load.
        ASSERT_EQ(std::string(file.begin() + static_cast<ptrdiff_t>(length), file.end()), "\n");
        continue;
      }
      ASSERT_FALSE(error.empty()) << length;
    }
    XMeshData mesh;
    EXPECT_EQ(ReadX(file, mesh), D3D_OK);
  }
}

TEST(XFileRobustness, AFileRewrittenInPlaceAfterItWasOpenedKeepsItsBytesForTheReader) {
  ScratchDirectory scratch;
  std::string model = kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;}\n" + std::string(20000, ' ');
  scratch.Write("Model.x", model);
  XMappedFile file;
  std::string error;
  ASSERT_TRUE(file.Open("Model.x", error)) << error;
  std::filesystem::resize_file("Model.x", 0);  // an exporter starting to save again
  scratch.Write("Model.x", "xof");
  std::span<const uint8_t> bytes = file.Bytes();
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), model);
}

// A second reader gives back the mapped pages it has read, from where it
// began on: what lies before is the main reader's to give back.
TEST(XFileRobustness, ASecondReaderGivesBackTheMappedPagesItRead) {
  constexpr size_t kMiB = 1u << 20;
  const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
  ScratchDirectory scratch;
  scratch.Write("Model.x", std::string(6 * kMiB, ' '));
  XMappedFile file;
  std::string error;
  ASSERT_TRUE(file.Open("Model.x", error)) << error;
  const uint8_t* bytes = file.Bytes().data();
  for (size_t at = 0; at < 6 * kMiB; at += page) static_cast<void>(*static_cast<const volatile uint8_t*>(bytes + at));
  XSecondReaderPager second(&file, 4 * kMiB);
  second.ReleaseBefore(5 * kMiB);
  int pagemap = open("/proc/self/pagemap", O_RDONLY | O_CLOEXEC);
  if (pagemap < 0) GTEST_SKIP() << "no page map to read";
  auto mapped = [&](size_t at) {
    uint64_t entry = 0;
    pread(pagemap, &entry, sizeof entry, static_cast<off_t>(reinterpret_cast<uintptr_t>(bytes + at) / page * 8));
    return entry >> 63 != 0;
  };
  EXPECT_TRUE(mapped(3 * kMiB));
  EXPECT_FALSE(mapped(4 * kMiB));
  EXPECT_FALSE(mapped(5 * kMiB - page));
  close(pagemap);
}

// A large file is mapped, not copied; a rewrite that cuts it short leaves the
// reader zeros where the cut pages were, which it reports, instead of ending
// the program.
TEST(XFileRobustness, ALargeFileCutShortWhileItIsReadFailsCleanly) {
  ScratchDirectory scratch;
  std::string model = kHeader + "Mesh {3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;;" +
                      std::string(XMappedFile::kReadWholeLimit, ' ') + "}\n";
  scratch.Write("Model.x", model);
  XMappedFile file;
  std::string error;
  ASSERT_TRUE(file.Open("Model.x", error)) << error;
  std::filesystem::resize_file("Model.x", 100);  // an exporter starting to save again
  XMeshData mesh;
  XReadError readError;
  EXPECT_TRUE(FAILED(ReadXFileMemory(file.Bytes(), mesh, readError, "Model.x")));
  EXPECT_NE(readError.Text().find("unexpected the end of the file"), std::string::npos) << readError.Text();
}

TEST(XFileRobustness, LoadFailureNotesFileAndReason) {
  RecordingDevice device;
  TempFile file("broken.x", kHeader + "Mesh {\n3; 0;0;0;, 1;0;0;, 1;1;0;;\n1; 3;0,1,7;;\n}");
  ID3DXMesh* mesh = reinterpret_cast<ID3DXMesh*>(1);
  ID3DXBuffer* materials = reinterpret_cast<ID3DXBuffer*>(1);
  DWORD count = 99;
  LoadNotes notes;
  EXPECT_EQ(D3DXLoadMeshFromX(file.path(), D3DXMESH_SYSTEMMEM, &device, nullptr, &materials, &count, &mesh, &notes),
            E_FAIL);
  EXPECT_EQ(mesh, nullptr);
  EXPECT_EQ(materials, nullptr);
  EXPECT_EQ(count, 0u);
  EXPECT_EQ(NotesText(notes), std::string(file.path()) + ": line 4: face index 7 is beyond the 3 vertices\n");
  ASSERT_TRUE(notes.Fatal().has_value());
  EXPECT_EQ(notes.Fatal()->code, FindingCode::kModelUnreadable);
  EXPECT_EQ(notes.Fatal()->objectPath, "Mesh");

  LoadNotes missing;
  EXPECT_EQ(D3DXLoadMeshFromX("/nonexistent/Model.x", 0, &device, nullptr, nullptr, nullptr, &mesh, &missing), E_FAIL);
  EXPECT_EQ(NotesText(missing), "/nonexistent/Model.x: cannot open the file: No such file or directory\n");
  EXPECT_EQ(D3DXLoadMeshFromX(file.path(), 0, nullptr, nullptr, nullptr, nullptr, &mesh), D3DERR_INVALIDCALL);
  EXPECT_EQ(device.ExtraReferences(), 0);
}

}  // namespace

namespace {

struct ObjectPathCase {
  const char* body;  // after the header
  const char* objectPath;
};

// A fault names the objects it stands in, references and names included.
TEST(XFileRobustness, AFaultNamesTheObjectsItStandsIn) {
  const ObjectPathCase cases[] = {
      {"Frame Body { Mesh body { 3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 5;; } } }",
       "Frame Body/Mesh body/MeshMaterialList"},
      {"Mesh { 3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,9;; }", "Mesh"},
      {"Frame A { Frame B { FrameTransformMatrix { 1; } } }", "Frame A/Frame B/FrameTransformMatrix"},
      {"Material red { 1;0;0;1;; 5; 0;0;0;; 0;0;0;; }\n"
       "Mesh m { 3; 0;0;0;, 1;0;0;, 1;1;0;; 1; 3;0,1,2;; MeshMaterialList { 1; 1; 0;; {red} {red} } }",
       "Mesh m/MeshMaterialList/{red}"},  // the second reference is one Material too many
      {"}", ""},
  };
  for (const ObjectPathCase& c : cases) {
    XMeshData mesh;
    XReadError error;
    const std::string file = kHeader + c.body;
    std::span<const uint8_t> bytes(reinterpret_cast<const uint8_t*>(file.data()), file.size());
    EXPECT_TRUE(FAILED(ReadXFileMemory(bytes, mesh, error, "Model.x"))) << c.body;
    EXPECT_EQ(error.objectPath, c.objectPath) << c.body << ": " << error.Text();
  }
}

}  // namespace
