// Sheets: the colour table, hue rotation, index operations and loading.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "graphics/VantraBmp.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"
#include "graphics/VantraSheet.h"
#include "graphics/VantraXyz.h"

namespace {

std::uint16_t Rgb565(int r, int g, int b) { return static_cast<std::uint16_t>(r * 2048 + g * 32 + b); }

struct TControls {
  int Red = 100, Green = 100, Blue = 100, Saturation = 100, FlashRed = 0, FlashGreen = 0, FlashBlue = 0, FlashLevel = 0;
};

struct TColorCase {
  const char* Name;
  std::uint8_t R, G, B;  // palette colour
  TControls Own, Screen;
  int Brightness;
  std::uint16_t Expected;  // worked out by hand from the rules
};

// (200, 100, 50) is r 25, g 25, b 6 in 5-6-5; grey e = (75 + 75 + 6) div 10 = 15.
const TColorCase kColorCases[] = {
    {"unchanged", 200, 100, 50, {}, {}, 100, Rgb565(25, 25, 6)},
    {"saturation 0 is grey, green doubled", 200, 100, 50, {100, 100, 100, 0}, {}, 100, Rgb565(15, 30, 15)},
    {"saturation 0 of pure red", 255, 0, 0, {}, {100, 100, 100, 0}, 100, Rgb565(9, 18, 9)},
    {"saturation 150 clamps both ends", 200, 100, 50, {100, 100, 100, 150}, {}, 100, Rgb565(31, 20, 0)},
    {"flash level 32 is the flash colour", 200, 100, 50, {100, 100, 100, 100, 31, 10, 0, 32}, {}, 100,
     Rgb565(31, 20, 0)},
    {"own flash before screen flash", 200, 100, 50, {100, 100, 100, 100, 31, 0, 0, 16},
     {100, 100, 100, 100, 0, 31, 0, 8}, 100, Rgb565(21, 24, 2)},
    {"brightness 0", 200, 100, 50, {}, {}, 0, 0},
    {"brightness 50", 200, 100, 50, {}, {}, 50, Rgb565(12, 12, 3)},
    {"brightness 200", 200, 100, 50, {}, {}, 200, 0xFFFF},
    {"red tone above 100", 200, 100, 50, {150}, {}, 100, Rgb565(28, 25, 6)},
    {"green tone below 100", 200, 100, 50, {100, 40}, {}, 100, Rgb565(25, 10, 6)},
    // tr = 150 + 120 − 100 = 170, ts = 50 + 80 − 100 = 30: saturation gives (18, 28, 12), tone r 18 → 27.
    {"both controls combined", 200, 100, 50, {150, 100, 100, 50}, {120, 100, 100, 80}, 100, Rgb565(27, 28, 12)},
    {"combined tone clamps at 200", 0, 0, 0, {200}, {200}, 100, Rgb565(31, 0, 0)},
};

TEST(SheetColorTable, MatchesHandComputedColours) {
  for (const TColorCase& c : kColorCases) {
    SCOPED_TRACE(c.Name);
    TVantraSheet sheet(1, 1);
    sheet.SetPaletteEntry(7, c.R, c.G, c.B);
    const TControls& o = c.Own;
    const TControls& s = c.Screen;
    sheet.OwnColor.SetAll(o.Red, o.Green, o.Blue, o.Saturation, o.FlashRed, o.FlashGreen, o.FlashBlue, o.FlashLevel, false);
    sheet.ScreenColor.SetAll(s.Red, s.Green, s.Blue, s.Saturation, s.FlashRed, s.FlashGreen, s.FlashBlue, s.FlashLevel,
                             false);
    sheet.Brightness = c.Brightness;
    sheet.BuildColorTable();
    EXPECT_EQ(sheet.ColorTable[7], c.Expected);
  }
}

TEST(SheetColorTable, SettersRebuildOnlyWhenAskedAndWhenSomethingChanged) {
  TVantraSheet sheet(1, 1);
  sheet.SetPaletteEntry(1, 200, 100, 50);
  sheet.BuildColorTable();
  sheet.OwnColor.SetTone(100, 100, 100, 0, false);
  EXPECT_EQ(sheet.ColorTable[1], Rgb565(25, 25, 6));
  sheet.OwnColor.SetFlash(0, 0, 0, 0, true);  // nothing changes: no rebuild
  EXPECT_EQ(sheet.ColorTable[1], Rgb565(25, 25, 6));
  sheet.OwnColor.SetFlash(31, 31, 31, 32, true);
  EXPECT_EQ(sheet.ColorTable[1], Rgb565(31, 62, 31));  // green is twice FlashGreen
  sheet.OwnColor.Reset(true);
  EXPECT_EQ(sheet.ColorTable[1], Rgb565(25, 25, 6));
}

struct THueCase {
  std::uint8_t R, G, B;
  int Degrees;
  std::uint8_t ExpectR, ExpectG, ExpectB;
};

// (200, 100, 50): S = 150·255 div 200 = 191, H = 20. Turned by 30 to H = 50:
// l = 191·200/255, n = round(f·l) = 125, p = 200 − l → (200, 175, 50).
const THueCase kHueCases[] = {
    {255, 0, 0, 120, 0, 255, 0},    {255, 0, 0, -120, 0, 0, 255},   {255, 0, 0, 360, 255, 0, 0},
    {200, 100, 50, 30, 200, 175, 50}, {200, 100, 50, -30, 200, 50, 75}, {200, 100, 50, -390, 200, 50, 75},
    {90, 90, 90, 77, 90, 90, 90},
};

TEST(SheetRotateHue, TurnsEveryEntryButIndexZero) {
  for (const THueCase& c : kHueCases) {
    SCOPED_TRACE(c.Degrees);
    TVantraSheet sheet(1, 1);
    sheet.SetPaletteEntry(0, c.R, c.G, c.B);
    sheet.SetPaletteEntry(5, c.R, c.G, c.B);
    sheet.RotateHue(c.Degrees);
    EXPECT_EQ(sheet.Palette[5].R, c.ExpectR);
    EXPECT_EQ(sheet.Palette[5].G, c.ExpectG);
    EXPECT_EQ(sheet.Palette[5].B, c.ExpectB);
    EXPECT_EQ(sheet.Palette[0].R, c.R);
    EXPECT_EQ(sheet.Palette[0].G, c.G);
    EXPECT_EQ(sheet.Palette[0].B, c.B);
    EXPECT_EQ(sheet.ColorTable[5], Rgb565(c.ExpectR / 8, c.ExpectG / 4, c.ExpectB / 8));
  }
}

// A 4 x 3 sheet whose index is 1 + x + 4y.
void FillCounting(TVantraSheet& sheet) {
  for (int y = 0; y < sheet.GetHeight(); ++y)
    for (int x = 0; x < sheet.GetWidth(); ++x) sheet.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + x + 4 * y);
}

TEST(SheetIndices, MirrorFillAndTestsClipToTheSheet) {
  TVantraSheet sheet(5, 2);
  for (int x = 0; x < 5; ++x) sheet.ScanLine(0)[x] = static_cast<std::uint8_t>(x);
  sheet.Mirror();
  EXPECT_EQ(sheet.Pixel(0, 0), 4);
  EXPECT_EQ(sheet.Pixel(2, 0), 2);
  EXPECT_EQ(sheet.Pixel(4, 0), 0);

  sheet.FillRect({-3, 1, 2, 9}, 9);  // clipped to (0, 1)–(2, 2)
  EXPECT_EQ(sheet.Pixel(0, 1), 9);
  EXPECT_EQ(sheet.Pixel(1, 1), 9);
  EXPECT_EQ(sheet.Pixel(2, 1), 0);

  EXPECT_TRUE(sheet.IsBlank({2, 1, 50, 50}));
  EXPECT_FALSE(sheet.IsBlank({-10, -10, 1, 1}));
  EXPECT_TRUE(sheet.IsSolid({-4, -4, 2, 2}));  // 4, 3 over 9, 9
  EXPECT_FALSE(sheet.IsSolid({0, 0, 9, 1}));   // (4, 0) is 0
  EXPECT_TRUE(sheet.IsBlank({3, 3, 1, 1}));
  EXPECT_TRUE(sheet.IsSolid({3, 3, 1, 1}));
}

TEST(SheetIndices, SameAreaComparesCorrespondingPartsInsideTheSheet) {
  TVantraSheet sheet(6, 2);
  const std::uint8_t rows[2][6] = {{1, 2, 1, 2, 7, 7}, {3, 4, 3, 4, 7, 8}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 6; ++x) sheet.ScanLine(y)[x] = rows[y][x];
  EXPECT_TRUE(sheet.SameArea({0, 0, 2, 2}, {2, 0, 4, 2}));
  EXPECT_FALSE(sheet.SameArea({0, 0, 2, 2}, {4, 0, 6, 2}));
  EXPECT_FALSE(sheet.SameArea({0, 0, 2, 2}, {2, 0, 5, 2}));  // sizes differ
  EXPECT_TRUE(sheet.SameArea({0, 0, 2, 0}, {4, 0, 6, 0}));   // no rows
  // Hanging over the right edge: only the columns inside are compared.
  EXPECT_FALSE(sheet.SameArea({2, 0, 8, 2}, {0, 0, 6, 2}));
  EXPECT_TRUE(sheet.SameArea({4, 0, 7, 1}, {5, 0, 8, 1}));
}

TEST(SheetIndices, SheetDrawCopiesIndicesAndSkipsZeroOfTransparentSources) {
  TVantraSheet source(4, 3);
  FillCounting(source);
  source.ScanLine(0)[1] = 0;
  for (bool transparent : {false, true}) {
    SCOPED_TRACE(transparent);
    TVantraSheet target(3, 3);
    target.FillRect(target.GetBounds(), 99);
    source.Transparent = transparent;
    target.Draw(-1, 1, {0, 0, 4, 3}, source);  // clipped at the left and bottom
    EXPECT_EQ(target.Pixel(0, 0), 99);
    EXPECT_EQ(target.Pixel(0, 1), transparent ? 99 : 0);  // source (1, 0)
    EXPECT_EQ(target.Pixel(1, 1), 3);
    EXPECT_EQ(target.Pixel(2, 2), 8);
  }
}

TEST(SheetIndices, MovedSheetKeepsPixelsAndItsControlsRebuildItsOwnTable) {
  TVantraSheet first(3, 2);
  first.ScanLine(1)[2] = 5;
  first.SetPaletteEntry(5, 200, 100, 50);
  first.OwnColor.SetTone(100, 100, 100, 0, true);
  TVantraSheet second = std::move(first);
  EXPECT_EQ(second.GetWidth(), 3);
  EXPECT_EQ(second.Pixel(2, 1), 5);
  EXPECT_EQ(second.ColorTable[5], Rgb565(15, 30, 15));
  second.OwnColor.SetTone(100, 100, 100, 100, true);
  EXPECT_EQ(second.ColorTable[5], Rgb565(25, 25, 6));
}

class SheetLoading : public ::testing::Test {
protected:
  std::string Path(const std::string& name) { return std::string(ZAR_BINARY_DIR) + "/sheet-test-" + name; }

  // 6 x 4, index 10 + x + 10y, palette entry i = (i, 2i, 3i).
  TVantraBitmap Picture() {
    TVantraBitmap bitmap;
    bitmap.SetFormat(6, 4, 8);
    for (int y = 0; y < 4; ++y)
      for (int x = 0; x < 6; ++x) bitmap.ScanLine(y)[x] = static_cast<std::uint8_t>(10 + x + 10 * y);
    for (int i = 0; i < 256; ++i)
      bitmap.Palette[i] = TVantraRgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(2 * i),
                                     static_cast<std::uint8_t>(3 * i)};
    return bitmap;
  }
};

TEST_F(SheetLoading, CutsToTheSheetFromTheOriginAndKeepsTheRestZero) {
  WriteFileBytes(Path("a.xyz"), WriteXyz(Picture()));
  TVantraSheet sheet(8, 2);
  sheet.LoadFromFile(Path("a.xyz"), 1, 1, true);
  EXPECT_EQ(sheet.GetWidth(), 8);
  EXPECT_EQ(sheet.Pixel(0, 0), 21);
  EXPECT_EQ(sheet.Pixel(4, 1), 35);
  EXPECT_EQ(sheet.Pixel(5, 0), 0);  // past the picture's columns
  EXPECT_EQ(sheet.Palette[40].B, 120);
  EXPECT_EQ(sheet.ColorTable[40], Rgb565(5, 20, 15));
}

TEST_F(SheetLoading, AutoSizeTakesThePictureSize) {
  WriteFileBytes(Path("b.png"), WritePng(Picture()));
  TVantraSheet sheet;
  sheet.AutoSize = true;
  sheet.LoadFromFile(Path("b.png"), true);
  EXPECT_EQ(sheet.GetWidth(), 6);
  EXPECT_EQ(sheet.GetHeight(), 4);
  EXPECT_EQ(sheet.Pixel(5, 3), 45);
}

TEST_F(SheetLoading, FailuresAreSilentUnlessAskedAndLeaveTheSheetCleared) {
  TVantraBitmap truecolour;
  truecolour.SetFormat(2, 2, 24);
  WriteFileBytes(Path("c.png"), WritePng(truecolour));
  for (const std::string& file : {Path("missing.png"), Path("c.png")}) {
    SCOPED_TRACE(file);
    TVantraSheet sheet(3, 3);
    sheet.FillRect(sheet.GetBounds(), 4);
    sheet.SetPaletteEntry(4, 255, 255, 255);
    sheet.BuildColorTable();
    EXPECT_NO_THROW(sheet.LoadFromFile(file, false));
    EXPECT_TRUE(sheet.IsBlank(sheet.GetBounds()));
    EXPECT_EQ(sheet.Palette[4].R, 0);
    EXPECT_EQ(sheet.ColorTable[4], 0);
    EXPECT_ANY_THROW(sheet.LoadFromFile(file, true));
  }
  TVantraSheet sheet(3, 3);
  try {
    sheet.LoadFromFile(Path("c.png"), true);
    ADD_FAILURE();
  } catch (const EVantraInvalidGraphic& e) {
    EXPECT_STREQ(e.what(), kMsgInvalidImageFormat);
  }
}

TEST(SheetResources, LogosAndGlyphsAreBuiltIn) {
  for (const char* name : {"LOGO1", "LOGO2", "LOGO3"}) {
    TVantraSheet logo;
    logo.AutoSize = true;
    logo.LoadFromXyzResource(name, true);
    EXPECT_EQ(logo.GetWidth(), 320) << name;
    EXPECT_EQ(logo.GetHeight(), 240) << name;
  }
  TVantraSheet font(156, 48);
  font.LoadFromBitmapResource("EXFONT", true);
  std::set<int> indices;
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 156; ++x) indices.insert(font.Pixel(x, y));
  EXPECT_EQ(indices, (std::set<int>{0, 255}));
  EXPECT_EQ(font.ColorTable[255], 0xFFFF);

  TVantraSheet missing(2, 2);
  EXPECT_THROW(missing.LoadFromXyzResource("LOGO9", true), EVantraError);
  EXPECT_NO_THROW(missing.LoadFromBitmapResource("LOGO1", false));  // wrong type: not found
}

}  // namespace
