#pragma once
// Windows bitmaps: 8-bit (uncompressed or RLE8) and 24-bit uncompressed are
// read; 8-bit uncompressed is written.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/VantraImage.h"

void ReadBmp(TVantraBitmap& bitmap, std::span<const std::uint8_t> data);
std::vector<std::uint8_t> WriteBmp(const TVantraBitmap& bitmap);
