// The skin's pieces: window frames by size, stretched and tiled backgrounds,
// cursors, the timer and its colon, and the background colour.

#include <gtest/gtest.h>

#include <vector>

#include "UiTestKit.h"

namespace {

class SystemGraphicTest : public ::testing::Test {
protected:
  void SetUp() override { PaintTestSkin(Graphic, 0); }
  void TearDown() override { Graphic.Tiled = false; }
  TKelSystemGraphic& Graphic = SharedSystemGraphic();
};

struct TileAt {
  int x, y;     // a tile's top-left in the window
  int tx, ty;   // the frame tile expected there
};

struct FrameCase {
  const char* name;
  int width, height;
  std::vector<TileAt> tiles;
};

const FrameCase kFrames[] = {
    {"8 x 8: the four corners, the last on top", 8, 8, {{0, 0, 3, 3}}},
    {"16 x 16: corners only", 16, 16, {{0, 0, 0, 0}, {8, 0, 3, 0}, {0, 8, 0, 3}, {8, 8, 3, 3}}},
    {"32 x 24: top and bottom edges alternate, one side tile",
     32,
     24,
     {{0, 0, 0, 0}, {8, 0, 2, 0}, {16, 0, 1, 0}, {24, 0, 3, 0}, {8, 16, 2, 3}, {16, 16, 1, 3}, {0, 8, 0, 2}, {24, 8, 3, 2}, {0, 16, 0, 3}}},
    {"20 x 20: one edge tile each side, corners overlapping it",
     20,
     20,
     {{8, 0, 2, 0}, {0, 8, 0, 2}, {12, 8, 3, 2}, {12, 0, 3, 0}, {0, 12, 0, 3}, {12, 12, 3, 3}}},
    {"24 x 40: sides alternate 16 and 8", 24, 40, {{0, 8, 0, 2}, {0, 16, 0, 1}, {0, 24, 0, 2}, {16, 16, 3, 1}}},
};

TEST_F(SystemGraphicTest, FrameTilesBySize) {
  for (const FrameCase& c : kFrames) {
    SCOPED_TRACE(c.name);
    TVantraSheet sheet(c.width, c.height);
    Graphic.DrawWindowFrame(sheet, 0, 0, c.height, c.width);
    for (const TileAt& t : c.tiles)
      EXPECT_EQ(sheet.Pixel(t.x, t.y), SkinFrameTileIndex(t.tx, t.ty)) << t.x << "," << t.y;
  }
}

TEST_F(SystemGraphicTest, SevenPixelWindowGetsBackgroundOnly) {
  TVantraSheet sheet(7, 7);
  Graphic.DrawWindowFrame(sheet, 0, 0, 7, 7);
  for (int y = 0; y < 7; ++y)
    for (int x = 0; x < 7; ++x) EXPECT_EQ(sheet.Pixel(x, y), SkinBackgroundIndex(32 * x / 7 / 8, 32 * y / 7 / 8));
}

TEST_F(SystemGraphicTest, BackgroundStretchesOrTiles) {
  for (bool tiled : {false, true}) {
    SCOPED_TRACE(tiled ? "tiled" : "stretched");
    Graphic.Tiled = tiled;
    TVantraSheet sheet(96, 64);
    Graphic.DrawWindowFrame(sheet, 0, 0, 64, 96);
    for (auto [x, y] : {std::pair{20, 20}, {47, 33}, {70, 40}, {90, 50}}) {
      const int sx = tiled ? x % 32 : 32 * x / 96, sy = tiled ? y % 32 : 32 * y / 64;
      EXPECT_EQ(sheet.Pixel(x, y), SkinBackgroundIndex(sx / 8, sy / 8)) << x << "," << y;
    }
  }
}

TEST_F(SystemGraphicTest, CursorNeedsEightPixelsEachWayAndUsesItsPhase) {
  for (auto [w, h, drawn] : {std::tuple{7, 16, false}, {16, 7, false}, {8, 8, true}, {40, 16, true}, {40, 24, true}}) {
    for (int phase : {0, 1}) {
      TVantraSheet sheet(48, 32);
      Graphic.DrawCursor(sheet, {4, 4, 4 + w, 4 + h}, phase);
      EXPECT_EQ(sheet.Pixel(4, 4), drawn ? (phase ? kSkinCursor1 : kSkinCursor0) : 0) << w << "x" << h;
      EXPECT_EQ(sheet.Pixel(4 + w, 4), 0);  // nothing right of the rectangle
    }
  }
}

struct TimerCase {
  int frames;
  int digits[4];
  bool colon;
};

const TimerCase kTimers[] = {
    {0, {0, 0, 0, 0}, false},      {29, {0, 0, 0, 0}, false},   {30, {0, 0, 0, 0}, true},
    {3599, {0, 0, 5, 9}, true},    {3610, {0, 1, 0, 0}, false}, {3600 * 12 + 60 * 34 + 45, {1, 2, 3, 4}, true},
};

TEST_F(SystemGraphicTest, TimerShowsMinutesAndSecondsWithABlinkingColon) {
  for (const TimerCase& c : kTimers) {
    SCOPED_TRACE(c.frames);
    TVantraBoard board(80, 20);
    Graphic.DrawTimer(board, 2, 1, c.frames);
    const int places[] = {0, 1, 3, 4};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(board.Pixel(2 + 8 * places[i] + 3, 5), Graphic.Sheet.ColorTable[30 + c.digits[i]]);
    EXPECT_EQ(board.Pixel(2 + 16 + 3, 5), c.colon ? Graphic.Sheet.ColorTable[40] : 0);
  }
}

TEST_F(SystemGraphicTest, BackgroundColourIsThePaletteEntryOfItsPixel) {
  const TVantraRgb colour = Graphic.BackgroundColor();  // index 7 in the test skin
  EXPECT_EQ((std::vector{colour.R, colour.G, colour.B}), (std::vector<std::uint8_t>{7, 248, 21}));
}

TEST_F(SystemGraphicTest, VehicleShadowLeavesTheSkinOpaque) {
  TVantraBoard board(32, 32);
  Graphic.DrawVehicleShadow(board, 0, 0, 512);
  EXPECT_EQ(Graphic.Sheet.Opacity, 255);
}

}  // namespace
