// The demo's window skin: a blue gradient window with a light rounded frame,
// a gold cursor in two brightnesses, white arrows, seven-segment timer digits
// and twenty text colours, each a gradient from a light top to its base.

#include <algorithm>

#include "DemoArt.h"

namespace {

enum : std::uint8_t {
  kScreenBackground = 1,
  kTextShadow = 2,
  kFrameDark = 3,
  kFrameLight = 4,
  kFrameMid = 5,
  kArrowFill = 6,
  kArrowEdge = 7,
  kCursorBright = 8,
  kCursorBrightFill = 9,
  kCursorDim = 10,
  kCursorDimFill = 11,
  kDigit = 12,
  kDigitEdge = 13,
  kVehicleShadow = 14,
  kBackgroundFirst = 16,  // 32 shades, top to bottom
  kTextFirst = 48,        // 20 colours of 8 shades
  kIconFirst = 208,       // 4 kinds of 4 phases
};

constexpr TVantraRgb kTextColours[20] = {
    {248, 248, 248}, {160, 200, 255}, {255, 176, 64},  {144, 144, 144}, {128, 240, 128},
    {255, 96, 96},   {255, 240, 96},  {96, 240, 240},  {200, 140, 255}, {255, 160, 220},
    {232, 200, 96},  {120, 170, 255}, {200, 255, 96},  {255, 128, 112}, {64, 200, 176},
    {200, 200, 255}, {200, 140, 80},  {208, 216, 224}, {220, 40, 80},   {72, 72, 72},
};
constexpr TVantraRgb kIconColours[4] = {{96, 240, 96}, {255, 96, 96}, {240, 240, 240}, {255, 224, 64}};

std::uint8_t Mix(int from, int to, int step, int steps) { return static_cast<std::uint8_t>(from + (to - from) * step / steps); }

TVantraRgb Shade(TVantraRgb base, int step, int steps, int lightPercent, int darkPercent) {
  // From a lighter tint at step 0 to a darker tone at the last step.
  const int percent = lightPercent + (darkPercent - lightPercent) * step / (steps - 1);
  auto channel = [&](int c) {
    const int v = percent >= 0 ? c + (255 - c) * percent / 100 : c * (100 + percent) / 100;
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
  };
  return {channel(base.R), channel(base.G), channel(base.B)};
}

void Put(TVantraBitmap& b, int x, int y, std::uint8_t index) { b.ScanLine(y)[x] = index; }

void Fill(TVantraBitmap& b, int left, int top, int width, int height, std::uint8_t index) {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) Put(b, x, y, index);
}

void SetPalette(TVantraBitmap& b) {
  auto& p = b.Palette;
  p.fill(TVantraRgb{});
  p[kScreenBackground] = {16, 16, 40};
  p[kTextShadow] = {8, 8, 24};
  p[kFrameDark] = {24, 24, 56};
  p[kFrameLight] = {236, 236, 252};
  p[kFrameMid] = {150, 160, 214};
  p[kArrowFill] = {255, 255, 255};
  p[kArrowEdge] = {32, 32, 88};
  p[kCursorBright] = {255, 236, 150};
  p[kCursorBrightFill] = {100, 116, 208};
  p[kCursorDim] = {196, 180, 120};
  p[kCursorDimFill] = {80, 94, 176};
  p[kDigit] = {255, 255, 255};
  p[kDigitEdge] = {40, 40, 40};
  p[kVehicleShadow] = {0, 0, 0};
  for (int i = 0; i < 32; ++i) p[kBackgroundFirst + i] = {Mix(44, 10, i, 31), Mix(60, 16, i, 31), Mix(150, 64, i, 31)};
  for (int k = 0; k < 20; ++k)
    for (int s = 0; s < 8; ++s) p[kTextFirst + 8 * k + s] = Shade(kTextColours[k], s, 8, 45, -25);
  for (int k = 0; k < 4; ++k)
    for (int phase = 0; phase < 4; ++phase) p[kIconFirst + 4 * k + phase] = Shade(kIconColours[k], phase, 4, 30, -30);
}

// A 32 × 32 box with a border; the outer corner pixels are cut for roundness.
void DrawBox(TVantraBitmap& b, int left, int top, std::uint8_t outline, std::uint8_t inner, std::uint8_t second,
             std::uint8_t fill) {
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int cx = std::min(x, 31 - x), cy = std::min(y, 31 - y);
      const int d = std::min(cx, cy);
      std::uint8_t index = fill;
      if (cx == 0 && cy == 0) index = 0;
      else if (d == 0 || (cx == 1 && cy == 1)) index = outline;
      else if (d == 1) index = inner;
      else if (d == 2) index = second;
      Put(b, left + x, top + y, index);
    }
}

// A triangle in a 16 × 8 cell, apex up or down, with an outline.
void DrawArrow(TVantraBitmap& b, int left, int top, bool up) {
  for (int r = 0; r < 6; ++r) {
    const int y = top + 1 + (up ? r : 5 - r);
    for (int x = 7 - r; x <= 8 + r; ++x) Put(b, left + x, y, kArrowFill);
  }
  for (int y = top; y < top + 8; ++y)
    for (int x = left; x < left + 16; ++x) {
      if (b.ScanLine(y)[x] != 0) continue;
      bool near = false;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= left && nx < left + 16 && ny >= top && ny < top + 8 && b.ScanLine(ny)[nx] == kArrowFill) near = true;
        }
      if (near) Put(b, x, y, kArrowEdge);
    }
}

// Seven segments a–g per digit, in a 8 × 16 cell.
constexpr const char* kSegments[10] = {"abcdef", "bc", "abdeg", "abcdg", "bcfg",
                                       "acdfg",  "acdefg", "abc", "abcdefg", "abcdfg"};

void OutlineCell(TVantraBitmap& b, int left, int top, int width, int height, std::uint8_t ink, std::uint8_t edge) {
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) {
      if (b.ScanLine(y)[x] != 0) continue;
      for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
          const int nx = x + dx, ny = y + dy;
          if (nx >= left && nx < left + width && ny >= top && ny < top + height && b.ScanLine(ny)[nx] == ink)
            Put(b, x, y, edge);
        }
    }
}

void DrawDigit(TVantraBitmap& b, int left, int top, int digit) {
  for (const char* s = kSegments[digit]; *s; ++s) {
    switch (*s) {
      case 'a': Fill(b, left + 2, top + 1, 4, 2, kDigit); break;
      case 'b': Fill(b, left + 5, top + 2, 2, 6, kDigit); break;
      case 'c': Fill(b, left + 5, top + 8, 2, 6, kDigit); break;
      case 'd': Fill(b, left + 2, top + 13, 4, 2, kDigit); break;
      case 'e': Fill(b, left + 1, top + 8, 2, 6, kDigit); break;
      case 'f': Fill(b, left + 1, top + 2, 2, 6, kDigit); break;
      case 'g': Fill(b, left + 2, top + 7, 4, 2, kDigit); break;
    }
  }
  OutlineCell(b, left, top, 8, 16, kDigit, kDigitEdge);
}

void DrawEllipse(TVantraBitmap& b, int cx, int cy, int rx, int ry, std::uint8_t index) {
  for (int y = cy - ry; y <= cy + ry; ++y)
    for (int x = cx - rx; x <= cx + rx; ++x) {
      const int dx = x - cx, dy = y - cy;
      if (dx * dx * ry * ry + dy * dy * rx * rx <= rx * rx * ry * ry) Put(b, x, y, index);
    }
}

// Icon kinds by row: better (up), worse (down), same (equals), equipped ("E").
constexpr const char* kIcons[4][8] = {
    {"...##...", "..####..", ".######.", "########", "...##...", "...##...", "...##...", "........"},
    {"...##...", "...##...", "...##...", "########", ".######.", "..####..", "...##...", "........"},
    {"........", "........", "#######.", "........", "........", "#######.", "........", "........"},
    {"######..", "##......", "##......", "#####...", "##......", "##......", "######..", "........"},
};

void DrawIcons(TVantraBitmap& b) {
  for (int kind = 0; kind < 4; ++kind)
    for (int phase = 0; phase < 4; ++phase)
      for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
          if (kIcons[kind][y][x] == '#')
            Put(b, 128 + 8 * phase + x, 8 * kind + y, static_cast<std::uint8_t>(kIconFirst + 4 * kind + phase));
}

void DrawTextColours(TVantraBitmap& b) {
  for (int k = 0; k < 20; ++k) {
    const int left = 16 * (k % 10), top = 48 + 16 * (k / 10);
    for (int y = 0; y < 16; ++y) {
      const int shade = std::clamp((y - 4) * 8 / 12, 0, 7);
      for (int x = 0; x < 16; ++x) Put(b, left + x, top + y, static_cast<std::uint8_t>(kTextFirst + 8 * k + shade));
    }
  }
}

}  // namespace

void DrawSystemGraphic(TVantraBitmap& bitmap) {
  bitmap.SetFormat(160, 80, 8);
  SetPalette(bitmap);
  for (int y = 0; y < 32; ++y) Fill(bitmap, 0, y, 32, 1, static_cast<std::uint8_t>(kBackgroundFirst + y));
  DrawBox(bitmap, 32, 0, kFrameDark, kFrameLight, kFrameMid, 0);
  DrawArrow(bitmap, 40, 8, true);
  DrawArrow(bitmap, 40, 16, false);
  DrawBox(bitmap, 64, 0, kCursorBright, kCursorBright, kCursorBrightFill, kCursorBrightFill);
  DrawBox(bitmap, 96, 0, kCursorDim, kCursorDimFill, kCursorDimFill, kCursorDimFill);
  DrawIcons(bitmap);
  Put(bitmap, 0, 32, kScreenBackground);
  Put(bitmap, 16, 32, kTextShadow);
  for (int digit = 0; digit < 10; ++digit) DrawDigit(bitmap, 32 + 8 * digit, 32, digit);
  Fill(bitmap, 115, 36, 2, 2, kDigit);
  Fill(bitmap, 115, 42, 2, 2, kDigit);
  OutlineCell(bitmap, 112, 32, 8, 16, kDigit, kDigitEdge);
  DrawEllipse(bitmap, 136, 43, 6, 3, kVehicleShadow);
  DrawEllipse(bitmap, 152, 43, 4, 2, kVehicleShadow);
  DrawTextColours(bitmap);
}
