// The demo's title and game-over pictures: a landscape with a castle under a
// banner, and a dark screen with its words, in blocky letters of our own.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string_view>

#include "DemoArt.h"

namespace {

// 5 × 7 capitals, one string of five '#'/'.' per row.
struct Glyph {
  char letter;
  const char* rows[7];
};

const Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'I', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "#####"}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
};

const Glyph* FindGlyph(char letter) {
  for (const Glyph& glyph : kGlyphs)
    if (glyph.letter == letter) return &glyph;
  return nullptr;
}

void Fill(TVantraBitmap& bitmap, int left, int top, int right, int bottom, std::uint8_t index) {
  for (int y = std::max(top, 0); y < std::min(bottom, bitmap.Height); ++y)
    for (int x = std::max(left, 0); x < std::min(right, bitmap.Width); ++x) bitmap.ScanLine(y)[x] = index;
}

// Letters of `scale` pixels a dot, with a shadow one dot down and right.
void DrawWords(TVantraBitmap& bitmap, std::string_view text, int centreX, int top, int scale, std::uint8_t ink,
               std::uint8_t shadow) {
  const int advance = 6 * scale;
  const int left = centreX - (static_cast<int>(text.size()) * advance - scale) / 2;
  for (int pass = 0; pass < 2; ++pass) {
    const int offset = pass == 0 ? scale / 2 + 1 : 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
      const Glyph* glyph = FindGlyph(text[i]);
      if (glyph == nullptr) continue;
      for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 5; ++column)
          if (glyph->rows[row][column] == '#') {
            const int x = left + static_cast<int>(i) * advance + column * scale + offset;
            const int y = top + row * scale + offset;
            Fill(bitmap, x, y, x + scale, y + scale, pass == 0 ? shadow : ink);
          }
    }
  }
}

void SetRamp(TVantraBitmap& bitmap, int first, int count, TVantraRgb from, TVantraRgb to) {
  for (int i = 0; i < count; ++i) {
    auto mix = [&](std::uint8_t a, std::uint8_t b) { return static_cast<std::uint8_t>(a + (b - a) * i / std::max(count - 1, 1)); };
    bitmap.Palette[first + i] = {mix(from.R, to.R), mix(from.G, to.G), mix(from.B, to.B)};
  }
}

}  // namespace

void DrawTitlePicture(TVantraBitmap& bitmap) {
  bitmap.SetFormat(320, 240, 8);
  // 0..31 sky, 32..39 far hills, 40..47 near hills, 48..55 stone, 60.. banner and letters.
  SetRamp(bitmap, 0, 32, {20, 24, 72}, {236, 150, 96});
  SetRamp(bitmap, 32, 8, {70, 60, 110}, {120, 96, 140});
  SetRamp(bitmap, 40, 8, {24, 64, 40}, {60, 110, 60});
  SetRamp(bitmap, 48, 8, {40, 36, 52}, {110, 104, 120});
  bitmap.Palette[60] = {250, 232, 170};
  bitmap.Palette[61] = {120, 30, 36};
  bitmap.Palette[62] = {255, 246, 220};
  bitmap.Palette[63] = {40, 10, 16};
  bitmap.Palette[64] = {255, 220, 120};

  for (int y = 0; y < 240; ++y) Fill(bitmap, 0, y, 320, y + 1, static_cast<std::uint8_t>(std::min(y * 32 / 170, 31)));
  // A low sun and a few stars.
  for (int y = 118; y < 150; ++y)
    for (int x = 224; x < 256; ++x)
      if ((x - 240) * (x - 240) + (y - 134) * (y - 134) < 15 * 15) bitmap.ScanLine(y)[x] = 64;
  for (int star = 0; star < 40; ++star) {
    const int x = (star * 97 + 13) % 320, y = (star * 53 + 7) % 70;
    bitmap.ScanLine(y)[x] = 62;
  }
  // Two rows of hills, each a sum of waves.
  for (int x = 0; x < 320; ++x) {
    const int far = 150 + static_cast<int>(14 * std::sin(x / 23.0) + 8 * std::sin(x / 9.0 + 1));
    const int nearTop = 182 + static_cast<int>(10 * std::sin(x / 31.0 + 2) + 5 * std::sin(x / 13.0));
    for (int y = far; y < 240; ++y) bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(32 + std::min((y - far) / 6, 7));
    for (int y = nearTop; y < 240; ++y) bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(40 + std::min((y - nearTop) / 5, 7));
  }
  // A castle on the far hill: walls, towers with battlements, a gate.
  Fill(bitmap, 70, 128, 130, 170, 52);
  for (int tower : {62, 96, 126}) {
    Fill(bitmap, tower, 108, tower + 12, 170, 54);
    for (int merlon = 0; merlon < 3; ++merlon) Fill(bitmap, tower + merlon * 5, 104, tower + merlon * 5 + 3, 108, 54);
  }
  Fill(bitmap, 92, 150, 106, 170, 49);
  for (int window : {66, 100, 130}) Fill(bitmap, window, 116, window + 3, 122, 64);
  // The banner with the game's name.
  Fill(bitmap, 40, 28, 280, 92, 60);
  Fill(bitmap, 44, 32, 276, 88, 61);
  DrawWords(bitmap, "ZARKIT", 160, 38, 3, 62, 63);
  DrawWords(bitmap, "QUEST", 160, 64, 3, 64, 63);
}

void DrawGameOverPicture(TVantraBitmap& bitmap) {
  bitmap.SetFormat(320, 240, 8);
  SetRamp(bitmap, 0, 32, {0, 0, 0}, {90, 10, 16});
  bitmap.Palette[60] = {230, 220, 210};
  bitmap.Palette[61] = {30, 0, 4};
  for (int y = 0; y < 240; ++y) {
    const int distance = std::abs(y - 120);
    Fill(bitmap, 0, y, 320, y + 1, static_cast<std::uint8_t>(31 - std::min(distance * 31 / 120, 31)));
  }
  DrawWords(bitmap, "GAME", 160, 82, 5, 60, 61);
  DrawWords(bitmap, "OVER", 160, 128, 5, 60, 61);
}
