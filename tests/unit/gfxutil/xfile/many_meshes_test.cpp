// Files of many small meshes in nested frames, as exporters write them, and
// the text forms exporters vary (line ends, indentation, number form): the
// same mesh whatever the form, and a merge whose cost grows with the meshes,
// not with their square.
#include <gtest/gtest.h>

#include "heap_counter.h"
#include "xfile_test_support.h"

namespace {

// `count` tubes of 24 x 10 vertices, each in a frame of its own moved along x,
// the frames in groups of ten.
XTestFrame Parts(uint32_t count, uint32_t materials) {
  XTestFrame root;
  root.name = "Scene";
  const XTestModel tube = TubeModel(24, 10, materials);
  for (uint32_t p = 0; p < count; ++p) {
    if (p % 10 == 0) {
      root.frames.emplace_back();
      root.frames.back().name = "Group" + std::to_string(p / 10);
      root.frames.back().matrix[13] = 2.0f;  // every group one step up
    }
    XTestFrame part;
    part.name = "Part" + std::to_string(p);
    part.matrix[12] = static_cast<float>(p);
    part.meshes.push_back(tube);
    root.frames.back().frames.push_back(std::move(part));
  }
  return root;
}

struct StyleCase {
  const char* name;
  XTextStyle style;
};

class XFileTextStyle : public testing::TestWithParam<StyleCase> {};

TEST_P(XFileTextStyle, GivesTheMeshOfThePlainForm) {
  XTestModel model = TubeModel(24, 10, 3);
  XMeshData plain, styled;
  std::string error;
  ASSERT_EQ(ReadX(TextX(model), plain, &error), D3D_OK) << error;
  ASSERT_EQ(ReadX(TextX(model, GetParam().style), styled, &error), D3D_OK) << error;
  EXPECT_EQ(styled.fvf, plain.fvf);
  EXPECT_EQ(styled.indices, plain.indices);
  EXPECT_EQ(styled.attributes, plain.attributes);
  ASSERT_EQ(styled.VertexCount(), plain.VertexCount());
  // Six decimals round what nine keep: the positions agree to the sixth.
  for (size_t i = 0; i < plain.VertexCount(); ++i) {
    const XVertex a = plain.Vertex(i), b = styled.Vertex(i);
    EXPECT_VEC3_NEAR(b.position, a.position.x, a.position.y, a.position.z, 1e-6);
    EXPECT_VEC3_NEAR(b.normal, a.normal.x, a.normal.y, a.normal.z, 1e-6);
    EXPECT_NEAR(b.u, a.u, 1e-6);
    EXPECT_NEAR(b.v, a.v, 1e-6);
  }
}

INSTANTIATE_TEST_SUITE_P(Forms, XFileTextStyle,
                         testing::Values(StyleCase{"crlf", {"\r\n", "", "%.6f"}},
                                         StyleCase{"tabs", {"\n", "\t\t", "%.6f"}},
                                         StyleCase{"spaces", {"\n", "    ", "%.6f"}},
                                         StyleCase{"nine_decimals", {"\n", "", "%.9f"}},
                                         StyleCase{"exponents", {"\n", "", "%.6e"}},
                                         StyleCase{"exporter", {"\r\n", "\t", "%.9f"}}),
                         [](const testing::TestParamInfo<StyleCase>& info) { return info.param.name; });

struct FormCase {
  const char* name;
  std::vector<uint8_t> (*write)(const XTestFrame&);
};

class XFileManyMeshes : public testing::TestWithParam<FormCase> {};

TEST_P(XFileManyMeshes, MergeEveryMeshMovedByItsFrames) {
  XMeshData mesh;
  std::string error;
  ASSERT_EQ(ReadX(GetParam().write(Parts(30, 3)), mesh, &error), D3D_OK) << error;
  EXPECT_EQ(mesh.VertexCount(), 30u * 240u);
  EXPECT_EQ(mesh.FaceCount(), 30u * 432u);
  EXPECT_EQ(mesh.materials.size(), 30u * 3u);
  // The last tube: its frame moves it 29 along x, its group's 2 up.
  const XVertex last = mesh.Vertex(mesh.VertexCount() - 1);
  const XVertex firstOfLast = mesh.Vertex(29u * 240u);
  EXPECT_NEAR(last.position.x - firstOfLast.position.x, 0.37f * std::cos(6.2831853f * 23 / 24) - 0.37f, 1e-5);
  EXPECT_NEAR(firstOfLast.position.x, 29.0f + 0.37f, 1e-5);
  EXPECT_NEAR(firstOfLast.position.y, 2.0f, 1e-5);
  // Each tube's faces refer to its own vertices, its attributes to its own materials.
  for (size_t f = 0; f < mesh.FaceCount(); ++f) {
    size_t tube = f / 432;
    for (int k = 0; k < 3; ++k) EXPECT_EQ(mesh.indices[f * 3 + k] / 240, tube) << "face " << f;
    EXPECT_EQ(mesh.attributes[f] / 3, tube) << "face " << f;
  }
}

// The bytes allocated in reading a file of many meshes are a small multiple of
// what they make; growing the merged arrays by each mesh's size would copy
// them whole for every mesh, a cost of the square of the meshes.
TEST_P(XFileManyMeshes, AllocateInProportionToTheMesh) {
  if (!heap_counter::kCounting) GTEST_SKIP() << "no heap counts under ThreadSanitizer";
  std::vector<uint8_t> file = GetParam().write(Parts(400, 1));
  XMeshData mesh;
  HRESULT result = E_FAIL;
  size_t allocated = heap_counter::AllocatedDuring([&] { result = ReadX(file, mesh); });
  ASSERT_EQ(result, D3D_OK);
  size_t made = mesh.vertexBytes.size() + (mesh.indices.size() + mesh.attributes.size()) * sizeof(uint32_t);
  EXPECT_LT(allocated, 8 * made) << allocated << " bytes allocated for a mesh of " << made;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, XFileManyMeshes,
    testing::Values(FormCase{"text", [](const XTestFrame& root) { return Bytes(TextXFrames(root)); }},
                    FormCase{"binary", [](const XTestFrame& root) { return BinaryXFrames(root); }}),
    [](const testing::TestParamInfo<FormCase>& info) { return info.param.name; });

}  // namespace
