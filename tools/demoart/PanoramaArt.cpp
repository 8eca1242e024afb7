// The demo's panorama "Sky": a sky darker at the top, two ranges of
// mountains and drifting clouds, 480 pixels wide so that it slides on wide maps.

#include <cmath>
#include <cstdint>

#include "DemoArt.h"
#include "WorldPalette.h"

namespace {

constexpr int kWidth = 480, kHeight = 240;

// A ridge line that repeats across the picture's width.
int Ridge(int x, double base, double height, int waves, double phase) {
  const double t = 2 * 3.14159265358979 * x / kWidth;
  return static_cast<int>(base - height * (0.6 * std::sin(waves * t + phase) + 0.4 * std::sin(waves * 3 * t + phase * 2)));
}

bool InCloud(int x, int y, int cx, int cy, int size) {
  for (int k = -1; k <= 1; ++k) {
    const int dx = x - (cx + k * size), dy = (y - cy) * 2;
    const int r = k == 0 ? size + 2 : size;
    const int wrapped = dx > kWidth / 2 ? dx - kWidth : (dx < -kWidth / 2 ? dx + kWidth : dx);
    if (wrapped * wrapped + dy * dy <= r * r && y <= cy + size / 3) return true;
  }
  return false;
}

}  // namespace

void DrawPanoramaPicture(TVantraBitmap& bitmap) {
  bitmap.SetFormat(kWidth, kHeight, 8);
  SetWorldPalette(bitmap);
  struct Cloud { int X, Y, Size; };
  const Cloud clouds[] = {{40, 40, 14}, {180, 24, 10}, {300, 56, 18}, {420, 32, 12}, {250, 90, 8}};
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      std::uint8_t index = static_cast<std::uint8_t>(wpSkyFirst + std::min(31, y * 32 / 170));
      for (const Cloud& c : clouds)
        if (InCloud(x, y, c.X, c.Y, c.Size)) index = y > c.Y ? wpCloudShade : wpCloud;
      const int far = Ridge(x, 150, 30, 3, 0.5);
      const int near = Ridge(x, 200, 28, 5, 1.7);
      if (y >= far) index = y < far + 4 && Noise(x, y, 2) == 0 ? wpSnowCap : wpMountainFar;
      if (y >= near) index = (x + y) % 7 == 0 ? wpMountainShade : wpMountain;
      bitmap.ScanLine(y)[x] = index;
    }
}
