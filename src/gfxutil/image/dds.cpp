#include "gfxutil/image/dds.h"

#include <bit>
#include <cstring>

#include "gfxutil/image/bytes.h"

namespace {

constexpr size_t kHeaderEnd = 4 + 124;  // magic and header; the top level follows

constexpr uint32_t kPixelFormatAlphaPixels = 0x1;
constexpr uint32_t kPixelFormatAlpha = 0x2;
constexpr uint32_t kPixelFormatFourCc = 0x4;
constexpr uint32_t kPixelFormatRgb = 0x40;
constexpr uint32_t kPixelFormatLuminance = 0x20000;
constexpr uint32_t kCaps2CubeMap = 0x200;
constexpr uint32_t kCaps2Volume = 0x200000;

struct DdsHeader {
  uint32_t height;
  uint32_t width;
  uint32_t formatFlags;
  uint32_t fourCc;
  uint32_t bitCount;
  uint32_t redMask, greenMask, blueMask, alphaMask;
  uint32_t caps2;
};

DdsHeader ReadHeader(ImageBytes data) {
  DdsHeader header;
  header.height = LoadLe32(data, 12);
  header.width = LoadLe32(data, 16);
  header.formatFlags = LoadLe32(data, 80);
  header.fourCc = LoadLe32(data, 84);
  header.bitCount = LoadLe32(data, 88);
  header.redMask = LoadLe32(data, 92);
  header.greenMask = LoadLe32(data, 96);
  header.blueMask = LoadLe32(data, 100);
  header.alphaMask = LoadLe32(data, 104);
  header.caps2 = LoadLe32(data, 112);
  return header;
}

std::string FourCcName(uint32_t fourCc) {
  std::string name;
  for (int shift = 0; shift < 32; shift += 8) {
    char c = static_cast<char>(fourCc >> shift & 0xFF);
    if (c < 0x20 || c > 0x7E) return std::to_string(fourCc);
    name += c;
  }
  return "'" + name + "'";
}

bool CompressedFormat(uint32_t fourCc, D3DFORMAT& format, std::string& error) {
  if (fourCc == D3DFMT_DXT1 || fourCc == D3DFMT_DXT3 || fourCc == D3DFMT_DXT5) {
    format = fourCc;
    return true;
  }
  error = "unsupported DDS format " + FourCcName(fourCc);
  return false;
}

// A channel described by a mask, scaled to 8 bits.
uint8_t MaskedChannel(uint32_t pixel, uint32_t mask) {
  int shift = std::countr_zero(mask);
  uint64_t maximum = mask >> shift;
  uint64_t value = (pixel & mask) >> shift;
  return static_cast<uint8_t>((value * 255 + maximum / 2) / maximum);
}

void ConvertMaskedPixels(ImageBytes pixels, const DdsHeader& header, DecodedImage& image) {
  size_t pixelBytes = header.bitCount / 8;
  size_t rowBytes = (static_cast<size_t>(header.width) * header.bitCount + 7) / 8;
  bool luminance = (header.formatFlags & kPixelFormatLuminance) != 0;
  bool hasAlpha = header.alphaMask != 0 && (header.formatFlags & (kPixelFormatAlphaPixels | kPixelFormatAlpha));
  const auto channel = [](uint32_t pixel, uint32_t mask) { return mask ? MaskedChannel(pixel, mask) : uint8_t{0}; };
  for (size_t y = 0; y < image.height; ++y) {
    for (size_t x = 0; x < image.width; ++x) {
      const uint8_t* bytes = pixels.data() + y * rowBytes + x * pixelBytes;
      uint32_t pixel = 0;
      for (size_t i = 0; i < pixelBytes; ++i) pixel |= uint32_t{bytes[i]} << (8 * i);
      uint8_t red = channel(pixel, header.redMask);
      uint8_t green = luminance ? red : channel(pixel, header.greenMask);
      uint8_t blue = luminance ? red : channel(pixel, header.blueMask);
      uint8_t alpha = hasAlpha ? MaskedChannel(pixel, header.alphaMask) : 255;
      StorePixel(&image.bytes[(y * image.width + x) * 4], red, green, blue, alpha);
    }
  }
}

bool CheckMaskedFormat(const DdsHeader& header, std::string& error) {
  bool known = header.formatFlags & (kPixelFormatRgb | kPixelFormatLuminance | kPixelFormatAlpha);
  bool sized = header.bitCount == 8 || header.bitCount == 16 || header.bitCount == 24 || header.bitCount == 32;
  uint32_t masks = header.redMask | header.greenMask | header.blueMask | header.alphaMask;
  if (known && sized && masks != 0 && (header.bitCount == 32 || masks >> header.bitCount == 0)) return true;
  error = "unsupported DDS pixel format (flags " + std::to_string(header.formatFlags) + ", " +
          std::to_string(header.bitCount) + " bits)";
  return false;
}

}  // namespace

bool IsDds(ImageBytes data) { return data.size() >= 4 && std::memcmp(data.data(), "DDS ", 4) == 0; }

bool DecodeDds(ImageBytes data, DecodedImage& image, std::string& error) {
  if (!IsDds(data)) {
    error = "not a DDS file";
    return false;
  }
  if (data.size() < kHeaderEnd || LoadLe32(data, 4) != 124) {
    error = "DDS header ends early or has the wrong size";
    return false;
  }
  DdsHeader header = ReadHeader(data);
  if (header.caps2 & (kCaps2CubeMap | kCaps2Volume)) {
    error = "DDS cube maps and volume textures are not supported";
    return false;
  }
  bool compressed = (header.formatFlags & kPixelFormatFourCc) != 0;
  D3DFORMAT format = D3DFMT_A8R8G8B8;
  if (compressed ? !CompressedFormat(header.fourCc, format, error) : !CheckMaskedFormat(header, error)) return false;
  // Checked first: the size arithmetic below relies on the limit.
  if (!CheckImageSize(header.width, header.height, format, error)) return false;

  uint64_t levelBytes = compressed ? ImageDataSize(header.width, header.height, format)
                                   : (uint64_t{header.width} * header.bitCount + 7) / 8 * header.height;
  ImageBytes level = data.subspan(kHeaderEnd);
  if (level.size() < levelBytes) {
    error = "DDS pixel data ends early (truncated file)";
    return false;
  }
  if (!AllocateImage(image, header.width, header.height, format, error)) return false;
  if (compressed) {
    std::memcpy(image.bytes.data(), level.data(), levelBytes);
  } else {
    ConvertMaskedPixels(level, header, image);
  }
  return true;
}
