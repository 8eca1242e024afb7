#pragma once
// The chip-set picture of the current map: per-tile flags read from its
// pixels once, and the tile renderer with water, animated tiles and autotiles.

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "data/LD_ChipSet.h"
#include "data/StreamUtils.h"
#include "graphics/VantraSheet.h"
#include "shell/Assets.h"

struct TVantraBitmap;

// An internal consistency check failed; valid data never raises it.

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
  // Between these two, full-size opaque-sheet tiles come from ready 16-bit
  // copies, recoloured only when the sheet's colours change for the board.
  void BeginCachedFrame(const TVantraBoard& board);
  void EndCachedFrame() { CacheReady = false; }
  // What changes a tile's look over time: the water step or the animation picture.
  int TilePhase(int tileId, int frameCount) const;
  // Counts picture and chip-set changes, so that composed views know when to redraw.
  unsigned PictureGeneration() const { return Generation; }
  bool IsOpaque(int tileId) const;
  void SetColorKey(bool on) { Sheet.Transparent = on; }
  void SetTransparency(int level);

  const TKelChipSetItem* ChipSet = nullptr;
  std::string FileName;
  TVantraSheet Sheet;
  std::array<TKelChip, kLowerTileCount> Chips{};
  std::array<TKelChip, kUpperTileCount> UpperChips{};

private:
  // Where a tile's pixels come from: up to four source areas and their
  // places inside the 16x16 tile.
  struct TPiece {
    TVantraRect Source;
    int X = 0, Y = 0;
  };
  struct TLayout {
    std::array<TPiece, 4> Pieces;
    int Count = 0;
  };
  struct TCachedTile {
    std::array<std::uint8_t, 256> Indices{};
    std::array<std::uint16_t, 256> Pixels{};
    std::array<std::uint16_t, 256> Mask{};  // all ones where the index is not 0
    int Phase = -1;
    unsigned TableStamp = 0;
    bool HasHole = false;  // some pixel is index 0
    bool Empty = false;    // every pixel is index 0
    bool Nothing = false;  // a tile the chip set does not have
  };

  void ComputeFlags();
  void ClearCache();
  // False when the tile draws nothing.
  bool Layout(int tileId, int frameCount, TLayout& layout, bool skipBlank) const;
  void AddQuarters(TLayout& layout, int originX, int originY, const TKelTileQuarters& q) const;
  void DrawCached(TVantraBoard& board, int x, int y, int tileId, int frameCount);

  const AssetFolders& Folders;
  std::vector<int> CacheSlots;
  std::vector<TCachedTile> CacheTiles;
  std::array<std::uint16_t, 256> CacheTable{};
  unsigned TableStamp = 1;
  unsigned Generation = 0;
  bool CacheReady = false;
};
