#include "gfxutil/image/scale.h"

#include <algorithm>

namespace {

struct Contribution {
  uint32_t source;
  float weight;
};
using AxisWeights = std::vector<std::vector<Contribution>>;  // per target coordinate

// Target pixel i covers source span [i*s, (i+1)*s) with s = sourceSize/targetSize;
// measured in units of 1/targetSize so that every edge is an integer.
AxisWeights ComputeAxisWeights(uint32_t sourceSize, uint32_t targetSize) {
  AxisWeights weights(targetSize);
  for (uint64_t i = 0; i < targetSize; ++i) {
    uint64_t begin = i * sourceSize, end = (i + 1) * sourceSize;
    for (uint64_t j = begin / targetSize; j * targetSize < end; ++j) {
      uint64_t overlap = std::min(end, (j + 1) * targetSize) - std::max(begin, j * targetSize);
      weights[i].push_back({static_cast<uint32_t>(j), static_cast<float>(overlap) / sourceSize});
    }
  }
  return weights;
}

void ScaleRow(const uint8_t* row, const AxisWeights& across, std::vector<float>& out) {
  for (size_t x = 0; x < across.size(); ++x) {
    float sums[4] = {};
    for (const Contribution& c : across[x]) {
      for (int k = 0; k < 4; ++k) sums[k] += c.weight * row[c.source * 4 + k];
    }
    std::copy(sums, sums + 4, out.begin() + x * 4);
  }
}

}  // namespace

bool BoxScale(const DecodedImage& source, uint32_t width, uint32_t height, DecodedImage& target, std::string& error) {
  if (!AllocateImage(target, width, height, D3DFMT_A8R8G8B8, error)) return false;
  AxisWeights across = ComputeAxisWeights(source.width, width);
  AxisWeights down = ComputeAxisWeights(source.height, height);
  std::vector<float> scaledRow(size_t{width} * 4), sums(size_t{width} * 4);
  for (uint32_t y = 0; y < height; ++y) {
    std::fill(sums.begin(), sums.end(), 0.0f);
    for (const Contribution& c : down[y]) {
      ScaleRow(source.bytes.data() + size_t{c.source} * source.width * 4, across, scaledRow);
      for (size_t k = 0; k < sums.size(); ++k) sums[k] += c.weight * scaledRow[k];
    }
    uint8_t* out = target.bytes.data() + size_t{y} * width * 4;
    for (size_t k = 0; k < sums.size(); ++k) out[k] = static_cast<uint8_t>(std::clamp(sums[k] + 0.5f, 0.0f, 255.0f));
  }
  return true;
}
