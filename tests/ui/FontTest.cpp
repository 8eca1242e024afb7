// Font look-up: the author's "Font" folder before the system faces, the
// Shift-JIS to JIS arithmetic, and the message when there is no font.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "UiTestKit.h"

namespace fs = std::filesystem;

namespace {

TEST(ShiftJis, PairsMapToJisRowAndCell) {
  struct Case {
    std::uint8_t lead, trail;
    std::uint16_t jis;
  };
  const Case cases[] = {
      {0x81, 0x40, 0x2121},  // ideographic space: first cell
      {0x82, 0xa0, 0x2422},  // hiragana a: trail past 0x9e moves to the even row
      {0x81, 0x7e, 0x215f},  // last trail before the 0x7f gap
      {0x81, 0x80, 0x2160},  // first trail after it
      {0x88, 0x9f, 0x3021},  // first kanji
      {0x9f, 0xfc, 0x5e7e},  // last cell before the lead-byte gap
      {0xe0, 0x40, 0x5f21},  // first cell after it
      {0xea, 0xa4, 0x7426},  // last kanji
  };
  for (const Case& c : cases) EXPECT_EQ(ShiftJisToJis(c.lead, c.trail), c.jis) << std::hex << int(c.lead) << int(c.trail);
}

class TempFolder {
public:
  TempFolder() {
    Path = fs::temp_directory_path() / ("zar-ui-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                        "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(Path);
    fs::create_directories(Path);
  }
  ~TempFolder() { fs::remove_all(Path); }
  fs::path Path;
};

TEST(GameFonts, NoFontAnywhereNamesWhatWasLookedFor) {
  TempFolder empty;
  TKelFontSearch search{{empty.Path, empty.Path}, empty.Path / "misc"};
  try {
    TKelGameFonts fonts(search);
    FAIL() << "fonts were found";
  } catch (const EKelFontMissing& error) {
    const std::string message = error.what();
    for (const char* part : {"Zarmin", "Zarsan", "Font", "shnmk12min.pcf.gz", "shnmk12.pcf.gz", "shnm6x12r.pcf.gz"})
      EXPECT_NE(message.find(part), std::string::npos) << part << " in " << message;
    EXPECT_NE(message.find((empty.Path / "misc").string()), std::string::npos);
  }
}

// A Unicode bitmap font with a solid "A" and a hollow hiragana "a".
void WriteAuthorFont(const fs::path& file) {
  fs::create_directories(file.parent_path());
  std::ofstream out(file);
  out << "STARTFONT 2.1\nFONT -test-zarsan-medium-r-normal--12-120-75-75-c-60-iso10646-1\nSIZE 12 75 75\n"
         "FONTBOUNDINGBOX 12 12 0 -2\nSTARTPROPERTIES 4\nFONT_ASCENT 10\nFONT_DESCENT 2\n"
         "CHARSET_REGISTRY \"ISO10646\"\nCHARSET_ENCODING \"1\"\nENDPROPERTIES\nCHARS 2\n";
  out << "STARTCHAR A\nENCODING 65\nSWIDTH 500 0\nDWIDTH 6 0\nBBX 6 12 0 -2\nBITMAP\n";
  for (int i = 0; i < 12; ++i) out << "FC\n";
  out << "ENDCHAR\nSTARTCHAR hiragana_a\nENCODING 12354\nSWIDTH 1000 0\nDWIDTH 12 0\nBBX 12 12 0 -2\nBITMAP\n";
  out << "FFF0\n";
  for (int i = 0; i < 10; ++i) out << "8010\n";
  out << "FFF0\nENDCHAR\nENDFONT\n";
}

int InkCount(const TKelGlyph& glyph) { return static_cast<int>(std::count(glyph.begin(), glyph.end(), 1)); }

TEST(GameFonts, TheGamesFontFolderComesBeforeTheSystemFaces) {
  TempFolder game;
  WriteAuthorFont(game.Path / "Font" / "Zarsan.bdf");
  TKelGameFonts fonts(TKelFontSearch{{game.Path, {}}});
  EXPECT_EQ(fonts.FilesInUse().front(), game.Path / "Font" / "Zarsan.bdf");

  TKelGlyph glyph{};
  ASSERT_TRUE(fonts.DrawCharacter(ffGothic, "A", glyph));
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 12; ++x) EXPECT_EQ(glyph[y * 12 + x], x < 6 ? 1 : 0) << x << "," << y;

  glyph.fill(0);
  ASSERT_TRUE(fonts.DrawCharacter(ffGothic, "\x82\xa0", glyph));  // through Unicode
  EXPECT_EQ(InkCount(glyph), 2 * 12 + 2 * 10);

  // What the author's font lacks, and the other face, come from the system.
  glyph.fill(0);
  ASSERT_TRUE(fonts.DrawCharacter(ffGothic, "B", glyph));
  EXPECT_GT(InkCount(glyph), 0);
  glyph.fill(0);
  ASSERT_TRUE(fonts.DrawCharacter(ffMincho, "A", glyph));
  EXPECT_LT(InkCount(glyph), 6 * 12);
}

TEST(GameFonts, AMissingCharacterIsReportedAndDrawsNothing) {
  const TKelGameFonts& fonts = [] () -> const TKelGameFonts& {
    static TKelGameFonts shared(TKelFontSearch{});
    return shared;
  }();
  for (const char* text : {"\x85\x40", "\xef\x40"}) {
    TKelGlyph glyph{};
    EXPECT_FALSE(fonts.DrawCharacter(ffMincho, text, glyph)) << text;
    EXPECT_EQ(InkCount(glyph), 0);
  }
}

TEST(SystemGraphic, AMissingSkinRaises) {
  TempFolder game;
  EXPECT_THROW(SharedSystemGraphic().Load({game.Path, {}}, "Nothing"), std::exception);
}

}  // namespace
