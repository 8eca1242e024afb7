#pragma once
// Tile id ranges of the map layers and the chip-set table entries they use.

#include <algorithm>

#include "data/LD_ChipSet.h"

inline constexpr int kAnimatedTileBase = 3000;
inline constexpr int kAutotileBase = 4000;
inline constexpr int kPlainTileBase = 5000;
inline constexpr int kNoTileId = 20000;  // from here on nothing is drawn
inline constexpr int kPlainLowerCount = 144;

// The lower chip index (0..161) of a lower-layer id, or -1 when the id names
// a tile the chip set does not have (a fourth animated tile, a thirteenth
// autotile, a plain tile past 143): such a tile draws nothing and its table
// entries read as 0.
inline int LowerChipIndex(int tileId) {
  if (tileId < 0 || tileId >= kUpperTileBase) return -1;
  if (tileId < kAnimatedTileBase) return tileId / 1000;
  if (tileId < kAutotileBase) {
    const int number = (tileId - kAnimatedTileBase) / 50;
    return number < 3 ? 3 + number : -1;
  }
  if (tileId < kPlainTileBase) {
    const int number = (tileId - kAutotileBase) / 50;
    return number < 12 ? 6 + number : -1;
  }
  const int index = tileId - kPlainTileBase;
  return index < kPlainLowerCount ? 18 + index : -1;
}

// The upper chip index of an upper-layer id, clamped into the table.
inline int UpperChipIndex(int tileId) { return std::clamp(tileId - kUpperTileBase, 0, kUpperTileCount - 1); }
