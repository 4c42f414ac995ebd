#include "gfxutil/image/png.h"

#include <png.h>

#include <csetjmp>
#include <cstring>

namespace {

constexpr size_t kSignatureSize = 8;
// Ancillary chunks (text, profiles) larger than this are refused.
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;
// Deflate expands at most 1032-fold (258 bytes from two 1-bit codes): a file
// that cannot hold its declared pixels is refused before they are allocated.
constexpr uint64_t kMaxDeflateRatio = 1032;

struct PngSource {
  ImageBytes data;
  size_t offset;
  std::string* error;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t length) {
  auto* source = static_cast<PngSource*>(png_get_io_ptr(png));
  if (length > source->data.size() - source->offset) png_error(png, "PNG data ends early (truncated file)");
  std::memcpy(out, source->data.data() + source->offset, length);
  source->offset += length;
}

void OnPngError(png_structp png, png_const_charp message) {
  *static_cast<PngSource*>(png_get_error_ptr(png))->error = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// Kept free of objects with destructors: libpng leaves it by longjmp on errors.
bool ReadPngImage(png_structp png, png_infop info, ImageBytes data, DecodedImage& image,
                  std::vector<png_bytep>& rows, std::string& error) {
  if (setjmp(png_jmpbuf(png))) return false;
  png_set_sig_bytes(png, kSignatureSize);
  png_set_user_limits(png, 1u << 24, 1u << 24);
  png_set_chunk_malloc_max(png, kMaxChunkBytes);
  png_read_info(png, info);
  png_uint_32 width = png_get_image_width(png, info);
  png_uint_32 height = png_get_image_height(png, info);
  if (!CheckImageSize(width, height, D3DFMT_A8R8G8B8, error)) return false;
  if (uint64_t{height} * png_get_rowbytes(png, info) > data.size() * kMaxDeflateRatio) {
    error = "PNG data too short for a " + std::to_string(width) + "x" + std::to_string(height) +
            " image (truncated file)";
    return false;
  }

  png_set_expand(png);  // palette to RGB, grey below 8 bits to 8, tRNS to alpha
  png_set_scale_16(png);
  png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * 4) {
    error = "unexpected PNG row layout";
    return false;
  }
  if (!AllocateImage(image, width, height, D3DFMT_A8R8G8B8, error)) return false;
  rows.resize(height);
  for (png_uint_32 y = 0; y < height; ++y) rows[y] = image.bytes.data() + static_cast<size_t>(y) * width * 4;
  png_read_image(png, rows.data());
  return true;
}

}  // namespace

bool IsPng(ImageBytes data) { return data.size() >= kSignatureSize && png_sig_cmp(data.data(), 0, kSignatureSize) == 0; }

bool DecodePng(ImageBytes data, DecodedImage& image, std::string& error) {
  if (!IsPng(data)) {
    error = "not a PNG file";
    return false;
  }
  PngSource source{data, kSignatureSize, &error};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnPngError, OnPngWarning);
  png_infop info = png ? png_create_info_struct(png) : nullptr;
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    error = "out of memory";
    return false;
  }
  png_set_read_fn(png, &source, ReadFromMemory);
  std::vector<png_bytep> rows;
  bool ok = ReadPngImage(png, info, data, image, rows, error);
  png_destroy_read_struct(&png, &info, nullptr);
  if (!ok) image = DecodedImage{};
  return ok;
}
