#include <gtest/gtest.h>

#include "WorldFixture.h"
#include "world/LGD_Panorama.h"

namespace {

class Panorama : public WorldFixture {
protected:
  // A panorama picture whose pixel (x, y) has index 1 + (x + y) % 200.
  void UsePicture(int width, int height) {
    TVantraSheet picture(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x) picture.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + (x + y) % 200);
    Map().Panorama().UsePicture(picture);
  }
  TKelgPanorama& Pan() { return Map().Panorama(); }
};

TEST_F(Panorama, OffsetsWrapIntoThePicture) {
  MakeMap(20, 15);
  UsePicture(100, 50);
  Pan().SetOffsetX(-1);
  EXPECT_EQ(Pan().OffsetX, 100 * 32 - 1);
  Pan().SetOffsetX(100 * 32 * 3 + 5);
  EXPECT_EQ(Pan().OffsetX, 5);
  Pan().SetOffsetY(-50 * 32 * 5);
  EXPECT_EQ(Pan().OffsetY, 0);
}

TEST_F(Panorama, FollowingTheMapMovesAtHalfItsSpeed) {
  MakeMap(60, 40, 0, 30, 20);
  mapData.PanoramaHScroll = 1;
  UsePicture(100, 100);
  Pan().SetOffsetX(0);
  ASSERT_TRUE(Map().ScrollRight(64));  // 4 pixels of map
  EXPECT_EQ(Pan().OffsetX, 64);        // 2 pixels of panorama
  ASSERT_TRUE(Map().ScrollLeft(128));
  EXPECT_EQ(Pan().OffsetX, 100 * 32 - 64);
}

TEST_F(Panorama, AWidePanoramaIsFittedToTheMapsScroll) {
  MakeMap(40, 15);
  UsePicture(480, 240);  // 160 pixels wider than the view; the map 320 pixels wider
  struct Case { std::int64_t scroll; std::int64_t offset; };
  for (const Case c : {Case{0, 0}, Case{2560, 2560}, Case{5120, 5120}, Case{1000, 1000}}) {
    Map().SetScrollX(c.scroll);
    Pan().FitToMap();
    EXPECT_EQ(Pan().OffsetX, c.offset) << c.scroll;
  }
  MakeMap(40, 15);
  UsePicture(400, 240);  // 80 pixels wider: it moves a quarter as fast as the map
  Map().SetScrollX(5120);
  Pan().FitToMap();
  EXPECT_EQ(Pan().OffsetX, 80 * 32);
}

TEST_F(Panorama, AutoScrollPerFrameAndItsClampedSpeeds) {
  MakeMap(20, 15);
  mapData.PanoramaHScroll = mapData.PanoramaHAuto = 1;
  mapData.PanoramaVScroll = mapData.PanoramaVAuto = 1;
  UsePicture(320, 240);
  struct Case { int h, v; std::int64_t dx, dy; };
  const Case cases[] = {{-1, 1, 2, -2}, {-8, 8, 256, -256}, {3, -4, -8, 16}, {-20, 99, 256, -256}, {0, 0, 0, 0}};
  for (const Case& c : cases) {
    mapData.PanoramaHSpeed = c.h;
    mapData.PanoramaVSpeed = c.v;
    Pan().SetOffsetX(1000);
    Pan().SetOffsetY(1000);
    Pan().UpdateFrame();
    EXPECT_EQ(Pan().OffsetX, 1000 + c.dx) << c.h;
    EXPECT_EQ(Pan().OffsetY, 1000 + c.dy) << c.v;
  }
}

TEST_F(Panorama, DrawCellReadsAcrossTheWrapWithoutTearing) {
  MakeMap(20, 15);
  UsePicture(100, 50);
  Pan().SetOffsetX(95 * 32);
  Pan().SetOffsetY(45 * 32);
  TVantraBoard board(32, 32);
  Pan().DrawCell(board, 16, 16, 0, 0);
  // Screen (16, 16) shows picture ((95 + 16) mod 100, (45 + 16) mod 50) = (11, 11);
  // the cell's last column comes from x 26 and its last row from y 26.
  auto colour = [&](int index) { return Pan().Sheet.ColorTable[index]; };
  EXPECT_EQ(board.Pixel(16, 16), colour(1 + 22));
  EXPECT_EQ(board.Pixel(31, 31), colour(1 + 52));
  Pan().SetOffsetX(99 * 32);  // the cell starts at x 15 and runs across the right edge
  Pan().DrawCell(board, 0, 0, 0, 0);
  EXPECT_EQ(board.Pixel(0, 0), colour(1 + (99 + 0) % 100 + 45 % 50));
  EXPECT_EQ(board.Pixel(1, 0), colour(1 + 0 + 45));
}

TEST_F(Panorama, AnEmptyNameGivesABlankPictureWithoutTouchingFiles) {
  MakeMap(20, 15);
  mapData.UsePanorama = 1;
  mapData.PanoramaName.clear();
  Pan().LoadImage();
  EXPECT_EQ(Pan().Width, 16);
  EXPECT_EQ(Pan().Height, 16);
  mapData.UsePanorama = 0;
  Pan().LoadImage();
  EXPECT_EQ(Pan().Width, 0);
  TVantraBoard board(16, 16);
  Pan().DrawCell(board, 0, 0, 0, 0);  // nothing to draw, nothing read
}

TEST_F(Panorama, AScriptsPanoramaReplacesTheMapsSettings) {
  MakeMap(20, 15);
  mapData.PanoramaHScroll = 1;
  EXPECT_TRUE(Map().PanoramaHorizontalScroll());
  Map().SetPanoramaScroll(false, true, false, 0, true, -30);
  EXPECT_TRUE(Map().PanoramaHorizontalScroll()) << "the script's settings wait for its picture";
  Map().SetPanorama("Sky");
  EXPECT_FALSE(Map().PanoramaHorizontalScroll());
  EXPECT_TRUE(Map().PanoramaVerticalAuto());
  EXPECT_EQ(Map().PanoramaVerticalSpeed(), -8);
  EXPECT_TRUE(Map().UsesPanorama());
  EXPECT_EQ(Map().PanoramaFileName(), "Sky");
}

}  // namespace
