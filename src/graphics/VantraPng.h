#pragma once
// PNG pictures: 8-bit indexed or 8-bit truecolour, not interlaced.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "graphics/VantraImage.h"

class TVantraBoard;

void ReadPng(TVantraBitmap& bitmap, std::span<const std::uint8_t> data);
// 8-bit pictures become indexed PNGs with a full palette, 24-bit ones truecolour.
std::vector<std::uint8_t> WritePng(const TVantraBitmap& bitmap);

// A truecolour PNG of the board, each 5-6-5 field widened to 8 bits by bit
// replication so that full intensity stays full.
void WriteBoardPng(const TVantraBoard& board, const std::string& path);
