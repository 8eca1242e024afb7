#pragma once
// Chip sets: the tile picture of a map with the terrain and passability of
// each tile index.

#include <array>
#include <cstdint>
#include <string>

#include "data/Catalog.h"

inline constexpr int kLowerTileCount = 162;
inline constexpr int kUpperTileCount = 144;
inline constexpr int kUpperTileBase = 10000;

// The table index of a map's 16-bit tile id: lower-layer indexes for ids
// below 10000, upper-layer indexes (0..143) from 10000 on.
int TileIndex(int tileId);

class TKelChipSetItem : public TCatalogItem {
 public:
  std::string GraphicName;
  std::array<std::uint16_t, kLowerTileCount> TerrainIds{};
  std::array<std::uint8_t, kLowerTileCount> LowerFlags{};
  std::array<std::uint8_t, kUpperTileCount> UpperFlags{};
  std::int32_t WaterAnimation = 0;
  std::int32_t AnimationSpeed = 0;

  TKelChipSetItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  std::int32_t TerrainOf(int tileId) const;
  std::uint8_t LowerFlag(int index) const;
  std::uint8_t UpperFlag(int index) const;
};
using TKelChipSet = TCatalogOf<TKelChipSetItem>;
