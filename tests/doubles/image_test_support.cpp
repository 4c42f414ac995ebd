#include "image_test_support.h"

#include <gtest/gtest.h>
#include <jpeglib.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

ByteWriter& ByteWriter::U8(std::initializer_list<uint8_t> values) {
  bytes.insert(bytes.end(), values);
  return *this;
}

ByteWriter& ByteWriter::U16(uint16_t value) { return U8({static_cast<uint8_t>(value), static_cast<uint8_t>(value >> 8)}); }

ByteWriter& ByteWriter::U32(uint32_t value) { return U16(static_cast<uint16_t>(value)).U16(static_cast<uint16_t>(value >> 16)); }

ByteWriter& ByteWriter::Text(const std::string& text) {
  bytes.insert(bytes.end(), text.begin(), text.end());
  return *this;
}

uint32_t PixelAt(const DecodedImage& image, uint32_t x, uint32_t y) {
  const uint8_t* p = &image.bytes.at((size_t{y} * image.width + x) * 4);
  return uint32_t{p[3]} << 24 | uint32_t{p[2]} << 16 | uint32_t{p[1]} << 8 | p[0];
}

std::vector<uint32_t> Pixels(const DecodedImage& image) {
  std::vector<uint32_t> pixels;
  for (uint32_t y = 0; y < image.height; ++y) {
    for (uint32_t x = 0; x < image.width; ++x) pixels.push_back(PixelAt(image, x, y));
  }
  return pixels;
}

namespace {

void AppendToBytes(png_structp png, png_bytep data, size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

}  // namespace

Bytes EncodePng(const PngImage& image) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) throw std::runtime_error("libpng could not write the test image");
  png_set_write_fn(png, &out, AppendToBytes, nullptr);
  png_set_IHDR(png, info, image.width, image.height, image.bitDepth, image.colourType,
               image.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const auto& c : image.palette) palette.push_back({c[0], c[1], c[2]});
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_color_16 grey{};
  if (image.transparentGrey >= 0) grey.gray = static_cast<png_uint_16>(image.transparentGrey);
  if (!image.paletteAlpha.empty() || image.transparentGrey >= 0) {
    png_set_tRNS(png, info, image.paletteAlpha.empty() ? nullptr : image.paletteAlpha.data(),
                 static_cast<int>(image.paletteAlpha.size()), image.transparentGrey >= 0 ? &grey : nullptr);
  }
  png_write_info(png, info);
  std::vector<png_bytep> rows;
  for (const Bytes& row : image.rows) rows.push_back(const_cast<png_bytep>(row.data()));
  png_write_image(png, rows.data());
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

Bytes EncodeJpeg(uint32_t width, uint32_t height, int components, const Bytes& samples, bool progressive) {
  jpeg_compress_struct cinfo{};
  jpeg_error_mgr errors{};
  cinfo.err = jpeg_std_error(&errors);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = width;
  cinfo.image_height = height;
  cinfo.input_components = components;
  cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 95, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < height) {
    JSAMPROW row = const_cast<JSAMPROW>(samples.data() + size_t{cinfo.next_scanline} * width * components);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  Bytes out(buffer, buffer + size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "vdl-images-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code error;
  std::filesystem::remove_all(path_, error);
}

std::string TempDir::Write(const std::string& relative, const Bytes& bytes) const {
  std::filesystem::path full = std::filesystem::path(path_) / relative;
  std::filesystem::create_directories(full.parent_path());
  std::ofstream(full, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  return full.string();
}

ScopedCurrentDirectory::ScopedCurrentDirectory(const std::string& path)
    : previous_(std::filesystem::current_path().string()) {
  std::filesystem::current_path(path);
}

ScopedCurrentDirectory::~ScopedCurrentDirectory() {
  std::error_code error;
  std::filesystem::current_path(previous_, error);
}

DecodedImage DecodeOkWith(ImageDecoder decode, const Bytes& file) {
  DecodedImage image;
  std::string error;
  EXPECT_TRUE(decode(file, image, error)) << error;
  return image;
}

std::string DecodeErrorWith(ImageDecoder decode, const Bytes& file) {
  DecodedImage image;
  std::string error;
  EXPECT_FALSE(decode(file, image, error));
  EXPECT_TRUE(image.bytes.empty());
  return error;
}
