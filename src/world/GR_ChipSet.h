#pragma once
// The chip-set picture of the current map: per-tile flags read from its
// pixels once, and the tile renderer with water, animated tiles and autotiles.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "data/LD_ChipSet.h"
#include "graphics/VantraSheet.h"
#include "shell/Assets.h"

struct TVantraBitmap;

// An internal consistency check failed; valid data never raises it.
class EKelAssertion : public std::runtime_error {
public:
  EKelAssertion(const char* unit, int line)
      : std::runtime_error(std::string("Assertion failure (") + unit + ", line " + std::to_string(line) + ")") {}
};

inline constexpr int kChipSheetWidth = 480;
inline constexpr int kChipSheetHeight = 256;

struct TKelChip {
  int OriginX = 0, OriginY = 0;  // 8-pixel units
  bool Transparent = false;      // every pixel of the cell is index 0
  bool Opaque = false;           // no pixel of the area is index 0
};

// The four 8x8 pieces of a composed tile, in 8-pixel units from the block
// origin: top-left, top-right, bottom-left, bottom-right.
struct TKelTileQuarters {
  std::array<int, 4> X{}, Y{};
};

// Pieces of a water tile: kind 0 water A, 1 water B, 2 deep water; corner
// flags and combination as stored in the tile id; step the animation step.
TKelTileQuarters WaterQuarters(int kind, int cornerFlags, int combination, int step);
// Pieces of an autotile relative to its 48x64 block.
TKelTileQuarters AutotileQuarters(int combination);
// The water animation step (0..2) at a frame for the chip set's settings.
int WaterAnimationStep(int frameCount, int animationType, int animationSpeed);

class TKelChipSetGraphic {
public:
  explicit TKelChipSetGraphic(const AssetFolders& folders) : Folders(folders) {}

  // Remembers the record and loads its picture when the name changed.
  void SetChipSet(const TKelChipSetItem* record);
  // Uses an already drawn picture (tests and tools): flags are computed at once.
  void SetChipSetPicture(const TKelChipSetItem* record, const TVantraBitmap& picture);
  void DrawTile(TVantraBoard& board, int x, int y, int frameCount, int tileId, int size);
  bool IsOpaque(int tileId) const;
  void SetColorKey(bool on) { Sheet.Transparent = on; }
  void SetTransparency(int level);

  const TKelChipSetItem* ChipSet = nullptr;
  std::string FileName;
  TVantraSheet Sheet;
  std::array<TKelChip, kLowerTileCount> Chips{};
  std::array<TKelChip, kUpperTileCount> UpperChips{};

private:
  void ComputeFlags();
  void DrawQuarters(TVantraBoard& board, int x, int y, int originX, int originY, const TKelTileQuarters& q, int size);
  void DrawPiece(TVantraBoard& board, int x, int y, int size, const TVantraRect& source);

  const AssetFolders& Folders;
};
