// The demo's chip set "World": water in three animation steps with sandy and
// rocky shores and deep water, three animated tiles, twelve autotiles, plain
// ground and obstacles below, and objects with see-through parts above.

#include <array>
#include <cstdint>
#include <functional>

#include "DemoArt.h"
#include "WorldPalette.h"

namespace {

using Painter = std::function<std::uint8_t(int x, int y)>;

struct Canvas {
  TVantraBitmap& Bitmap;
  void Put(int x, int y, std::uint8_t index) { Bitmap.ScanLine(y)[x] = index; }
  // Paints the w x h area at (left, top) with a painter of area-local coordinates.
  void Paint(int left, int top, int w, int h, const Painter& painter) {
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) Put(left + x, top + y, painter(x, y));
  }
};

// --- Water ------------------------------------------------------------------

std::uint8_t WaterPixel(int x, int y, int step, bool deep) {
  const bool crest = y % 4 == 1 && (x + step * 4 + (y / 4) * 5) % 12 < 3;
  if (deep) return crest ? wpDeepLight : wpDeep;
  return crest ? wpWaterLight : wpWater;
}

std::uint8_t ShorePixel(int x, int y, bool rocky) {
  if (rocky) return Noise(x, y, 3) == 0 ? wpRockDark : wpRock;
  return Noise(x, y, 5) == 0 ? wpSandDark : wpSand;
}

// A 16x16 water piece: shore on the sides the piece kind borders.
// Kind 0 all four sides, 1 left and right, 2 top and bottom, 3 only the
// four corners (inner corners), 4 none.
std::uint8_t WaterPiece(int kind, int x, int y, int step, bool rocky) {
  const bool nearX = x < 3 || x > 12, nearY = y < 3 || y > 12;
  bool shore = false;
  if (kind == 0) shore = nearX || nearY || ((x < 4 || x > 11) && (y < 4 || y > 11));
  if (kind == 1) shore = nearX;
  if (kind == 2) shore = nearY;
  if (kind == 3) shore = (x < 2 || x > 13) && (y < 2 || y > 13);
  if (shore) return ShorePixel(x, y, rocky);
  // A light rim where water meets the shore.
  const bool rim = (kind == 0 && (x == 3 || x == 12 || y == 3 || y == 12)) || (kind == 1 && (x == 3 || x == 12)) ||
                   (kind == 2 && (y == 3 || y == 12));
  return rim ? std::uint8_t{wpFoam} : WaterPixel(x, y, step, false);
}

void DrawWater(Canvas& canvas) {
  for (int step = 0; step < 3; ++step) {
    const int left = step * 16;
    for (int kind = 0; kind < 4; ++kind) {
      canvas.Paint(left, kind * 16, 16, 16, [&](int x, int y) { return WaterPiece(kind, x, y, step, false); });
      canvas.Paint(48 + left, kind * 16, 16, 16, [&](int x, int y) { return WaterPiece(kind, x, y, step, true); });
    }
    canvas.Paint(left, 64, 16, 16, [&](int x, int y) { return WaterPixel(x, y, step, false); });
    // Corner pieces: the quarter's outer corner turns deep.
    canvas.Paint(left, 80, 16, 16, [&](int x, int y) {
      const int dx = x < 8 ? x : 15 - x, dy = y < 8 ? y : 15 - y;
      return WaterPixel(x, y, step, dx + dy < 7);
    });
    canvas.Paint(left, 96, 16, 16, [&](int x, int y) {
      const int dx = x < 8 ? x : 15 - x, dy = y < 8 ? y : 15 - y;
      return WaterPixel(x, y, step, dx + dy >= 5);
    });
    canvas.Paint(left, 112, 16, 16, [&](int x, int y) { return WaterPixel(x, y, step, true); });
  }
}

// --- Animated tiles ---------------------------------------------------------

void DrawAnimatedTiles(Canvas& canvas) {
  for (int frame = 0; frame < 4; ++frame) {
    const int top = 64 + frame * 16;
    // 0: a campfire on grass.
    canvas.Paint(48, top, 16, 16, [&](int x, int y) -> std::uint8_t {
      if (y >= 12 && x >= 3 && x <= 12) return (x + y) % 3 == 0 ? wpWoodDark : wpWood;
      const int flameHeight = 6 + (frame % 2) * 2 + (frame == 2 ? 1 : 0);
      const int centre = 8 + (frame == 1 ? 1 : frame == 3 ? -1 : 0);
      const int dx = x - centre;
      if (y < 12 && y >= 12 - flameHeight && dx * dx * 3 < (y - (12 - flameHeight)) * 6) {
        if (dx * dx < (y - (12 - flameHeight))) return wpFireLight;
        return wpFire;
      }
      return GrassPixel(x, y);
    });
    // 1: a fountain jet over water.
    canvas.Paint(64, top, 16, 16, [&](int x, int y) -> std::uint8_t {
      if (y > 12 || x < 1 || x > 14) return (x + y) % 2 ? wpRock : wpRockLight;
      const int jet = 3 + frame;
      if ((x == 7 || x == 8) && y >= 12 - jet) return wpFoam;
      if (y == 12 - jet && (x == 6 - frame % 2 || x == 9 + frame % 2)) return wpFoam;
      return WaterPixel(x, y, frame, false);
    });
    // 2: a crystal that glints in turn on its four faces.
    canvas.Paint(80, top, 16, 16, [&](int x, int y) -> std::uint8_t {
      const int dx = x < 8 ? 7 - x : x - 8, dy = y < 8 ? 7 - y : y - 8;
      if (dx + dy / 2 > 6 || y < 1 || y > 14) return GrassPixel(x, y);
      const int face = (x < 8 ? 0 : 1) + (y < 8 ? 0 : 2);
      if (face == frame) return wpCrystalLight;
      return dx + dy / 2 > 5 ? wpCrystalDark : wpCrystal;
    });
  }
}

// --- Autotiles --------------------------------------------------------------

struct AutotileLook {
  std::uint8_t Base, Detail, Edge;
  int DetailEvery;
};

constexpr std::array<std::array<int, 2>, 12> kAutotileOrigins{{
    {0, 128}, {48, 128}, {0, 192}, {48, 192}, {96, 0}, {144, 0},
    {96, 64}, {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192},
}};

constexpr AutotileLook kAutotileLooks[12] = {
    {wpDirt, wpDirtDark, wpDirtLight, 5},  // path
    {wpSand, wpSandDark, wpSandLight, 7},  // beach
    {wpGrassDark, wpLeafDark, wpLeaf, 4},  // forest floor
    {wpGrassLight, wpFlowerRed, wpGrassDark, 6},  // flower bed
    {wpRock, wpRockDark, wpRockLight, 4},  // cliff top
    {wpLeaf, wpLeafDark, wpLeafDark, 3},   // hedge
    {wpSnow, wpSnowShade, wpSnowLight, 6},  // snow
    {wpFire, wpFireDark, wpFireLight, 3},   // lava
    {wpBrick, wpBrickDark, wpBrickLight, 4},  // cobbles
    {wpPurple, wpPurpleDark, wpPurpleLight, 5},  // swamp
    {wpWood, wpWoodDark, wpWoodLight, 4},  // boards
    {wpRoof, wpRoofDark, wpRoofLight, 4},  // roof
};

std::uint8_t AutotileFill(const AutotileLook& look, int x, int y, int seed) {
  return Noise(x, y, look.DetailEvery + seed) == 0 ? look.Detail : look.Base;
}

// One 48x64 autotile block: a lone patch, a spare copy, the inner corners,
// and a 3x3 patch whose outer ring is the edge.
void DrawAutotile(Canvas& canvas, int left, int top, const AutotileLook& look, int seed) {
  auto edged = [&](int x, int y, int width, int height) -> std::uint8_t {
    if (x < 2 || y < 2 || x >= width - 2 || y >= height - 2) return look.Edge;
    return AutotileFill(look, x, y, seed);
  };
  canvas.Paint(left, top, 16, 16, [&](int x, int y) { return edged(x, y, 16, 16); });
  canvas.Paint(left + 16, top, 16, 16, [&](int x, int y) { return edged(x, y, 16, 16); });
  canvas.Paint(left + 32, top, 16, 16, [&](int x, int y) -> std::uint8_t {
    if ((x < 2 || x > 13) && (y < 2 || y > 13)) return look.Edge;
    return AutotileFill(look, x, y, seed);
  });
  canvas.Paint(left, top + 16, 48, 48, [&](int x, int y) { return edged(x, y, 48, 48); });
}

// --- Plain lower tiles ------------------------------------------------------

std::uint8_t TreePixel(int x, int y) {
  if (y >= 11 && x >= 6 && x <= 9) return x == 6 ? wpWoodDark : wpTrunk;
  const int dx = x - 8, dy = y - 6;
  if (dx * dx + dy * dy * 2 <= 44) {
    if (dx * dx + dy * dy * 2 >= 36) return wpLeafDark;
    return Noise(x, y, 4) == 0 ? wpLeafLight : wpLeaf;
  }
  return GrassPixel(x, y);
}

std::uint8_t LowerTilePixel(int k, int x, int y) {
  if (k == 143) return wpClear;  // open sky: the panorama shows through
  switch (k % 16) {
    case 0: return GrassPixel(x, y);
    case 1: return (y % 5 == 2 && x % 6 == (y / 5) % 6) ? std::uint8_t{wpGrassDark} : GrassPixel(x, y);
    case 2: return (Noise(x, y, 19) == 0) ? std::uint8_t{wpFlowerYellow}
                                   : (Noise(x + 3, y, 23) == 0 ? std::uint8_t{wpFlowerRed} : GrassPixel(x, y));
    case 3: return (x - 8) * (x - 8) + (y - 9) * (y - 9) < 12 ? std::uint8_t{wpRock} : GrassPixel(x, y);
    case 4: return Noise(x, y, 6) == 0 ? wpDirtDark : wpDirt;
    case 5: return Noise(x, y, 7) == 0 ? wpSandDark : wpSand;
    case 6: return y % 4 == 3 ? wpWoodDark : (x == (y / 4 * 5) % 16 ? wpWoodDark : wpWood);
    case 7: return (x % 8 == 0 || y % 8 == 0) ? wpBrickDark : wpBrick;
    case 8: return x % 4 == 0 ? wpWoodDark : wpWoodLight;
    case 9: return Noise(x, y, 4) == 0 ? wpLeafDark : wpGrassDark;
    case 10: return TreePixel(x, y);
    case 11: return (y % 4 == 0 || (x + (y / 4) * 4) % 8 == 0) ? wpRockDark : wpRock;
    case 12: return (y % 4 == 0 || (x + (y / 4) * 4) % 8 == 0) ? wpBrickDark : wpBrickLight;
    case 13: return Noise(x, y, 3) == 0 ? wpSnowShade : wpSnow;
    case 14: return (x + y) % 2 ? wpPurpleDark : wpPurple;
    default: return (x / 4 + y / 4) % 2 ? wpRoof : wpRoofDark;
  }
}

// --- Upper tiles ------------------------------------------------------------

std::uint8_t Disc(int x, int y, int cx, int cy, int r2, std::uint8_t fill, std::uint8_t rim) {
  const int d = (x - cx) * (x - cx) + (y - cy) * (y - cy);
  if (d > r2) return wpClear;
  return d * 5 > r2 * 3 ? rim : fill;
}

std::uint8_t UpperTilePixel(int u, int x, int y) {
  switch (u % 16) {
    case 0: return wpClear;
    case 1: return Disc(x, y, 8, 9, 36, wpLeaf, wpLeafDark);  // bush
    case 2: return Disc(x, y, 8, 10, 25, wpRockLight, wpRockDark);  // boulder
    case 3: return (x % 5 == 2 && y % 5 == 2) ? wpFlowerRed : ((x % 5 == 2 && y % 5 == 3) ? wpLeafDark : wpClear);
    case 4: return (y == 6 || y == 11) || (x % 8 == 2 && y >= 4) ? wpWood : wpClear;  // fence
    case 5: return (y >= 3 && y <= 9 && x >= 2 && x <= 13) ? (y == 3 || y == 9 ? wpWoodDark : wpWoodLight)
                   : ((x == 7 || x == 8) && y > 9 ? wpTrunk : wpClear);  // sign
    case 6: return Disc(x, y, 8, 10, 20, wpRoof, wpRoofDark);  // pot
    case 7: return (x >= 3 && x <= 12 && y >= 3) ? ((y % 4 == 0) ? wpWoodDark : wpWood) : wpClear;  // barrel
    case 8: {  // tree top: drawn over characters
      const int dx = x - 8, dy = y - 10;
      if (dx * dx + dy * dy <= 64) return Noise(x, y, 4) == 0 ? wpLeafLight : wpLeaf;
      return wpClear;
    }
    case 9: return y < 10 ? ((x + y) % 4 == 0 ? wpRoofDark : wpRoof) : (y == 10 ? wpRoofDark : wpClear);  // eaves
    case 10: return y >= 4 ? (y <= 6 ? wpWoodLight : (y == 7 || x % 15 == 0 ? wpWoodDark : wpWood)) : wpClear;
    case 11: return (x >= 2 && x <= 13 && y >= 5 && y <= 14) ? (y == 8 ? wpFlowerYellow : wpWood) : wpClear;
    case 12: return (x == 7 || x == 8) ? wpRockDark : ((y == 2 && x >= 4 && x <= 11) ? wpFireLight : wpClear);
    case 13: return Disc(x, y, 8, 8, 40, wpRockLight, wpRock) == wpClear ? wpClear
                   : (Disc(x, y, 8, 8, 16, wpWater, wpWater) == wpWater ? wpWater : wpRock);  // well
    case 14: return (x >= 2 && x <= 13 && y >= 2 && y <= 13) ? ((x == y || x == 15 - y) ? wpWoodDark : wpWood)
                    : wpClear;  // crate
    default: return (y >= 8 && x >= 4 && x <= 11) ? ((y == 8) ? wpSnowLight : wpSnow) : wpClear;  // stool
  }
}

}  // namespace

void DrawChipSetPicture(TVantraBitmap& bitmap) {
  bitmap.SetFormat(480, 256, 8);
  SetWorldPalette(bitmap);
  Canvas canvas{bitmap};
  DrawWater(canvas);
  DrawAnimatedTiles(canvas);
  for (int n = 0; n < 12; ++n) DrawAutotile(canvas, kAutotileOrigins[n][0], kAutotileOrigins[n][1], kAutotileLooks[n], n);
  for (int k = 0; k < 144; ++k) {
    const int left = 192 + (k / 96) * 96 + (k % 6) * 16, top = ((k % 96) / 6) * 16;
    canvas.Paint(left, top, 16, 16, [&](int x, int y) { return LowerTilePixel(k, x, y); });
  }
  for (int u = 0; u < 144; ++u) {
    const int left = 288 + ((u + 48) / 96) * 96 + (u % 6) * 16, top = (((u + 48) % 96) / 6) * 16;
    canvas.Paint(left, top, 16, 16, [&](int x, int y) { return UpperTilePixel(u, x, y); });
  }
}
