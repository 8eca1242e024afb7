#pragma once
// The parallax background behind transparent lower tiles: a picture with a
// 16-pixel wrap margin, offsets in 1/32 pixel that follow the map's scroll,
// fit a wide picture to the map, or scroll by themselves.

#include <array>
#include <cstdint>

#include "graphics/VantraSheet.h"
#include "shell/Assets.h"

class TKelgMap;

class TKelgPanorama {
public:
  TKelgPanorama(const AssetFolders& folders, TKelgMap& map) : Folders(folders), Map(map) {}

  void Clear();
  // (Re)loads the picture for the map's current settings.
  void LoadImage();
  // Uses an already loaded picture (tests and tools).
  void UsePicture(const TVantraSheet& picture);
  void SetOffsetX(std::int64_t value);
  void SetOffsetY(std::int64_t value);
  void ScrollLeft(int amount);
  void ScrollRight(int amount);
  void ScrollUp(int amount);
  void ScrollDown(int amount);
  void FitToMap();
  void UpdateFrame();
  // Brings the ready 16-bit copy of the picture up to the sheet's colours
  // for this board; DrawCell copies from it.
  void BeginFrame(const TVantraBoard& board);
  void DrawCell(TVantraBoard& board, int cellX, int cellY, int shakeX, int shakeY);
  // The picture position shown behind the cell at a screen position.
  int SourceX(int cellX, int shakeX) const;
  int SourceY(int cellY, int shakeY) const;
  // The 16x16 area at (sourceX, sourceY) to (x, y).
  void DrawSource(TVantraBoard& board, int x, int y, int sourceX, int sourceY);
  bool HasPicture() const { return Width >= 1 && Height >= 1; }
  // Counts picture and colour changes, so that composed views know when to redraw.
  unsigned PictureGeneration() const { return Generation; }

  std::int64_t OffsetX = 0, OffsetY = 0;
  int Width = 0, Height = 0;
  TVantraSheet Sheet;

private:
  const AssetFolders& Folders;
  TVantraBoard Ready;
  std::array<std::uint16_t, 256> ReadyTable{};
  bool ReadyValid = false;
  unsigned Generation = 0;
  TKelgMap& Map;
};
