#include <gtest/gtest.h>

#include <array>
#include <utility>

#include "WorldFixture.h"
#include "world/GR_ChipSet.h"

namespace {

using Block = std::pair<int, int>;
using Quarters = std::array<Block, 4>;  // top-left, top-right, bottom-left, bottom-right

class ChipSetDrawing : public ::testing::Test {
protected:
  void SetUp() override {
    record.GraphicName = "Coded";
    graphic.SetChipSetPicture(&record, CodedChipSetPicture());
  }

  // The blocks of the picture that one tile drawn at (16, 16) shows.
  Quarters Draw(int tileId, int frameCount) {
    TVantraBoard board(48, 48);
    graphic.DrawTile(board, 16, 16, frameCount, tileId, 16);
    return {BlockAt(board, 16, 16), BlockAt(board, 24, 16), BlockAt(board, 16, 24), BlockAt(board, 24, 24)};
  }

  AssetFolders folders;
  TKelChipSetItem record;
  TKelChipSetGraphic graphic{folders};
};

struct TileCase {
  const char* what;
  int tileId;
  int frameCount;
  Quarters blocks;  // in 8-pixel units of the chip-set picture
};

// Worked by hand from the picture layout: water pieces are 16 pixels wide
// and stacked in 8-pixel rows; autotile 0's block starts at (0, 128).
const TileCase kTiles[] = {
    {"water A middle", 0, 0, {{{0, 8}, {1, 8}, {0, 9}, {1, 9}}}},
    {"water A, inner corner top-left", 1, 0, {{{0, 6}, {1, 8}, {0, 9}, {1, 9}}}},
    {"water A bordered left", 16, 0, {{{0, 2}, {1, 8}, {0, 3}, {1, 9}}}},
    {"water A bordered left, inner corners right", 19, 0, {{{0, 2}, {1, 6}, {0, 3}, {1, 7}}}},
    {"water A bordered top and bottom", 33, 0, {{{0, 4}, {1, 4}, {0, 5}, {1, 5}}}},
    {"water A corner flag top-left", 50, 0, {{{0, 10}, {1, 8}, {0, 9}, {1, 9}}}},
    {"water B bordered all round", 1046, 0, {{{6, 0}, {7, 0}, {6, 1}, {7, 1}}}},
    {"water B edges from its own column, middle from water A", 1016, 0, {{{6, 2}, {1, 8}, {6, 3}, {1, 9}}}},
    {"water B combination 49", 1049, 0, {{{6, 0}, {7, 0}, {6, 1}, {7, 1}}}},
    {"deep water middle", 2000, 0, {{{0, 14}, {1, 14}, {0, 15}, {1, 15}}}},
    {"deep water 2345: corner flags 6, combination 45", 2345, 0, {{{0, 4}, {1, 12}, {0, 13}, {1, 1}}}},
    {"deep water combination 49", 2049, 0, {{{0, 12}, {1, 12}, {0, 13}, {1, 13}}}},
    {"water steps 1 after 24 frames", 0, 24, {{{2, 8}, {3, 8}, {2, 9}, {3, 9}}}},
    {"water steps 2 after 48 frames", 0, 48, {{{4, 8}, {5, 8}, {4, 9}, {5, 9}}}},
    {"water steps back to 1 after 72 frames", 0, 72, {{{2, 8}, {3, 8}, {2, 9}, {3, 9}}}},
    {"water steps to 0 after 96 frames", 0, 96, {{{0, 8}, {1, 8}, {0, 9}, {1, 9}}}},
    {"animated tile 1, frame 0", 3050, 5, {{{8, 8}, {9, 8}, {8, 9}, {9, 9}}}},
    {"animated tile 1, second picture", 3050, 6, {{{8, 10}, {9, 10}, {8, 11}, {9, 11}}}},
    {"animated tile 1, fourth picture", 3050, 23, {{{8, 14}, {9, 14}, {8, 15}, {9, 15}}}},
    {"animated tile 1 repeats after 24 frames", 3050, 24, {{{8, 8}, {9, 8}, {8, 9}, {9, 9}}}},
    {"autotile 0 middle", 4000, 0, {{{2, 20}, {3, 20}, {2, 21}, {3, 21}}}},
    {"autotile 0 bordered all round", 4046, 0, {{{0, 18}, {5, 18}, {0, 23}, {5, 23}}}},
    {"autotile 0 all inner corners", 4015, 0, {{{4, 16}, {5, 16}, {4, 17}, {5, 17}}}},
    {"autotile 0 top and left", 4034, 0, {{{0, 18}, {1, 18}, {0, 19}, {1, 19}}}},
    {"autotile 0 top and left, inner bottom-right", 4035, 0, {{{0, 18}, {1, 18}, {0, 19}, {5, 17}}}},
    {"autotile 0 single picture", 4049, 0, {{{0, 16}, {1, 16}, {0, 17}, {1, 17}}}},
    {"autotile 0 does not animate", 4000, 48, {{{2, 20}, {3, 20}, {2, 21}, {3, 21}}}},
    {"autotile 5 at (144, 0)", 4250, 0, {{{20, 4}, {21, 4}, {20, 5}, {21, 5}}}},
    {"plain tile 0", 5000, 0, {{{24, 0}, {25, 0}, {24, 1}, {25, 1}}}},
    {"plain tile 7", 5007, 0, {{{26, 2}, {27, 2}, {26, 3}, {27, 3}}}},
    {"plain tile 100 in the second column", 5100, 0, {{{44, 0}, {45, 0}, {44, 1}, {45, 1}}}},
    {"upper tile 0 in the bottom half", 10000, 0, {{{36, 16}, {37, 16}, {36, 17}, {37, 17}}}},
    {"upper tile 50", 10050, 0, {{{52, 0}, {53, 0}, {52, 1}, {53, 1}}}},
    {"upper ids past 143 clamp", 10999, 0, {{{58, 30}, {59, 30}, {58, 31}, {59, 31}}}},
};

TEST_F(ChipSetDrawing, TileIdsDrawTheirPieces) {
  for (const TileCase& c : kTiles) EXPECT_EQ(Draw(c.tileId, c.frameCount), c.blocks) << c.what;
}

TEST_F(ChipSetDrawing, FastWaterAndThreeStepWater) {
  record.AnimationSpeed = 1;
  EXPECT_EQ(Draw(0, 12)[0], Block(2, 8));
  record.WaterAnimation = 1;
  EXPECT_EQ(Draw(0, 36)[0], Block(0, 8));  // c = 3: three steps, back to 0
  EXPECT_EQ(Draw(0, 24)[0], Block(4, 8));
}

TEST_F(ChipSetDrawing, TilesTheChipSetDoesNotHaveDrawNothingAndAreNotOpaque) {
  const Block none{-1, -1};
  for (int id : {3150, 3999, 4600, 4999, 5144, 9999, 20000, 65535, -1}) {
    EXPECT_EQ(Draw(id, 0), (Quarters{none, none, none, none})) << id;
    EXPECT_FALSE(graphic.IsOpaque(id)) << id;
  }
}

TEST_F(ChipSetDrawing, DrawingWithoutAChipSetOrBeforeTheFirstFrameIsAnInternalError) {
  TVantraBoard board(16, 16);
  EXPECT_THROW(graphic.DrawTile(board, 0, 0, -1, 5000, 16), EKelAssertion);
  TKelChipSetGraphic empty(folders);
  try {
    empty.DrawTile(board, 0, 0, 0, 5000, 16);
    FAIL();
  } catch (const EKelAssertion& error) {
    EXPECT_NE(std::string(error.what()).find("Assertion failure (GR_ChipSet"), std::string::npos);
  }
}

TEST(ChipSetFlags, OpaqueAndTransparentComeFromThePixels) {
  TVantraBitmap picture = CodedChipSetPicture();
  auto clear = [&](int x, int y, int w, int h) {
    for (int row = y; row < y + h; ++row)
      for (int column = x; column < x + w; ++column) picture.ScanLine(row)[column] = 0;
  };
  clear(192 + 16, 0, 16, 16);  // plain tile 1 blank
  clear(192 + 32, 0, 1, 1);    // plain tile 2 with one hole
  clear(47, 127, 1, 1);        // a hole in water's second area
  clear(64 + 15, 64 + 63, 1, 1);  // animated tile 1, last picture
  clear(144, 0 + 63, 1, 1);    // autotile 5
  clear(288, 128, 16, 16);     // upper tile 0 blank
  AssetFolders folders;
  TKelChipSetItem record;
  TKelChipSetGraphic graphic(folders);
  graphic.SetChipSetPicture(&record, picture);

  EXPECT_TRUE(graphic.IsOpaque(5000));
  EXPECT_FALSE(graphic.IsOpaque(5001));
  EXPECT_FALSE(graphic.IsOpaque(5002));
  EXPECT_TRUE(graphic.Chips[19].Transparent);
  EXPECT_FALSE(graphic.Chips[20].Transparent);
  EXPECT_FALSE(graphic.IsOpaque(0));
  EXPECT_FALSE(graphic.IsOpaque(2999));
  EXPECT_TRUE(graphic.IsOpaque(3000));
  EXPECT_FALSE(graphic.IsOpaque(3050));
  EXPECT_TRUE(graphic.IsOpaque(4200));
  EXPECT_FALSE(graphic.IsOpaque(4250));
  EXPECT_TRUE(graphic.UpperChips[0].Transparent);
  EXPECT_FALSE(graphic.UpperChips[1].Transparent);

  // A blank cell is skipped only while index 0 is transparent.
  TVantraBoard board(16, 16);
  board.FillRect({0, 0, 16, 16}, {255, 255, 255});
  graphic.SetColorKey(true);
  graphic.DrawTile(board, 0, 0, 0, 5001, 16);
  graphic.DrawTile(board, 0, 0, 0, 10000, 16);
  EXPECT_EQ(board.Pixel(5, 5), PackRgb565(255, 255, 255));
  graphic.SetColorKey(false);
  graphic.DrawTile(board, 0, 0, 0, 5001, 16);
  EXPECT_EQ(board.Pixel(5, 5), 0);
}

TEST_F(ChipSetDrawing, QuartersClipAtTheBoardEdges) {
  TVantraBoard board(16, 16);
  graphic.DrawTile(board, -8, -8, 0, 4046, 16);  // only the bottom-right quarter shows
  EXPECT_EQ(BlockAt(board, 0, 0), Block(5, 23));
  graphic.DrawTile(board, 8, 8, 0, 5000, 16);
  EXPECT_EQ(BlockAt(board, 8, 8), Block(24, 0));
}

}  // namespace
