// The demo's character set "Hero": eight small people in the 288x256 layout,
// each with three walking pictures for each of the four facings.

#include "DemoArt.h"
#include "SpriteCell.h"

namespace {

// One picture: facing 0 up, 1 right, 2 down, 3 left; column 0 and 2 are the
// two strides, 1 standing.
Cell DrawPerson(int character, int facing, int column) {
  Cell cell{};
  const std::uint8_t hair = static_cast<std::uint8_t>(wpClothFirst + character * 3);
  const std::uint8_t cloth = static_cast<std::uint8_t>(hair + 1), shade = static_cast<std::uint8_t>(hair + 2);
  const int stride = column == 1 ? 0 : (column == 0 ? 1 : -1);
  const bool side = facing == 1 || facing == 3;

  // Legs, then the body and arms, then the head.
  if (side) {
    Fill(cell, 10 - stride, 26, 12 - stride, 30, shade);
    Fill(cell, 11 + stride, 26, 13 + stride, 30, wpOutline);
    Fill(cell, 11 + stride, 26, 12 + stride, 30, shade);
  } else {
    Fill(cell, 8, 26, 10, 30 - (stride < 0 ? 1 : 0), shade);
    Fill(cell, 13, 26, 15, 30 - (stride > 0 ? 1 : 0), shade);
  }
  Fill(cell, 7, 17, 16, 26, cloth);
  Fill(cell, 7, 24, 16, 26, shade);
  if (side) {
    const int arm = facing == 1 ? 12 + stride : 11 - stride;
    Fill(cell, arm, 18, arm + 1, 24, shade);
  } else {
    Fill(cell, 5, 18 + (stride > 0), 6, 24 + (stride > 0), cloth);
    Fill(cell, 17, 18 + (stride < 0), 18, 24 + (stride < 0), cloth);
    Fill(cell, 5, 24 + (stride > 0), 6, 24 + (stride > 0), wpSkin);
    Fill(cell, 17, 24 + (stride < 0), 18, 24 + (stride < 0), wpSkin);
  }
  for (int y = 3; y <= 17; ++y)
    for (int x = 4; x <= 19; ++x) {
      const int dx = x * 2 - 23, dy = y * 2 - 20;
      if (dx * dx + dy * dy * 2 > 290) continue;
      cell[y][x] = wpSkin;
      const bool hairTop = y < 8 || (facing == 0 && y < 16);
      const bool hairSide = (facing == 1 && x < 10 && y < 14) || (facing == 3 && x > 13 && y < 14) ||
                            (facing == 2 && (x < 6 || x > 17) && y < 13);
      if (hairTop || hairSide) cell[y][x] = hair;
    }
  if (facing == 2) {
    Fill(cell, 8, 11, 9, 12, wpEye);
    Fill(cell, 14, 11, 15, 12, wpEye);
    Fill(cell, 11, 15, 12, 15, wpSkinShade);
  } else if (facing == 1) {
    Fill(cell, 15, 11, 16, 12, wpEye);
  } else if (facing == 3) {
    Fill(cell, 7, 11, 8, 12, wpEye);
  }

  return Outlined(cell);
}

}  // namespace

void DrawCharSetPicture(TVantraBitmap& bitmap) {
  LayOutCharacterSet(bitmap, 8, DrawPerson);
}
