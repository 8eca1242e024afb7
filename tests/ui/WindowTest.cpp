// The window base: cursor moves and wraps, scrolling by frames, arrows,
// blinking, and the opening and closing squeeze.

#include <gtest/gtest.h>

#include <cmath>

#include "UiTestKit.h"

namespace {

// Each item leaves a solid 8 × 8 mark of index 10 + item in its cell.
class MarkedList : public TKelWindow {
public:
  using TKelWindow::TKelWindow;
  void DrawItem(int x, int y, int index) override {
    ContentSheet.FillRect({x, y + 4, x + 8, y + 12}, static_cast<std::uint8_t>(10 + index));
    ++DrawnItems;
  }
  int DrawnItems = 0;
};

// A list window of 4 visible rows at the screen's top-left.
struct ListFixture {
  explicit ListFixture(int itemCount, int columns = 1) : List(Rig.Services) {
    PaintTestSkin(SharedSystemGraphic(), 0);
    List.Columns = columns;
    List.Setup(0, 0, 160, 80, false);
    List.ItemCount = itemCount;
    List.Refresh();
    List.SetActive(true);
  }
  // The item whose mark shows in visible row `row`, column 0; -1 when none.
  int ItemShownInRow(int row, int rowOffset = 0) const {
    const std::uint8_t p = List.WindowSheet.Pixel(List.MarginX + 2, List.MarginY + 16 * row + 6 + rowOffset);
    return p >= 10 && p < 64 ? p - 10 : -1;
  }
  WindowRig Rig;
  MarkedList List;
};

struct MoveCase {
  const char* name;
  int itemCount;
  int columns;
  int start;
  Key key;
  int expected;
};

const MoveCase kMoves[] = {
    {"long list: down on the last stays", 10, 1, 9, Key::Down, 9},
    {"long list: up on the first stays", 10, 1, 0, Key::Up, 0},
    {"long list: down moves", 10, 1, 4, Key::Down, 5},
    {"short list: down on the last wraps", 3, 1, 2, Key::Down, 0},
    {"short list: up on the first wraps", 3, 1, 0, Key::Up, 2},
    {"full list: down on the last wraps", 4, 1, 3, Key::Down, 0},
    {"empty list: down rests on 0", 0, 1, 0, Key::Down, 0},
    {"empty list: up rests on 0", 0, 1, 0, Key::Up, 0},
    {"two columns: right on the last stays", 9, 2, 8, Key::Right, 8},
    {"two columns: left on the first stays", 9, 2, 0, Key::Left, 0},
    {"two columns: down to a short last row", 9, 2, 7, Key::Down, 8},
    {"two columns: down on the last row stays", 10, 2, 9, Key::Down, 9},
    {"two columns: up on the first row stays", 10, 2, 1, Key::Up, 1},
    {"two columns: up a row", 10, 2, 5, Key::Up, 3},
    {"two columns: empty list", 0, 2, 0, Key::Right, 0},
};

TEST(WindowCursor, MovesClampsAndWrapsByListShape) {
  for (const MoveCase& c : kMoves) {
    SCOPED_TRACE(c.name);
    ListFixture f(c.itemCount, c.columns);
    f.List.SetIndex(c.start);
    ASSERT_EQ(f.List.Index, c.start);
    f.Rig.Frame(f.List, c.key);
    for (int i = 0; i < 4; ++i) f.Rig.Frame(f.List);  // any scroll ends
    EXPECT_EQ(f.List.Index, c.expected);
    EXPECT_EQ(f.Rig.Sound.Count, c.start != c.expected ? 1 : 0);
  }
}

TEST(WindowCursor, SetIndexHoldsTheIndexInTheListAndScrollsToIt) {
  ListFixture empty(0);
  empty.List.SetIndex(5);
  EXPECT_EQ(empty.List.Index, 0);
  empty.List.SetIndex(-3);
  EXPECT_EQ(empty.List.Index, 0);

  ListFixture f(10);
  f.List.SetIndex(42);
  EXPECT_EQ(f.List.Index, 9);
  EXPECT_EQ(f.List.TopRow, 6);
  EXPECT_EQ(f.ItemShownInRow(0), 6);
  EXPECT_EQ(f.ItemShownInRow(3), 9);
  f.List.SetIndex(1);
  EXPECT_EQ(f.List.TopRow, 1);
  EXPECT_EQ(f.ItemShownInRow(0), 1);
}

TEST(WindowScroll, OneRowOverFourFramesIgnoringKeysMeanwhile) {
  ListFixture f(10);
  f.List.SetIndex(3);
  f.Rig.Frame(f.List, Key::Down);
  EXPECT_EQ(f.List.Index, 4);
  EXPECT_EQ(f.List.TopRow, 1);
  EXPECT_EQ(f.List.ScrollOffset, -16);
  const int drawnBefore = f.List.DrawnItems;
  const int offsets[] = {-12, -8, -4, 0};
  for (int offset : offsets) {
    f.Rig.Frame(f.List, Key::Down);  // not acted on while scrolling
    EXPECT_EQ(f.List.ScrollOffset, offset);
    EXPECT_EQ(f.List.Index, 4);
  }
  EXPECT_EQ(f.List.DrawnItems, drawnBefore);  // the ring moves; nothing is redrawn
  for (int row = 0; row < 4; ++row) EXPECT_EQ(f.ItemShownInRow(row), row + 1);
  f.Rig.Frame(f.List, Key::Down);
  EXPECT_EQ(f.List.Index, 5);
  EXPECT_EQ(f.Rig.Sound.Count, 2);
}

// Halfway through a scroll the window shows the lower half of the row going
// out and the upper half of the row coming in, also where the ring wraps.
TEST(WindowScroll, HalfwayShowsBothEdgeRowsAcrossTheRingsWrap) {
  ListFixture f(12);
  TVantraBoard board(320, 240);
  for (int top = 1; top <= 7; ++top) {
    SCOPED_TRACE(testing::Message() << "top row " << top);
    f.List.SetIndex(top + 2);
    f.Rig.Frame(f.List, Key::Down);
    ASSERT_EQ(f.List.TopRow, top);
    f.Rig.Frame(f.List);
    f.Rig.Frame(f.List);
    ASSERT_EQ(f.List.ScrollOffset, -8);
    f.List.Draw(board);  // composes the rows at this offset
    EXPECT_EQ(f.ItemShownInRow(0, -4), top - 1);
    EXPECT_EQ(f.ItemShownInRow(1, -8), top);
    EXPECT_EQ(f.ItemShownInRow(3, -8), top + 2);
    EXPECT_EQ(f.ItemShownInRow(3, 8), top + 3);
    for (int i = 0; i < 2; ++i) f.Rig.Frame(f.List);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(f.ItemShownInRow(row), top + row);
  }
}

TEST(WindowScroll, UpScrollsBackThroughTheRing) {
  ListFixture f(12);
  f.List.SetIndex(11);
  ASSERT_EQ(f.List.TopRow, 8);
  for (int top = 7; top >= 0; --top) {
    f.Rig.Frame(f.List, Key::Up);
    while (f.List.Index > top) f.Rig.Frame(f.List, Key::Up);
    EXPECT_EQ(f.List.ScrollOffset, 16);
    for (int i = 0; i < 4; ++i) f.Rig.Frame(f.List);
    for (int row = 0; row < 4; ++row) EXPECT_EQ(f.ItemShownInRow(row), top + row) << top;
  }
}

std::uint16_t ArrowColour() { return SharedSystemGraphic().Sheet.ColorTable[kSkinArrow]; }

TEST(WindowArrows, ShowWhileRowsRemainAndBlinkTwentyFramesEach) {
  ListFixture f(10);
  f.List.SetActive(false);
  TVantraBoard board(320, 240);
  auto arrows = [&] {
    board.Clear();
    f.List.Draw(board);
    return std::pair{board.Pixel(80 - 8 + 4, 0 + 2) == ArrowColour(), board.Pixel(80 - 8 + 4, 80 - 8 + 2) == ArrowColour()};
  };
  for (int frame = 0; frame < 80; ++frame) {
    const bool lit = (frame / 20) % 2 == 0;
    EXPECT_EQ(arrows(), std::pair(false, lit)) << frame;
    f.Rig.Frame(f.List);
  }
  f.List.SetTopRow(6);
  f.List.FrameCounter = 0;
  EXPECT_EQ(arrows(), std::pair(true, false));
  f.List.SetTopRow(3);
  EXPECT_EQ(arrows(), std::pair(true, true));
  f.List.FrameCounter = 20;
  EXPECT_EQ(arrows(), std::pair(false, false));
}

std::uint8_t CursorCorner(const TKelWindow& w) {
  const TVantraRect r = w.GetCursorRect(w.Index);
  return w.WindowSheet.Pixel(r.Left + 1, r.Top + 1);
}

TEST(WindowCursor, ActiveBlinksEveryTenFramesInactiveRestsOnPhaseOne) {
  ListFixture f(3);
  for (int frame = 0; frame < 40; ++frame) {
    f.Rig.Frame(f.List);
    EXPECT_EQ(CursorCorner(f.List), (frame / 10) % 2 == 0 ? kSkinCursor0 : kSkinCursor1) << frame;
  }
  f.List.SetActive(false);
  f.List.SetCursorVisible(true);
  for (int frame = 0; frame < 25; ++frame) {
    f.Rig.Frame(f.List, Key::Down);  // and input is ignored
    EXPECT_EQ(CursorCorner(f.List), kSkinCursor1) << frame;
  }
  EXPECT_EQ(f.List.Index, 0);
  f.List.SetCursorVisible(false);
  const TVantraRect r = f.List.GetCursorRect(0);
  EXPECT_EQ(CursorCorner(f.List), f.List.BackSheet.Pixel(r.Left + 1, r.Top + 1));
}

// Rows of the board that the window covers (background colour) after Draw.
std::pair<int, int> CoveredRows(TKelWindow& w) {
  TVantraBoard board(320, 240);
  w.Draw(board);
  int first = -1, last = -1;
  for (int y = 0; y < 240; ++y)
    if (board.Pixel(20, y) != 0) {
      if (first < 0) first = y;
      last = y;
    }
  return {first, last};
}

// The squeeze per step of an 80-pixel-high window at Y 0: rows cut off at the top and bottom.
const int kCutByOpenStep[] = {40, 34, 28, 22, 17, 11, 5, 0};
const int kCutByCloseStep[] = {5, 11, 17, 22, 28, 34, 40};

TEST(WindowAnimation, OpensOverSevenFramesFromALine) {
  WindowRig rig;
  PaintTestSkin(SharedSystemGraphic(), 0);
  TKelWindow w(rig.Services);
  w.Setup(0, 0, 160, 80, true);
  for (int step = 1; step <= 8; ++step) {
    SCOPED_TRACE(testing::Message() << "open step " << step);
    ASSERT_EQ(w.OpenStep, step);
    EXPECT_EQ(w.IsReady(), step == 8);
    const int cut = kCutByOpenStep[step - 1];
    EXPECT_EQ(CoveredRows(w), cut == 40 ? std::pair(-1, -1) : std::pair(cut, 79 - cut));
    rig.Frame(w);
  }
  EXPECT_EQ(w.OpenStep, 8);
}

TEST(WindowAnimation, ClosesOverSevenFramesThenReleases) {
  WindowRig rig;
  PaintTestSkin(SharedSystemGraphic(), 0);
  TKelWindow w(rig.Services);
  w.Setup(0, 0, 160, 80, false);
  EXPECT_TRUE(w.IsReady());
  EXPECT_EQ(CoveredRows(w), std::pair(0, 79));
  w.SetActive(true);
  w.Close();
  EXPECT_FALSE(w.CursorVisible);
  for (int step = 1; step <= 7; ++step) {
    SCOPED_TRACE(testing::Message() << "close step " << step);
    ASSERT_TRUE(w.Exists());
    const int cut = kCutByCloseStep[step - 1];
    EXPECT_EQ(CoveredRows(w), cut == 40 ? std::pair(-1, -1) : std::pair(cut, 79 - cut));
    rig.Frame(w);
  }
  EXPECT_FALSE(w.Exists());
  EXPECT_EQ(w.CloseStep, 0);
}

TEST(WindowAnimation, CloseOfAMissingWindowAndReleaseMidOpening) {
  WindowRig rig;
  TKelWindow w(rig.Services);
  w.Close();
  EXPECT_FALSE(w.Exists());
  EXPECT_EQ(w.CloseStep, 0);
  rig.Frame(w);
  EXPECT_EQ(CoveredRows(w), std::pair(-1, -1));

  w.Setup(0, 0, 160, 80, true);
  rig.Frame(w);
  w.Release();
  EXPECT_FALSE(w.Exists());
  EXPECT_EQ(w.OpenStep, 0);
}

TEST(WindowText, ImmediateTextShowsWithoutRefreshOnlyOnTheTopRow) {
  ListFixture f(10);
  f.List.DrawText(8, 8, true, 0, "$A");
  bool shown = false;
  for (int y = 10; y < 22; ++y)
    for (int x = 8; x < 20; ++x) shown = shown || IsTextIndex(f.List.WindowSheet.Pixel(x, y));
  EXPECT_TRUE(shown);

  f.List.SetTopRow(1);
  f.List.DrawText(8, 24, true, 0, "$A");
  for (int y = 26; y < 38; ++y)
    for (int x = 8; x < 20; ++x) EXPECT_FALSE(IsTextIndex(f.List.WindowSheet.Pixel(x, y)));
}

}  // namespace
