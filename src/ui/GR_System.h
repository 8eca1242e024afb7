#pragma once
// The system graphic: the game's 160 × 80 window skin with its fixed layout
// (backgrounds, frames, cursors, arrows, icons, timer digits, the flying
// vehicle's shadow and twenty text colours), the built-in "EXFONT" glyphs and
// the drawing of 12-pixel text in the game fonts.

#include <memory>
#include <string>
#include <string_view>

#include "graphics/VantraSheet.h"
#include "ui/GameFont.h"

class TKelSystemGraphic {
public:
  static constexpr int kWidth = 160;
  static constexpr int kHeight = 80;

  // Opens the fonts (EKelFontMissing when there are none) and the "EXFONT" glyphs.
  explicit TKelSystemGraphic(const TKelFontSearch& fonts);
  TKelSystemGraphic(const TKelSystemGraphic&) = delete;
  TKelSystemGraphic& operator=(const TKelSystemGraphic&) = delete;

  // The game's system graphic from the "System" folder; errors are raised.
  void Load(const AssetFolders& folders, const std::string& name);
  TVantraRgb BackgroundColor() const;
  // Non-zero: mincho ("Zarmin"); zero: gothic ("Zarsan").
  void SetFont(int choice);
  int GetFontChoice() const { return FontChoice; }

  // Onto the back buffer, index 0 transparent.
  void DrawUpArrow(TVantraBoard& target, int x, int y);
  void DrawDownArrow(TVantraBoard& target, int x, int y);
  void DrawTimer(TVantraBoard& target, int x, int y, int frames);
  void DrawIcon(TVantraBoard& target, int x, int y, int phase, int kind);
  void DrawVehicleShadow(TVantraBoard& target, int x, int y, int strength);

  // Into window sheets, as palette indices (they share the system palette).
  void DrawWindowFrame(TVantraSheet& target, int x, int y, int height, int width);
  void DrawCursor(TVantraSheet& target, const TVantraRect& rect, int phase);
  void DrawText(TVantraSheet& target, int x, int y, int color, std::string_view text);

  TVantraSheet Sheet{kWidth, kHeight};
  TVantraSheet FontSheet{156, 48};
  bool Tiled = false;

private:
  // Copies one 8 × 8 tile of the sheet, index 0 transparent.
  void CopyTile(TVantraSheet& target, int x, int y, int sourceX, int sourceY);
  void DrawOnBoard(TVantraBoard& target, int x, int y, const TVantraRect& source);
  // The glyph of character (one or two bytes) into GlyphBoard.
  void RenderCharacter(std::string_view character);
  void RenderExFontGlyph(char letter);

  std::unique_ptr<TKelGameFonts> Fonts;
  TKelGlyph GlyphBoard{};
  int FontChoice = 0;
  TKelFontFace Face = ffGothic;
};
