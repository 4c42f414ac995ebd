// The top levels of all live textures, every device's together, are bounded:
// far beyond the textures of any plug-in (four of the largest images a
// decoder accepts), yet within reach of any machine however many huge
// textures a hostile plug-in names. A driver's own copy comes on top.
#pragma once
#include <cstddef>

constexpr size_t kTextureBudgetBytes = 256u << 20;

// A texture's share of the budget, given back when the share goes.
class TextureBudgetShare {
 public:
  TextureBudgetShare() = default;
  TextureBudgetShare(TextureBudgetShare&& other) noexcept : bytes_(other.bytes_) { other.bytes_ = 0; }
  TextureBudgetShare& operator=(TextureBudgetShare&&) = delete;
  ~TextureBudgetShare();

  // Takes `bytes` more; false, taking nothing, when fewer are left.
  bool Take(size_t bytes);

 private:
  size_t bytes_ = 0;
};

// What live textures may still take.
size_t TextureBudgetLeft();
