// Saving a rendered picture as a PNG file, for screenshots and thumbnails.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The picture (rows top to bottom, 0xAARRGGBB, alpha ignored) of width x
// height, written to `path` as a PNG of outWidth x outHeight, resampled with a
// box filter when the sizes differ. The file is written whole or not at all;
// false, with the reason, when it cannot be.
bool SavePicturePng(const std::string& path, const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                    uint32_t outWidth, uint32_t outHeight, std::string& error);
