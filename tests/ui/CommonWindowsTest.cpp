// Gold, help, item and skill windows over small fake parties.

#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "UiTestKit.h"

namespace {

// Indices the text colour `color` paints with in the test skin.
std::set<std::uint8_t> PatternOf(int color) {
  std::set<std::uint8_t> indices;
  const int px = 16 * (color % 10) + 2, py = 52 + 16 * (color / 10 % 2);
  for (int i = 0; i < 12; ++i)
    for (int j = 0; j < 12; ++j) indices.insert(TestSkinColorIndex(px + j, py + i));
  return indices;
}

// Text pixels (the test skin's colour area indices) in a rectangle of a sheet.
std::set<std::uint8_t> InkIn(const TVantraSheet& sheet, const TVantraRect& r) {
  std::set<std::uint8_t> ink;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x)
      if (IsTextIndex(sheet.Pixel(x, y))) ink.insert(sheet.Pixel(x, y));
  return ink;
}

bool Within(const std::set<std::uint8_t>& ink, const std::set<std::uint8_t>& allowed) {
  for (std::uint8_t p : ink)
    if (!allowed.count(p)) return false;
  return !ink.empty();
}

class CommonWindowsTest : public ::testing::Test {
protected:
  void SetUp() override { PaintTestSkin(SharedSystemGraphic(), 0); }
  WindowRig Rig;
};

struct FakeGold : TKelGoldSource {
  int Gold() const override { return 1234; }
  std::string CurrencyWord() const override { return "Gold"; }
};

TEST_F(CommonWindowsTest, GoldShowsOnceOpenRightAlignedBeforeItsWord) {
  FakeGold gold;
  TKelGoldWindow w(Rig.Services, gold);
  w.Setup(160, 0, 160, 32, true);
  w.Refresh();
  EXPECT_TRUE(InkIn(w.ContentSheet, w.ContentSheet.GetBounds()).empty());  // not open yet
  for (int i = 0; i < 7; ++i) Rig.Frame(w);
  ASSERT_TRUE(w.IsReady());
  // The word's 4 characters end 8 pixels before the right edge; "  1234" ends where it starts.
  const int wordLeft = 160 - 6 * 4 - 8;
  EXPECT_TRUE(Within(InkIn(w.WindowSheet, {wordLeft, 10, 160 - 8, 22}), PatternOf(1)));
  EXPECT_TRUE(Within(InkIn(w.WindowSheet, {wordLeft - 24, 10, wordLeft, 22}), PatternOf(0)));
  EXPECT_TRUE(InkIn(w.ContentSheet, {0, 0, wordLeft - 24, 40}).empty());
  EXPECT_TRUE(InkIn(w.ContentSheet, {160 - 8 + 1, 0, 160, 40}).empty());
}

TEST_F(CommonWindowsTest, HelpTurnsSpacesThinAndShowsAtOnce) {
  TKelHelpWindow help(Rig.Services);
  help.Setup(0, 0, 320, 32, false);
  help.SetText("$A $B");
  EXPECT_EQ(help.Text, "$A\x01$B");
  // The second glyph starts 12 + 3 pixels after the first.
  TVantraSheet expected(320, 32);
  SharedSystemGraphic().DrawText(expected, 8, 8, 0, "$A");
  SharedSystemGraphic().DrawText(expected, 23, 8, 0, "$B");
  for (int y = 0; y < 32; ++y)
    for (int x = 8; x < 60; ++x)
      if (expected.Pixel(x, y) != 0) {
        EXPECT_EQ(help.WindowSheet.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
      }
  help.Release();
  EXPECT_EQ(help.Text, "");
}

struct FakeItems : TKelItemSource {
  std::vector<TKelListEntry> Entries;
  mutable int LastActor = -1;
  int ItemKindCount() const override { return static_cast<int>(Entries.size()); }
  TKelListEntry ItemEntry(int index, int actor) const override {
    LastActor = actor;
    return Entries.at(static_cast<std::size_t>(index));
  }
};

FakeItems ThreeItems() {
  FakeItems items;
  items.Entries = {{1, "$A", "heals a little", 3, true}, {2, "$B", "a star", 12, false}, {3, "$C", "a note", 1, true}};
  return items;
}

TEST_F(CommonWindowsTest, ItemListLayoutColoursAndHelpFollowTheCursor) {
  FakeItems items = ThreeItems();
  TKelItemWindow w(Rig.Services, items);
  w.Open(0, true);
  EXPECT_EQ((std::vector{w.X, w.Y, w.Width, w.Height}), (std::vector{0, 32, 320, 208}));
  EXPECT_EQ((std::vector{w.HelpWindow.X, w.HelpWindow.Y, w.HelpWindow.Width}), (std::vector{0, 0, 320}));
  EXPECT_EQ(w.Columns, 2);
  EXPECT_EQ(w.ItemCount, 3);
  EXPECT_EQ(w.HelpWindow.Text, "heals\x01" "a\x01little");

  // Item 1 (second column) is unusable: its name and count are in colour 3.
  const TVantraRect second = w.GetItemRect(1);
  EXPECT_TRUE(Within(InkIn(w.ContentSheet, {second.Left + 4, second.Top, second.Left + 16, second.Bottom}),
                     PatternOf(3)));
  EXPECT_TRUE(Within(InkIn(w.ContentSheet, {second.Left + 124, second.Top, second.Right, second.Bottom}),
                     PatternOf(3)));
  const TVantraRect first = w.GetItemRect(0);
  EXPECT_TRUE(Within(InkIn(w.ContentSheet, {first.Left + 4, first.Top, first.Left + 16, first.Bottom}), PatternOf(0)));

  Rig.Frame(w, Key::Right);
  EXPECT_EQ(w.Index, 1);
  EXPECT_EQ(w.HelpWindow.Text, "a\x01star");
  Rig.Frame(w, Key::Down);  // nothing below the second column
  EXPECT_EQ(w.Index, 1);
  Rig.Frame(w, Key::Left);
  Rig.Frame(w, Key::Down);
  EXPECT_EQ(w.Index, 2);
  EXPECT_EQ(w.HelpWindow.Text, "a\x01note");

  w.Release();
  EXPECT_FALSE(w.Exists());
  EXPECT_FALSE(w.HelpWindow.Exists());
}

TEST_F(CommonWindowsTest, ItemListInBattleAndWhenEmpty) {
  FakeItems items;
  TKelItemWindow w(Rig.Services, items);
  w.Open(2, false);
  EXPECT_EQ((std::vector{w.X, w.Y, w.Width, w.Height}), (std::vector{0, 160, 320, 80}));
  EXPECT_EQ(w.ItemCount, 0);
  for (Key key : {Key::Down, Key::Up, Key::Right, Key::Left}) Rig.Frame(w, key);
  EXPECT_EQ(w.Index, 0);
  EXPECT_EQ(w.HelpWindow.Text, "");
  EXPECT_TRUE(InkIn(w.ContentSheet, w.ContentSheet.GetBounds()).empty());

  items = ThreeItems();
  w.Open(2, false);
  EXPECT_EQ(items.LastActor, 2);  // usability asked for that hero
}

struct FakeSkills : TKelSkillSource {
  bool Half = false;
  int SkillCount(int) const override { return 3; }
  TKelListEntry SkillEntry(int, int index) const override {
    const TKelListEntry entries[] = {{7, "$A", "first", 5, true}, {9, "$B", "second", 10, false}, {4, "$C", "third", 1, true}};
    return entries[index];
  }
  bool PaysHalfSkillCost(int) const override { return Half; }
  TKelHeroStatusLine StatusLine(int) const override {
    TKelHeroStatusLine line;
    line.Name = "Hero";
    line.LevelWord = "L";
    line.HPWord = "H";
    line.SPWord = "S";
    line.Level = 5;
    line.Condition = "Normal";
    line.HP = 40, line.MaxHP = 50, line.HPColor = 2;
    line.SP = 9, line.MaxSP = 12;
    return line;
  }
};

TEST_F(CommonWindowsTest, SkillCostsHalveRoundingUpForHalfCostHeroes) {
  for (bool half : {false, true}) {
    SCOPED_TRACE(half ? "half cost" : "full cost");
    FakeSkills skills;
    skills.Half = half;
    TKelSkillWindow w(Rig.Services, skills);
    w.Open(1, false);
    const TVantraRect r = w.GetItemRect(0);
    TVantraSheet expected(w.ContentSheet.GetWidth(), w.ContentSheet.GetHeight());
    SharedSystemGraphic().DrawText(expected, r.Left + 124, r.Top, 0, half ? "-  3" : "-  5");
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left + 124; x < r.Right; ++x)
        EXPECT_EQ(w.ContentSheet.Pixel(x, y), expected.Pixel(x, y)) << x << "," << y;
  }
}

TEST_F(CommonWindowsTest, SkillWindowInTheMenuHasAStatusLineAndSelectsById) {
  FakeSkills skills;
  TKelSkillWindow w(Rig.Services, skills);
  w.Open(1, true);
  EXPECT_EQ((std::vector{w.X, w.Y, w.Width, w.Height}), (std::vector{0, 64, 320, 176}));
  ASSERT_TRUE(w.StatusWindow.Exists());
  EXPECT_EQ((std::vector{w.StatusWindow.X, w.StatusWindow.Y, w.StatusWindow.Height}), (std::vector{0, 32, 32}));
  // The current HP in its warning colour, the level word in the word colour.
  EXPECT_TRUE(Within(InkIn(w.StatusWindow.WindowSheet, {204, 10, 222, 22}), PatternOf(2)));
  EXPECT_TRUE(Within(InkIn(w.StatusWindow.WindowSheet, {88, 10, 94, 22}), PatternOf(1)));
  EXPECT_EQ(w.HelpWindow.Text, "first");

  w.SelectSkill(4);
  EXPECT_EQ(w.Index, 2);
  EXPECT_EQ(w.HelpWindow.Text, "third");
  w.SelectSkill(99);  // unknown: stays
  EXPECT_EQ(w.Index, 2);

  w.Release();
  EXPECT_FALSE(w.StatusWindow.Exists());
}

}  // namespace
