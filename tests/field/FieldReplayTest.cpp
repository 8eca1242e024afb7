#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "common/Replay.h"
#include "graphics/VantraPng.h"

namespace {

// New game once the title window is open; the village is shown from frame 488
// with the hero at (10, 9).
const std::string kNewGame = "385 Return\n";
// Through the village's east gate to the meadow, arriving at (1, 7).
const std::string kToMeadow = kNewGame + "520 Right 120\n";
// Along the meadow to the lake shore (11, 7), facing the boat at (12, 7).
const std::string kToShore = kToMeadow + "720 Right 150\n";
// Up to the meadow's north edge and along it to the airship in the corner (18, 1).
const std::string kToAirship = kToMeadow + "720 Up 100\n830 Right 300\n";

struct Place {
  int mapId, x, y;
};

void ExpectAt(const nlohmann::json& character, Place place) {
  EXPECT_EQ(character["MapId"], place.mapId);
  EXPECT_EQ(character["X"], place.x);
  EXPECT_EQ(character["Y"], place.y);
}

// With ZAR_WRITE_GOLDEN=folder the picture is written there for review.
void Review(const ReplayRun& run, const std::string& name) {
  if (const char* folder = std::getenv("ZAR_WRITE_GOLDEN")) {
    WriteBoardPng(run.board, std::string(folder) + "/" + name + ".png");
    std::printf("%s: 0x%016llxull\n", name.c_str(), static_cast<unsigned long long>(BoardHash(run.board)));
  }
}

TEST(FieldReplay, TheHeroWalksByTheKeysAndStopsAtWalls) {
  struct Case {
    const char* keys;
    int x, y, direction;
  };
  const Case cases[] = {
      {"520 Right 16\n", 12, 9, 1},  // two tiles: the second step starts on the sixteenth frame
      {"520 Left 16\n", 8, 9, 3},
      {"520 Up 200\n", 10, 1, 0},    // into the village wall, and no further
  };
  for (const Case& c : cases) {
    const ReplayRun run = Replay(700, kNewGame + c.keys);
    ASSERT_EQ(run.error, "");
    SCOPED_TRACE(c.keys);
    ExpectAt(run.state["Party"], {1, c.x, c.y});
    EXPECT_EQ(run.state["Party"]["Direction"], c.direction);
    EXPECT_EQ(run.state["Party"]["VehicleType"], 0);
  }
}

TEST(FieldReplay, TheCancelKeyOpensTheMenuButNotDuringATalk) {
  const ReplayRun menu = Replay(560, kNewGame + "520 Escape\n");
  ASSERT_EQ(menu.error, "");
  EXPECT_EQ(menu.state["SceneId"], 1);
  EXPECT_TRUE(menu.Heard("Decision"));
  // Until the menu is built, Cancel leads straight back to the map.
  const ReplayRun back = Replay(600, kNewGame + "520 Escape\n560 Escape\n");
  EXPECT_EQ(back.state["SceneId"], 0);

  // Talking to the Elder at (5, 5): the message window keeps the menu shut.
  const ReplayRun talking = Replay(760, kNewGame + "520 Left 40\n610 Up 24\n670 Return\n700 Escape\n");
  EXPECT_EQ(talking.state["SceneId"], 0);
  EXPECT_EQ(talking.state["MessageWindow"]["Exists"], true);
}

TEST(FieldReplay, TheHouseDoorLeadsInsideAndTheWayOutBack) {
  const std::string inside = kNewGame + "520 Down 64\n";
  const ReplayRun entered = Replay(700, inside);
  ASSERT_EQ(entered.error, "");
  ExpectAt(entered.state["Party"], {4, 10, 12});
  EXPECT_EQ(entered.state["SceneId"], 0);
  Review(entered, "field_house");

  const ReplayRun left = Replay(800, inside + "720 Down 8\n");
  ExpectAt(left.state["Party"], {1, 10, 12});
}

TEST(FieldReplay, ARandomBattleInTheTallGrassReturnsToTheMapWithTheChosenResult) {
  // Down into the tall grass and to and fro until the troop appears.
  const std::string grass = kToMeadow + "720 Down 60\n800 Right 60\n880 Left 60\n";
  const ReplayRun fighting = Replay(1000, grass);
  ASSERT_EQ(fighting.error, "");
  EXPECT_EQ(fighting.state["SceneId"], 2);
  EXPECT_EQ(fighting.state["Battle"]["TroopId"], 1);
  EXPECT_EQ(fighting.state["Party"]["EncounterCount"], 0);
  const nlohmann::json where = fighting.state["Party"];

  const ReplayRun escaped = Replay(1100, grass + "1050 Escape\n");
  EXPECT_EQ(escaped.state["SceneId"], 0);
  EXPECT_EQ(escaped.state["Battle"]["LastResult"], 1);
  ExpectAt(escaped.state["Party"], {5, where["X"], where["Y"]});

  const ReplayRun won = Replay(1100, grass + "1050 Return\n");
  EXPECT_EQ(won.state["SceneId"], 0);
  EXPECT_EQ(won.state["Battle"]["LastResult"], 0);
}

TEST(FieldReplay, NoBattleOnTheOpenMeadowOutsideTheTallGrass) {
  const ReplayRun run = Replay(900, kToShore);
  ASSERT_EQ(run.error, "");
  ExpectAt(run.state["Party"], {5, 11, 7});
  EXPECT_EQ(run.state["SceneId"], 0);
  EXPECT_EQ(run.state["Battle"]["TroopId"], 0);
}

TEST(FieldReplay, TheBoatIsBoardedSailedAndLeftOnTheFarShore) {
  const std::string board = kToShore + "900 Return\n";
  const ReplayRun aboard = Replay(910, board);
  ASSERT_EQ(aboard.error, "");
  EXPECT_EQ(aboard.state["Party"]["VehicleType"], 1);
  EXPECT_EQ(aboard.state["Party"]["Facing"], 3);
  ExpectAt(aboard.state["Boat"], {5, 12, 7});
  Review(aboard, "field_boat");
  EXPECT_EQ(BoardHash(aboard.board), 0x68b7ce081fc791b1ull);  // the boat on the lake, the airship parked

  // The boat keeps to the water: the lake's east shore stops it.
  const std::string sail = board + "920 Right 200\n";
  const ReplayRun sailed = Replay(1140, sail);
  ExpectAt(sailed.state["Party"], {5, 17, 7});
  ExpectAt(sailed.state["Boat"], {5, 17, 7});

  const ReplayRun ashore = Replay(1200, sail + "1150 Return\n");
  ExpectAt(ashore.state["Party"], {5, 18, 7});
  EXPECT_EQ(ashore.state["Party"]["VehicleType"], 0);
  ExpectAt(ashore.state["Boat"], {5, 17, 7});
}

TEST(FieldReplay, TheAirshipRisesFliesAndLandsOnlyOnGround) {
  const std::string flight = kToAirship + "1100 Return\n1150 Left 20\n1200 Down 16\n";
  const ReplayRun flying = Replay(1250, flight);
  ASSERT_EQ(flying.error, "");
  EXPECT_EQ(flying.state["Party"]["VehicleType"], 3);
  ExpectAt(flying.state["Party"], {5, 13, 5});  // over the lake
  ExpectAt(flying.state["Airship"], {5, 13, 5});
  Review(flying, "field_airship");
  EXPECT_EQ(BoardHash(flying.board), 0xc481ad4d3b284e58ull);  // raised above its shadow

  const std::string overWater = flight + "1260 Return\n";
  const ReplayRun refused = Replay(1350, overWater);
  EXPECT_EQ(refused.state["Party"]["VehicleType"], 3);

  const ReplayRun landed = Replay(1600, overWater + "1400 Left 40\n1500 Return\n");
  EXPECT_EQ(landed.state["Party"]["VehicleType"], 0);
  EXPECT_EQ(landed.state["Party"]["Facing"], 2);
  ExpectAt(landed.state["Airship"], {5, landed.state["Party"]["X"], 5});
}

}  // namespace
