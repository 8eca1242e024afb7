#include <gtest/gtest.h>

#include <vector>

#include "WorldFixture.h"
#include "world/LGD_Panorama.h"
#include "world/LGD_Screen.h"
#include "world/MapView.h"

namespace {

class MapView : public WorldFixture {
protected:
  void SetUp() override {
    WorldFixture::SetUp();
    MakeMap(20, 15, 0, 0, 0);
    TVantraBitmap white;
    white.SetFormat(288, 256, 8);
    white.Palette[1] = {248, 248, 248};
    for (auto& pixel : white.Pixels) pixel = 1;
    Map().CharSetGraphic.LoadPicture("White", white);
  }

  TVantraBoard Draw() {
    TVantraBoard board(320, 240);
    DrawMapView(Map(), board);
    return board;
  }

  // The top-left pixel of the cell (x, y) on the screen, with the view at 0.
  static std::uint16_t CellPixel(const TVantraBoard& board, int x, int y, int dx = 4, int dy = 4) {
    return board.Pixel(x * 16 + dx, y * 16 + dy);
  }

  const std::uint16_t kWhite = PackRgb565(248, 248, 248);
};

TEST_F(MapView, StarTilesCoverCharactersAndPlainUpperTilesDoNot) {
  TKelgCharacter& walker = AddEvent(5, 5, 1, "White");
  mapData.UpperLayer.SetTile(5, 4, 10001);  // the sprite reaches into the cell above
  struct Case { std::uint8_t upperFlags; bool spriteShows; };
  for (const Case c : {Case{0x0F, true}, Case{0x1F, false}}) {
    chipSet->UpperFlags[1] = c.upperFlags;
    const TVantraBoard board = Draw();
    EXPECT_EQ(CellPixel(board, 5, 4, 8, 12) == kWhite, c.spriteShows) << int(c.upperFlags);
    EXPECT_EQ(CellPixel(board, 5, 5, 8, 12), kWhite) << "the sprite's own cell has no upper tile";
  }
  walker.Layer = 2;  // above the hero: even star tiles stay under it
  EXPECT_EQ(CellPixel(Draw(), 5, 4, 8, 12), kWhite);
}

TEST_F(MapView, CharactersBelowTheHeroGoUnderThoseOnItsLayer) {
  TKelgCharacter& tile = AddEvent(6, 5, 0, "");  // shows upper tile 1 of the chip set
  tile.CharSetIndex = 1;
  TKelgCharacter& person = AddEvent(6, 5, 1, "White");
  person.Through = tile.Through = true;
  EXPECT_EQ(CellPixel(Draw(), 6, 5, 0, 0), kWhite);
  tile.Layer = 1;
  person.Layer = 0;
  EXPECT_EQ(BlockAt(Draw(), 6 * 16, 5 * 16), std::make_pair(38, 16));
}

TEST_F(MapView, AShakeLeftOfTheFirstColumnShiftsTheMapRight) {
  Map().Screen().ShakeX = 3;  // the view 3 pixels left of column 0: the map moves right
  const TVantraBoard board = Draw();
  for (int y : {0, 100, 239}) {
    EXPECT_EQ(board.Pixel(0, y), 0);
    EXPECT_EQ(board.Pixel(2, y), 0);
  }
  EXPECT_EQ(BlockAt(board, 3, 0), std::make_pair(24, 0));  // plain tile 0 starts at x 3
  Map().Screen().ShakeX = -3;
  EXPECT_EQ(BlockAt(Draw(), 13, 0), std::make_pair(24, 0)) << "the second column at 16 - 3";
}

TEST_F(MapView, ScrollingInsideACellUsesTheFineOffset) {
  MakeMap(40, 30, 0, 0, 0);
  Map().SetScrollX(256 * 3 + 16 * 5);  // 3 tiles and 5 pixels
  Map().SetScrollY(256 * 2 + 16 * 9);
  EXPECT_EQ(BlockAt(Draw(), 16 - 5, 16 - 9), std::make_pair(24, 0));
}

TEST_F(MapView, CellsOutsideASmallMapStayClear) {
  MakeMap(15, 10, 0, 0, 0);
  const TVantraBoard board = Draw();
  EXPECT_EQ(BlockAt(board, 14 * 16, 9 * 16), std::make_pair(24, 0));
  EXPECT_EQ(board.Pixel(15 * 16 + 3, 5), 0);
  EXPECT_EQ(board.Pixel(5, 10 * 16 + 3), 0);
}

TEST_F(MapView, ThePanoramaShowsOnlyBehindLowerTilesThatAreNotOpaque) {
  TVantraBitmap picture = MapChipSetPicture();
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 16; ++x) picture.ScanLine(y)[192 + 16 + x] = 0;  // plain tile 1: open
  Map().ChipSetGraphic.SetChipSetPicture(chipSet, picture);
  mapData.LowerLayer.SetTile(2, 2, 5001);
  TVantraSheet sky(32, 32);
  sky.Palette[9] = {0, 0, 248};
  sky.FillRect({0, 0, 32, 32}, 9);
  sky.BuildColorTable();
  Map().Panorama().UsePicture(sky);
  const TVantraBoard board = Draw();
  EXPECT_EQ(CellPixel(board, 2, 2), PackRgb565(0, 0, 248));
  EXPECT_EQ(BlockAt(board, 32 + 16, 32), std::make_pair(24, 0));
}

// Tiles, panorama and character sheets are kept as ready pixels; a change
// of the screen's tone must reach every one of them on the next frame.
TEST_F(MapView, AToneChangeRecoloursEverythingDrawnFromReadyPixels) {
  mapData.LowerLayer.SetTile(1, 1, 0);     // water
  mapData.LowerLayer.SetTile(2, 1, 3000);  // an animated tile
  mapData.LowerLayer.SetTile(3, 1, 4046);  // an autotile
  mapData.UpperLayer.SetTile(4, 1, 10003);
  AddEvent(6, 3, 1, "White");
  TVantraSheet sky(32, 32);
  sky.Palette[9] = {0, 120, 248};
  sky.FillRect({0, 0, 32, 32}, 9);
  sky.BuildColorTable();
  Map().Panorama().UsePicture(sky);
  mapData.LowerLayer.SetTile(8, 8, 9999);  // draws nothing: the panorama shows
  for (int i = 0; i < 3; ++i) Draw();  // every cache warm
  const TVantraBoard before = Draw();

  TKelgScreen& screen = Map().Screen();
  screen.TintRed = 40;
  screen.TintSaturation = 0;
  const TVantraBoard cached = Draw();
  EXPECT_NE(cached.Pixel(8 * 16 + 4, 8 * 16 + 4), before.Pixel(8 * 16 + 4, 8 * 16 + 4));

  // The same frame drawn with every cache empty.
  Map().ChipSetGraphic.SetChipSetPicture(chipSet, MapChipSetPicture());
  Map().Panorama().UsePicture(sky);
  TVantraBitmap white;
  white.SetFormat(288, 256, 8);
  white.Palette[1] = {248, 248, 248};
  for (auto& pixel : white.Pixels) pixel = 1;
  Map().CharSetGraphic.LoadPicture("White", white);
  const TVantraBoard fresh = Draw();
  int differing = 0;
  for (int y = 0; y < 240; ++y)
    for (int x = 0; x < 320; ++x) differing += cached.Pixel(x, y) != fresh.Pixel(x, y);
  EXPECT_EQ(differing, 0);
}

// The first tile pass is kept between frames in a ring of cells; after any
// scroll, shake or animation step the view must equal one drawn from scratch.
TEST_F(MapView, KeptCellsMatchAFreshDrawWhileScrollingAndAnimating) {
  MakeMap(60, 40, 0, 0, 0);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 60; ++x) {
      const int kinds[] = {5000 + (x * 7 + y) % 40, (x + y) % 47, 3000 + (x % 3) * 50, 4000 + (y % 12) * 50 + x % 47, 9999};
      mapData.LowerLayer.SetTile(x, y, static_cast<std::uint16_t>(kinds[(x * 3 + y * 5) % 5]));
      mapData.UpperLayer.SetTile(x, y, static_cast<std::uint16_t>(10000 + (x + y * 2) % 6));
    }
  chipSet->UpperFlags[3] = 0x1F;
  TVantraSheet sky(48, 40);
  for (int y = 0; y < 40; ++y)
    for (int x = 0; x < 48; ++x) sky.ScanLine(y)[x] = static_cast<std::uint8_t>(1 + (x * 5 + y) % 200);
  for (int i = 1; i <= 200; ++i) sky.Palette[i] = {static_cast<std::uint8_t>(i), 40, static_cast<std::uint8_t>(255 - i)};
  sky.BuildColorTable();
  mapData.PanoramaHScroll = 1;
  Map().Panorama().UsePicture(sky);

  struct Step { int right, down, shake, frames; };
  const Step steps[] = {{0, 0, 0, 0},   {16, 0, 0, 1},  {5 * 16, 3 * 16, 0, 5}, {256 * 7, 256 * 3, 0, 6},
                        {-16 * 3, 0, 4, 18}, {256 * 23 + 32, 256 * 18, -5, 24}, {-256 * 30, -256 * 10, 0, 1}};
  for (const Step& step : steps) {
    if (step.right > 0) Map().ScrollRight(step.right);
    if (step.right < 0) Map().ScrollLeft(-step.right);
    if (step.down > 0) Map().ScrollDown(step.down);
    if (step.down < 0) Map().ScrollUp(-step.down);
    Map().Screen().ShakeX = step.shake;
    save->System.FrameCount += step.frames;
    const TVantraBoard kept = Draw();
    Map().ViewCache = TKelMapViewCache();
    const TVantraBoard fresh = Draw();
    int differing = 0;
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) differing += kept.Pixel(x, y) != fresh.Pixel(x, y);
    EXPECT_EQ(differing, 0) << "after scrolling to " << Map().ScrollX << ", " << Map().ScrollY;
  }
}

}  // namespace
