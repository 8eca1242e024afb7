#include "data/LD_ChipSet.h"

#include <algorithm>

namespace {

constexpr std::uint16_t kDefaultTerrain = 1;
constexpr std::uint8_t kPassableFlags = 15;
constexpr std::uint8_t kEmptyUpperFlags = 31;

bool TerrainDiffers(const std::array<std::uint16_t, kLowerTileCount>& terrain) {
  return std::any_of(terrain.begin(), terrain.end(), [](auto id) { return id != kDefaultTerrain; });
}

}  // namespace

int TileIndex(int tileId) {
  if (tileId < 3000) return tileId / 1000;
  if (tileId < 4000) return (tileId - 3000) / 50 + 3;
  if (tileId < 5000) return (tileId - 4000) / 50 + 6;
  if (tileId < kUpperTileBase) return tileId - 4982;
  return std::clamp(tileId - kUpperTileBase, 0, kUpperTileCount - 1);
}

void TKelChipSetItem::DescribeField(int id, TCatalogVarData& v, bool loading) {
  // The tables are written only when they differ from the built-in ones.
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("GraphicName", &GraphicName, true); break;
    case 3:
      if (loading || TerrainDiffers(TerrainIds))
        v.Fixed("TerrainIds", TerrainIds.data(), sizeof TerrainIds, TCatalogElement::U16);
      break;
    case 4:
      if (loading || std::any_of(LowerFlags.begin(), LowerFlags.end(), [](auto f) { return f != kPassableFlags; }))
        v.Fixed("LowerFlags", LowerFlags.data(), sizeof LowerFlags);
      break;
    case 5:
      if (loading || std::any_of(UpperFlags.begin() + 1, UpperFlags.end(), [](auto f) { return f != kPassableFlags; }))
        v.Fixed("UpperFlags", UpperFlags.data(), sizeof UpperFlags);
      break;
    case 11: v.Number("WaterAnimation", &WaterAnimation, 0); break;
    case 12: v.Number("AnimationSpeed", &AnimationSpeed, 0); break;
    default: break;
  }
}

void TKelChipSetItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  GraphicName.clear();
  TerrainIds.fill(kDefaultTerrain);
  LowerFlags.fill(kPassableFlags);
  UpperFlags.fill(kPassableFlags);
  UpperFlags[0] = kEmptyUpperFlags;
  WaterAnimation = 0;
  AnimationSpeed = 0;
}

std::int32_t TKelChipSetItem::TerrainOf(int tileId) const {
  int index = TileIndex(tileId);
  if (index < 0 || index >= kLowerTileCount) return 0;
  return TerrainIds[static_cast<std::size_t>(index)];
}

std::uint8_t TKelChipSetItem::LowerFlag(int index) const {
  if (index < 0 || index >= kLowerTileCount) return 0;
  return LowerFlags[static_cast<std::size_t>(index)];
}

std::uint8_t TKelChipSetItem::UpperFlag(int index) const {
  if (index < 0 || index >= kUpperTileCount) return 0;
  return UpperFlags[static_cast<std::size_t>(index)];
}
