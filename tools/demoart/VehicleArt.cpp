// The demo's character set "Vehicle": the boat, the ship and the airship in
// the 288x256 layout, three pictures (a small bob) for each of four facings.

#include "DemoArt.h"
#include "SpriteCell.h"

namespace {

// A hull narrowing towards its keel; wide when seen from the side.
void DrawHull(Cell& cell, bool side, int top, int bottom) {
  for (int y = top; y <= bottom; ++y) {
    const int inset = (y - top) / 2;
    const int half = side ? 11 - inset : 6 - inset / 2;
    Fill(cell, 12 - half, y, 11 + half, y, y == top ? wpWoodLight : (y == bottom ? wpWoodDark : wpWood));
  }
}

Cell DrawVehicle(int kind, int facing, int column) {
  Cell cell{};
  const bool side = facing == 1 || facing == 3;
  const int bob = column == 1 ? 0 : (column == 0 ? -1 : 1);
  if (kind == 0) {  // a rowing boat
    DrawHull(cell, side, 22 + bob, 28 + bob);
    Fill(cell, side ? 10 : 11, 19 + bob, side ? 13 : 12, 21 + bob, wpWoodDark);
  } else if (kind == 1) {  // a sailing ship
    DrawHull(cell, side, 20 + bob, 29 + bob);
    Fill(cell, 11, 4 + bob, 12, 20 + bob, wpWoodDark);
    Fill(cell, side ? 5 : 6, 6 + bob, side ? 18 : 17, 16 + bob, wpWhite);
    Fill(cell, side ? 5 : 6, 16 + bob, side ? 18 : 17, 16 + bob, wpSnowShade);
  } else {  // an airship: a balloon over a gondola
    for (int y = 2; y <= 17; ++y)
      for (int x = 1; x <= 22; ++x) {
        const int dx = x * 2 - 23, dy = (y * 2 - 19) * (side ? 2 : 1);
        const int radius = side ? 22 : 16;
        if (dx * dx * (side ? 1 : 2) + dy * dy > radius * radius) continue;
        cell[y][x] = y < 8 ? wpPurpleLight : (y > 13 ? wpPurpleDark : wpPurple);
      }
    Fill(cell, 8, 18, 8, 21, wpWoodDark);
    Fill(cell, 15, 18, 15, 21, wpWoodDark);
    Fill(cell, 7, 22 + bob, 16, 26 + bob, wpWood);
    Fill(cell, 7, 22 + bob, 16, 22 + bob, wpWoodLight);
  }
  return Outlined(cell);
}

}  // namespace

void DrawVehicleSetPicture(TVantraBitmap& bitmap) {
  LayOutCharacterSet(bitmap, 3, DrawVehicle);
}
