#include "gfxutil/image/tga.h"

#include <algorithm>

#include "gfxutil/image/bytes.h"

namespace {

constexpr size_t kHeaderSize = 18;

enum TgaImageType : uint8_t {
  kColourMapped = 1,
  kTrueColour = 2,
  kGrey = 3,
  kRunLengthFlag = 8,
};

struct TgaHeader {
  uint8_t idLength;
  uint8_t colourMapType;
  uint8_t baseType;  // kColourMapped, kTrueColour or kGrey
  bool runLength;
  uint16_t mapFirstIndex;
  uint16_t mapLength;
  uint8_t mapEntryBits;
  uint16_t width;
  uint16_t height;
  uint8_t pixelBits;
  uint8_t attributeBits;
  bool rightToLeft;
  bool topToBottom;
};

uint64_t PixelCount(const TgaHeader& header) { return uint64_t{header.width} * header.height; }

bool IsColourDepth(uint8_t bits) { return bits == 15 || bits == 16 || bits == 24 || bits == 32; }

bool ParseTgaHeader(ImageBytes data, TgaHeader& header, std::string& error) {
  if (data.size() < kHeaderSize) {
    error = "TGA header ends early (truncated file)";
    return false;
  }
  header.idLength = data[0];
  header.colourMapType = data[1];
  header.baseType = data[2] & ~kRunLengthFlag;
  header.runLength = (data[2] & kRunLengthFlag) != 0;
  header.mapFirstIndex = LoadLe16(data, 3);
  header.mapLength = LoadLe16(data, 5);
  header.mapEntryBits = data[7];
  header.width = LoadLe16(data, 12);
  header.height = LoadLe16(data, 14);
  header.pixelBits = data[16];
  header.attributeBits = data[17] & 0x0F;
  header.rightToLeft = (data[17] & 0x10) != 0;
  header.topToBottom = (data[17] & 0x20) != 0;

  bool knownType = data[2] == 1 || data[2] == 2 || data[2] == 3 || data[2] == 9 || data[2] == 10 || data[2] == 11;
  if (!knownType || header.colourMapType > 1) {
    error = "unsupported TGA image type " + std::to_string(data[2]);
    return false;
  }
  bool mapped = header.baseType == kColourMapped;
  if ((mapped || header.colourMapType == 1) && (header.colourMapType != 1 || !IsColourDepth(header.mapEntryBits))) {
    error = "bad TGA colour map";
    return false;
  }
  // Colour-map indices and grey pixels (with alpha in 16 bits) take 8 or 16 bits.
  bool depthFits = header.baseType == kTrueColour ? IsColourDepth(header.pixelBits)
                                                  : header.pixelBits == 8 || header.pixelBits == 16;
  if (!depthFits) {
    error = "unsupported TGA pixel depth " + std::to_string(header.pixelBits);
    return false;
  }
  return true;
}

uint8_t Expand5(unsigned value) { return static_cast<uint8_t>(value << 3 | value >> 2); }

// One colour as stored in a colour map or a true-colour pixel.
Bgra ReadColour(const uint8_t* bytes, uint8_t bits, bool alphaBit) {
  switch (bits) {
    case 15:
    case 16: {
      unsigned value = Le16(bytes);
      uint8_t alpha = (!alphaBit || (value & 0x8000)) ? 255 : 0;
      return {Expand5(value & 31), Expand5(value >> 5 & 31), Expand5(value >> 10 & 31), alpha};
    }
    case 24:
      return {bytes[0], bytes[1], bytes[2], 255};
    default:
      return {bytes[0], bytes[1], bytes[2], bytes[3]};
  }
}

class TgaPixelReader {
 public:
  TgaPixelReader(const TgaHeader& header, std::vector<Bgra> colourMap)
      : header_(header), colourMap_(std::move(colourMap)) {}

  size_t PixelBytes() const { return (header_.pixelBits + 7) / 8; }

  Bgra Read(const uint8_t* bytes) const {
    switch (header_.baseType) {
      case kColourMapped: {
        unsigned index = PixelBytes() == 1 ? bytes[0] : Le16(bytes);
        index -= header_.mapFirstIndex;
        return index < colourMap_.size() ? colourMap_[index] : Bgra{0, 0, 0, 255};
      }
      case kTrueColour:
        return ReadColour(bytes, header_.pixelBits, header_.attributeBits > 0);
      default:  // grey, with alpha in 16-bit pixels
        return {bytes[0], bytes[0], bytes[0], header_.pixelBits == 16 ? bytes[1] : uint8_t{255}};
    }
  }

 private:
  TgaHeader header_;
  std::vector<Bgra> colourMap_;
};

// Places the pixels in file order into the image, whatever the file's origin.
class TgaPixelWriter {
 public:
  TgaPixelWriter(const TgaHeader& header, DecodedImage& image) : header_(header), image_(image) {}

  uint64_t Total() const { return PixelCount(header_); }

  void Write(uint64_t fileIndex, const Bgra& colour) {
    uint64_t fileRow = fileIndex / header_.width, fileColumn = fileIndex % header_.width;
    uint64_t y = header_.topToBottom ? fileRow : header_.height - 1 - fileRow;
    uint64_t x = header_.rightToLeft ? header_.width - 1 - fileColumn : fileColumn;
    std::copy(colour.begin(), colour.end(), image_.bytes.begin() + (y * header_.width + x) * 4);
  }

 private:
  TgaHeader header_;
  DecodedImage& image_;
};

bool ReadColourMap(ImageBytes data, size_t& offset, const TgaHeader& header, std::vector<Bgra>& map,
                   std::string& error) {
  if (header.colourMapType == 0) return true;
  size_t entryBytes = (header.mapEntryBits + 7) / 8;
  if (data.size() - offset < header.mapLength * entryBytes) {
    error = "TGA colour map ends early (truncated file)";
    return false;
  }
  for (size_t i = 0; i < header.mapLength; ++i) {
    map.push_back(ReadColour(data.data() + offset + i * entryBytes, header.mapEntryBits, header.attributeBits > 0));
  }
  offset += header.mapLength * entryBytes;
  return true;
}

void ReadUncompressed(ImageBytes data, size_t offset, const TgaPixelReader& reader, TgaPixelWriter& writer) {
  size_t pixelBytes = reader.PixelBytes();
  for (uint64_t i = 0; i < writer.Total(); ++i) writer.Write(i, reader.Read(data.data() + offset + i * pixelBytes));
}

// The fewest bytes that can hold the pixels: checked before the image is allocated.
uint64_t MinimumPixelDataBytes(const TgaHeader& header) {
  uint64_t pixelBytes = (header.pixelBits + 7) / 8;
  if (!header.runLength) return PixelCount(header) * pixelBytes;
  return (PixelCount(header) + 127) / 128 * (1 + pixelBytes);
}

// Packets of a repeated pixel or of literal pixels; a packet may run across rows.
bool ReadRunLength(ImageBytes data, size_t offset, const TgaPixelReader& reader, TgaPixelWriter& writer,
                   std::string& error) {
  size_t pixelBytes = reader.PixelBytes();
  uint64_t written = 0;
  while (written < writer.Total()) {
    if (offset >= data.size()) break;
    uint8_t packet = data[offset++];
    uint64_t count = std::min<uint64_t>((packet & 0x7F) + 1, writer.Total() - written);
    bool repeated = (packet & 0x80) != 0;
    size_t needed = repeated ? pixelBytes : count * pixelBytes;
    if (data.size() - offset < needed) break;
    for (uint64_t i = 0; i < count; ++i) {
      writer.Write(written++, reader.Read(data.data() + offset + (repeated ? 0 : i * pixelBytes)));
    }
    offset += needed;
  }
  if (written < writer.Total()) {
    error = "TGA run-length data ends early (truncated file)";
    return false;
  }
  return true;
}

}  // namespace

bool IsTga(ImageBytes data) {
  TgaHeader header;
  std::string error;
  return ParseTgaHeader(data, header, error) && header.width > 0 && header.height > 0;
}

bool DecodeTga(ImageBytes data, DecodedImage& image, std::string& error) {
  TgaHeader header;
  if (!ParseTgaHeader(data, header, error)) return false;
  if (!CheckImageSize(header.width, header.height, D3DFMT_A8R8G8B8, error)) return false;
  size_t offset = kHeaderSize + header.idLength;
  if (offset > data.size()) {
    error = "TGA image id ends early (truncated file)";
    return false;
  }
  std::vector<Bgra> colourMap;
  if (!ReadColourMap(data, offset, header, colourMap, error)) return false;
  if (data.size() - offset < MinimumPixelDataBytes(header)) {
    error = "TGA pixel data ends early (truncated file)";
    return false;
  }
  if (!AllocateImage(image, header.width, header.height, D3DFMT_A8R8G8B8, error)) return false;
  TgaPixelReader reader(header, std::move(colourMap));
  TgaPixelWriter writer(header, image);
  if (!header.runLength) {
    ReadUncompressed(data, offset, reader, writer);
  } else if (!ReadRunLength(data, offset, reader, writer, error)) {
    image = DecodedImage{};
    return false;
  }
  return true;
}
