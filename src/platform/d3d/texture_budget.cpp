#include "platform/d3d/texture_budget.h"

#include <atomic>

namespace {
std::atomic<size_t> taken{0};
}  // namespace

TextureBudgetShare::~TextureBudgetShare() { taken -= bytes_; }

bool TextureBudgetShare::Take(size_t bytes) {
  size_t now = taken.load();
  do {
    if (bytes > kTextureBudgetBytes - now) return false;
  } while (!taken.compare_exchange_weak(now, now + bytes));
  bytes_ += bytes;
  return true;
}

size_t TextureBudgetLeft() { return kTextureBudgetBytes - taken.load(); }
