#include <gtest/gtest.h>

#include "gfxutil/image/decode.h"
#include "gfxutil/image/tga.h"
#include "image_test_support.h"
#include "test_paths.h"

namespace {

constexpr uint8_t kTopToBottom = 0x20, kRightToLeft = 0x10;

struct TgaImage {
  uint8_t imageType = 2;
  uint16_t width = 1, height = 1;
  uint8_t pixelBits = 24;
  uint8_t descriptor = 0;
  Bytes id{};
  uint16_t mapFirst = 0;
  uint8_t mapEntryBits = 0;
  Bytes colourMap{};  // entries as stored
  uint16_t mapLength = 0;
};

Bytes Tga(const TgaImage& tga, const Bytes& pixels) {
  ByteWriter w;
  w.U8({static_cast<uint8_t>(tga.id.size()), static_cast<uint8_t>(tga.mapEntryBits ? 1 : 0), tga.imageType});
  w.U16(tga.mapFirst).U16(tga.mapLength).U8({tga.mapEntryBits});
  w.U16(0).U16(0).U16(tga.width).U16(tga.height).U8({tga.pixelBits, tga.descriptor});
  for (const Bytes* part : {&tga.id, &tga.colourMap, &pixels}) w.bytes.insert(w.bytes.end(), part->begin(), part->end());
  return w.bytes;
}

DecodedImage DecodeOk(const Bytes& file) {
  EXPECT_TRUE(IsTga(file));
  return DecodeOkWith(DecodeTga, file);
}

std::string DecodeError(const Bytes& file) { return DecodeErrorWith(DecodeTga, file); }

TEST(TgaDecode, TrueColourInEachOrigin) {
  Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};  // 2x2, B G R in file order
  TgaImage tga{.width = 2, .height = 2, .pixelBits = 24, .id = {'h', 'i'}};
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, pixels))),  // bottom-left origin: the first row is the bottom one
            (std::vector<uint32_t>{0xFF090807, 0xFF0C0B0A, 0xFF030201, 0xFF060504}));
  tga.descriptor = kTopToBottom;
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, pixels))),
            (std::vector<uint32_t>{0xFF030201, 0xFF060504, 0xFF090807, 0xFF0C0B0A}));
  tga.descriptor = kTopToBottom | kRightToLeft;
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, pixels))),
            (std::vector<uint32_t>{0xFF060504, 0xFF030201, 0xFF0C0B0A, 0xFF090807}));
}

TEST(TgaDecode, AlphaIn32And16BitPixels) {
  TgaImage tga{.width = 1, .height = 1, .pixelBits = 32, .descriptor = 8};
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, {1, 2, 3, 0x40}))), std::vector<uint32_t>{0x40030201});

  // A1R5G5B5: 0x7C00 red without the alpha bit, 0x801F blue with it.
  TgaImage sixteen{.width = 2, .height = 1, .pixelBits = 16, .descriptor = 1};
  EXPECT_EQ(Pixels(DecodeOk(Tga(sixteen, {0x00, 0x7C, 0x1F, 0x80}))), (std::vector<uint32_t>{0x00FF0000, 0xFF0000FF}));
  sixteen.descriptor = 0;  // no attribute bits: the top bit is not alpha
  EXPECT_EQ(Pixels(DecodeOk(Tga(sixteen, {0x00, 0x7C, 0x1F, 0x80}))), (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
}

TEST(TgaDecode, RunLengthPacketsAcrossRows) {
  // 3x2 top-down: a run of 4 pixels crosses into the second row, then 2 literals.
  TgaImage tga{.imageType = 10, .width = 3, .height = 2, .pixelBits = 24, .descriptor = kTopToBottom};
  Bytes packets = {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9};
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, packets))),
            (std::vector<uint32_t>{0xFF030201, 0xFF030201, 0xFF030201, 0xFF030201, 0xFF060504, 0xFF090807}));
}

TEST(TgaDecode, ColourMappedWithFirstIndex) {
  // Map entries 5 and 6 (24-bit); pixel indices refer to them by those numbers.
  TgaImage tga{.imageType = 1, .width = 3, .height = 1, .pixelBits = 8, .descriptor = kTopToBottom,
               .mapFirst = 5, .mapEntryBits = 24, .colourMap = {10, 20, 30, 40, 50, 60}, .mapLength = 2};
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, {6, 5, 9}))), (std::vector<uint32_t>{0xFF3C3228, 0xFF1E140A, 0xFF000000}));
  tga.imageType = 9;  // run-length: a run of 3 of entry 6
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, {0x82, 6}))), (std::vector<uint32_t>(3, 0xFF3C3228)));
}

TEST(TgaDecode, GreyPlainAndRunLength) {
  TgaImage tga{.imageType = 3, .width = 2, .height = 1, .pixelBits = 8};
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, {0x10, 0xF0}))), (std::vector<uint32_t>{0xFF101010, 0xFFF0F0F0}));
  tga.imageType = 11;
  tga.pixelBits = 16;  // grey and alpha
  EXPECT_EQ(Pixels(DecodeOk(Tga(tga, {0x81, 0x20, 0x80}))), (std::vector<uint32_t>(2, 0x80202020)));
}

TEST(TgaDecode, DamagedFilesFailWithReason) {
  TgaImage tga{.width = 4, .height = 4, .pixelBits = 24};
  EXPECT_NE(DecodeError(Tga(tga, Bytes(47, 0))).find("truncated"), std::string::npos);
  tga.imageType = 10;
  EXPECT_NE(DecodeError(Tga(tga, {0x87, 1, 2, 3, 0x80})).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Tga(tga, {0x8F})).find("truncated"), std::string::npos);
  TgaImage mapped{.imageType = 1, .width = 1, .height = 1, .pixelBits = 8, .mapEntryBits = 24, .mapLength = 300};
  EXPECT_NE(DecodeError(Tga(mapped, {0})).find("colour map"), std::string::npos);
  TgaImage odd{.width = 1, .height = 1, .pixelBits = 12};
  EXPECT_FALSE(IsTga(Tga(odd, {0, 0})));
  EXPECT_FALSE(DecodeError(Tga(odd, {0, 0})).empty());
  EXPECT_FALSE(DecodeError(Bytes(10, 0)).empty());
}

TEST(TgaDecode, SharedSamplesFromAnotherTool) {
  for (const char* name : {"x-peer/top.tga", "x-peer/bottom.tga", "x-peer/updown.tga"}) {
    DecodedImage image;
    std::string error;
    ASSERT_TRUE(LoadImageFile(TestDataPath(name), image, error)) << name << ": " << error;
    EXPECT_EQ(image.width, 256u);
    EXPECT_EQ(image.height, 256u);
  }
}

}  // namespace
