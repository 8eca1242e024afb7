#include "UiTestKit.h"

TKelSystemGraphic& SharedSystemGraphic() {
  static TKelSystemGraphic graphic(TKelFontSearch{});
  return graphic;
}

std::uint8_t TestSkinColorIndex(int x, int y) {
  // 64 … 223, never 0 and never one of the solid indices below.
  return static_cast<std::uint8_t>(64 + (x * 7 + (y - 48) * 13) % 160);
}

void PaintTestSkin(TKelSystemGraphic& graphic, std::uint8_t shadowIndex) {
  TVantraSheet& sheet = graphic.Sheet;
  sheet.SetSize(TKelSystemGraphic::kWidth, TKelSystemGraphic::kHeight);
  sheet.FillRect(sheet.GetBounds(), 0);
  for (int i = 0; i < 256; ++i)
    sheet.SetPaletteEntry(i, static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>(i * 3));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) sheet.ScanLine(y)[x] = SkinBackgroundIndex(x / 8, y / 8);
  for (int y = 0; y < 32; ++y)
    for (int x = 32; x < 64; ++x)
      if (x % 8 == 0 || y % 8 == 0) sheet.ScanLine(y)[x] = SkinFrameTileIndex((x - 32) / 8, y / 8);
  sheet.FillRect({40, 8, 56, 24}, 0);
  sheet.FillRect({44, 10, 52, 14}, kSkinArrow);
  sheet.FillRect({44, 18, 52, 22}, kSkinArrow);
  sheet.FillRect({64, 0, 96, 32}, kSkinCursor0);
  sheet.FillRect({96, 0, 128, 32}, kSkinCursor1);
  for (int digit = 0; digit < 10; ++digit) sheet.FillRect({32 + 8 * digit, 32, 40 + 8 * digit, 48}, 30 + digit);
  sheet.FillRect({112, 32, 120, 48}, 40);
  sheet.ScanLine(32)[0] = 7;
  sheet.ScanLine(32)[16] = shadowIndex;
  for (int y = 48; y < 80; ++y)
    for (int x = 0; x < 160; ++x) sheet.ScanLine(y)[x] = TestSkinColorIndex(x, y);
  sheet.BuildColorTable();
}
