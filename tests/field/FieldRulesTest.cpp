#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "battle/LS_Battle.h"
#include "common/Replay.h"
#include "data/LD_DataBase.h"
#include "graphics/VantraDraw.h"
#include "data/LD_MapTree.h"
#include "state/LGD_SaveData.h"
#include "data/LD_CommonEvent.h"
#include "script/LGD_Scripter.h"
#include "ui/GameMessageWindow.h"
#include "world/LGD_MapEvent.h"
#include "world/LGD_Party.h"
#include "world/LGD_Ship.h"
#include "world/LGD_Teleport.h"
#include "world/LS_Field.h"

namespace {

TEST(Encounters, ThresholdGrowsWithTheStepsSinceTheLastBattle) {
  struct Case {
    int count, steps, rate;
    double perMille;
  };
  const Case cases[] = {
      {0, 25, 100, 20},           // 1 in 50 at first
      {499, 25, 100, 20},         // still below 20 n
      {500, 25, 100, 1000.0 / 25 / 1.5},
      {1250, 25, 100, 1000.0 / 25 / 1.2},
      {2500, 25, 100, 1000.0 / 25 * 1.2},
      {5000, 25, 100, 60},        // 6 in 100 from 200 n on
      {0, 25, 50, 10},            // half-rate ground halves the chance
      {0, 25, 0, 0},              // water: never
      {0, 0, 100, 0},             // no encounters on the map
  };
  for (const Case& c : cases)
    EXPECT_NEAR(EncounterThreshold(c.count, c.steps, c.rate), c.perMille, 1e-9)
        << "count " << c.count << " steps " << c.steps << " rate " << c.rate;
}

// A tree: 0 root, 1 world (sets everything), 2 under 1 (sets nothing),
// 3 under 2 (keeps the music, allows teleport), 4 under a missing entry, and
// 5 and 6 parents of each other.
void FillSettingsTree(TKelMapTree& tree) {
  TKelMapTreeItem& root = tree.Get(0);
  root.MusicType = 2;
  root.Music.Name = "Root";
  TKelMapTreeItem& world = tree.Get(1);
  world.MusicType = 2;
  world.Music.Name = "World";
  world.TeleportAllowed = 2;
  world.EscapeAllowed = 1;
  world.BackgroundType = 2;
  world.BackgroundName = "Plains";
  tree.Get(2).ParentId = 1;
  TKelMapTreeItem& inner = tree.Get(3);
  inner.ParentId = 2;
  inner.MusicType = 1;
  inner.TeleportAllowed = 1;
  inner.BackgroundType = 1;
  tree.Get(4).ParentId = 99;
  tree.Get(5).ParentId = 6;
  tree.Get(6).ParentId = 5;
}

TEST(MapSettings, EachSettingComesFromTheNearestMapThatSetsIt) {
  TKelMapTree tree;
  FillSettingsTree(tree);
  struct Case {
    int mapId;
    int musicType;
    std::string music;
    int teleport, escape, save;
    int backgroundType;
    std::string background;
  };
  const Case cases[] = {
      {1, 2, "World", 0, 1, -1, 2, "Plains"},
      {2, 2, "World", 0, 1, -1, 2, "Plains"},  // all inherited
      {3, 1, "", 1, 1, -1, 1, ""},             // its own, the rest from 1
      {4, 0, "", -1, -1, -1, 0, ""},           // the parent is missing: the walk stops
      {5, 0, "", -1, -1, -1, 0, ""},           // a cycle ends after as many steps as maps
      {0, 2, "Root", -1, -1, -1, 0, ""},       // only music is taken from the root
  };
  for (const Case& c : cases) {
    const TKelMapSettings s = InheritedMapSettings(tree, c.mapId);
    SCOPED_TRACE("map " + std::to_string(c.mapId));
    EXPECT_EQ(s.MusicType, c.musicType);
    if (c.musicType == 2) {
      ASSERT_NE(s.Music, nullptr);
      EXPECT_EQ(s.Music->Name, c.music);
    }
    EXPECT_EQ(s.TeleportAllowed, c.teleport);
    EXPECT_EQ(s.EscapeAllowed, c.escape);
    EXPECT_EQ(s.SaveAllowed, c.save);
    EXPECT_EQ(s.BackgroundType, c.backgroundType);
    EXPECT_EQ(s.BackgroundName, c.background);
  }
}

// The demo's game state after "new game", to set conditions in.
class Field : public ::testing::Test {
protected:
  void SetUp() override {
    game = &demo.Game();
    game->NewGame();
  }

  const TKelProgram& Program() { return demo.Program(); }
  TKelDataBase& DataBase() { return *Program().DataBase; }
  TKelgParty& Hero() { return game->Party; }
  TKelFieldScene& Scene() { return *dynamic_cast<TKelFieldScene*>(Program().Scenes[scField]); }
  TKelBattleScene& Battle() { return *dynamic_cast<TKelBattleScene*>(Program().Scenes[scBattle]); }
  // Runs frames of the hero alone.
  void Frames(int count) {
    for (int i = 0; i < count; ++i) {
      Hero().Updated = false;
      Hero().Update();
    }
  }
  // Every lower chip of the demo's chip set on this terrain.
  void SetTerrain(int terrainId) {
    auto& chipSet = DataBase().KelChipSet.ById(1);
    std::fill(chipSet.TerrainIds.begin(), chipSet.TerrainIds.end(), static_cast<std::uint16_t>(terrainId));
  }

  DemoProgram demo;
  TKelgSaveData* game = nullptr;
};

TEST_F(Field, ANewGameStartsAtTheTreesStartWithThePartysLooks) {
  EXPECT_EQ(Hero().MapId, 1);
  EXPECT_EQ(Hero().X, 10);
  EXPECT_EQ(Hero().Y, 9);
  EXPECT_EQ(Hero().MoveSpeed, 4);
  EXPECT_FALSE(Hero().CharSetName.empty());
}

TEST_F(Field, GroundDamageHurtsButNeverKillsAndHealingGroundSparesTheDead) {
  TKelGroundItem& grass = DataBase().KelGround.ById(1);
  grass.StepDamage = 5;
  TKelgPlayerItem& first = *game->PartyInfo.Member(0);
  TKelgPlayerItem& second = *game->PartyInfo.Member(1);
  first.HP = 3;
  second.HP = second.GetMaxHp();
  Hero().Move(1);
  ASSERT_GT(Hero().StepRemaining, 0);
  EXPECT_EQ(first.HP, 1);
  EXPECT_EQ(second.HP, second.GetMaxHp() - 5);
  EXPECT_EQ(game->Screen.FlashRed, 31);
  EXPECT_EQ(game->Screen.FlashFrames, 6);

  Frames(16);
  grass.StepDamage = -30;
  first.HP = 0;
  second.HP = second.GetMaxHp() - 5;
  Hero().Move(1);
  EXPECT_EQ(first.HP, 0);  // the dead stay dead
  EXPECT_EQ(second.HP, second.GetMaxHp());
}

TEST_F(Field, NoEncountersWhereTheMapHasNoStepsAndNoneOnZeroRateGround) {
  game->Map.SetEncounterSteps(0);
  for (int i = 0; i < 10; ++i) Hero().CheckEncounter();
  EXPECT_EQ(Hero().EncounterCount, 0);
  EXPECT_FALSE(Hero().EncounterPending);

  game->Map.SetEncounterSteps(1);
  SetTerrain(2);  // water: rate 0
  for (int i = 0; i < 50; ++i) Hero().CheckEncounter();
  EXPECT_FALSE(Hero().EncounterPending);
}

TEST_F(Field, AnEncounterFillsTheBattleInputsAndHandsOverToTheBattleScene) {
  TKelMapTreeItem& village = Program().MapTree->ById(1);
  village.Encounters.Get(1).TroopId = 1;
  game->System.BattleBackground = "";
  DataBase().KelGround.ById(1).BattleBackground = "Meadow";
  ASSERT_TRUE(Hero().StartEncounter());
  EXPECT_EQ(game->System.SceneId, scBattle);
  EXPECT_EQ(Battle().TroopId, 1);
  EXPECT_EQ(Battle().BackdropName, "Meadow");
  EXPECT_TRUE(Battle().CanEscape);
  EXPECT_FALSE(Battle().CanLose);

  // The placeholder returns with the result the test chose.
  Battle().ChosenResult = brEscape;
  Battle().Update();
  EXPECT_EQ(game->System.SceneId, scField);
  EXPECT_EQ(Battle().LastResult, brEscape);
}

TEST_F(Field, NoBattleWhenNoTroopMayAppearOnTheGround) {
  Program().MapTree->ById(1).Encounters.Get(1).TroopId = 1;
  TKelMonGroupItem& troop = DataBase().KelMonGroup.ById(1);
  troop.TerrainCount = 3;
  troop.TerrainSet = {0, 1, 1};  // ids from 1: not on grass
  Hero().EncounterPending = true;
  EXPECT_FALSE(Hero().StartEncounter());
  EXPECT_FALSE(Hero().EncounterPending);
  EXPECT_EQ(game->System.SceneId, scField);
}

TEST_F(Field, APanMovesTheCameraAtItsSpeedOnlyWhereTheMapCanScroll) {
  Hero().Pan(3, 5, 3);  // five tiles left at 16 per frame
  EXPECT_EQ(Hero().PanFramesLeft(), 80);
  Frames(10);
  EXPECT_EQ(Hero().CameraX, kCameraHomeX);  // the village is no larger than the view

  Scene().RequestTransfer(3, 20, 15);  // the town, 40 x 30
  Scene().DoTransfer();
  ASSERT_EQ(Hero().MapId, 3);
  const auto scrollX = game->Map.ScrollX;
  Frames(10);
  EXPECT_EQ(Hero().CameraX, kCameraHomeX + 160);
  EXPECT_EQ(game->Map.ScrollX, scrollX - 160);
  EXPECT_EQ(Hero().PanFramesLeft(), 70);
  Hero().PanBack(6);
  EXPECT_EQ(Hero().PanFramesLeft(), 2);
  Frames(2);
  EXPECT_EQ(Hero().CameraX, kCameraHomeX);
  EXPECT_EQ(game->Map.ScrollX, scrollX);
}

TEST_F(Field, EnteringAMapTakesItsPermissionsAndKeepsUnsetOnes) {
  TKelMapTree& tree = *Program().MapTree;
  tree.ById(3).SaveAllowed = 2;
  tree.ById(1).TeleportAllowed = 0;
  tree.ById(3).TeleportAllowed = 0;
  game->System.TeleportAllowed = 0;
  tree.ById(3).BackgroundType = 2;
  tree.ById(3).BackgroundName = "Town";
  Scene().RequestTransfer(3, 5, 20);
  Scene().DoTransfer();
  EXPECT_EQ(game->System.SaveAllowed, 0);
  EXPECT_EQ(game->System.TeleportAllowed, 0);  // nobody on the way decides
  EXPECT_EQ(game->System.BattleBackground, "Town");
  EXPECT_EQ(Hero().X, 5);
  EXPECT_EQ(Hero().Y, 20);
}

TEST_F(Field, GameOverOnlyWhenTheWholePartyIsDown) {
  game->PartyInfo.Member(0)->HP = 0;
  Scene().CheckGameOver();
  EXPECT_EQ(game->System.SceneId, scField);
  game->PartyInfo.Member(1)->HP = 0;
  MelvoxClearCallLog();
  Scene().CheckGameOver();
  EXPECT_EQ(game->System.SceneId, scGameOver);
  bool heard = false;
  for (const std::string& call : MelvoxCallLog()) heard = heard || call.find("GameOver") != std::string::npos;
  EXPECT_TRUE(heard);
}

TEST_F(Field, BoardingTheBoatTakesAStepAndRidesAtTheBoatsSpeed) {
  TKelgShip& boat = game->Boat;
  boat.SetPosition(1, 11, 9);
  Hero().Direction = Hero().Facing = 1;
  game->System.CurrentMusic.Name = "Village";
  ASSERT_TRUE(Hero().BoardOrLeave());
  EXPECT_TRUE(Hero().Boarding);
  EXPECT_EQ(Hero().VehicleType, 1);
  EXPECT_EQ(game->System.VehicleReturnMusic.Name, "Village");
  Frames(16);
  EXPECT_FALSE(Hero().Boarding);
  EXPECT_TRUE(Hero().Aboard);
  EXPECT_EQ(Hero().Facing, 3);
  EXPECT_EQ(Hero().MoveSpeed, boat.MoveSpeed);
  EXPECT_EQ(Hero().X, 11);

  // Leaving onto grass: a step off, then on foot with the old speed.
  Hero().Direction = 1;
  ASSERT_TRUE(Hero().BoardOrLeave());
  EXPECT_TRUE(Hero().Leaving);
  EXPECT_EQ(Hero().VehicleType, 0);
  Frames(16);
  EXPECT_FALSE(Hero().Leaving);
  EXPECT_EQ(Hero().X, 12);
  EXPECT_EQ(boat.X, 11);
  EXPECT_EQ(boat.Facing, 3);
}

TEST_F(Field, TheAirshipRisesAndLandsButNotOverWater) {
  TKelgShip& airship = game->Airship;
  airship.SetPosition(1, Hero().X, Hero().Y);
  ASSERT_TRUE(Hero().BoardOrLeave());
  EXPECT_EQ(Hero().VehicleType, 3);
  EXPECT_TRUE(Hero().Flying);
  EXPECT_EQ(airship.Ascent, kAirshipClimb);
  Frames(32);
  EXPECT_EQ(airship.Ascent, 0);

  SetTerrain(2);  // water everywhere: no landing
  ASSERT_TRUE(Hero().BoardOrLeave());
  Frames(32);
  EXPECT_EQ(airship.Descent, 0);
  EXPECT_EQ(airship.Ascent, kAirshipClimb);  // rising again
  EXPECT_TRUE(Hero().Flying);
  Frames(32);

  SetTerrain(1);
  ASSERT_TRUE(Hero().BoardOrLeave());
  Frames(32);
  EXPECT_FALSE(Hero().Flying);
  EXPECT_EQ(Hero().VehicleType, 0);
  EXPECT_EQ(Hero().Facing, 2);
}

TEST_F(Field, TeleportingLeavesTheVehicleAndGoesToTheParentOfAnArea) {
  TKelMapTreeItem& area = Program().MapTree->Get(9);
  area.NodeType = ntArea;
  area.ParentId = 3;
  TKelgTeleportItem target;
  target.MapId = 9;
  target.X = 6;
  target.Y = 20;
  target.SwitchOn = 1;
  target.SwitchId = 7;
  game->Airship.SetPosition(1, Hero().X, Hero().Y);
  ASSERT_TRUE(Hero().BoardOrLeave());
  TeleportTo(Hero(), target);
  EXPECT_EQ(Hero().MapId, 3);
  EXPECT_EQ(Hero().X, 6);
  EXPECT_EQ(Hero().Direction, 2);
  EXPECT_EQ(Hero().VehicleType, 0);
  EXPECT_FALSE(Hero().Flying);
  EXPECT_EQ(game->System.Switch(7), 1);
}

}  // namespace

namespace {

TEST_F(Field, AParallelScriptThatTeleportsEveryRunCannotHoldTheFrame) {
  TKelCommonEventItem& keeper = DataBase().KelCommonEvent.Get(99);
  keeper.Trigger = kCommonTriggerParallel;
  keeper.HasSwitch = 0;
  keeper.Lines.ClearLines();
  keeper.Lines.AddLine() = TKelEventScriptLine{.Code = 10810, .Indent = 0, .Text = "", .Params = {1, 4, 4}};
  keeper.Lines.AddLine() = TKelEventScriptLine{.Code = 0, .Indent = 0, .Text = "", .Params = {}};
  game->CommonEvents.Reset(DataBase());
  Scene().Update();  // returns: the request made while the map settles waits
  EXPECT_EQ(Hero().X, 4);
  EXPECT_EQ(Hero().Y, 4);
  EXPECT_TRUE(Scene().TransferPending);
  Scene().Update();
  EXPECT_TRUE(Scene().TransferPending);
}

TEST_F(Field, GameOverFromInsideACommandLeavesTheRunningScriptWhereItIs) {
  // The Elder's talk: a message, then the end of the script.
  auto& elder = static_cast<TKelgMapEvent&>(*game->Map.Events[0]);
  elder.Start();
  game->Scripter->UpdateFrame();
  ASSERT_TRUE(game->Scripter->IsRunning());
  game->PartyInfo.Member(0)->HP = 0;
  game->PartyInfo.Member(1)->HP = 0;
  Scene().CheckGameOver();
  EXPECT_EQ(game->System.SceneId, scGameOver);
  EXPECT_FALSE(Program().MessageWindow->Exists());
  // Running the scene would have carried the script past its message.
  EXPECT_TRUE(game->Scripter->IsRunning());
}

TEST_F(Field, TheCancelKeyCallsTheMenuOnTheHerosNextDecision) {
  Hero().MenuCalled = true;
  Hero().Updated = false;
  Hero().Update();
  EXPECT_EQ(game->System.SceneId, scMenu);
  EXPECT_FALSE(Hero().MenuCalled);
}

}  // namespace

namespace {

TEST_F(Field, ATransferOnADarkScreenRunsNoTransitionsAndALitOneFadesOutAndIn) {
  struct Case {
    int brightness;
    bool framesPass;
  };
  for (const Case c : {Case{0, false}, Case{100, true}}) {
    Program().Draw->Board.Brightness = c.brightness;
    const std::uint64_t before = Program().Draw->FramesDone();
    Scene().RequestTransfer(Hero().MapId == 3 ? 1 : 3, 5, 20);
    Scene().DoTransfer();
    EXPECT_EQ(Program().Draw->FramesDone() > before, c.framesPass) << "brightness " << c.brightness;
    EXPECT_EQ(Program().Draw->Board.Brightness, c.brightness);
  }
}

TEST_F(Field, EnteringAMapPlaysItsMusicOrKeepsItForAfterTheRide) {
  TKelMapTreeItem& town = Program().MapTree->ById(3);
  town.MusicType = 2;
  town.Music.Name = "Town";
  Scene().RequestTransfer(3, 5, 20);
  Scene().DoTransfer();
  EXPECT_EQ(game->System.CurrentMusic.Name, "Town");

  // Aboard a vehicle the map's music waits until the hero leaves it.
  Scene().RequestTransfer(1, 10, 9);
  Scene().DoTransfer();
  game->System.CurrentMusic.Name = "Sailing";
  game->Boat.SetPosition(1, 10, 9);
  Hero().Aboard = true;
  Hero().VehicleType = 1;
  Scene().RequestTransfer(3, 5, 20);
  Scene().DoTransfer();
  EXPECT_EQ(game->System.CurrentMusic.Name, "Sailing");
  EXPECT_EQ(game->System.VehicleReturnMusic.Name, "Town");
  EXPECT_EQ(game->Boat.MapId, 3);  // the ridden boat comes along
}

TEST_F(Field, TheLocationIsMemorisedInVariablesAndTeleportedBackTo) {
  TKelCommonEventItem& keeper = DataBase().KelCommonEvent.Get(99);
  keeper.Trigger = kCommonTriggerParallel;
  keeper.HasSwitch = 0;
  keeper.Lines.ClearLines();
  keeper.Lines.AddLine() = TKelEventScriptLine{.Code = 10820, .Indent = 0, .Text = "", .Params = {1, 2, 3}};
  keeper.Lines.AddLine() = TKelEventScriptLine{.Code = 0, .Indent = 0, .Text = "", .Params = {}};
  game->CommonEvents.Reset(DataBase());
  Scene().Update();
  EXPECT_EQ(game->System.Variable(1), 1);
  EXPECT_EQ(game->System.Variable(2), 10);
  EXPECT_EQ(game->System.Variable(3), 9);

  keeper.Lines.Line(0) = TKelEventScriptLine{.Code = 10830, .Indent = 0, .Text = "", .Params = {4, 5, 6}};
  game->System.SetVariable(4, 3);
  game->System.SetVariable(5, 7);
  game->System.SetVariable(6, 20);
  game->CommonEvents.Reset(DataBase());
  Scene().Update();
  EXPECT_EQ(Hero().MapId, 3);
  EXPECT_EQ(Hero().X, 7);
  EXPECT_EQ(Hero().Y, 20);
}

TEST_F(Field, AStayAtTheInnHealsThePartyAndResumesTheMusic) {
  game->System.CurrentMusic.Name = "Village";
  game->PartyInfo.Member(0)->HP = 1;
  Scene().Inn();
  EXPECT_EQ(game->PartyInfo.Member(0)->HP, game->PartyInfo.Member(0)->GetMaxHp());
  EXPECT_EQ(game->System.CurrentMusic.Name, "Village");
  EXPECT_EQ(Program().Draw->Board.Brightness, 100);
}

}  // namespace
