// Drawing sheets onto boards: pixel modes, brightness, clipping and the
// stretched, zoomed, turned and waved forms.

#include <gtest/gtest.h>

#include <vector>

#include "graphics/VantraSheet.h"

namespace {

std::uint16_t Rgb565(int r, int g, int b) { return static_cast<std::uint16_t>(r * 2048 + g * 32 + b); }

// Index i is the colour (i, i, i) in 5-6-5 fields, so a board pixel names the
// index that was drawn there.
void GreyRamp(TVantraSheet& sheet) {
  for (int i = 0; i < 256; ++i)
    sheet.SetPaletteEntry(i, static_cast<std::uint8_t>(8 * (i & 31)), static_cast<std::uint8_t>(4 * (i & 31)),
                          static_cast<std::uint8_t>(8 * (i & 31)));
  sheet.BuildColorTable();
}

std::uint16_t Grey(int i) { return Rgb565(i, i, i); }

// Sheet index at (x, y) is 1 + x + w·y (never 0 unless set).
void FillCounting(TVantraSheet& sheet) {
  for (int y = 0; y < sheet.GetHeight(); ++y)
    for (int x = 0; x < sheet.GetWidth(); ++x)
      sheet.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + x + sheet.GetWidth() * y);
}

void Fill(TVantraBoard& board, std::uint16_t pixel) {
  for (int y = 0; y < board.GetHeight(); ++y)
    for (int x = 0; x < board.GetWidth(); ++x) board.ScanLine(y)[x] = pixel;
}

std::vector<std::uint16_t> Pixels(const TVantraBoard& board) {
  std::vector<std::uint16_t> all;
  for (int y = 0; y < board.GetHeight(); ++y)
    all.insert(all.end(), board.ScanLine(y), board.ScanLine(y) + board.GetWidth());
  return all;
}

TEST(BoardDraw, PixelModes) {
  TVantraSheet sheet(2, 1);
  GreyRamp(sheet);
  sheet.ScanLine(0)[0] = 0;
  sheet.ScanLine(0)[1] = 10;
  const std::uint16_t background = Rgb565(20, 40, 30);
  struct TModeCase {
    bool Transparent;
    int Opacity;
    std::uint16_t AtZero, AtTen;
  };
  // Blending a = Opacity + 1, new = (src·a + dst·(257 − a)) div 256 per field:
  // 127 → (10·128 + 20·129) div 256 = 15, (1280 + 5160) div 256 = 25, (1280 + 3870) div 256 = 20.
  const TModeCase cases[] = {
      {false, 255, Grey(0), Grey(10)},
      {true, 255, background, Grey(10)},
      {false, 127, background, Rgb565(15, 25, 20)},
      {true, 127, background, Rgb565(15, 25, 20)},
      {false, 0, background, background},
      {false, 254, background, Rgb565(10, 10, 10)},  // (10·255 + dst·2) div 256
  };
  for (const TModeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "transparent " << c.Transparent << " opacity " << c.Opacity);
    TVantraBoard board(2, 1);
    Fill(board, background);
    sheet.Transparent = c.Transparent;
    sheet.Opacity = c.Opacity;
    board.Draw(0, 0, sheet.GetBounds(), sheet);
    EXPECT_EQ(board.Pixel(0, 0), c.AtZero);
    EXPECT_EQ(board.Pixel(1, 0), c.AtTen);
  }
}

TEST(BoardDraw, NearlyOpaqueBlendStopsShortOfFullColour) {
  TVantraSheet sheet(1, 1);
  sheet.SetPaletteEntry(1, 255, 255, 255);
  sheet.BuildColorTable();
  sheet.ScanLine(0)[0] = 1;
  sheet.Opacity = 254;
  TVantraBoard board(1, 1);
  board.Draw(0, 0, sheet.GetBounds(), sheet);
  EXPECT_EQ(board.Pixel(0, 0), Rgb565(30, 62, 30));  // 31·255 div 256, 63·255 div 256
}

TEST(BoardDraw, FollowsTheBoardBrightnessAndRebuildsWhenItChanges) {
  TVantraSheet sheet(1, 1);
  GreyRamp(sheet);
  sheet.ScanLine(0)[0] = 20;
  TVantraBoard board(1, 1);
  const std::pair<int, std::uint16_t> cases[] = {{0, 0}, {200, 0xFFFF}, {50, Rgb565(10, 10, 10)}, {100, Grey(20)}};
  for (auto [brightness, expected] : cases) {
    board.Brightness = brightness;
    board.Draw(0, 0, sheet.GetBounds(), sheet);
    EXPECT_EQ(board.Pixel(0, 0), expected) << brightness;
    EXPECT_EQ(sheet.Brightness, brightness);
  }
}

// Where each sheet pixel lands, worked out one pixel at a time.
std::vector<std::uint16_t> ReferenceDraw(int boardW, int boardH, int x, int y, TVantraRect src, const TVantraSheet& sheet) {
  std::vector<std::uint16_t> out(static_cast<std::size_t>(boardW) * boardH, 0);
  for (int sy = src.Top; sy < src.Bottom; ++sy)
    for (int sx = src.Left; sx < src.Right; ++sx) {
      const int dx = x + sx - src.Left, dy = y + sy - src.Top;
      if (sx < 0 || sy < 0 || sx >= sheet.GetWidth() || sy >= sheet.GetHeight()) continue;
      if (dx < 0 || dy < 0 || dx >= boardW || dy >= boardH) continue;
      out[static_cast<std::size_t>(dy) * boardW + dx] = sheet.ColorTable[sheet.Pixel(sx, sy)];
    }
  return out;
}

struct TClipCase {
  const char* Name;
  int X, Y;
  TVantraRect Source;
};

const TClipCase kClipCases[] = {
    {"inside", 1, 1, {0, 0, 4, 3}},
    {"over the left edge", -2, 1, {0, 0, 4, 3}},
    {"over the top edge", 1, -2, {0, 0, 4, 3}},
    {"over the right edge", 4, 0, {0, 0, 4, 3}},
    {"over the bottom edge", 0, 3, {0, 0, 4, 3}},
    {"over every edge", -1, -1, {-2, -2, 9, 9}},
    {"source left of the sheet", 2, 0, {-2, 0, 3, 3}},
    {"source past the sheet", 0, 0, {2, 1, 8, 8}},
    {"wholly outside", 6, 0, {0, 0, 4, 3}},
    {"wholly above", 0, -3, {0, 0, 4, 3}},
    {"empty source", 0, 0, {3, 1, 3, 2}},
};

TEST(BoardDraw, ClipsAtEveryEdge) {
  TVantraSheet sheet(4, 3);
  GreyRamp(sheet);
  FillCounting(sheet);
  for (const TClipCase& c : kClipCases) {
    SCOPED_TRACE(c.Name);
    TVantraBoard board(6, 4);
    board.Draw(c.X, c.Y, c.Source, sheet);
    EXPECT_EQ(Pixels(board), ReferenceDraw(6, 4, c.X, c.Y, c.Source, sheet));
  }
}

TEST(BoardStretchDraw, NearestPixelMappingHoldsWhenClipped) {
  TVantraSheet sheet(4, 3);
  GreyRamp(sheet);
  FillCounting(sheet);
  const TVantraRect dests[] = {{0, 0, 8, 6}, {-3, -2, 5, 4}, {2, 1, 11, 9}, {1, 1, 4, 3}};
  const TVantraRect sources[] = {{0, 0, 4, 3}, {-1, 0, 4, 3}, {1, 1, 6, 3}};
  for (const TVantraRect& d : dests)
    for (const TVantraRect& s : sources) {
      SCOPED_TRACE(testing::Message() << d.Left << "," << d.Top << " from " << s.Left << "," << s.Right);
      TVantraBoard board(7, 5);
      board.StretchDraw(d, sheet, s);
      for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) {
          std::uint16_t expected = 0;
          if (x >= d.Left && x < d.Right && y >= d.Top && y < d.Bottom) {
            const int sx = s.Left + (x - d.Left) * s.Width() / d.Width();
            const int sy = s.Top + (y - d.Top) * s.Height() / d.Height();
            if (sx >= 0 && sx < 4 && sy >= 0 && sy < 3) expected = Grey(1 + sx + 4 * sy);
          }
          ASSERT_EQ(board.Pixel(x, y), expected) << x << "," << y;
        }
    }
}

TEST(BoardDrawZoom, ZoomsAboutTheOrigin) {
  TVantraSheet sheet(4, 4);
  GreyRamp(sheet);
  FillCounting(sheet);
  TVantraBoard twice(16, 16);
  twice.DrawZoom(8, 8, 2.0, 2, 2, sheet.GetBounds(), sheet);  // into (4, 4)–(12, 12)
  EXPECT_EQ(twice.Pixel(3, 3), 0);
  EXPECT_EQ(twice.Pixel(4, 4), Grey(1));
  EXPECT_EQ(twice.Pixel(5, 5), Grey(1));
  EXPECT_EQ(twice.Pixel(6, 4), Grey(2));
  EXPECT_EQ(twice.Pixel(11, 11), Grey(16));
  EXPECT_EQ(twice.Pixel(12, 12), 0);

  TVantraBoard half(16, 16);
  half.DrawZoom(8, 8, 0.5, 2, 2, sheet.GetBounds(), sheet);  // into (7, 7)–(9, 9)
  EXPECT_EQ(half.Pixel(7, 7), Grey(1));
  EXPECT_EQ(half.Pixel(8, 8), Grey(11));
  EXPECT_EQ(half.Pixel(9, 9), 0);

  TVantraBoard one(16, 16), plain(16, 16);
  one.DrawZoom(3, 2, 1.0, 2, 2, sheet.GetBounds(), sheet);
  plain.Draw(1, 0, sheet.GetBounds(), sheet);
  EXPECT_EQ(Pixels(one), Pixels(plain));
}

TEST(BoardDrawRotate, AngleZeroAndZoomOneIsAPlainDraw) {
  TVantraSheet sheet(5, 4);
  GreyRamp(sheet);
  FillCounting(sheet);
  sheet.ScanLine(1)[1] = 0;
  sheet.Transparent = true;
  const int positions[][2] = {{4, 3}, {0, 0}, {9, 7}, {-1, 2}};
  for (const auto& p : positions) {
    SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
    TVantraBoard turned(10, 8), plain(10, 8);
    Fill(turned, 7);
    Fill(plain, 7);
    turned.DrawRotate(p[0], p[1], 1.0, 0, 2, 1, {1, 0, 5, 4}, sheet);
    plain.Draw(p[0] - 2, p[1] - 1, {1, 0, 5, 4}, sheet);
    EXPECT_EQ(Pixels(turned), Pixels(plain));
  }
}

TEST(BoardDrawRotate, QuarterTurnIsClockwise) {
  TVantraSheet sheet(4, 2);
  GreyRamp(sheet);
  FillCounting(sheet);
  TVantraBoard board(10, 10);
  board.DrawRotate(5, 5, 1.0, 64, 0, 0, sheet.GetBounds(), sheet);
  // The sheet's rows now run down the screen, left of x = 5, its left edge at
  // the top. (Source positions sit exactly on pixel edges here, so the row
  // and column picked by truncation may be either neighbour.)
  int last = 0;
  for (int y = 5; y < 9; ++y) {
    const int index = board.Pixel(4, y) & 31;
    EXPECT_GE(index, 5) << y;  // source row 1
    EXPECT_LE(index, 8) << y;
    EXPECT_GE(index, last) << y;
    last = index;
  }
  EXPECT_EQ(board.Pixel(4, 8), Grey(8));
  EXPECT_EQ(board.Pixel(5, 5), 0);
  EXPECT_EQ(board.Pixel(4, 4), 0);
  EXPECT_EQ(board.Pixel(6, 6), 0);
}

TEST(BoardDrawRotate, NonPositiveZoomDrawsNothing) {
  TVantraSheet sheet(2, 2);
  GreyRamp(sheet);
  FillCounting(sheet);
  TVantraBoard board(4, 4);
  board.DrawRotate(1, 1, 0.0, 10, 1, 1, sheet.GetBounds(), sheet);
  board.DrawRotate(1, 1, -1.0, 10, 1, 1, sheet.GetBounds(), sheet);
  EXPECT_EQ(Pixels(board), std::vector<std::uint16_t>(16, 0));
}

TEST(BoardDrawWave, FlatWaveIsAPlainDrawAndRowsShiftAlongTheSine) {
  TVantraSheet sheet(4, 4);
  GreyRamp(sheet);
  FillCounting(sheet);
  TVantraBoard flat(12, 8), plain(12, 8);
  flat.DrawWave(6, 4, 1.0, 0, 32, 0, 2, 2, sheet.GetBounds(), sheet);
  plain.Draw(4, 2, sheet.GetBounds(), sheet);
  EXPECT_EQ(Pixels(flat), Pixels(plain));

  // Period 4 over 4 rows: phases 0, 64, 128, 192 → shifts 0, 2, 0, −2.
  TVantraBoard waved(12, 8);
  waved.DrawWave(6, 4, 1.0, 0, 4, 2, 2, 2, sheet.GetBounds(), sheet);
  const int shifts[4] = {0, 2, 0, -2};
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col)
      EXPECT_EQ(waved.Pixel(4 + shifts[row] + col, 2 + row), Grey(1 + col + 4 * row)) << row << "," << col;
}

TEST(BoardDrawWave, ClipsRowsPushedPastTheEdges) {
  TVantraSheet sheet(4, 4);
  GreyRamp(sheet);
  FillCounting(sheet);
  TVantraBoard board(4, 3);
  board.DrawWave(1, 0, 1.0, 64, 1000, 3, 2, 2, sheet.GetBounds(), sheet);  // every row 3 right, top rows above
  EXPECT_EQ(board.Pixel(2, 0), Grey(9));  // source (0, 2) at x = 1 − 2 + 3
  EXPECT_EQ(board.Pixel(3, 1), Grey(14));
  EXPECT_EQ(board.Pixel(1, 0), 0);
}

TEST(BoardDrawWave, DegenerateWavesDrawNothing) {
  TVantraSheet sheet(4, 4);
  GreyRamp(sheet);
  FillCounting(sheet);
  struct TWaveCase {
    int Period, OriginX, OriginY;
    double Zoom;
  };
  const TWaveCase cases[] = {{0, 2, 2, 1.0}, {-5, 2, 2, 1.0}, {32, 0, 2, 1.0}, {32, 2, 0, 1.0}, {32, 2, 2, 0.0}};
  for (const TWaveCase& c : cases) {
    TVantraBoard board(8, 8);
    board.DrawWave(4, 4, c.Zoom, 0, c.Period, 4, c.OriginX, c.OriginY, sheet.GetBounds(), sheet);
    EXPECT_EQ(Pixels(board), std::vector<std::uint16_t>(64, 0)) << c.Period << " " << c.OriginX << " " << c.OriginY;
  }
}

}  // namespace
