// The demo's face set: sixteen 48 × 48 faces in four rows of four, each a
// head with its own hair and clothes, drawn by code.

#include <algorithm>
#include <cmath>

#include "DemoArt.h"

namespace {

constexpr int kFace = 48;

void Plot(TVantraBitmap& bitmap, int x, int y, std::uint8_t index) {
  if (x >= 0 && y >= 0 && x < bitmap.Width && y < bitmap.Height) bitmap.ScanLine(y)[x] = index;
}

void Disc(TVantraBitmap& bitmap, int cx, int cy, int rx, int ry, std::uint8_t index) {
  for (int y = -ry; y <= ry; ++y)
    for (int x = -rx; x <= rx; ++x)
      if (x * x * ry * ry + y * y * rx * rx <= rx * rx * ry * ry) Plot(bitmap, cx + x, cy + y, index);
}

}  // namespace

void DrawFaceSet(TVantraBitmap& bitmap) {
  bitmap.SetFormat(4 * kFace, 4 * kFace, 8);
  // 0 backdrop, 1 skin, 2 skin shade, 3 eyes, 4 mouth, 10.. hair, 20.. clothes, 30.. backdrops.
  bitmap.Palette[0] = {0, 0, 0};
  bitmap.Palette[1] = {250, 214, 180};
  bitmap.Palette[2] = {220, 170, 140};
  bitmap.Palette[3] = {40, 30, 40};
  bitmap.Palette[4] = {180, 70, 70};
  const TVantraRgb hair[4] = {{70, 40, 20}, {230, 200, 90}, {200, 200, 210}, {40, 40, 60}};
  const TVantraRgb clothes[4] = {{40, 110, 60}, {120, 40, 130}, {50, 70, 160}, {150, 60, 40}};
  const TVantraRgb backdrops[4] = {{60, 80, 120}, {90, 60, 100}, {60, 100, 90}, {110, 90, 60}};
  for (int i = 0; i < 4; ++i) {
    bitmap.Palette[10 + i] = hair[i];
    bitmap.Palette[20 + i] = clothes[i];
    bitmap.Palette[30 + i] = backdrops[i];
  }
  for (int face = 0; face < 16; ++face) {
    const int left = (face % 4) * kFace, top = (face / 4) * kFace;
    const auto backdrop = static_cast<std::uint8_t>(30 + face / 4);
    const auto hairIndex = static_cast<std::uint8_t>(10 + face % 4);
    const auto clothIndex = static_cast<std::uint8_t>(20 + (face / 4 + face) % 4);
    for (int y = 0; y < kFace; ++y)
      for (int x = 0; x < kFace; ++x) Plot(bitmap, left + x, top + y, backdrop);
    Disc(bitmap, left + 24, top + 50, 20, 12, clothIndex);  // shoulders
    Disc(bitmap, left + 24, top + 25, 13, 15, 1);           // head
    Disc(bitmap, left + 24, top + 14, 14, 8, hairIndex);    // hair
    if (face % 2 == 1) {                                    // long hair at the sides
      for (int y = 14; y < 34; ++y) {
        Plot(bitmap, left + 10, top + y, hairIndex);
        Plot(bitmap, left + 11, top + y, hairIndex);
        Plot(bitmap, left + 37, top + y, hairIndex);
        Plot(bitmap, left + 38, top + y, hairIndex);
      }
    }
    // Eyes look a little to the side for the faces of the right half, so
    // that a mirrored face can be told apart.
    const int look = face % 4 >= 2 ? 1 : 0;
    Disc(bitmap, left + 19 + look, top + 25, 1, 2, 3);
    Disc(bitmap, left + 29 + look, top + 25, 1, 2, 3);
    const int mouth = face % 3;  // smile, flat, open
    for (int x = 20; x <= 28; ++x) {
      const int dy = mouth == 0 ? (std::abs(x - 24) < 3 ? 1 : 0) : 0;
      Plot(bitmap, left + x, top + 33 + dy, 4);
    }
    if (mouth == 2) Disc(bitmap, left + 24, top + 34, 2, 1, 4);
    Plot(bitmap, left + 24, top + 29, 2);  // nose
  }
}
