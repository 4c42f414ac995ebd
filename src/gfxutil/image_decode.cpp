#include "gfxutil/image_decode.h"

#include "gfxutil/image_bmp.h"
#include "gfxutil/image_dds.h"
#include "gfxutil/image_file.h"
#include "gfxutil/image_jpeg.h"
#include "gfxutil/image_png.h"
#include "gfxutil/image_pnm.h"
#include "gfxutil/image_tga.h"

namespace {

struct ImageFormat {
  bool (*recognise)(ImageBytes data);
  ImageDecoder decode;
};

// TGA has no signature, so it comes last.
constexpr ImageFormat kFormats[] = {
    {IsPng, DecodePng}, {IsJpeg, DecodeJpeg}, {IsBmp, DecodeBmp},
    {IsDds, DecodeDds}, {IsPnm, DecodePnm},   {IsTga, DecodeTga},
};

// Files are read whole; none that a texture needs comes near this size.
constexpr uint64_t kMaxFileBytes = kMaxImageBytes;

}  // namespace

bool DecodeImage(ImageBytes data, DecodedImage& image, std::string& error) {
  for (const ImageFormat& format : kFormats) {
    if (format.recognise(data)) return format.decode(data, image, error);
  }
  error = "unknown image format";
  return false;
}

bool LoadImageFile(const std::string& path, DecodedImage& image, std::string& error) {
  std::vector<uint8_t> bytes;
  image = DecodedImage{};
  return ReadFileBytes(path, kMaxFileBytes, bytes, error) && DecodeImage(bytes, image, error);
}
