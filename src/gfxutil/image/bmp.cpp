#include "gfxutil/image/bmp.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "gfxutil/image/bmp_rle.h"
#include "gfxutil/image/bmp_stb.h"
#include "gfxutil/image/bytes.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;  // OS/2 and Windows 2 bitmaps
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kV4HeaderSize = 108;   // the info header, four masks, colour space and end points, gammas
constexpr size_t kFourMasksSize = 16;   // red, green, blue, alpha

enum BmpCompression : uint32_t { kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3 };

struct BmpHeader {
  uint32_t pixelOffset;
  uint32_t infoSize;
  int64_t width;
  int64_t height;  // negative for top-down rows
  uint16_t planes;
  uint16_t bitsPerPixel;
  uint32_t compression;
  uint32_t coloursUsed;
};

bool ParseBmpHeader(ImageBytes data, BmpHeader& header, std::string& error) {
  if (data.size() < kFileHeaderSize + kCoreHeaderSize) {
    error = "BMP header ends early (truncated file)";
    return false;
  }
  header.pixelOffset = LoadLe32(data, 10);
  header.infoSize = LoadLe32(data, 14);
  if (header.infoSize == kCoreHeaderSize) {
    header.width = LoadLe16(data, 18);
    header.height = LoadLe16(data, 20);
    header.planes = LoadLe16(data, 22);
    header.bitsPerPixel = LoadLe16(data, 24);
    header.compression = kRgb;
    header.coloursUsed = 0;
  } else if (header.infoSize >= kInfoHeaderSize && header.infoSize <= data.size() - kFileHeaderSize) {
    header.width = static_cast<int32_t>(LoadLe32(data, 18));
    header.height = static_cast<int32_t>(LoadLe32(data, 22));
    header.planes = LoadLe16(data, 26);
    header.bitsPerPixel = LoadLe16(data, 28);
    header.compression = LoadLe32(data, 30);
    header.coloursUsed = LoadLe32(data, 46);
  } else {
    error = "unsupported BMP header size " + std::to_string(header.infoSize);
    return false;
  }
  if (header.planes != 1) {
    error = "bad BMP plane count " + std::to_string(header.planes);
    return false;
  }
  if (header.width < 0) {
    error = "negative BMP width";
    return false;
  }
  return CheckImageSize(header.width, std::abs(header.height), D3DFMT_A8R8G8B8, error);
}

bool IsRunLength(const BmpHeader& header) {
  return header.compression == kRle8 || header.compression == kRle4;
}

bool CheckPixelFormat(const BmpHeader& header, std::string& error) {
  uint16_t bits = header.bitsPerPixel;
  bool fits = false;
  switch (header.compression) {
    case kRgb:
      fits = bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
      break;
    case kRle8:
      fits = bits == 8 && header.height > 0;
      break;
    case kRle4:
      fits = bits == 4 && header.height > 0;
      break;
    case kBitFields:
      fits = bits == 16 || bits == 32;
      break;
    default:
      error = "unsupported BMP compression " + std::to_string(header.compression);
      return false;
  }
  if (!fits) {
    error = "unsupported BMP form: " + std::to_string(bits) + " bits per pixel, compression " +
            std::to_string(header.compression) + (header.height < 0 ? ", top-down" : "");
  }
  return fits;
}

bool ReadPalette(ImageBytes data, const BmpHeader& header, BmpPalette& palette, std::string& error) {
  size_t count = header.coloursUsed ? std::min<uint32_t>(header.coloursUsed, 256) : 1u << header.bitsPerPixel;
  size_t offset = kFileHeaderSize + header.infoSize;
  if (data.size() - offset < count * 4) {
    error = "BMP palette ends early (truncated file)";
    return false;
  }
  for (size_t i = 0; i < count; ++i, offset += 4) palette.push_back({data[offset], data[offset + 1], data[offset + 2], 255});
  return true;
}

bool DecodeRunLength(ImageBytes data, const BmpHeader& header, DecodedImage& image, std::string& error) {
  BmpPalette palette;
  if (!ReadPalette(data, header, palette, error)) return false;
  if (header.pixelOffset > data.size()) {
    error = "BMP pixel data offset beyond the end of the file";
    return false;
  }
  if (!AllocateImage(image, header.width, header.height, D3DFMT_A8R8G8B8, error)) return false;
  if (DecodeBmpRle(data.subspan(header.pixelOffset), header.bitsPerPixel, palette, image, error)) return true;
  image = DecodedImage{};
  return false;
}

// Bit fields after a 40-byte header with room for a fourth mask: that mask is
// the alpha mask. stb_image reads one only from a version 4 or 5 header.
bool HasAlphaMaskAfterInfoHeader(const BmpHeader& header) {
  return header.infoSize == kInfoHeaderSize && header.compression == kBitFields &&
         header.pixelOffset >= kFileHeaderSize + kInfoHeaderSize + kFourMasksSize;
}

// The same bitmap with a version 4 header: the four masks sit where they sit
// after the 40-byte header, no colour space follows, and the pixels come
// right after the header.
std::vector<uint8_t> WithVersion4Header(ImageBytes data, const BmpHeader& header) {
  constexpr size_t kPixelOffset = kFileHeaderSize + kV4HeaderSize;
  std::vector<uint8_t> bitmap(kPixelOffset + (data.size() - header.pixelOffset), 0);
  std::copy_n(data.begin(), kFileHeaderSize + kInfoHeaderSize + kFourMasksSize, bitmap.begin());
  std::copy(data.begin() + header.pixelOffset, data.end(), bitmap.begin() + kPixelOffset);
  PutLe32(&bitmap[10], kPixelOffset);
  PutLe32(&bitmap[14], kV4HeaderSize);
  return bitmap;
}

}  // namespace

bool IsBmp(ImageBytes data) { return data.size() >= 2 && data[0] == 'B' && data[1] == 'M'; }

bool DecodeBmp(ImageBytes data, DecodedImage& image, std::string& error) {
  if (!IsBmp(data)) {
    error = "not a BMP file";
    return false;
  }
  BmpHeader header;
  if (!ParseBmpHeader(data, header, error) || !CheckPixelFormat(header, error)) return false;
  if (IsRunLength(header)) return DecodeRunLength(data, header, image, error);

  // Rows are padded to 32 bits; stb_image would pad missing rows with zeros.
  uint64_t rowBytes = (static_cast<uint64_t>(header.width) * header.bitsPerPixel + 31) / 32 * 4;
  if (header.pixelOffset > data.size() || data.size() - header.pixelOffset < rowBytes * std::abs(header.height)) {
    error = "BMP pixel data ends early (truncated file)";
    return false;
  }
  if (HasAlphaMaskAfterInfoHeader(header)) return DecodeBmpWithStb(WithVersion4Header(data, header), image, error);
  return DecodeBmpWithStb(data, image, error);
}
