#include "gfxutil/mesh/attribute_runs.h"

#include <algorithm>
#include <cstdint>

std::vector<D3DXATTRIBUTERANGE> AttributeRuns(const void* indices, bool indices32, const DWORD* attributes,
                                              size_t faceCount) {
  auto index = [&](size_t i) -> uint32_t {
    return indices32 ? static_cast<const uint32_t*>(indices)[i] : static_cast<const uint16_t*>(indices)[i];
  };
  std::vector<D3DXATTRIBUTERANGE> runs;
  for (size_t start = 0; start < faceCount;) {
    size_t end = start;
    uint32_t low = UINT32_MAX, high = 0;
    for (; end < faceCount && attributes[end] == attributes[start]; ++end) {
      for (size_t i = end * 3; i < end * 3 + 3; ++i) {
        low = std::min(low, index(i));
        high = std::max(high, index(i));
      }
    }
    runs.push_back({attributes[start], static_cast<DWORD>(start), static_cast<DWORD>(end - start), low, high - low + 1});
    start = end;
  }
  return runs;
}
