#include "gfxutil/image/png_write.h"

#include <png.h>

#include <csetjmp>

namespace {

// Pictures are written once and read by thumbnail viewers: the fastest
// compression, without row filters, which cost more than they save on rendered
// pictures with their flat backgrounds.
constexpr int kCompressionLevel = 1;

struct PngTarget {
  std::vector<uint8_t>* file;
  std::string* error;
};

void WriteToMemory(png_structp png, png_bytep data, size_t length) {
  auto* target = static_cast<PngTarget*>(png_get_io_ptr(png));
  target->file->insert(target->file->end(), data, data + length);
}

void FlushNothing(png_structp) {}

void OnPngError(png_structp png, png_const_charp message) {
  *static_cast<PngTarget*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Kept free of objects with destructors: libpng leaves it by longjmp on errors.
bool WritePngImage(png_structp png, png_infop info, const DecodedImage& image, std::vector<png_bytep>& rows) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, kCompressionLevel);
  png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_NONE);
  png_write_info(png, info);
  png_set_bgr(png);
  png_set_filler(png, 0, PNG_FILLER_AFTER);  // the A of each B, G, R, A is dropped
  png_write_image(png, rows.data());
  png_write_end(png, info);
  return true;
}

}  // namespace

bool EncodeRgbPng(const DecodedImage& image, std::vector<uint8_t>& file, std::string& error) {
  file.clear();
  if (image.format != D3DFMT_A8R8G8B8 || image.width == 0 || image.height == 0 ||
      image.bytes.size() != size_t{image.width} * image.height * 4) {
    error = "not an A8R8G8B8 image";
    return false;
  }
  PngTarget target{&file, &error};
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &target, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    error = "out of memory";
    return false;
  }
  png_set_write_fn(png, &target, WriteToMemory, FlushNothing);
  std::vector<png_bytep> rows(image.height);
  for (uint32_t y = 0; y < image.height; ++y)
    rows[y] = const_cast<png_bytep>(image.bytes.data()) + size_t{y} * image.width * 4;
  bool ok = WritePngImage(png, info, image, rows);
  png_destroy_write_struct(&png, &info);
  if (!ok) file.clear();
  return ok;
}
