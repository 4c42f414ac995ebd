#include "gfxutil/image/pnm.h"

namespace {

struct PnmHeader {
  char kind;  // '2', '3', '5' or '6'
  uint64_t width;
  uint64_t height;
  uint32_t maxValue;
};

bool IsPnmSpace(uint8_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

// Reads decimal numbers separated by white space and '#' comments.
class PnmTokenizer {
 public:
  explicit PnmTokenizer(ImageBytes data, size_t offset) : data_(data), offset_(offset) {}

  // False at the end of the data, on a non-digit, or for a value above limit.
  bool Number(uint64_t limit, uint64_t& value) {
    SkipSpaceAndComments();
    value = 0;
    size_t start = offset_;
    while (offset_ < data_.size() && data_[offset_] >= '0' && data_[offset_] <= '9') {
      value = value * 10 + (data_[offset_++] - '0');
      if (value > limit) return false;
    }
    return offset_ > start;
  }

  size_t Offset() const { return offset_; }

 private:
  void SkipSpaceAndComments() {
    while (offset_ < data_.size()) {
      if (IsPnmSpace(data_[offset_])) {
        ++offset_;
      } else if (data_[offset_] == '#') {
        while (offset_ < data_.size() && data_[offset_] != '\n' && data_[offset_] != '\r') ++offset_;
      } else {
        break;
      }
    }
  }

  ImageBytes data_;
  size_t offset_;
};

bool IsBinary(const PnmHeader& header) { return header.kind == '5' || header.kind == '6'; }
unsigned Channels(const PnmHeader& header) { return (header.kind == '3' || header.kind == '6') ? 3 : 1; }

// Samples scaled from 0..maxValue to 0..255, rounded.
uint8_t Scale(uint64_t sample, uint32_t maxValue) {
  if (sample >= maxValue) return 255;
  return static_cast<uint8_t>((sample * 255 + maxValue / 2) / maxValue);
}

class PnmImageWriter {
 public:
  PnmImageWriter(const PnmHeader& header, DecodedImage& image) : header_(header), image_(image) {}

  uint64_t SampleCount() const { return header_.width * header_.height * Channels(header_); }

  void Put(uint64_t sampleIndex, uint64_t sample) {
    uint8_t value = Scale(sample, header_.maxValue);
    uint8_t* pixel = &image_.bytes[sampleIndex / Channels(header_) * 4];
    if (Channels(header_) == 1) {
      StorePixel(pixel, value, value, value, 255);
    } else {
      pixel[2 - sampleIndex % 3] = value;  // R, G, B into memory order B, G, R
      pixel[3] = 255;
    }
  }

 private:
  PnmHeader header_;
  DecodedImage& image_;
};

bool ParsePnmHeader(PnmTokenizer& tokens, char kind, PnmHeader& header, std::string& error) {
  header.kind = kind;
  uint64_t maxValue = 0;
  constexpr uint64_t kMaxSide = 1u << 24;
  if (!tokens.Number(kMaxSide, header.width) || !tokens.Number(kMaxSide, header.height) ||
      !tokens.Number(65535, maxValue)) {
    error = "bad PNM header";
    return false;
  }
  if (maxValue == 0) {
    error = "bad PNM maximum value 0";
    return false;
  }
  header.maxValue = static_cast<uint32_t>(maxValue);
  return CheckImageSize(header.width, header.height, D3DFMT_A8R8G8B8, error);
}

// One white-space byte ends the header; big-endian samples of 1 or 2 bytes follow.
void ReadBinarySamples(ImageBytes data, size_t offset, const PnmHeader& header, PnmImageWriter& writer) {
  size_t sampleBytes = header.maxValue > 255 ? 2 : 1;
  for (uint64_t i = 0; i < writer.SampleCount(); ++i, offset += sampleBytes) {
    uint64_t sample = sampleBytes == 1 ? data[offset] : data[offset] << 8 | data[offset + 1];
    writer.Put(i, sample);
  }
}

bool ReadTextSamples(PnmTokenizer& tokens, const PnmHeader& header, PnmImageWriter& writer, std::string& error) {
  for (uint64_t i = 0; i < writer.SampleCount(); ++i) {
    uint64_t sample;
    if (!tokens.Number(header.maxValue, sample)) {
      error = "bad or missing PNM sample " + std::to_string(i);
      return false;
    }
    writer.Put(i, sample);
  }
  return true;
}

// Fewest bytes the samples can take: checked before the image is allocated.
uint64_t MinimumSampleBytes(const PnmHeader& header) {
  uint64_t samples = header.width * header.height * Channels(header);
  if (IsBinary(header)) return 1 + samples * (header.maxValue > 255 ? 2 : 1);
  return samples * 2;  // a separator and a digit each
}

}  // namespace

bool IsPnm(ImageBytes data) {
  return data.size() >= 3 && data[0] == 'P' && (data[1] == '2' || data[1] == '3' || data[1] == '5' || data[1] == '6') &&
         IsPnmSpace(data[2]);
}

bool DecodePnm(ImageBytes data, DecodedImage& image, std::string& error) {
  if (!IsPnm(data)) {
    error = "not a PNM file (P2, P3, P5 or P6)";
    return false;
  }
  PnmTokenizer tokens(data, 2);
  PnmHeader header;
  if (!ParsePnmHeader(tokens, static_cast<char>(data[1]), header, error)) return false;
  if (data.size() - tokens.Offset() < MinimumSampleBytes(header)) {
    error = "PNM samples end early (truncated file)";
    return false;
  }
  if (!IsPnmSpace(data[tokens.Offset()])) {
    error = "bad PNM header";
    return false;
  }
  if (!AllocateImage(image, header.width, header.height, D3DFMT_A8R8G8B8, error)) return false;
  PnmImageWriter writer(header, image);
  if (IsBinary(header)) {
    ReadBinarySamples(data, tokens.Offset() + 1, header, writer);
  } else if (!ReadTextSamples(tokens, header, writer, error)) {
    image = DecodedImage{};
    return false;
  }
  return true;
}
