#include "world/MapView.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/LGD_Party.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Ship.h"

namespace {

constexpr int kFirstRow = -1, kLastRow = 15;  // rows drawn around the view
constexpr int kFirstColumn = -1, kLastColumn = 20;
constexpr int kRows = kLastRow - kFirstRow + 1;
constexpr int kColumns = kLastColumn - kFirstColumn + 1;

struct TCell {
  int Lower = -1, Upper = -1;  // -1 outside the map
  bool LowerStar = false, UpperStar = false;
};

struct TDrawn {
  TKelgCharacter* Character;
  int ScreenX, ScreenY;
  bool IsHero;
};

// By layer, then bottom edge, the hero after others on the same row of
// pixels, then left to right.
void SortForDrawing(std::vector<TDrawn>& list) {
  std::stable_sort(list.begin(), list.end(), [](const TDrawn& a, const TDrawn& b) {
    if (a.Character->Layer != b.Character->Layer) return a.Character->Layer < b.Character->Layer;
    if (a.ScreenY != b.ScreenY) return a.ScreenY < b.ScreenY;
    if (a.IsHero != b.IsHero) return b.IsHero;
    return a.ScreenX < b.ScreenX;
  });
}

int FloorDiv(std::int64_t value, int divisor) {
  std::int64_t q = value / divisor;
  if ((value % divisor != 0) && ((value < 0) != (divisor < 0))) --q;
  return static_cast<int>(q);
}


int FloorMod(int value, int size) {
  const int r = value % size;
  return r < 0 ? r + size : r;
}

using TCells = std::array<std::array<TCell, kColumns>, kRows>;

// Panorama, lower tiles and upper tiles that are not stars, composed per
// cell into the view cache and copied to the board in runs.
void DrawFirstPass(TKelgMap& map, TVantraBoard& board, const TCells& cells, int c0, int r0, int fx, int fy) {
  TKelMapViewCache& cache = map.ViewCache;
  TKelChipSetGraphic& chips = map.ChipSetGraphic;
  TKelgPanorama& panorama = map.Panorama();
  const TKelgScreen& screen = map.Screen();
  if (cache.ChipColors != chips.Sheet.ColorTable || cache.PanoramaColors != panorama.Sheet.ColorTable ||
      cache.ChipGeneration != chips.PictureGeneration() || cache.PanoramaGeneration != panorama.PictureGeneration() ||
      cache.ColorKey != chips.Sheet.Transparent) {
    cache.Slots.fill(TKelMapViewCache::TSlot{});
    cache.ChipColors = chips.Sheet.ColorTable;
    cache.PanoramaColors = panorama.Sheet.ColorTable;
    cache.ChipGeneration = chips.PictureGeneration();
    cache.PanoramaGeneration = panorama.PictureGeneration();
    cache.ColorKey = chips.Sheet.Transparent;
  }
  const int frame = map.FrameCount();
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      const TCell& cell = cells[row][column];
      TKelMapViewCache::TSlot key;
      key.Lower = cell.Lower;
      if (cell.Lower >= 0) {
        key.Upper = cell.Upper;
        key.LowerPhase = chips.TilePhase(cell.Lower, frame);
        key.LowerStar = cell.LowerStar;
        key.UpperStar = cell.UpperStar;
        if (!chips.IsOpaque(cell.Lower) && panorama.HasPicture()) {
          key.PanoramaX = panorama.SourceX((column + kFirstColumn) * 16 - fx, screen.ShakeX);
          key.PanoramaY = panorama.SourceY((row + kFirstRow) * 16 - fy, screen.ShakeY);
        }
      }
      const int ringColumn = FloorMod(c0 + column + kFirstColumn, TKelMapViewCache::kColumns);
      const int ringRow = FloorMod(r0 + row + kFirstRow, TKelMapViewCache::kRows);
      TKelMapViewCache::TSlot& slot = cache.Slots[ringRow * TKelMapViewCache::kColumns + ringColumn];
      if (slot == key) continue;
      TVantraBoard& scratch = cache.Cell;
      scratch.Clear();
      scratch.Brightness = board.Brightness;
      if (key.Lower >= 0) {
        if (key.PanoramaX >= 0) panorama.DrawSource(scratch, 0, 0, key.PanoramaX, key.PanoramaY);
        if (!key.LowerStar) chips.DrawTile(scratch, 0, 0, frame, key.Lower, 16);
        if (key.Upper >= 0 && !key.UpperStar) chips.DrawTile(scratch, 0, 0, frame, key.Upper, 16);
      }
      cache.Ring.CopyRect(ringColumn * 16, ringRow * 16, {0, 0, 16, 16}, scratch);
      slot = key;
    }

  // The ring to the board: each board row is at most two runs of the ring's row.
  const int ringWidth = TKelMapViewCache::kColumns * 16;
  for (int y = 0; y < board.GetHeight(); ++y) {
    const int row = FloorDiv(y + fy, 16);  // -1 .. 15
    const int inner = y + fy - row * 16;
    const int ringY = FloorMod(r0 + row, TKelMapViewCache::kRows) * 16 + inner;
    const std::uint16_t* ringLine = cache.Ring.ScanLine(ringY);
    std::uint16_t* out = board.ScanLine(y);
    int x = 0;
    while (x < board.GetWidth()) {
      const int column = FloorDiv(x + fx, 16);
      const int ringX = FloorMod(c0 + column, TKelMapViewCache::kColumns) * 16 + (x + fx - column * 16);
      const int run = std::min(board.GetWidth() - x, ringWidth - ringX);
      std::memcpy(out + x, ringLine + ringX, static_cast<std::size_t>(run) * 2);
      x += run;
    }
  }
}
}  // namespace

void DrawMapView(TKelgMap& map, TVantraBoard& board) {
  if (map.ChipSetGraphic.ChipSet == nullptr) {  // no map entered yet
    board.Clear();
    return;
  }
  std::array<std::vector<TDrawn>, 3> layers;
  auto add = [&](TKelgCharacter& character, int list, bool isHero) {
    layers[list].push_back({&character, character.ScreenX(), character.ScreenY(), isHero});
  };
  for (auto& event : map.Events)
    if (event->Active && event->IsOnScreen()) add(*event, std::clamp(event->Layer, 0, 2), false);
  add(map.Hero(), 1, true);
  for (int v = 0; v < 3; ++v) {
    TKelgShip& vehicle = map.Vehicle(v);
    if (vehicle.IsOnScreen() && !(vehicle.VehicleKind == vkAirship && vehicle.Flying)) add(vehicle, 1, false);
  }
  for (auto& list : layers) SortForDrawing(list);

  TKelgScreen& screen = map.Screen();
  const std::int64_t sx = map.ScrollX - screen.ShakeX * 16, sy = map.ScrollY - screen.ShakeY * 16;
  const int c0 = static_cast<int>(sx / 256), r0 = static_cast<int>(sy / 256);
  // Floored division, then a remainder that keeps its sign: paired with the
  // truncated first cell above so that a shake left of column 0 shifts the map.
  const int fx = FloorDiv(sx, 16) % 16, fy = FloorDiv(sy, 16) % 16;

  std::array<std::array<TCell, kColumns>, kRows> cells;
  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      TCell& cell = cells[row][column];
      const int x = c0 + column + kFirstColumn, y = r0 + row + kFirstRow;
      cell.Lower = map.LowerTile(x, y);
      if (cell.Lower < 0) continue;
      cell.Upper = map.UpperTile(x, y);
      cell.LowerStar = map.LowerPassability(cell.Lower) & kPassStar;
      cell.UpperStar = cell.Upper >= 0 && (map.UpperPassability(cell.Upper) & kPassStar);
    }

  TKelChipSetGraphic& chips = map.ChipSetGraphic;
  TKelgPanorama& panorama = map.Panorama();
  screen.ApplyTo(chips.Sheet);
  screen.ApplyTo(panorama.Sheet);
  chips.BeginCachedFrame(board);
  panorama.BeginFrame(board);
  const int frame = map.FrameCount();
  auto cellX = [&](int column) { return (column + kFirstColumn) * 16 - fx; };
  auto cellY = [&](int row) { return (row + kFirstRow) * 16 - fy; };

  DrawFirstPass(map, board, cells, c0, r0, fx, fy);
  for (const TDrawn& drawn : layers[0]) drawn.Character->Draw(board);
  for (int row = kFirstRow; row <= kLastRow + 1; ++row) {
    const int top = row * 16 - fy;
    for (const TDrawn& drawn : layers[1])
      if (drawn.ScreenY > top && drawn.ScreenY <= top + 16) drawn.Character->Draw(board);
  }

  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      const TCell& cell = cells[row][column];
      if (cell.Lower < 0) continue;
      const int x = cellX(column), y = cellY(row);
      if (cell.LowerStar) chips.DrawTile(board, x, y, frame, cell.Lower, 16);
      if (cell.Upper >= 0 && cell.UpperStar) chips.DrawTile(board, x, y, frame, cell.Upper, 16);
    }

  for (const TDrawn& drawn : layers[2]) drawn.Character->Draw(board);
  TKelgShip& airship = map.Vehicle(2);
  if (airship.Flying && airship.IsOnScreen()) airship.Draw(board);
  chips.EndCachedFrame();
}
