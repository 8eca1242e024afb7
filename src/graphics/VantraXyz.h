#pragma once
// The program's own picture format: "XYZ1", width and height (16-bit,
// little-endian), then one zlib stream holding 768 palette bytes (red, green,
// blue) and the indices row after row from the top.

#include <cstdint>
#include <span>
#include <vector>

#include "graphics/VantraImage.h"

void ReadXyz(TVantraBitmap& bitmap, std::span<const std::uint8_t> data);
// Only 8-bit pictures can be written.
std::vector<std::uint8_t> WriteXyz(const TVantraBitmap& bitmap);
