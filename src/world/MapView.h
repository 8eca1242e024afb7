#pragma once
// One frame of the map view: panorama, tile layers, characters by layer and
// row, and the star tiles above them.

#include <array>
#include <cstdint>

#include "graphics/VantraSheet.h"

class TKelgMap;

// What the first tile pass left in each cell around the view, kept as ready
// 16-bit pixels between frames. Cells live in a ring addressed by map
// position, so scrolling redraws only the cells that come into view; a cell
// is redrawn when its tiles, their animation step, the panorama behind it or
// the colours change.
struct TKelMapViewCache {
  static constexpr int kColumns = 22, kRows = 17;
  struct TSlot {
    int Lower = -2, Upper = -1, LowerPhase = 0, PanoramaX = -1, PanoramaY = -1;
    bool LowerStar = false, UpperStar = false;
    bool operator==(const TSlot&) const = default;
  };
  TVantraBoard Ring{kColumns * 16, kRows * 16};
  TVantraBoard Cell{16, 16};
  std::array<TSlot, kColumns * kRows> Slots{};
  // The drawing state the slots were made under.
  std::array<std::uint16_t, 256> ChipColors{}, PanoramaColors{};
  unsigned ChipGeneration = ~0u, PanoramaGeneration = ~0u;
  bool ColorKey = false;
};

void DrawMapView(TKelgMap& map, TVantraBoard& board);
