#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "WorldFixture.h"
#include "data/StreamUtils.h"

namespace {

class MapState : public WorldFixture {};

TEST_F(MapState, AMapSmallerThanTheViewNeverScrolls) {
  MakeMap(15, 10, 0, 14, 9);
  EXPECT_EQ(Map().ScrollX, 0);
  EXPECT_EQ(Map().ScrollY, 0);
  for (std::int64_t value : {-1000, 256, 100000}) {
    Map().SetScrollX(value);
    Map().SetScrollY(value);
    EXPECT_EQ(Map().ScrollX, 0);
    EXPECT_EQ(Map().ScrollY, 0);
  }
  EXPECT_FALSE(Map().ScrollRight(256));
}

TEST_F(MapState, EnteringCentresTheHeroWhereTheMapAllows) {
  MakeMap(40, 30, 0, 20, 20);
  EXPECT_EQ(Map().ScrollX, 20 * 256 - 2304);
  EXPECT_EQ(Map().ScrollY, 20 * 256 - 1792);
  EXPECT_EQ(Hero().ScreenX(), 9 * 16 + 8);
  EXPECT_EQ(Hero().ScreenY(), 7 * 16 + 16);
  MakeMap(40, 30, 0, 39, 1);
  EXPECT_EQ(Map().ScrollX, 40 * 256 - 5120);
  EXPECT_EQ(Map().ScrollY, 0);
}

TEST_F(MapState, ClampedScrollingStopsAtBothEnds) {
  MakeMap(30, 20);
  struct Case { std::int64_t set; std::int64_t x; std::int64_t y; };
  const Case cases[] = {{-5, 0, 0}, {100, 100, 100}, {2560, 2560, 1280}, {100000, 2560, 1280}};
  for (const Case& c : cases) {
    Map().SetScrollX(c.set);
    Map().SetScrollY(c.set);
    EXPECT_EQ(Map().ScrollX, c.x) << c.set;
    EXPECT_EQ(Map().ScrollY, c.y) << c.set;
  }
  EXPECT_FALSE(Map().ScrollRight(16));  // already at the end
  EXPECT_TRUE(Map().ScrollLeft(16));
  EXPECT_EQ(Map().ScrollX, 2544);
}

TEST_F(MapState, LoopingAxesWrapScrollTilesAndCells) {
  MakeMap(30, 20, 2);
  mapData.LowerLayer.SetTile(29, 3, 5005);
  Map().SetScrollX(-256);
  EXPECT_EQ(Map().ScrollX, 29 * 256);
  Map().SetScrollX(30 * 256 + 7);
  EXPECT_EQ(Map().ScrollX, 7);
  EXPECT_EQ(Map().LowerTile(-1, 3), 5005);
  EXPECT_EQ(Map().LowerTile(59, 3), 5005);
  EXPECT_TRUE(Map().IsValid(-5, 0));
  EXPECT_FALSE(Map().IsValid(0, -1));  // the vertical axis does not loop
  EXPECT_EQ(Map().LowerTile(0, -1), -1);
  EXPECT_EQ(Map().WrapX(-1), 29);
  EXPECT_EQ(Map().WrapX(-31), 29);
  EXPECT_EQ(Map().WrapY(-1), -1);
  Map().SetScrollY(-256);
  EXPECT_EQ(Map().ScrollY, 0);
}

TEST_F(MapState, WideMapsScrollWithoutOverflow) {
  MakeMap(9000000, 1, 0);
  Map().SetScrollX(INT64_C(1) << 40);
  EXPECT_EQ(Map().ScrollX, INT64_C(9000000) * 256 - 5120);
  MakeMap(9000000, 1, 2);
  Map().SetScrollX(-256);
  EXPECT_EQ(Map().ScrollX, INT64_C(8999999) * 256);
}

TEST_F(MapState, SubstitutionsCompareValuesAndSpareWaterAndAutotiles) {
  MakeMap(4, 1);
  mapData.LowerLayer.Tiles = {5003, 5007, 3, 4003};
  mapData.UpperLayer.Tiles = {10003, 10000, 10000, 10000};
  Map().ReplaceTile(0, 3, 7);
  EXPECT_EQ(Map().LowerTile(0, 0), 5007);
  EXPECT_EQ(Map().LowerTile(2, 0), 3);
  EXPECT_EQ(Map().LowerTile(3, 0), 4003);
  EXPECT_EQ(Map().UpperTile(0, 0), 10003);  // the upper table is its own
  Map().ReplaceTile(0, 7, 9);
  EXPECT_EQ(Map().LowerTile(0, 0), 5009);
  EXPECT_EQ(Map().LowerTile(1, 0), 5009);
  Map().ReplaceTile(1, 3, 200);  // an index past the table is held at its end
  EXPECT_EQ(Map().UpperTile(0, 0), 10143);
}

// Passability: chip-set flags of the cells (lower plain tile 0 and upper
// tile 1 unless a case says otherwise) and the expected answer per side.
struct PassCase {
  const char* what;
  int lowerId;
  std::uint8_t lowerFlags;
  int upperId;
  std::uint8_t upperFlags;
  std::array<bool, 8> sides;  // south, west, east, north, any, 5, 6, 7
};

const PassCase kPassCases[] = {
    {"plain ground under an empty upper tile", 5000, 0x0F, 10000, 0x1F, {1, 1, 1, 1, 1, 0, 0, 0}},
    {"lower open to the south only", 5000, 0x01, 10000, 0x1F, {1, 0, 0, 0, 1, 0, 0, 0}},
    {"a plain upper tile decides alone", 5000, 0x00, 10001, 0x06, {0, 1, 1, 0, 1, 0, 0, 0}},
    {"a blocking upper tile over open ground", 5000, 0x0F, 10001, 0x00, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"star over a closed lower tile", 5000, 0x00, 10001, 0x1F, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"star over a wall top bordered above", 4020, 0x20, 10001, 0x1F, {1, 1, 1, 1, 1, 0, 0, 0}},
    {"star over a wall top of combination 46", 4046, 0x20, 10001, 0x1F, {1, 1, 1, 1, 1, 0, 0, 0}},
    {"star over a wall-top tile not bordered above", 4000, 0x20, 10001, 0x1F, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"wall-top combination without the wall-top bit", 4020, 0x00, 10001, 0x1F, {0, 0, 0, 0, 0, 0, 0, 0}},
    {"star that closes a side itself", 5000, 0x0F, 10001, 0x1E, {0, 1, 1, 1, 1, 0, 0, 0}},
    {"a lower tile the chip set lacks reads as closed", 5144, 0x0F, 10000, 0x1F, {0, 0, 0, 0, 0, 0, 0, 0}},
};

TEST_F(MapState, PassableBySide) {
  MakeMap(1, 1);
  for (const PassCase& c : kPassCases) {
    chipSet->Clear();
    mapData.LowerLayer.Tiles = {static_cast<std::uint16_t>(c.lowerId)};
    mapData.UpperLayer.Tiles = {static_cast<std::uint16_t>(c.upperId)};
    const int lowerChip = c.lowerId < 5000 ? 6 + (c.lowerId - 4000) / 50 : c.lowerId - 4982;
    if (lowerChip < kLowerTileCount) chipSet->LowerFlags[lowerChip] = c.lowerFlags;
    chipSet->UpperFlags[c.upperId - 10000] = c.upperFlags;
    for (int side = 0; side < 8; ++side)
      EXPECT_EQ(Map().Passable(0, 0, 0, side), c.sides[side]) << c.what << ", side " << side;
  }
}

TEST_F(MapState, ATileEventStandsInForTheUpperTileUnlessItIsAStar) {
  MakeMap(3, 1);
  chipSet->UpperFlags[5] = 0x00;  // a closed tile
  chipSet->UpperFlags[6] = 0x10;  // a star with no open side
  TKelgCharacter& rock = AddEvent(1, 0, 0, "");
  rock.CharSetIndex = 5;
  EXPECT_FALSE(Map().Passable(1, 0, 0, 2));
  EXPECT_TRUE(Map().Passable(1, 0, rock.Key, 2)) << "the event asking about its own cell ignores itself";
  rock.CharSetIndex = 6;
  EXPECT_TRUE(Map().Passable(1, 0, 0, 2));
  rock.CharSetIndex = 5;
  rock.Through = true;
  EXPECT_TRUE(Map().Passable(1, 0, 0, 2));
  rock.Through = false;
  rock.Layer = 1;
  EXPECT_TRUE(Map().Passable(1, 0, 0, 2)) << "only events below the hero count";
  rock.Layer = 0;
  EXPECT_EQ(Map().TileEventAt(1, 0, 0), 10005);
  EXPECT_EQ(Map().EventIdAt(1, 0), rock.Key);
  EXPECT_EQ(Map().EventIdAt(2, 0), 0);
}

TEST_F(MapState, EnteringWithoutAMapIsInvalid) {
  MakeMap(20, 15);
  Hero().MapId = 0;
  try {
    Map().EnterMap(true);
    FAIL();
  } catch (const EKelInvalid& error) {
    EXPECT_STREQ(error.what(), "Invalid Map");
  }
}

TEST_F(MapState, CharactersInTheirFixedOrderAndTheStateDump) {
  MakeMap(20, 15, 0, 3, 4);
  TKelgCharacter& first = AddEvent(5, 6);
  TKelgCharacter& second = AddEvent(7, 8);
  save->Ship.MapId = 1;
  save->Boat.MapId = 2;  // elsewhere: not among this map's characters
  ASSERT_EQ(Map().CharacterCount(), 4);
  EXPECT_EQ(&Map().CharacterAt(0), &first);
  EXPECT_EQ(&Map().CharacterAt(1), &second);
  EXPECT_EQ(&Map().CharacterAt(2), &Hero());
  EXPECT_EQ(&Map().CharacterAt(3), &save->Ship);

  second.Direction = 3;
  second.Transparency = 2;
  nlohmann::json state;
  save->DumpState(state);
  EXPECT_EQ(state["MapId"], 1);
  EXPECT_EQ(state["ScrollX"], 0);
  EXPECT_EQ(state["Events"]["2"]["X"], 7);
  EXPECT_EQ(state["Events"]["2"]["Direction"], 3);
  EXPECT_EQ(state["Events"]["2"]["Transparency"], 2);
  EXPECT_EQ(state["Events"]["1"]["MoveSpeed"], 3);
  EXPECT_TRUE(state.contains("SceneId"));
}

}  // namespace
