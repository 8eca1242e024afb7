#include <gtest/gtest.h>

#include <vector>

#include "WorldFixture.h"
#include "world/GR_CharSet.h"

namespace {

std::vector<TKelMoveRouteItem> Route(std::initializer_list<int> codes) {
  std::vector<TKelMoveRouteItem> route;
  for (int code : codes) route.push_back({.Code = code});
  return route;
}

class Characters : public WorldFixture {
protected:
  void SetUp() override {
    WorldFixture::SetUp();
    MakeMap(20, 15, 0, 0, 0);
  }
};

TEST_F(Characters, AnImposedRouteStepsThenWaitsItsFrequencyThenStepsAgain) {
  TKelgCharacter& walker = AddEvent(5, 5);
  walker.MoveSpeed = 4;
  walker.MoveFrequency = 3;
  walker.SetRoute(Route({2, 2}), false, false, 3);
  std::vector<int> stepStarts, stepEnds;
  for (int frame = 1; frame <= 100; ++frame) {
    const int before = walker.StepRemaining;
    UpdateFrame();
    if (before == 0 && walker.StepRemaining > 0) stepStarts.push_back(frame);
    if (before > 0 && walker.StepRemaining == 0) stepEnds.push_back(frame);
  }
  // Each step takes 8 frames at speed 4; between them 64 frames of standing.
  EXPECT_EQ(stepStarts, (std::vector<int>{1, 73}));
  EXPECT_EQ(stepEnds, (std::vector<int>{8, 80}));
  EXPECT_EQ(walker.Y, 7);
  EXPECT_FALSE(walker.RouteForced);
  EXPECT_EQ(walker.MoveFrequency, 3);
}

TEST_F(Characters, ScreenPositionDuringAStep) {
  TKelgCharacter& walker = AddEvent(5, 5);
  walker.MoveSpeed = 3;
  walker.Move(1);
  ASSERT_EQ(walker.StepRemaining, 256);
  EXPECT_EQ(walker.ScreenX(), 6 * 16 + 8 - 16);
  std::vector<int> xs;
  for (int i = 0; i < 16; ++i) {
    UpdateFrame();
    xs.push_back(walker.ScreenX());
  }
  EXPECT_EQ(xs.front(), 6 * 16 + 8 - 15);
  EXPECT_EQ(xs.back(), 6 * 16 + 8);
  walker.Move(2);
  UpdateFrame();
  EXPECT_EQ(walker.ScreenY(), 6 * 16 + 16 - 15);  // down: (240 + 15) div 16 pixels short
}

TEST_F(Characters, BlockedMovesTurnButOnlySkippableRoutesGoOn) {
  mapData.LowerLayer.SetTile(6, 4, 5001);
  mapData.LowerLayer.SetTile(5, 4, 5001);
  mapData.LowerLayer.SetTile(6, 5, 5001);
  chipSet->LowerFlags[19] = 0;  // plain tile 1 is a wall
  TKelgCharacter& stuck = AddEvent(5, 5);
  stuck.Direction = stuck.Facing = 2;
  stuck.SetRoute(Route({4, 3}), false, false, 8);  // up-right, then left
  for (int i = 0; i < 5; ++i) UpdateFrame();
  EXPECT_EQ(stuck.ForcedRoutePos, 0) << "keeps trying the blocked diagonal";
  EXPECT_EQ(stuck.Facing, 0) << "facing down turned up by the attempt";
  EXPECT_EQ(stuck.X, 5);

  TKelgCharacter& skipper = AddEvent(5, 5, 0);  // below the hero: no collision with the first
  skipper.Direction = skipper.Facing = 2;
  skipper.SetRoute(Route({4, 3}), false, true, 8);
  UpdateFrame();
  EXPECT_EQ(skipper.X, 4) << "the diagonal was skipped and the left step taken";
  EXPECT_EQ(skipper.Direction, 3);
}

TEST_F(Characters, DiagonalsNeedOneFreeLShapedPath) {
  chipSet->LowerFlags[19] = 0;
  mapData.LowerLayer.SetTile(5, 4, 5001);  // above is blocked, the path via the right is free
  TKelgCharacter& walker = AddEvent(5, 5);
  walker.Move(4);
  EXPECT_EQ(walker.X, 6);
  EXPECT_EQ(walker.Y, 4);
  walker.StepRemaining = 0;
  mapData.LowerLayer.SetTile(7, 4, 5001);
  mapData.LowerLayer.SetTile(6, 3, 5001);
  walker.Move(4);  // both paths blocked now
  EXPECT_EQ(walker.X, 6);
  EXPECT_EQ(walker.StepRemaining, 0);
  EXPECT_EQ(walker.Direction, 4);
}

TEST_F(Characters, AJumpBlockArcsOverTwoCellsInSixteenFrames) {
  TKelgCharacter& jumper = AddEvent(5, 5);
  jumper.MoveSpeed = 3;
  jumper.SetRoute(Route({24, 1, 1, 0, 25}), false, false, 8);
  UpdateFrame();
  EXPECT_EQ(jumper.X, 7);
  EXPECT_EQ(jumper.Y, 4);
  EXPECT_TRUE(jumper.Jumping);
  EXPECT_EQ(jumper.Facing, 1) << "facing the landing cell";
  int frames = 1;
  std::vector<int> heights{jumper.JumpHeight()};
  while (jumper.StepRemaining > 0) {
    if (jumper.StepRemaining == 128) {
      EXPECT_EQ(jumper.JumpHeight(), 16);
      EXPECT_EQ(jumper.ScreenX(), (7 * 16 + 5 * 16) / 2 + 8);
      EXPECT_EQ(jumper.ScreenY(), (4 * 16 + 5 * 16) / 2 + 16);
      EXPECT_EQ(jumper.Frame, 1);
    }
    UpdateFrame();
    ++frames;
  }
  EXPECT_EQ(frames, 16);
  EXPECT_FALSE(jumper.Jumping);
  EXPECT_EQ(jumper.JumpHeight(), 0);
}

TEST_F(Characters, AJumpOntoTheOwnCellAlwaysSucceeds) {
  chipSet->LowerFlags[18] = 0;  // even where nobody could stand
  TKelgCharacter& jumper = AddEvent(5, 5);
  jumper.SetRoute(Route({24, 25}), false, false, 8);
  UpdateFrame();
  EXPECT_TRUE(jumper.Jumping);
  EXPECT_EQ(jumper.X, 5);
  EXPECT_EQ(jumper.StepRemaining, 256 - 16);
}

TEST_F(Characters, ABlockedJumpRetriesTheWholeBlockUnlessSkippable) {
  chipSet->LowerFlags[19] = 0;
  mapData.LowerLayer.SetTile(7, 5, 5001);
  TKelgCharacter& jumper = AddEvent(5, 5);
  jumper.SetRoute(Route({24, 1, 1, 25, 3}), false, false, 8);
  UpdateFrame();
  EXPECT_FALSE(jumper.Jumping);
  EXPECT_EQ(jumper.ForcedRoutePos, 0);
  TKelgCharacter& other = AddEvent(5, 8);
  other.SetRoute(Route({24, 1, 1, 25, 3}), false, true, 8);
  other.Direction = other.Facing = 2;
  mapData.LowerLayer.SetTile(7, 8, 5001);
  UpdateFrame();
  EXPECT_EQ(other.X, 4) << "the jump was skipped and the step left taken";
}

TEST_F(Characters, WalkingAnimationStepsAndComesToRestOnAStandingFrame) {
  TKelgCharacter& walker = AddEvent(2, 5);
  walker.MoveSpeed = 3;
  walker.SetRoute(Route({1, 1}), false, false, 8);
  std::vector<int> frames;
  for (int i = 0; i < 32; ++i) {
    UpdateFrame();
    frames.push_back(walker.Frame);
  }
  // 32 frames of walking: the picture changes every 8 frames.
  std::vector<int> expected;
  for (int i = 1; i <= 32; ++i) expected.push_back((1 + i / 8) % 4);
  EXPECT_EQ(frames, expected);
  EXPECT_EQ(walker.Frame, 1);
  // Stopped on frame 1 (a standing pose), with AnimCount at 0: it counts up
  // to 7 and rests there.
  for (int i = 0; i < 30; ++i) UpdateFrame();
  EXPECT_EQ(walker.Frame, 1);
  EXPECT_EQ(walker.AnimCount, 7);

  walker.Frame = 2;  // stopping mid-stride steps on to the next standing pose
  walker.AnimCount = 0;
  int changedAfter = 0;
  for (int i = 1; i <= 20 && walker.Frame == 2; ++i) {
    UpdateFrame();
    changedAfter = i;
  }
  EXPECT_EQ(walker.Frame, 3);
  EXPECT_EQ(changedAfter, 10);

  walker.Frame = 1;
  walker.AnimCount = 7;
  walker.SetRoute(Route({1}), false, false, 8);
  UpdateFrame();
  EXPECT_EQ(walker.Frame, 2) << "walking off again changes the picture at once";
}

TEST_F(Characters, SpinningTurnsEveryFewFramesAndFixedPicturesNeverStep) {
  TKelgCharacter& spinner = AddEvent(3, 3);
  spinner.AnimType = 5;
  spinner.MoveSpeed = 6;
  spinner.Facing = 0;
  std::vector<int> facings;
  for (int i = 0; i < 12; ++i) {
    UpdateFrame();
    facings.push_back(spinner.Facing);
  }
  EXPECT_EQ(facings, (std::vector<int>{0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3}));
  TKelgCharacter& statue = AddEvent(4, 4);
  statue.AnimType = 4;
  statue.Frame = 0;
  statue.SetRoute(Route({1, 1}), false, false, 8);
  for (int i = 0; i < 40; ++i) UpdateFrame();
  EXPECT_EQ(statue.Frame, 0);
  EXPECT_EQ(statue.X, 6);
}

TEST_F(Characters, AFlashFadesToExactlyZero) {
  TKelgCharacter& flashing = AddEvent(3, 3);
  flashing.SetFlash(31, 0, 0, 31, 10);
  for (int i = 0; i < 9; ++i) UpdateFrame();
  EXPECT_GT(flashing.FlashLevel, 0);
  UpdateFrame();
  EXPECT_EQ(flashing.FlashLevel, 0);
}

TEST_F(Characters, CollisionBetweenCharacters) {
  TKelgCharacter& mover = AddEvent(5, 5);
  TKelgCharacter& blocker = AddEvent(6, 5);
  EXPECT_FALSE(mover.CanMove(5, 5, 6, 5)) << "same layer";
  blocker.Layer = 0;
  EXPECT_TRUE(mover.CanMove(5, 5, 6, 5)) << "other layer";
  blocker.NoOverlap = true;
  EXPECT_FALSE(mover.CanMove(5, 5, 6, 5)) << "two events, one refusing to overlap";
  blocker.Through = true;
  EXPECT_TRUE(mover.CanMove(5, 5, 6, 5)) << "pass-through";
  blocker.Through = false;
  blocker.Active = false;
  EXPECT_TRUE(mover.CanMove(5, 5, 6, 5)) << "erased";
  blocker.Active = true;
  blocker.NoOverlap = false;

  // A tile-showing event below the hero whose tile is closed this way also
  // stops at characters on the hero's layer.
  mover.CharSetName.clear();
  mover.Layer = 0;
  mover.CharSetIndex = 5;
  chipSet->UpperFlags[5] = 0;
  blocker.Layer = 1;
  EXPECT_FALSE(mover.CanMove(5, 5, 6, 5));
  chipSet->UpperFlags[5] = 0x0F;
  EXPECT_TRUE(mover.CanMove(5, 5, 6, 5));
}

TEST_F(Characters, TheHeroAndTheAirshipPassEachOther) {
  save->Airship.MapId = 1;
  save->Airship.SetPosition(1, 1, 0);
  save->Airship.Layer = 1;
  EXPECT_TRUE(Hero().CanMove(0, 0, 1, 0));
  save->Ship.SetPosition(1, 0, 1);
  EXPECT_FALSE(Hero().CanMove(0, 0, 0, 1)) << "the ship stands in the way of the hero";
  // A ship sails only where the terrain and the star bit let it.
  chipSet->TerrainIds[18] = 1;
  dataBase.KelGround.Get(1).ShipPass = 1;
  chipSet->UpperFlags[0] = 0x1F;
  EXPECT_TRUE(save->Ship.CanMove(0, 1, 0, 0)) << "but a vehicle never collides with the hero";
}

TEST_F(Characters, ABlockerMovesAwayFirstWhenItIsUpdatedDuringTheTest) {
  TKelgCharacter& blocker = AddEvent(6, 5);
  blocker.SetRoute(Route({1}), false, false, 8);
  TKelgCharacter& follower = AddEvent(5, 5);
  follower.SetRoute(Route({1}), false, false, 8);
  // The follower comes first in this frame's order only if it is updated first.
  for (int i = 0; i < Map().CharacterCount(); ++i) Map().CharacterAt(i).Updated = false;
  follower.Update();
  EXPECT_EQ(blocker.X, 7) << "the blocker was updated by the follower's test";
  EXPECT_EQ(follower.X, 6);
  EXPECT_TRUE(blocker.Updated);
}

TEST_F(Characters, OnALoopingMapStepsWrapAndScreenPositionsFollow) {
  MakeMap(20, 15, 2, 0, 0);
  Map().SetScrollX(0);
  TKelgCharacter& walker = AddEvent(0, 5);
  walker.Move(3);
  EXPECT_EQ(walker.X, 19);
  EXPECT_EQ(walker.ScreenX(), 8) << "still drawn at its old column";
  UpdateFrame();
  EXPECT_EQ(walker.ScreenX(), 20 * 16 + 7) << "positions up to 7 past the right edge are kept";
  walker.StepRemaining = 0;
  EXPECT_EQ(walker.ScreenX(), 19 * 16 + 8);
  TKelgCharacter& jumper = AddEvent(19, 7);
  jumper.Jump(21, 7);
  EXPECT_EQ(jumper.X, 1);
  EXPECT_EQ(jumper.JumpFromX, -1);
}

TEST_F(Characters, RouteSettingsAndLapsInOneFrame) {
  TKelgCharacter& c = AddEvent(5, 5);
  c.AnimType = 2;
  c.SetRoute(Route({26, 27, 28, 28, 28, 28, 29, 30, 36, 40, 40, 41, 38}), false, false, 8);
  UpdateFrame();
  EXPECT_TRUE(c.FacingLocked) << "unlocking is refused for animation type 2";
  EXPECT_EQ(c.MoveSpeed, 5);
  EXPECT_TRUE(c.Through);
  EXPECT_EQ(c.Transparency, 1);
  EXPECT_TRUE(c.AnimPaused);
  EXPECT_FALSE(c.RouteForced) << "all in one frame, and the route ended";

  // A repeating route of settings only makes one lap per frame.
  c.SetRoute(Route({40}), true, false, 8);
  UpdateFrame();
  EXPECT_EQ(c.Transparency, 2);
  EXPECT_TRUE(c.ForcedRouteDone);
  UpdateFrame();
  EXPECT_EQ(c.Transparency, 3);
}

TEST_F(Characters, ASwitchCommandThatRestartsTheRouteStopsForTheFrame) {
  TKelgCharacter& c = AddEvent(5, 5);
  int refreshes = 0;
  Map().RefreshEvents = [&] {
    if (refreshes++ == 0) c.ForcedRoutePos = 0;  // as a page change restarting the route
  };
  c.SetRoute(Route({}), false, false, 8);
  std::vector<TKelMoveRouteItem> route = Route({32, 1});
  route[0].SwitchId = 4;
  c.SetRoute(route, false, false, 8);
  UpdateFrame();
  EXPECT_EQ(save->System.Switch(4), 1);
  EXPECT_EQ(c.X, 5);
  EXPECT_EQ(c.ForcedRoutePos, 0);
  UpdateFrame();
  EXPECT_EQ(c.X, 6);
}

TEST_F(Characters, AnEmptyRouteEndsAtOnceAndRestoresTheFrequency) {
  TKelgCharacter& c = AddEvent(5, 5);
  c.MoveFrequency = 2;
  c.SetRoute(Route({23, 23}), false, false, 6);
  EXPECT_EQ(c.MoveFrequency, 6);
  c.SetRoute(Route({}), false, false, 7);
  EXPECT_FALSE(c.RouteForced);
  EXPECT_EQ(c.MoveFrequency, 2);
  EXPECT_EQ(c.MoveWait, 128);
  c.SetRoute(Route({23}), false, false, 99);  // a frequency out of range is held at 8
  EXPECT_EQ(c.MoveFrequency, 8);
}

TEST_F(Characters, TurnsAndFacingTowardsTargets) {
  TKelgCharacter& c = AddEvent(5, 5);
  struct Case { int x, y, direction; };
  const Case cases[] = {{5, 2, 0}, {9, 4, 1}, {1, 6, 3}, {6, 9, 2}, {8, 8, 2}, {2, 2, 0}};
  for (const Case& t : cases) {
    c.FaceTowards(t.x, t.y);
    EXPECT_EQ(c.Direction, t.direction) << t.x << "," << t.y;
  }
  const int right[] = {1, 2, 3, 0}, left[] = {3, 0, 1, 2}, around[] = {2, 3, 0, 1};
  for (int d = 0; d < 4; ++d) {
    c.Direction = d;
    c.TurnRight();
    EXPECT_EQ(c.Direction, right[d]);
    c.Direction = d;
    c.TurnLeft();
    EXPECT_EQ(c.Direction, left[d]);
    c.Direction = d;
    c.TurnAround();
    EXPECT_EQ(c.Direction, around[d]);
  }
  // Diagonal moves keep a facing that already points along one of their axes.
  c.Facing = 3;
  c.Direction = 6;
  c.UpdateFacing();
  EXPECT_EQ(c.Facing, 3);
  c.Facing = 0;
  c.UpdateFacing();
  EXPECT_EQ(c.Facing, 2);
}

TEST_F(Characters, OnALoopingMapFacingTakesTheShortWayRound) {
  MakeMap(20, 15, 2, 0, 0);
  TKelgCharacter& c = AddEvent(1, 5);
  c.FaceTowards(18, 5);
  EXPECT_EQ(c.Direction, 3);
}

class CharacterDrawing : public WorldFixture {
protected:
  void SetUp() override {
    WorldFixture::SetUp();
    MakeMap(20, 15, 0, 0, 0);
    TVantraBitmap sheet;
    sheet.SetFormat(288, 256, 8);
    sheet.Palette[1] = {248, 248, 248};
    for (auto& pixel : sheet.Pixels) pixel = 1;
    Map().CharSetGraphic.LoadPicture("White", sheet);
  }
  // The colour a full-white pixel over black gets at an opacity, as the board draws it.
  std::uint16_t WhiteAt(int opacity) {
    TVantraBoard board(1, 1);
    TVantraSheet& sheet = Map().CharSetGraphic.SheetAt(0);
    sheet.Opacity = opacity;
    board.Draw(0, 0, {0, 0, 1, 1}, sheet);
    sheet.Opacity = 255;
    return board.Pixel(0, 0);
  }
};

TEST_F(CharacterDrawing, TransparencyAndBushDepthSetTheOpacityOfTheRows) {
  struct Case { int transparency, bush, top, bottom, split; };
  const Case cases[] = {{0, 0, 255, 255, 32}, {7, 0, 45, 45, 32}, {7, 3, 22, 22, 0},
                        {0, 1, 255, 127, 21}, {2, 2, 195, 97, 16}};
  for (const Case& c : cases) {
    TKelCharSetGraphic& cache = Map().CharSetGraphic;
    cache.ColorKey = true;
    cache.Transparency = c.transparency;
    TVantraBoard board(48, 48);
    cache.DrawCharacter(board, 24, 40, c.bush, 1, 2, 0, 0);
    // The cell's bottom centre is (24, 40): rows 8..39, columns 12..35.
    if (c.split > 0) {
      EXPECT_EQ(board.Pixel(12, 8), WhiteAt(c.top)) << c.transparency << "/" << c.bush;
    }
    EXPECT_EQ(board.Pixel(35, 39), WhiteAt(c.bottom)) << c.transparency << "/" << c.bush;
    if (c.split > 0 && c.split < 32) {
      EXPECT_EQ(board.Pixel(20, 8 + c.split - 1), WhiteAt(c.top));
      EXPECT_EQ(board.Pixel(20, 8 + c.split), WhiteAt(c.bottom));
    }
    EXPECT_EQ(board.Pixel(11, 20), 0);
    EXPECT_EQ(board.Pixel(24, 7), 0);
  }
}

TEST(CharSetCache, PurgeKeepsUsedSheetsAndUpToTwentyUnused) {
  AssetFolders folders;
  TKelCharSetGraphic cache(folders);
  TVantraBitmap blank;
  blank.SetFormat(288, 256, 8);
  for (int i = 0; i < 25; ++i) cache.LoadPicture("Set" + std::to_string(i), blank);
  cache.ClearUsed();
  cache.Load("Set3");
  cache.Purge();
  // Unused entries from the front go while 20 or more are cached.
  EXPECT_EQ(cache.Count(), 19);
  EXPECT_EQ(cache.Names.front(), "Set3");
  EXPECT_GE(cache.IndexOf("Set24"), 0);
  EXPECT_EQ(cache.IndexOf("Set0"), -1);
}

}  // namespace
