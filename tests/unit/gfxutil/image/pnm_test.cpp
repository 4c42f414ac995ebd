#include <gtest/gtest.h>

#include "gfxutil/image/pnm.h"
#include "image_test_support.h"

namespace {

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Binary(const std::string& header, const Bytes& samples) {
  Bytes file = Text(header);
  file.insert(file.end(), samples.begin(), samples.end());
  return file;
}

std::vector<uint32_t> DecodeOk(const Bytes& file) {
  EXPECT_TRUE(IsPnm(file));
  return Pixels(DecodeOkWith(DecodePnm, file));
}

std::string DecodeError(const Bytes& file) { return DecodeErrorWith(DecodePnm, file); }

TEST(PnmDecode, BinaryColourAndGrey) {
  EXPECT_EQ(DecodeOk(Binary("P6\n2 1\n255\n", {1, 2, 3, 0xFF, 0x80, 0})), (std::vector<uint32_t>{0xFF010203, 0xFFFF8000}));
  // The one white-space byte after the header may be followed by a sample that looks like white space.
  EXPECT_EQ(DecodeOk(Binary("P5 2 1 255\n", {'\n', 0xFF})), (std::vector<uint32_t>{0xFF0A0A0A, 0xFFFFFFFF}));
}

TEST(PnmDecode, PlainTextWithComments) {
  EXPECT_EQ(DecodeOk(Text("P3\n# made by hand\n2 1 # size\n255\n255 0 0\n  0 0 255\n")),
            (std::vector<uint32_t>{0xFFFF0000, 0xFF0000FF}));
  EXPECT_EQ(DecodeOk(Text("P2 3 1 255 0 128 255")), (std::vector<uint32_t>{0xFF000000, 0xFF808080, 0xFFFFFFFF}));
}

TEST(PnmDecode, SamplesScaledByMaximumValue) {
  EXPECT_EQ(DecodeOk(Text("P2 3 1 15 0 5 15")), (std::vector<uint32_t>{0xFF000000, 0xFF555555, 0xFFFFFFFF}));
  // Two bytes per sample, most significant first, above 255.
  EXPECT_EQ(DecodeOk(Binary("P6 1 1 65535\n", {0xFF, 0xFF, 0x80, 0x00, 0x00, 0x00})),
            std::vector<uint32_t>{0xFFFF8000});
}

TEST(PnmDecode, DamagedFilesFailWithReason) {
  EXPECT_NE(DecodeError(Binary("P6 2 2 255\n", Bytes(11, 0))).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P3 2 1 255 1 2 3 4 5")).find("truncated"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P2 2 1 15 3 16")).find("sample"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P2 2 1 15 3 x 4 5")).find("sample"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P6 99999999999999999999 1 255\n")).find("header"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P6 16000 16000 255\n")).find("too large"), std::string::npos);
  EXPECT_NE(DecodeError(Text("P5 1 1 0\n ")).find("maximum"), std::string::npos);
  EXPECT_NE(DecodeError(Binary("P5 1 1 255x", {7})).find("header"), std::string::npos);
  EXPECT_FALSE(IsPnm(Text("P4 1 1\n")));
}

}  // namespace
