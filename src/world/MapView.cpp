#include "world/MapView.h"

#include <algorithm>
#include <array>
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

  board.Clear();
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

  for (int row = 0; row < kRows; ++row)
    for (int column = 0; column < kColumns; ++column) {
      const TCell& cell = cells[row][column];
      if (cell.Lower < 0) continue;
      const int x = cellX(column), y = cellY(row);
      if (!chips.IsOpaque(cell.Lower)) panorama.DrawCell(board, x, y, screen.ShakeX, screen.ShakeY);
      if (!cell.LowerStar) chips.DrawTile(board, x, y, frame, cell.Lower, 16);
      if (cell.Upper >= 0 && !cell.UpperStar) chips.DrawTile(board, x, y, frame, cell.Upper, 16);
    }

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
