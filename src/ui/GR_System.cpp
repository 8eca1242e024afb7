#include "ui/GR_System.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kTile = 8;
constexpr std::uint8_t kThinSpace = 0x01;

// Closing punctuation that may sit in the right-hand margin: ideographic
// comma and full stop, full-width comma and full stop.
bool IsClosingPunctuation(std::string_view character) {
  return character.size() == 2 && static_cast<std::uint8_t>(character[0]) == 0x81 &&
         character[1] >= 0x41 && character[1] <= 0x44;
}

bool IsAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

int CeilDiv8(int value) { return (value + kTile - 1) / kTile; }

}  // namespace

TKelSystemGraphic::TKelSystemGraphic(const TKelFontSearch& fonts)
    : Fonts(std::make_unique<TKelGameFonts>(fonts)) {
  FontSheet.LoadFromBitmapResource("EXFONT", true);
}

void TKelSystemGraphic::Load(const AssetFolders& folders, const std::string& name) {
  const std::string path = FindAsset(folders, name, "System", kImageExtensions);
  // An empty path makes the loader raise its own error, naming no file.
  Sheet.LoadFromFile(path.empty() ? "System/" + name : path, true);
}

TVantraRgb TKelSystemGraphic::BackgroundColor() const {
  const TVantraPaletteEntry& entry = Sheet.Palette[Sheet.Pixel(0, 32)];
  return {entry.R, entry.G, entry.B};
}

void TKelSystemGraphic::SetFont(int choice) {
  FontChoice = choice;
  Face = choice != 0 ? ffMincho : ffGothic;
}

void TKelSystemGraphic::DrawOnBoard(TVantraBoard& target, int x, int y, const TVantraRect& source) {
  Sheet.Transparent = true;
  target.Draw(x, y, source, Sheet);
}

void TKelSystemGraphic::DrawUpArrow(TVantraBoard& target, int x, int y) { DrawOnBoard(target, x, y, {40, 8, 56, 16}); }

void TKelSystemGraphic::DrawDownArrow(TVantraBoard& target, int x, int y) {
  DrawOnBoard(target, x, y, {40, 16, 56, 24});
}

void TKelSystemGraphic::DrawTimer(TVantraBoard& target, int x, int y, int frames) {
  frames = std::max(frames, 0);
  char text[16];
  std::snprintf(text, sizeof text, "%.2d:%.2d", frames / 3600, frames / 60 % 60);
  for (int i : {0, 1, 3, 4}) {
    const int cell = 8 * text[i] - 352;
    DrawOnBoard(target, x + 8 * i, y, {cell, 32, cell + 8, 48});
  }
  if (frames % 60 >= 30) DrawOnBoard(target, x + 16, y, {112, 32, 120, 48});
}

void TKelSystemGraphic::DrawIcon(TVantraBoard& target, int x, int y, int phase, int kind) {
  const int left = 128 + 8 * phase;
  const int top = 8 * kind;
  DrawOnBoard(target, x, y, {left, top, left + 8, top + 8});
}

void TKelSystemGraphic::DrawVehicleShadow(TVantraBoard& target, int x, int y, int strength) {
  Sheet.Opacity = strength / 4;
  DrawOnBoard(target, x, y, {128, 32, 144, 48});
  DrawOnBoard(target, x, y, {144, 32, 160, 48});
  Sheet.Opacity = 255;
}

void TKelSystemGraphic::CopyTile(TVantraSheet& target, int x, int y, int sourceX, int sourceY) {
  Sheet.Transparent = true;
  target.Draw(x, y, {sourceX, sourceY, sourceX + kTile, sourceY + kTile}, Sheet);
}

void TKelSystemGraphic::DrawWindowFrame(TVantraSheet& target, int x, int y, int height, int width) {
  if (width <= 0 || height <= 0) return;
  for (int i = 0; i < height; ++i) {
    const int ty = y + i;
    if (ty < 0 || ty >= target.GetHeight()) continue;
    const int sy = Tiled ? i % 32 : 32 * i / height;
    for (int j = 0; j < width; ++j) {
      const int tx = x + j;
      if (tx < 0 || tx >= target.GetWidth()) continue;
      const int sx = Tiled ? j % 32 : 32 * j / width;
      target.ScanLine(ty)[tx] = Sheet.Pixel(sx, sy);
    }
  }
  if (width <= 7 || height <= 7) return;
  if (width > 16) {
    for (int i = 1; i <= CeilDiv8(width) - 2; ++i) {
      const int sx = i % 2 ? 48 : 40;
      CopyTile(target, x + 8 * i, y, sx, 0);
      CopyTile(target, x + 8 * i, y + height - 8, sx, 24);
    }
  }
  if (height > 16) {
    for (int i = 1; i <= CeilDiv8(height) - 2; ++i) {
      const int sy = i % 2 ? 16 : 8;
      CopyTile(target, x, y + 8 * i, 32, sy);
      CopyTile(target, x + width - 8, y + 8 * i, 56, sy);
    }
  }
  CopyTile(target, x, y, 32, 0);
  CopyTile(target, x + width - 8, y, 56, 0);
  CopyTile(target, x, y + height - 8, 32, 24);
  CopyTile(target, x + width - 8, y + height - 8, 56, 24);
}

void TKelSystemGraphic::DrawCursor(TVantraSheet& target, const TVantraRect& rect, int phase) {
  const int cx = 64 + 32 * phase;
  const int w = rect.Width();
  const int h = rect.Height();
  if (w < 8 || h < 8) return;
  const int left = rect.Left;
  const int top = rect.Top;
  const int across = CeilDiv8(w) - 2;
  const int down = CeilDiv8(h) - 2;
  auto offset = [](int i) { return i % 2 ? 16 : 8; };
  if (w > 16 && h > 16)
    for (int i = 1; i <= down; ++i)
      for (int j = 1; j <= across; ++j) CopyTile(target, left + 8 * j, top + 8 * i, cx + offset(j), offset(i));
  for (int i = 1; i <= across; ++i) {
    CopyTile(target, left + 8 * i, top, cx + offset(i), 0);
    CopyTile(target, left + 8 * i, top + h - 8, cx + offset(i), 24);
  }
  for (int i = 1; i <= down; ++i) {
    CopyTile(target, left, top + 8 * i, cx, offset(i));
    CopyTile(target, left + w - 8, top + 8 * i, cx + 24, offset(i));
  }
  CopyTile(target, left, top, cx, 0);
  CopyTile(target, left + w - 8, top, cx + 24, 0);
  CopyTile(target, left, top + h - 8, cx, 24);
  CopyTile(target, left + w - 8, top + h - 8, cx + 24, 24);
}

void TKelSystemGraphic::RenderExFontGlyph(char letter) {
  const int number = letter >= 'a' ? 26 + (letter - 'a') : letter - 'A';
  const int left = 12 * (number % 13);
  const int top = 12 * (number / 13);
  for (int i = 0; i < kGlyphSize; ++i)
    for (int j = 0; j < kGlyphSize; ++j)
      if (FontSheet.Pixel(left + j, top + i) != 0) GlyphBoard[static_cast<std::size_t>(i * kGlyphSize + j)] = 1;
}

void TKelSystemGraphic::RenderCharacter(std::string_view character) {
  // A lead byte cut off by the end of the text has no glyph of its own.
  if (character.size() == 1 && IsShiftJisLead(static_cast<std::uint8_t>(character[0]))) return;
  Fonts->DrawCharacter(Face, character, GlyphBoard);
}

void TKelSystemGraphic::DrawText(TVantraSheet& target, int x, int y, int color, std::string_view text) {
  color = std::max(color, 0);
  const int px = 16 * (color % 10) + 2;
  const int py = 52 + 16 * (color / 10 % 2);
  const std::uint8_t shadow = Sheet.Pixel(16, 32);
  std::size_t pos = 0;
  while (pos < text.size()) {
    const auto byte = static_cast<std::uint8_t>(text[pos]);
    if (byte == kThinSpace) {
      x += 3;
      ++pos;
      continue;
    }
    GlyphBoard.fill(0);
    std::string_view character;
    int widthBytes = 1;
    if (IsShiftJisLead(byte) && pos + 1 < text.size() && IsShiftJisTrail(static_cast<std::uint8_t>(text[pos + 1]))) {
      character = text.substr(pos, 2);
      widthBytes = 2;
      RenderCharacter(character);
      pos += 2;
    } else if (byte == '$' && pos + 1 < text.size() && IsAsciiLetter(text[pos + 1])) {
      character = text.substr(pos, 2);
      widthBytes = 2;
      RenderExFontGlyph(text[pos + 1]);
      pos += 2;
    } else if (byte == '$' && pos + 1 < text.size() && text[pos + 1] == '$') {
      character = text.substr(pos, 1);
      RenderCharacter(character);
      pos += 2;
    } else {
      // A lead byte without its trail stays one half-width unit and draws nothing.
      character = text.substr(pos, 1);
      RenderCharacter(character);
      pos += 1;
    }

    const int limit = target.GetWidth() - 6 * widthBytes - 6;
    if (x < limit || (x == limit && IsClosingPunctuation(character))) {
      for (int i = 0; i < kGlyphSize; ++i) {
        for (int j = 0; j < kGlyphSize; ++j) {
          if (GlyphBoard[static_cast<std::size_t>(i * kGlyphSize + j)] == 0) continue;
          if (shadow > 0) {
            const int sx = x + 1 + j, sy = y + 3 + i;
            if (sx >= 0 && sy >= 0 && sx < target.GetWidth() && sy < target.GetHeight()) target.ScanLine(sy)[sx] = shadow;
          }
          const int tx = x + j, ty = y + 2 + i;
          if (tx >= 0 && ty >= 0 && tx < target.GetWidth() && ty < target.GetHeight())
            target.ScanLine(ty)[tx] = Sheet.Pixel(px + j, py + i);
        }
      }
    }
    x += 6 * widthBytes;
  }
}
