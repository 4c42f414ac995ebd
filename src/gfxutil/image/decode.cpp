#include "gfxutil/image/decode.h"

#include "gfxutil/image/bmp.h"
#include "gfxutil/image/dds.h"
#include "gfxutil/image/jpeg.h"
#include "gfxutil/image/png.h"
#include "gfxutil/image/pnm.h"
#include "gfxutil/image/tga.h"
#include "platform/os/file_source.h"

namespace {

struct ImageFormat {
  ImageFileType type;
  bool (*recognise)(ImageBytes data);
  ImageDecoder decode;
};

// TGA has no signature, so it comes last.
constexpr ImageFormat kFormats[] = {
    {ImageFileType::Png, IsPng, DecodePng}, {ImageFileType::Jpeg, IsJpeg, DecodeJpeg},
    {ImageFileType::Bmp, IsBmp, DecodeBmp}, {ImageFileType::Dds, IsDds, DecodeDds},
    {ImageFileType::Pnm, IsPnm, DecodePnm}, {ImageFileType::Tga, IsTga, DecodeTga},
};

// Files are read whole; none that a texture needs comes near this size.
constexpr uint64_t kMaxFileBytes = kMaxImageBytes;

}  // namespace

bool DecodeImage(ImageBytes data, DecodedImage& image, std::string& error, ImageFileType* type) {
  for (const ImageFormat& format : kFormats) {
    if (!format.recognise(data)) continue;
    if (type) *type = format.type;
    return format.decode(data, image, error);
  }
  error = "unknown image format";
  return false;
}

bool LoadImageFile(const std::string& path, DecodedImage& image, std::string& error, ImageFileType* type) {
  std::vector<uint8_t> bytes;
  image = DecodedImage{};
  return Files().Read(path, kMaxFileBytes, BeyondLimit::kRefuse, bytes, error) && DecodeImage(bytes, image, error, type);
}
