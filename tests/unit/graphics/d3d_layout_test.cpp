#include <gtest/gtest.h>

#include "platform/d3d/primitive_batch.h"
#include "platform/d3d/sdl_formats.h"
#include "platform/d3d/texture_layout.h"
#include "platform/d3d/vertex_format.h"

namespace {

TEST(VertexFormatTest, ElementsFollowEachOtherInTheirFixedOrder) {
  VertexFormat full = DescribeVertexFormat(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  ASSERT_TRUE(full.valid);
  EXPECT_FALSE(full.pretransformed);
  EXPECT_EQ(full.normalOffset, 12);
  EXPECT_EQ(full.diffuseOffset, 24);
  EXPECT_EQ(full.texCoordOffset, 28);
  EXPECT_EQ(full.stride, 36u);

  VertexFormat line = DescribeVertexFormat(0x42);
  EXPECT_EQ(line.diffuseOffset, 12);
  EXPECT_EQ(line.normalOffset, -1);
  EXPECT_EQ(line.stride, 16u);

  VertexFormat mesh = DescribeVertexFormat(D3DFVF_XYZ | D3DFVF_NORMAL | D3DFVF_TEX1);
  EXPECT_EQ(mesh.texCoordOffset, 24);
  EXPECT_EQ(mesh.stride, 32u);

  VertexFormat screen = DescribeVertexFormat(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1);
  EXPECT_TRUE(screen.pretransformed);
  EXPECT_EQ(screen.diffuseOffset, 16);
  EXPECT_EQ(screen.texCoordOffset, 20);
  EXPECT_EQ(screen.stride, 28u);
}

TEST(VertexFormatTest, FormatsThatCannotBeDrawnAreInvalid) {
  EXPECT_FALSE(DescribeVertexFormat(0).valid);
  EXPECT_FALSE(DescribeVertexFormat(D3DFVF_DIFFUSE).valid);
  EXPECT_FALSE(DescribeVertexFormat(D3DFVF_XYZ | D3DFVF_XYZRHW).valid);
  EXPECT_FALSE(DescribeVertexFormat(D3DFVF_XYZRHW | D3DFVF_NORMAL).valid);
  EXPECT_FALSE(DescribeVertexFormat(D3DFVF_XYZ | 0x200).valid);  // a second texture coordinate set
}

TEST(VertexFormatTest, VertexCountsOfThePrimitiveTypes) {
  EXPECT_EQ(VertexCountOf(D3DPT_LINELIST, 3), 6u);
  EXPECT_EQ(VertexCountOf(D3DPT_LINESTRIP, 3), 4u);
  EXPECT_EQ(VertexCountOf(D3DPT_LINESTRIP, 0), 0u);
  EXPECT_EQ(VertexCountOf(D3DPT_TRIANGLELIST, 2), 6u);
  EXPECT_EQ(VertexCountOf(static_cast<D3DPRIMITIVETYPE>(5), 2), 0u);  // strips of triangles are not drawn
}

TEST(TextureLayoutTest, CompressedRowsAreRowsOfWholeBlocks) {
  TextureLayout dxt1 = DescribeTexture(6, 5, D3DFMT_DXT1);
  ASSERT_TRUE(dxt1.valid);
  EXPECT_TRUE(dxt1.compressed);
  EXPECT_EQ(dxt1.pitch, 16u);  // two blocks of 8 bytes
  EXPECT_EQ(dxt1.rows, 2u);
  EXPECT_EQ(dxt1.OffsetOf(5, 4), 16u + 8u);
  TextureLayout dxt5 = DescribeTexture(1, 1, D3DFMT_DXT5);
  EXPECT_EQ(dxt5.pitch, 16u);
  EXPECT_EQ(dxt5.Size(), 16u);
  TextureLayout argb = DescribeTexture(3, 2, D3DFMT_A8R8G8B8);
  EXPECT_EQ(argb.pitch, 12u);
  EXPECT_EQ(argb.OffsetOf(2, 1), 20u);
  EXPECT_EQ(DescribeTexture(3, 2, D3DFMT_R5G6B5).pitch, 6u);
}

TEST(TextureLayoutTest, SizesAndFormatsOutOfRangeAreInvalid) {
  EXPECT_FALSE(DescribeTexture(0, 4, D3DFMT_A8R8G8B8).valid);
  EXPECT_FALSE(DescribeTexture(4, kMaxTextureSize + 1, D3DFMT_A8R8G8B8).valid);
  EXPECT_TRUE(DescribeTexture(kMaxTextureSize, kMaxTextureSize, D3DFMT_DXT1).valid);
  EXPECT_FALSE(DescribeTexture(4, 4, D3DFMT_D24S8).valid);
  EXPECT_FALSE(DescribeTexture(4, 4, D3DFMT_UNKNOWN).valid);
}

TEST(TextureLayoutTest, LevelCountsEndAtOnePixel) {
  EXPECT_EQ(FullLevelCount(256, 64, 0), 9u);
  EXPECT_EQ(FullLevelCount(1, 1, 0), 1u);
  EXPECT_EQ(FullLevelCount(256, 256, 3), 3u);
  EXPECT_EQ(FullLevelCount(4, 4, 10), 3u);
}

TEST(SdlFormatTest, DisplayFormatsAreNamedByTheirLayout) {
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_RGB888), D3DFMT_X8R8G8B8);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_BGR888), D3DFMT_X8R8G8B8);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_ARGB8888), D3DFMT_A8R8G8B8);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_ARGB2101010), D3DFMT_A8R8G8B8);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_RGB565), D3DFMT_R5G6B5);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_RGB555), D3DFMT_X1R5G5B5);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_ARGB1555), D3DFMT_A1R5G5B5);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_RGB24), D3DFMT_R8G8B8);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_UNKNOWN), D3DFMT_UNKNOWN);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_INDEX8), D3DFMT_UNKNOWN);
  EXPECT_EQ(D3DFormatOfSdl(SDL_PIXELFORMAT_YV12), D3DFMT_UNKNOWN);
}

TEST(PrimitiveBatchTest, JoinsOnlyListsOfTheSameKind) {
  PrimitiveBatch batch;
  EXPECT_TRUE(batch.Accepts(D3DPT_LINELIST, 0x42, 16));
  EXPECT_FALSE(batch.Accepts(D3DPT_LINESTRIP, 0x42, 16));
  const uint8_t vertices[32] = {};
  batch.Add(D3DPT_LINELIST, 0x42, 16, vertices, 2);
  batch.Add(D3DPT_LINELIST, 0x42, 16, vertices, 2);
  EXPECT_EQ(batch.VertexCount(), 4u);
  EXPECT_EQ(batch.Bytes().size(), 64u);
  EXPECT_TRUE(batch.Accepts(D3DPT_LINELIST, 0x42, 16));
  EXPECT_FALSE(batch.Accepts(D3DPT_TRIANGLELIST, 0x42, 16));
  EXPECT_FALSE(batch.Accepts(D3DPT_LINELIST, 0x142, 24));
  EXPECT_FALSE(batch.Accepts(D3DPT_LINELIST, 0x42, 20));
  batch.Clear();
  EXPECT_TRUE(batch.Empty());
  EXPECT_TRUE(batch.Accepts(D3DPT_TRIANGLELIST, 0x142, 24));
}

TEST(PrimitiveBatchTest, AFullBatchTakesNoMore) {
  PrimitiveBatch batch;
  std::vector<uint8_t> vertices(PrimitiveBatch::kMaxBytes);
  batch.Add(D3DPT_TRIANGLELIST, 0x42, 16, vertices.data(), static_cast<UINT>(vertices.size() / 16));
  EXPECT_FALSE(batch.Accepts(D3DPT_TRIANGLELIST, 0x42, 16));
}

}  // namespace
