// Text drawing into window sheets: advances, "$" glyphs, the thin space, the
// right-hand margin, colour patterns and the shadow.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "UiTestKit.h"

namespace {

constexpr std::uint8_t kShadow = 9;

class TextTest : public ::testing::Test {
protected:
  void SetUp() override {
    PaintTestSkin(Graphic, kShadow);
    Graphic.SetFont(0);
  }
  void TearDown() override { Graphic.SetFont(0); }

  static std::vector<std::uint8_t> Pixels(const TVantraSheet& sheet) {
    std::vector<std::uint8_t> all;
    for (int y = 0; y < sheet.GetHeight(); ++y) all.insert(all.end(), sheet.ScanLine(y), sheet.ScanLine(y) + sheet.GetWidth());
    return all;
  }
  static bool HasInk(const TVantraSheet& sheet) {
    for (std::uint8_t p : Pixels(sheet))
      if (p != 0) return true;
    return false;
  }
  TVantraSheet Drawn(const std::string& text, int x = 4, int width = 200, int color = 0) {
    TVantraSheet sheet(width, 20);
    Graphic.DrawText(sheet, x, 0, color, text);
    return sheet;
  }

  TKelSystemGraphic& Graphic = SharedSystemGraphic();
};

struct AdvanceCase {
  const char* name;
  std::string prefix;
  int advance;
};

const AdvanceCase kAdvances[] = {
    {"half-width letter", "A", 6},
    {"full-width hiragana", "\x82\xa0", 12},
    {"half-width katakana", "\xb1", 6},
    {"thin space", "\x01", 3},
    {"letters around a thin space", "ab\x01" "c", 21},
    {"exfont glyph", "$A", 12},
    {"dollar pair", "$$", 6},
    {"dollar before a digit", "$1", 12},
    {"lead byte before a byte that cannot trail", "\x82 ", 12},
    {"full-width kanji then a letter", "\x8a\xbf" "x", 18},
};

// Drawing prefix + "$B" must equal drawing prefix, then "$B" alone where the
// prefix's advance says it starts.
TEST_F(TextTest, EachCharacterAdvancesByItsWidth) {
  for (const AdvanceCase& c : kAdvances) {
    SCOPED_TRACE(c.name);
    TVantraSheet together = Drawn(c.prefix + "$B");
    TVantraSheet apart = Drawn(c.prefix);
    Graphic.DrawText(apart, 4 + c.advance, 0, 0, "$B");
    EXPECT_EQ(Pixels(together), Pixels(apart));
  }
}

TEST_F(TextTest, DollarLetterDrawsItsExFontGlyphInThePattern) {
  PaintTestSkin(Graphic, 0);  // no shadow: only glyph pixels are drawn
  const int x = 10, y = 1;
  for (auto [text, column, row] : {std::tuple{"$A", 0, 0}, {"$N", 0, 1}, {"$m", 12, 2}, {"$z", 12, 3}}) {
    SCOPED_TRACE(text);
    TVantraSheet sheet(40, 20);
    Graphic.DrawText(sheet, x, y, 0, text);
    bool any = false;
    for (int i = 0; i < 12; ++i)
      for (int j = 0; j < 12; ++j) {
        const bool ink = Graphic.FontSheet.Pixel(12 * column + j, 12 * row + i) != 0;
        any = any || ink;
        EXPECT_EQ(sheet.Pixel(x + j, y + 2 + i), ink ? TestSkinColorIndex(2 + j, 52 + i) : 0) << j << "," << i;
      }
    EXPECT_TRUE(any);
  }
}

TEST_F(TextTest, LoneAndDoubledDollarDrawTheDollarSign) {
  const TVantraSheet lone = Drawn("$");
  EXPECT_TRUE(HasInk(lone));
  EXPECT_EQ(Pixels(lone), Pixels(Drawn("$$")));
  EXPECT_EQ(Pixels(Drawn("$1")), Pixels([&] {
              TVantraSheet s = Drawn("$");
              Graphic.DrawText(s, 10, 0, 0, "1");
              return s;
            }()));
}

TEST_F(TextTest, ThinSpaceAndUnknownCharactersDrawNothing) {
  EXPECT_FALSE(HasInk(Drawn("\x01\x01")));
  EXPECT_FALSE(HasInk(Drawn("\x85\x40")));  // a JIS row no font fills
  EXPECT_FALSE(HasInk(Drawn("\x82")));      // a lead byte cut off by the end
}

struct MarginCase {
  const char* name;
  std::string text;
  int x;
  bool drawn;
};

const MarginCase kMargins[] = {
    {"half-width at the limit", "A", 88, false},
    {"half-width before the limit", "A", 87, true},
    {"ideographic full stop in the margin", "\x81\x42", 82, true},
    {"ideographic comma in the margin", "\x81\x41", 82, true},
    {"full-width full stop in the margin", "\x81\x44", 82, true},
    {"other full-width at the limit", "\x82\xa0", 82, false},
    {"other full-width before the limit", "\x82\xa0", 81, true},
    {"full stop past the limit", "\x81\x42", 83, false},
    {"exfont glyph at the limit", "$A", 82, false},
};

TEST_F(TextTest, RightMarginKeepsSixPixelsExceptForClosingPunctuation) {
  for (const MarginCase& c : kMargins) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HasInk(Drawn(c.text, c.x, 100)), c.drawn);
  }
}

TEST_F(TextTest, ColourThirteenTakesItsPatternFromFiftySixtyEight) {
  const int x = 3;
  TVantraSheet sheet(40, 20);
  Graphic.DrawText(sheet, x, 0, 13, "$A");
  int glyphPixels = 0;
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 12; ++j)
      if (Graphic.FontSheet.Pixel(j, i) != 0) {
        EXPECT_EQ(sheet.Pixel(x + j, 2 + i), TestSkinColorIndex(50 + j, 68 + i));
        ++glyphPixels;
      }
  EXPECT_GT(glyphPixels, 0);
}

TEST_F(TextTest, ShadowLiesOneRightOneDownUnderEveryGlyphPixel) {
  const int x = 3;
  TVantraSheet sheet(40, 20);
  Graphic.DrawText(sheet, x, 0, 0, "$A");
  auto ink = [&](int j, int i) {
    return j >= 0 && i >= 0 && j < 12 && i < 12 && Graphic.FontSheet.Pixel(j, i) != 0;
  };
  for (int i = -2; i < 16; ++i)
    for (int j = -2; j < 16; ++j) {
      std::uint8_t expected = 0;
      if (ink(j - 1, i - 1)) expected = kShadow;
      if (ink(j, i)) expected = TestSkinColorIndex(2 + j, 52 + i);
      const int tx = x + j, ty = 2 + i;
      if (tx < 0 || ty < 0 || ty >= 20) continue;
      EXPECT_EQ(sheet.Pixel(tx, ty), expected) << j << "," << i;
    }
}

TEST_F(TextTest, GlyphsFitTheirCellsInBothFaces) {
  PaintTestSkin(Graphic, 0);
  struct Cell {
    std::string text;
    int width;
  };
  const Cell cells[] = {{"A", 6}, {"g", 6}, {"\xb1", 6}, {"\x82\xa0", 12}, {"\x8a\xbf", 12}, {"\x81\x42", 12}};
  for (int face : {0, 1}) {
    Graphic.SetFont(face);
    for (const Cell& cell : cells) {
      SCOPED_TRACE(testing::Message() << "face " << face << " text " << cell.text);
      TVantraSheet sheet(40, 20);
      Graphic.DrawText(sheet, 0, 0, 0, cell.text);
      EXPECT_TRUE(HasInk(sheet));
      for (int y = 0; y < 20; ++y)
        for (int x = cell.width; x < 40; ++x) EXPECT_EQ(sheet.Pixel(x, y), 0) << x << "," << y;
      for (int x = 0; x < 40; ++x) {
        EXPECT_EQ(sheet.Pixel(x, 0), 0);
        EXPECT_EQ(sheet.Pixel(x, 1), 0);
      }
    }
  }
}

TEST_F(TextTest, MinchoAndGothicDiffer) {
  Graphic.SetFont(1);
  const auto mincho = Pixels(Drawn("\x8a\xbf\x8e\x9a"));
  Graphic.SetFont(0);
  EXPECT_NE(mincho, Pixels(Drawn("\x8a\xbf\x8e\x9a")));
}

}  // namespace

namespace {

TEST(ExFont, FiftyTwoDistinctGlyphsOfInkOnBlack) {
  const TVantraSheet& font = SharedSystemGraphic().FontSheet;
  ASSERT_EQ(font.GetWidth(), 156);
  ASSERT_EQ(font.GetHeight(), 48);
  std::vector<std::vector<std::uint8_t>> glyphs;
  for (int glyph = 0; glyph < 52; ++glyph) {
    std::vector<std::uint8_t> cells;
    for (int y = 0; y < 12; ++y)
      for (int x = 0; x < 12; ++x) {
        const std::uint8_t p = font.Pixel(12 * (glyph % 13) + x, 12 * (glyph / 13) + y);
        EXPECT_TRUE(p == 0 || p == 255);
        cells.push_back(p);
      }
    EXPECT_NE(std::count(cells.begin(), cells.end(), 255), 0) << glyph;
    EXPECT_EQ(std::find(glyphs.begin(), glyphs.end(), cells), glyphs.end()) << glyph;
    glyphs.push_back(cells);
  }
}

}  // namespace
