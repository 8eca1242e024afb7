#pragma once
// One 24 × 32 picture of a character set, and the pieces every character set
// of the demo is painted and laid out with.

#include <array>
#include <cstdint>

#include "WorldPalette.h"

inline constexpr int kCellWidth = 24, kCellHeight = 32;

using Cell = std::array<std::array<std::uint8_t, kCellWidth>, kCellHeight>;

// Fills the inclusive rectangle, clipped to the cell.
inline void Fill(Cell& cell, int left, int top, int right, int bottom, std::uint8_t index) {
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x)
      if (x >= 0 && x < kCellWidth && y >= 0 && y < kCellHeight) cell[y][x] = index;
}

// The cell with a dark outline around everything drawn in it.
inline Cell Outlined(const Cell& cell) {
  Cell outlined = cell;
  for (int y = 0; y < kCellHeight; ++y)
    for (int x = 0; x < kCellWidth; ++x) {
      if (cell[y][x] != wpClear) continue;
      const bool touches = (x > 0 && cell[y][x - 1] != wpClear) || (x < kCellWidth - 1 && cell[y][x + 1] != wpClear) ||
                           (y > 0 && cell[y - 1][x] != wpClear) || (y < kCellHeight - 1 && cell[y + 1][x] != wpClear);
      if (touches) outlined[y][x] = wpOutline;
    }
  return outlined;
}

// Lays out `count` sprites in the 288 × 256 character-set layout: four to a
// row of blocks, each block three pictures wide and four facings high.
inline void LayOutCharacterSet(TVantraBitmap& bitmap, int count, Cell (*draw)(int sprite, int facing, int column)) {
  bitmap.SetFormat(288, 256, 8);
  SetWorldPalette(bitmap);
  for (int sprite = 0; sprite < count; ++sprite)
    for (int facing = 0; facing < 4; ++facing)
      for (int column = 0; column < 3; ++column) {
        const Cell cell = draw(sprite, facing, column);
        const int left = (sprite % 4) * 72 + column * kCellWidth;
        const int top = (sprite / 4) * 128 + facing * kCellHeight;
        for (int y = 0; y < kCellHeight; ++y)
          for (int x = 0; x < kCellWidth; ++x) bitmap.ScanLine(top + y)[left + x] = cell[y][x];
      }
}
