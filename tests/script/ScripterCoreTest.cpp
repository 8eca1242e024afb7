#include <gtest/gtest.h>

#include <climits>
#include <memory>

#include "ScriptRig.h"
#include "world/GR_ChipSet.h"
#include "script/LGD_ScripterCommands.h"

namespace {

// The switches 1..20 in the order they were first seen on, one look per refresh.
struct SwitchOrder {
  explicit SwitchOrder(ScriptRig& rig) : Rig(rig) {
    rig.Host.OnRefresh = [this] {
      for (int id = 1; id <= 20; ++id)
        if (Rig.On(id) && Seen.insert(id).second) Order.push_back(id);
    };
  }
  ScriptRig& Rig;
  std::set<int> Seen;
  std::vector<int> Order;
};

TEST(ScripterCore, WaitsInTenthsHoldTheScriptForSixFramesEach) {
  struct Case {
    int tenths;
    int frames;  // the frame (counting the one that set the wait as 0) in which the next line runs
  };
  const Case cases[] = {{0, 1}, {1, 6}, {3, 18}};
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Scripter.StartScript(0, MakeScript({SwitchOn(1)}));
    rig.Scripter.WaitTenths(c.tenths);
    int frame = 0;
    while (!rig.On(1) && frame < 100) {
      rig.Frame();
      if (!rig.On(1)) ++frame;
    }
    EXPECT_EQ(frame, c.frames) << c.tenths << " tenths";
  }
}

TEST(ScripterCore, NestedCallsReturnToEachCallerAfterItsCall) {
  ScriptRig rig;
  SwitchOrder order(rig);
  rig.Scripter.PushFrame(3, MakeScript({SwitchOn(1), SwitchOn(2)}));
  // Each Step runs the line a call would stand on; the callee goes on top.
  ASSERT_TRUE(rig.Scripter.Step());
  rig.Scripter.PushFrame(3, MakeScript({SwitchOn(3), SwitchOn(4)}));
  ASSERT_TRUE(rig.Scripter.Step());
  rig.Scripter.PushFrame(3, MakeScript({SwitchOn(5), SwitchOn(6)}));
  ASSERT_TRUE(rig.Scripter.Step());
  rig.Scripter.PushFrame(3, MakeScript({SwitchOn(7)}));
  EXPECT_EQ(rig.Scripter.Depth(), 4);

  rig.Frame();
  EXPECT_EQ(order.Order, (std::vector<int>{1, 3, 5, 7, 6, 4, 2}));
  EXPECT_FALSE(rig.Scripter.IsRunning());
  // Only the last frame to end gives the event its movement back.
  EXPECT_EQ(rig.Host.Ended, std::vector<int>{3});
}

TEST(ScripterCore, CallsBeyondAThousandFramesFail) {
  ScriptRig rig;
  const TKelEventScriptList script = MakeScript({});
  rig.Scripter.PushFrame(0, script);
  for (int call = 1; call <= 1000; ++call) rig.Scripter.PushFrame(0, script);
  EXPECT_EQ(rig.Scripter.Depth(), 1001);
  try {
    rig.Scripter.PushFrame(0, script);
    FAIL() << "the 1001st call was accepted";
  } catch (const EKelScriptError& error) {
    EXPECT_STREQ(error.what(), "Event Call Limit Crossover");
  }
}

TEST(ScripterCore, BranchLinesRunOnlyTheBodyMatchingTheSlot) {
  // Choice block: bodies at indent 1 under branch lines at indent 0, then a
  // closing line; an inn block likewise with its two outcomes.
  const TKelEventScriptList choices = MakeScript({
      {20140, 0, "", {0}}, SwitchOn(1, 1),
      {20140, 0, "", {1}}, SwitchOn(2, 1),
      {20140, 0, "", {4}}, SwitchOn(3, 1),
      {20141, 0},          SwitchOn(9),
  });
  const TKelEventScriptList inn = MakeScript({
      {20730, 0}, SwitchOn(1, 1), SwitchOn(4, 1),
      {20731, 0}, SwitchOn(2, 1),
      {20732, 0}, SwitchOn(9),
  });
  struct Case {
    const TKelEventScriptList* script;
    std::uint8_t slot;
    std::vector<int> on;
  };
  const Case cases[] = {
      {&choices, 0, {1, 9}}, {&choices, 1, {2, 9}}, {&choices, 4, {3, 9}}, {&choices, 2, {9}},
      {&inn, 0, {1, 4, 9}},  {&inn, 1, {2, 9}},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Scripter.StartScript(0, *c.script);
    rig.Scripter.TopFrame()->BranchSlot(0) = c.slot;
    rig.Frame();
    std::vector<int> on;
    for (int id = 1; id <= 9; ++id)
      if (rig.On(id)) on.push_back(id);
    EXPECT_EQ(on, c.on) << "slot " << int(c.slot);
  }
}

TEST(ScripterCore, BranchSlotsStartZeroedAndImpossibleIndentsFail) {
  TKelgScriptData frame;
  EXPECT_EQ(frame.BranchValue(3), 0);
  frame.BranchSlot(1) = 7;
  frame.BranchSlot(5);
  EXPECT_EQ(frame.Branches, (std::vector<std::uint8_t>{0, 7, 0, 0, 0, 0}));
  EXPECT_EQ(frame.BranchCount, 6);
  for (int indent : {-1, TKelgScriptData::kMaxIndent + 1, INT_MAX}) {
    EXPECT_THROW(frame.BranchSlot(indent), EKelScriptError) << indent;
  }
  EXPECT_EQ(frame.Branches.size(), 6u);

  // The same from script data: an error, not a huge allocation.
  ScriptRig rig;
  rig.Scripter.StartScript(0, MakeScript({{20140, INT_MAX, "", {0}}}));
  EXPECT_THROW(rig.Frame(), EKelScriptError);
}

TEST(ScripterCore, AScriptWithoutEndLineEndsAtTheEndOfItsList) {
  ScriptRig rig;
  rig.Start(4, MakeScript({SwitchToggle(1)}, /*withEnd=*/false));
  rig.Frame();
  EXPECT_TRUE(rig.On(1));
  EXPECT_FALSE(rig.Scripter.IsRunning());
  EXPECT_EQ(rig.Host.Ended, std::vector<int>{4});

  // A parallel one starts over, once per frame.
  TKelgRegularScripter parallel(rig.Services);
  parallel.StartScript(0, MakeScript({SwitchToggle(2)}, false));
  parallel.UpdateParallel();
  EXPECT_TRUE(rig.On(2));
  parallel.UpdateParallel();
  EXPECT_FALSE(rig.On(2));
  EXPECT_EQ(parallel.TopFrame()->LineIndex, 0);
}

TEST(ScripterCore, ARunLoopExecutesAtMostTenThousandLinesPerFrame) {
  TKelEventScriptList script;
  for (int i = 0; i < 25000; ++i) script.AddLine().Code = 10120;  // message options: never waits
  script.AddLine();
  ScriptRig rig;
  rig.Scripter.StartScript(0, script);
  rig.Frame();
  EXPECT_EQ(rig.Scripter.TopFrame()->LineIndex, 10000);
  rig.Frame();
  EXPECT_EQ(rig.Scripter.TopFrame()->LineIndex, 20000);

  TKelgRegularScripter parallel(rig.Services);
  parallel.StartScript(0, script);
  parallel.UpdateParallel();
  EXPECT_EQ(parallel.TopFrame()->LineIndex, 10000);
}

TEST(ScripterCore, AParallelScriptRunsAtMostOncePerFrameFromLineZero) {
  ScriptRig rig;
  TKelgRegularScripter parallel(rig.Services);
  parallel.StartScript(0, MakeScript({SwitchToggle(1), SwitchToggle(2), SwitchToggle(3)}));
  for (int frame = 1; frame <= 3; ++frame) {
    parallel.UpdateParallel();
    const bool odd = frame % 2 == 1;
    EXPECT_EQ(rig.On(1), odd) << frame;
    EXPECT_EQ(rig.On(3), odd) << frame;
    EXPECT_EQ(parallel.TopFrame()->LineIndex, 0);
  }
  EXPECT_EQ(rig.Host.Refreshes, 9);
}

TEST(ScripterCore, AParallelScriptOfAnErasedEventStops) {
  ScriptRig rig;
  rig.Host.Events[6].Active = true;
  TKelgRegularScripter parallel(rig.Services);
  parallel.StartScript(6, MakeScript({SwitchOn(1), SwitchOn(2)}));
  rig.Host.OnRefresh = [&] { rig.Host.Events[6].Active = false; };
  parallel.UpdateParallel();
  EXPECT_TRUE(rig.On(1));
  EXPECT_FALSE(rig.On(2));
}

TEST(ScripterCore, MapEventRunsBeforeTheCommonEventDueInTheSameFrame) {
  ScriptRig rig;
  SwitchOrder order(rig);
  rig.Host.Common = MakeScript({SwitchOn(1)});
  rig.Host.CommonWantsStart = true;
  rig.Host.Events[1].Pending = true;  // erased: its request is dropped
  rig.Host.Events[1].Active = false;
  rig.Start(2, MakeScript({{10110, 0, "Hi"}, SwitchOn(2)}));
  rig.Host.Events[2].ByKey = true;
  rig.Start(3, MakeScript({SwitchOn(3)}));

  rig.Frame();
  rig.Host.CommonWantsStart = false;
  ASSERT_EQ(rig.Scripter.Depth(), 2);
  EXPECT_EQ(rig.Scripter.TopFrame()->EventId, 2);
  EXPECT_EQ(rig.Scripter.TopFrame()->ByActionKey, 1);
  EXPECT_EQ(rig.Scripter.Frames.ItemAt(0)->EventId, 0);
  EXPECT_FALSE(rig.Host.Events[1].Pending);
  EXPECT_FALSE(rig.Host.Events[2].Pending);
  EXPECT_TRUE(rig.Host.Events[3].Pending);  // later events wait their turn

  rig.TypeOut();
  rig.Frame(Key::Return);
  rig.Frame();
  // The common event's frame ends in the same frame; then, idle again, the
  // interpreter takes the next pending event at once.
  EXPECT_EQ(order.Order, (std::vector<int>{2, 1, 3}));
  EXPECT_FALSE(rig.Scripter.IsRunning());
  // The event moves again although the common event's frame lay below it.
  EXPECT_EQ(rig.Host.Ended, (std::vector<int>{2, 3}));
}

TEST(ScripterCore, AnEscapedBattleEndsTheScriptThatStartedIt) {
  struct Case {
    std::uint8_t outcome;  // written by the battle into its line's slot
    bool ends;
  };
  for (const Case c : {Case{1, true}, Case{0, false}, Case{2, false}}) {
    ScriptRig rig;
    rig.Scripter.StartScript(0, MakeScript({{10710, 0}, SwitchOn(1)}));
    TKelgScriptData& frame = *rig.Scripter.TopFrame();
    frame.LineIndex = 1;  // the battle line has run
    frame.BranchSlot(0) = c.outcome;
    rig.Scripter.BattleEscapeEnds = 1;
    EXPECT_EQ(rig.Scripter.Step(), !c.ends) << int(c.outcome);
    EXPECT_EQ(rig.Scripter.IsRunning(), !c.ends);
    EXPECT_EQ(rig.On(1), !c.ends);
    EXPECT_EQ(rig.Scripter.BattleEscapeEnds, 0);
  }
}

TEST(ScripterCore, StepWithoutAFrameOrLineIsAnInternalFault) {
  ScriptRig rig;
  try {
    rig.Scripter.Step();
    FAIL();
  } catch (const EKelAssertion& error) {
    EXPECT_STREQ(error.what(), "Assertion failure (LGD_Scripter, line 2677)");
  }
  rig.Scripter.StartScript(0, MakeScript({}));
  rig.Scripter.TopFrame()->LineIndex = -1;  // as a damaged save could hold
  EXPECT_THROW(rig.Scripter.Step(), EKelAssertion);
}

TEST(ScripterCore, WaitingForMovementHoldsUntilRoutesAreDone) {
  ScriptRig rig;
  rig.Scripter.StartScript(0, MakeScript({SwitchOn(1)}));
  rig.Scripter.WaitingMovement = 1;
  rig.Host.RouteUnfinished = true;
  rig.Frame();
  rig.Frame();
  EXPECT_FALSE(rig.On(1));
  rig.Host.RouteUnfinished = false;
  rig.Frame();
  EXPECT_TRUE(rig.On(1));
  EXPECT_EQ(rig.Scripter.WaitingMovement, 0);
}

TEST(ScripterCore, VehicleTransitionsAndTheStopKeyHoldTheMapScript) {
  ScriptRig rig;
  rig.Start(2, MakeScript({SwitchOn(1), SwitchOn(2)}));
  rig.Host.VehicleBusy = true;
  rig.Frame();
  EXPECT_TRUE(rig.Scripter.IsRunning());
  EXPECT_FALSE(rig.On(1));
  rig.Host.VehicleBusy = false;
  rig.Host.StopHeld = true;
  rig.Frame();
  EXPECT_FALSE(rig.Scripter.IsRunning());
  EXPECT_FALSE(rig.On(1));
  EXPECT_EQ(rig.Host.HeroRouteEnds, 1);
  EXPECT_EQ(rig.Host.Ended, std::vector<int>{2});
}

TEST(ScripterCore, ControlSwitchesOverRangesAndVariables) {
  struct Case {
    std::vector<std::int32_t> params;
    std::vector<int> on;
  };
  const Case cases[] = {
      {{0, 3, 0, 0}, {2, 3}},           // one switch on
      {{0, 2, 0, 1}, {}},               // one off
      {{1, 1, 4, 2}, {1, 3, 4}},        // toggle a range
      {{1, 4, 1, 0}, {2}},              // an empty range
      {{2, 7, 0, 0}, {2, 5}},           // the number in variable 7
      {{1, -5, 1, 0}, {1, 2}},          // numbers below 1 are skipped
      {{0, 3, 0, 9}, {2}},              // an unknown operation leaves it
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.System.SetSwitch(2, 1);
    rig.System.SetVariable(7, 5);
    rig.Scripter.StartScript(0, MakeScript({{10210, 0, "", c.params}}));
    rig.Frame();
    std::vector<int> on;
    for (int id = 1; id <= 9; ++id)
      if (rig.On(id)) on.push_back(id);
    EXPECT_EQ(on, c.on);
    EXPECT_EQ(rig.Host.Refreshes, 1);
  }
  // A range to the largest number ends at the last switch that exists.
  ScriptRig rig;
  rig.Scripter.StartScript(0, MakeScript({{10210, 0, "", {1, 1, INT_MAX, 0}}}));
  rig.Frame();
  EXPECT_TRUE(rig.On(kMaxSwitchId));
}

TEST(ScripterCore, FramesSurviveASaveAndAreDroppedForAChangedMap) {
  ScriptRig rig;
  rig.Scripter.PushFrame(8, MakeScript({{10110, 0, "Hello"}, SwitchOn(1)}), true);
  rig.Scripter.PushFrame(0, MakeScript({SwitchOn(2)}));
  rig.Scripter.TopFrame()->LineIndex = 1;
  rig.Scripter.TopFrame()->BranchSlot(2) = 3;
  rig.Scripter.WaitFrames = 12;
  rig.Scripter.KeyVariable = 300;  // only its low byte is stored
  TStreamWriter saved;
  rig.Scripter.SaveToStream(saved);

  TKelgScripter loaded(rig.Services);
  TStreamReader reader(saved.Bytes(), "(test)");
  loaded.LoadFromStream(reader);
  ASSERT_EQ(loaded.Depth(), 2);
  const TKelgScriptData& bottom = *loaded.Frames.ItemAt(0);
  EXPECT_EQ(bottom.EventId, 8);
  EXPECT_EQ(bottom.ByActionKey, 1);
  EXPECT_EQ(bottom.Lines.Lines(), rig.Scripter.Frames.ItemAt(0)->Lines.Lines());
  EXPECT_EQ(loaded.TopFrame()->LineIndex, 1);
  EXPECT_EQ(loaded.TopFrame()->BranchValue(2), 3);
  EXPECT_EQ(loaded.WaitFrames, 12);
  EXPECT_EQ(loaded.KeyVariable, 300 & 0xFF);

  rig.Host.MapUnchanged = false;
  TStreamReader again(saved.Bytes(), "(test)");
  loaded.LoadFromStream(again);
  EXPECT_FALSE(loaded.IsRunning());
  EXPECT_EQ(loaded.WaitFrames, 0);
}

TEST(ScripterCore, ResultsForAFrameThatHasEndedAreDropped) {
  ScriptRig rig;
  auto scripter = std::make_unique<TKelgRegularScripter>(rig.Services);
  scripter->StartScript(0, MakeScript({}));
  auto target = scripter->BranchTarget(*scripter->TopFrame(), 1);
  target(2);
  EXPECT_EQ(scripter->TopFrame()->BranchValue(1), 2);

  // The page changed: a new frame at the same depth must not receive it.
  scripter->StartScript(0, MakeScript({}));
  target(3);
  EXPECT_EQ(scripter->TopFrame()->BranchValue(1), 0);

  scripter.reset();
  target(1);  // the scripter itself is gone: nothing happens
}

TEST(ScripterCore, DispatchKnowsEveryCommandCode) {
  // Spot checks across the groups, and codes that are not commands.
  for (int code : {0, 10110, 20110, 10150, 10210, 10730, 11610, 11410, 12330, 13410, 22410})
    EXPECT_NE(FindScriptCommand(code), nullptr) << code;
  for (int code : {1, 10111, 20141, 20732, 99999}) EXPECT_EQ(FindScriptCommand(code), nullptr) << code;
}

}  // namespace
