// The header, and the MSZIP compression of tzip/bzip files.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>

#include "gfxutil/xfile/mesh_builder.h"
#include "gfxutil/xfile/mszip.h"
#include "gfxutil/xfile/objects.h"
#include "x_test_files.h"
#include "xfile_test_support.h"

namespace {

const char kTriangle[] = "Mesh {3;0.0; 0.0; 0.0;,0.0; 1.0; 0.0;,1.0; 1.0; 0.0;;1;3; 0, 1, 2;;}";

std::vector<uint8_t> Hex(const std::string& hex) {
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return bytes;
}

// The body of a compressed file (the bytes after its header), inflated whole.
bool Inflate(std::span<const uint8_t> data, std::string& body, std::string& error) {
  XInflatingBody inflating;
  if (!inflating.Start(data, false, nullptr, error) || !inflating.Finish(error)) return false;
  body.assign(reinterpret_cast<const char*>(inflating.Bytes()), inflating.Inflated());
  return true;
}

TEST(XFileHeader, ResultCodesOfMalformedHeaders) {
  struct Case {
    const char* header;
    HRESULT expected;
  } cases[] = {
      {"xOf 0303txt 0032", D3DXFERR_BADFILETYPE},     {"xof 0102txt 0032", D3DXFERR_BADFILEVERSION},
      {"xof 0303cmp 0032", D3DXFERR_BADFILETYPE},     {"xof 0303foo 0032", D3DXFERR_BADFILETYPE},
      {"xof 0303txt 0050", D3DXFERR_BADFILEFLOATSIZE}, {"xof 0303txt", D3DXFERR_BADFILETYPE},
      {"", D3DXFERR_BADFILETYPE},
  };
  for (const Case& c : cases) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(std::string(c.header) + kTriangle, mesh, &error), c.expected) << c.header;
    EXPECT_FALSE(error.empty()) << c.header;
  }
}

TEST(XFileHeader, EveryAcceptedVersionAndFloatSizeReadsTheMesh) {
  for (const char* header : {"xof 0302txt 0032", "xof 0303txt 0032", "xof 0302txt 0064", "xof 0303txt 0064"}) {
    XMeshData mesh;
    EXPECT_EQ(ReadX(std::string(header) + kTriangle, mesh), D3D_OK) << header;
    EXPECT_EQ(mesh.VertexCount(), 3u);
  }
}

TEST(XFileHeader, BareHeaderHasNoMeshAndContentMayFollowDirectly) {
  XMeshData mesh;
  EXPECT_EQ(ReadX(std::string("xof 0303txt 0032"), mesh), E_FAIL);
  EXPECT_EQ(ReadX(std::string("xof 0302txt 0064foobar;"), mesh), D3DXFERR_PARSEERROR);
}

TEST(XFileMszip, InflatesTheDocumentedExamples) {
  std::string body, error;
  ASSERT_TRUE(Inflate(Hex("110000000100050043"
                          "4BE30200"),
                      body, error))
      << error;
  EXPECT_EQ(body, "\n");

  auto file = Hex("786f662030333032747a697030303634" "2C000000" "1C00" "2000" "434BF3484D4C492D52F04FCA4A4D2EE1AAE632B45630B25630B6E6AAE5E20200");
  ASSERT_TRUE(Inflate(std::span<const uint8_t>(file).subspan(16), body, error)) << error;
  EXPECT_EQ(body, "Header Object\n{\n1; 2; 3;\n}\n\n");
  // An object of a type the loader does not use: skipped, and no mesh remains.
  XMeshData mesh;
  EXPECT_EQ(ReadX(file, mesh), E_FAIL);

  // A compressed template alone reads just as well: nothing to load, no parse error.
  std::string onlyTemplate = "xof 0302txt 0064template Header {\n<3D82AB43-62DA-11cf-AB39-0020AF71E433>\n"
                             "WORD major;\nWORD minor;\nDWORD flags;\n}\n";
  EXPECT_EQ(ReadX(CompressX(Bytes(onlyTemplate)), mesh, &error), E_FAIL);
  EXPECT_EQ(error, "the file holds no mesh with vertices");
}

TEST(XFileMszip, HistoryCarriesAcrossChunks) {
  std::string repeated;
  for (int i = 0; i < 40; ++i) repeated += "Material shared { 0.5; 0.5; 0.5; 1.0;; 8.0; 0.1; 0.1; 0.1;; 0.0; 0.0; 0.0;; }\n";
  std::vector<uint8_t> text = Bytes("xof 0303txt 0032\n" + repeated + kTriangle);
  std::vector<uint8_t> packed = CompressX(text, 256);

  // The test input is only worth something if a later chunk needs the history:
  // inflated on its own, the second chunk refers back past its start.
  size_t second = 20 + 4 + (packed[22] | packed[23] << 8);
  z_stream stream{};
  inflateInit2(&stream, -MAX_WBITS);
  std::vector<uint8_t> out(256);
  stream.next_in = packed.data() + second + 6;
  stream.avail_in = static_cast<uInt>((packed[second + 2] | packed[second + 3] << 8) - 2);
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  EXPECT_EQ(inflate(&stream, Z_FINISH), Z_DATA_ERROR);
  inflateEnd(&stream);

  std::string body, error;
  ASSERT_TRUE(Inflate(std::span<const uint8_t>(packed).subspan(16), body, error)) << error;
  EXPECT_EQ(body, std::string(text.begin() + 16, text.end()));
  XMeshData mesh;
  EXPECT_EQ(ReadX(packed, mesh), D3D_OK);
  EXPECT_EQ(mesh.VertexCount(), 3u);
}

// Each damage of a compressed file's first chunk fails the read with its offset.
void ExpectDamageReported(const std::vector<uint8_t>& packed) {
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<Case> cases;
  cases.push_back({"truncated chunk", {packed.begin(), packed.end() - 3}});
  cases.push_back({"truncated chunk header", {packed.begin(), packed.begin() + 22}});
  auto badSignature = packed;
  badSignature[24] = 'X';
  cases.push_back({"no CK signature", badSignature});
  auto corrupt = packed;
  corrupt[26] ^= 0xFF;
  corrupt[27] ^= 0xFF;
  cases.push_back({"corrupt deflate data", corrupt});
  auto shortDeclared = packed;
  shortDeclared[16] = 20;
  cases.push_back({"declared size too small", shortDeclared});
  auto longDeclared = packed;
  longDeclared[17] = 1;
  cases.push_back({"declared size too large", longDeclared});
  auto oversized = packed;
  oversized[20] = 0x01;
  oversized[21] = 0x81;
  cases.push_back({"chunk above 32 KiB", oversized});
  for (const Case& c : cases) {
    XMeshData mesh;
    std::string error;
    EXPECT_EQ(ReadX(c.bytes, mesh, &error), D3DXFERR_PARSEERROR) << c.what;
    EXPECT_NE(error.find("offset "), std::string::npos) << c.what << ": " << error;
  }
}

// Text bodies are inflated before they are read, binary ones while they are
// read: a fault of the compression is reported either way.
TEST(XFileMszip, DamagedStreamsFailWithTheirOffset) {
  BinaryX binary;
  binary.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 0, 1, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 2}).Close();
  for (const std::vector<uint8_t>& file : {Bytes(std::string("xof 0303txt 0032") + kTriangle), binary.bytes()}) {
    std::vector<uint8_t> packed = CompressX(file);
    ExpectDamageReported(packed);
  }
}

// A body of many chunks read on one thread while another inflates it gives
// the mesh of the file as stored; a chunk damaged late stops the reader at
// the bytes before it and is the fault reported.
TEST(XFileMszip, ABinaryBodyIsReadWhileAnotherThreadInflatesIt) {
  std::vector<uint8_t> plain = BinaryXFile(GridModel(60, 50, 3));
  XMeshData stored;
  ASSERT_EQ(ReadX(plain, stored), D3D_OK);
  std::vector<uint8_t> packed = CompressX(plain, 2048);
  auto readInflating = [](const std::vector<uint8_t>& file, XMeshData& mesh, std::string& fault) {
    XInflatingBody body;
    if (!body.Start(std::span<const uint8_t>(file).subspan(16), true, nullptr, fault)) return false;
    XBinaryReader reader(body.Bytes(), body.Bytes() + body.Capacity(), 4, 16, nullptr, &body);
    XMeshBuilder builder;
    bool read = ParseXObjects(reader, builder, "grid.x").ok && builder.Finish(mesh);
    return body.Finish(fault) && read;
  };
  XMeshData mesh;
  std::string fault;
  ASSERT_TRUE(readInflating(packed, mesh, fault)) << fault;
  EXPECT_EQ(mesh.vertexBytes, stored.vertexBytes);
  EXPECT_EQ(mesh.indices, stored.indices);
  EXPECT_EQ(mesh.attributes, stored.attributes);

  std::vector<uint8_t> damaged = packed;
  damaged[damaged.size() - 100] ^= 0xFF;
  EXPECT_FALSE(readInflating(damaged, mesh, fault));
  EXPECT_NE(fault.find("corrupt compressed chunk"), std::string::npos) << fault;
  std::string error;
  EXPECT_EQ(ReadX(damaged, mesh, &error), D3DXFERR_PARSEERROR);
  EXPECT_NE(error.find("corrupt compressed chunk"), std::string::npos) << error;
}

// Pages of the body behind the reader are given back; a reference brings
// them back, whole, for good.
TEST(XFileMszip, PagesGivenBackReadAgainOnceRecalled) {
  std::vector<uint8_t> plain = BinaryXFile(GridModel(60, 50, 3));
  std::vector<uint8_t> packed = CompressX(plain);
  XInflatingBody body;
  std::string error;
  ASSERT_TRUE(body.Start(std::span<const uint8_t>(packed).subspan(16), true, nullptr, error)) << error;
  const size_t size = plain.size() - 16;
  ASSERT_EQ(body.WaitFor(size), size);
  const uint8_t* bytes = body.Bytes();
  body.ReleaseBefore(size / 2);
  EXPECT_TRUE(std::all_of(bytes, bytes + size / 2 - 4096, [](uint8_t b) { return b == 0; }));
  body.Recall();
  body.ReleaseBefore(size);
  EXPECT_TRUE(std::equal(bytes, bytes + size, plain.begin() + 16));
  EXPECT_TRUE(body.Finish(error)) << error;
}

// A reference after megabytes of a compressed body finds the object and the
// names recorded before them, among names used again for other kinds.
TEST(XFileMszip, AReferenceReadsWhatTheBodyGaveBack) {
  const std::vector<float> red{1, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
  BinaryX x;
  x.Name("Material").Name("Paint").Open().Floats(red).Close();
  xtest_detail::AppendBinaryMesh(x, GridModel(160, 100, 1), "big");
  x.Name("Frame").Name("Paint").Open().Close();
  x.Name("Mesh").Open().Integers({3}).Floats({0, 0, 0, 1, 0, 0, 1, 1, 0}).Integers({1, 3, 0, 1, 2});
  x.Name("MeshMaterialList").Open().Integers({1, 1, 0}).Open().Name("Paint").Close().Close().Close();
  ASSERT_GT(x.bytes().size(), 3u << 19);  // past the first mebibyte, after which pages are given back
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(CompressX(x.bytes(), 32768, 1), mesh, &error), D3D_OK) << error;
  ASSERT_EQ(mesh.materials.size(), 2u);
  EXPECT_EQ(mesh.materials[1].material.Diffuse.r, 1.0f);
  EXPECT_EQ(mesh.materials[1].material.Diffuse.g, 0.0f);
}

// An object is recorded by the name read before its body, though its body
// ran past the pages given back: a reference after it finds it.
TEST(XFileMszip, AnObjectLongerThanWhatIsKeptIsFoundByItsName) {
  const XTestModel big = GridModel(160, 100, 1);
  BinaryX x;
  xtest_detail::AppendBinaryMesh(x, big, "big");
  x.Name("Frame").Open().Open().Name("big").Close().Close();
  ASSERT_GT(x.bytes().size(), 3u << 19);
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(CompressX(x.bytes(), 32768, 1), mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.VertexCount(), 2 * big.positions.size());
}

}  // namespace
