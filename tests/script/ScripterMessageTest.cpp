#include <gtest/gtest.h>

#include <climits>

#include "ScriptRig.h"

namespace {

ScriptLine Message(const char* text) { return {10110, 0, text}; }
ScriptLine More(const char* text) { return {20110, 0, text}; }
ScriptLine Choices(int cancel) { return {10140, 0, "", {cancel}}; }
ScriptLine Choice(int index, const char* text) { return {20140, 0, text, {index}}; }
ScriptLine Closing(int code = 20141) { return {code, 0}; }

std::vector<int> SwitchesOn(const ScriptRig& rig) {
  std::vector<int> on;
  for (int id = 1; id <= 9; ++id)
    if (rig.On(id)) on.push_back(id);
  return on;
}

TEST(ScripterMessage, MessagesTakeTheirContinuationLinesAndAFittingPrompt) {
  struct Case {
    const char* name;
    TKelEventScriptList script;
    int pageLines;     // lines on the first page
    int choiceItems;   // choices that joined it
    int numberDigits;  // number input that joined it
    int lineIndex;     // where the script stands afterwards
  };
  const Case cases[] = {
      {"3 lines, 2 choices and a cancel branch",
       MakeScript({Message("a"), More("b"), More("c"), Choices(5), Choice(0, "x"), SwitchOn(1, 1), Choice(1, "y"),
                   Choice(4, ""), Closing()}),
       3, 0, 0, 3},
      {"3 lines and 1 choice",
       MakeScript({Message("a"), More("b"), More("c"), Choices(0), Choice(0, "x"), SwitchOn(1, 1), Closing()}), 4, 1,
       0, 4},
      {"4 lines and a number", MakeScript({Message("a"), More("b"), More("c"), More("d"), {10150, 0, "", {3, 5}}}), 4,
       0, 0, 4},
      {"2 lines and a number", MakeScript({Message("a"), More("b"), {10150, 0, "", {3, 5}}}), 2, 0, 3, 3},
      {"more than 4 lines", MakeScript({Message("a"), More("b"), More("c"), More("d"), More("e"), SwitchOn(1)}), 4, 0, 0,
       5},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Start(1, c.script);
    rig.Frame();
    EXPECT_EQ(rig.Window.LineCount(), c.pageLines) << c.name;
    EXPECT_EQ(rig.Window.ItemCount, c.choiceItems) << c.name;
    EXPECT_EQ(rig.Window.NumberDigits, c.numberDigits) << c.name;
    EXPECT_EQ(rig.Scripter.TopFrame()->LineIndex, c.lineIndex) << c.name;
    EXPECT_EQ(rig.Scripter.WaitingMessage, 1) << c.name;
    EXPECT_FALSE(rig.On(1)) << c.name;
  }
}

TEST(ScripterMessage, TheMapScriptWaitsForTheWindowAndGoesOnAsItCloses) {
  ScriptRig rig;
  rig.Start(1, MakeScript({Message("First"), Message("Second"), SwitchOn(1)}));
  rig.Frame();
  EXPECT_GT(rig.Window.OpenStep, 0);
  EXPECT_LT(rig.Window.OpenStep, 8);  // the first page animates open
  rig.TypeOut();
  for (int i = 0; i < 5; ++i) rig.Frame();
  EXPECT_EQ(rig.Window.Lines, std::vector<std::string>{"First"});

  // Confirming closes the page; the next one takes the window in the same
  // frame, without animation.
  rig.Frame(Key::Return);
  EXPECT_EQ(rig.Window.Lines, std::vector<std::string>{"Second"});
  EXPECT_EQ(rig.Window.OpenStep, 8);
  EXPECT_EQ(rig.Window.CloseStep, 0);

  rig.TypeOut();
  EXPECT_FALSE(rig.On(1));
  rig.Frame(Key::Return);
  EXPECT_TRUE(rig.On(1));  // the window is still closing
  EXPECT_TRUE(rig.Window.Exists());
  EXPECT_FALSE(rig.Scripter.IsRunning());
  EXPECT_EQ(rig.Host.Ended, std::vector<int>{1});
}

TEST(ScripterMessage, ChoicesWriteTheChosenOrCancelBranch) {
  struct Case {
    int cancelMode;
    std::vector<Key> keys;  // one per frame once the choices are typed
    std::vector<int> on;
  };
  const Case cases[] = {
      {0, {Key::Escape, Key::Escape}, {}},       // cancel is ignored: still open
      {0, {Key::Escape, Key::Down, Key::Return}, {2, 9}},
      {2, {Key::Escape}, {2, 9}},                // cancel picks choice 2
      {5, {Key::Escape}, {3, 9}},                // cancel takes the cancel branch
      {5, {Key::Return}, {1, 9}},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Start(1, MakeScript({Choices(c.cancelMode), Choice(0, "Yes"), SwitchOn(1, 1), Choice(1, "No"), SwitchOn(2, 1),
                             Choice(4, ""), SwitchOn(3, 1), Closing(), SwitchOn(9)}));
    rig.Frame();
    EXPECT_EQ(rig.Window.ItemCount, 2);
    rig.TypeOut();
    for (Key key : c.keys) rig.Frame(key);
    for (int i = 0; i < 3; ++i) rig.Frame();
    EXPECT_EQ(SwitchesOn(rig), c.on) << "cancel mode " << c.cancelMode << ", " << c.keys.size() << " keys";
  }
}

TEST(ScripterMessage, NumberInputHasAtMostNineDigitsAndStoresTheNumber) {
  struct Case {
    int digits;
    int shown;
  };
  for (const Case c : {Case{3, 3}, Case{12, 9}, Case{0, 1}, Case{-4, 1}}) {
    ScriptRig rig;
    rig.Start(1, MakeScript({{10150, 0, "", {c.digits, 5}}}));
    rig.Frame();
    EXPECT_EQ(rig.Window.NumberDigits, c.shown) << c.digits;
  }
  ScriptRig rig;
  rig.Start(1, MakeScript({{10150, 0, "", {3, 5}}, SwitchOn(1)}));
  rig.TypeOut();
  rig.Frame(Key::Up);
  rig.Frame(Key::Return);
  EXPECT_EQ(rig.System.Variable(5), 100);
  EXPECT_TRUE(rig.On(1));
}

class InnTest : public ::testing::Test {
protected:
  void SetUp() override {
    TKelVocabulary& words = rig.DataBase.KelVocabulary;
    words.SetText(80, "Rest for");
    words.SetText(81, "?");
    words.SetText(82, "");
    words.SetText(83, "Stay");
    words.SetText(84, "Leave");
    words.SetText(95, "G");
  }
  void StartInn(int price) {
    rig.Start(1, MakeScript({{10730, 0, "", {0, price}}, {20730, 0}, SwitchOn(1, 1), {20731, 0}, SwitchOn(2, 1),
                             {20732, 0}, SwitchOn(9)}));
  }
  ScriptRig rig;
};

TEST_F(InnTest, FreeInnRestsAtOnceWithoutAWindow) {
  rig.Host.Gold = 0;
  StartInn(0);
  rig.Frame();
  EXPECT_FALSE(rig.Window.Exists());
  EXPECT_EQ(rig.Host.InnRuns, 1);
  EXPECT_EQ(rig.Host.Gold, 0);
  EXPECT_EQ(SwitchesOn(rig), (std::vector<int>{1, 9}));
}

TEST_F(InnTest, StayingPaysAndRests) {
  StartInn(30);
  rig.Frame();
  EXPECT_EQ(rig.Window.Lines[0], "\\$Rest for\x01" "30G?");
  EXPECT_EQ(rig.Window.Lines[1], "  \\C[0]Stay");
  EXPECT_EQ(rig.Window.Lines[2], "  \\C[0]Leave");
  rig.TypeOut();
  rig.Frame(Key::Return);
  rig.RunToIdle();
  EXPECT_EQ(rig.Host.Gold, 70);
  EXPECT_EQ(rig.Host.InnRuns, 1);
  EXPECT_EQ(SwitchesOn(rig), (std::vector<int>{1, 9}));
}

TEST_F(InnTest, TooLittleGoldGreysStayAndBuzzes) {
  rig.Host.Gold = 10;
  StartInn(30);
  rig.Frame();
  EXPECT_EQ(rig.Window.Lines[1], "  \\C[3]Stay");
  rig.TypeOut();
  rig.Frame(Key::Return);
  EXPECT_TRUE(rig.Window.IsReady());
  EXPECT_EQ(rig.Context.Sounds, std::vector<TKelMessageSound>{TKelMessageSound::Buzzer});
  rig.Frame(Key::Escape);  // cancel leaves
  rig.RunToIdle();
  EXPECT_EQ(rig.Host.Gold, 10);
  EXPECT_EQ(rig.Host.InnRuns, 0);
  EXPECT_EQ(SwitchesOn(rig), (std::vector<int>{2, 9}));
}

TEST_F(InnTest, AnInnWithoutTextsSendsTheGuestAway) {
  rig.Start(1, MakeScript({{10730, 0, "", {7, 30}}, {20730, 0}, SwitchOn(1, 1), {20731, 0}, SwitchOn(2, 1), {20732, 0}}));
  rig.Frame();
  EXPECT_FALSE(rig.Window.Exists());
  EXPECT_EQ(rig.Host.InnRuns, 0);
  EXPECT_EQ(rig.Host.Gold, 100);
  EXPECT_EQ(SwitchesOn(rig), std::vector<int>{2});
}

TEST(ScripterMessage, ReadKeyFollowsItsPriorities) {
  struct Case {
    std::vector<Key> keys;
    bool directions, decision, cancel;
    int code;
  };
  const Case cases[] = {
      {{Key::Up, Key::Right}, true, true, true, kcUp},
      {{Key::Right, Key::Left}, true, true, true, kcRight},
      {{Key::Left, Key::Down}, true, true, true, kcLeft},
      {{Key::Down}, true, false, false, kcDown},
      {{Key::Up}, false, true, true, kcNone},
      {{Key::Return, Key::Up}, true, true, true, kcDecision},
      {{Key::Return}, true, false, true, kcNone},
      {{Key::Escape, Key::Return, Key::Up}, true, true, true, kcCancel},
      {{Key::Escape, Key::Return}, true, true, false, kcDecision},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Scripter.KeyDirections = c.directions;
    rig.Scripter.KeyDecision = c.decision;
    rig.Scripter.KeyCancel = c.cancel;
    for (Key key : c.keys) rig.Machine.Press(key);
    rig.Input.Poll();
    EXPECT_EQ(rig.Scripter.ReadKey(true), c.code) << c.keys.size() << " keys, first " << int(c.keys[0]);
  }
}

TEST(ScripterMessage, KeyInputWithoutWaitStoresTheHeldKeyAtOnce) {
  ScriptRig rig;
  rig.Machine.Press(Key::Left);
  rig.Start(1, MakeScript({{11610, 0, "", {300, 0, 1, 1, 1}}, {11610, 0, "", {7, 0, 0, 1, 0}}}));
  rig.Frame();
  EXPECT_EQ(rig.System.Variable(300), kcLeft);  // the whole variable number
  EXPECT_EQ(rig.System.Variable(7), kcNone);    // nothing accepted is held
  EXPECT_EQ(rig.Host.Refreshes, 2);
  EXPECT_FALSE(rig.Scripter.IsRunning());
}

TEST(ScripterMessage, KeyInputWithWaitNeedsANewPress) {
  ScriptRig rig;
  rig.Machine.Press(Key::Return);  // already down when the command runs
  rig.Start(1, MakeScript({{11610, 0, "", {7, 1, 1, 1, 1}}, SwitchOn(1)}));
  for (int i = 0; i < 5; ++i) rig.Frame();
  EXPECT_EQ(rig.Scripter.WaitingKey, 1);
  EXPECT_FALSE(rig.On(1));
  rig.Machine.Release(Key::Return);
  rig.Frame();
  rig.Frame(Key::X);
  EXPECT_EQ(rig.System.Variable(7), kcCancel);
  EXPECT_TRUE(rig.On(1));
  EXPECT_EQ(rig.Scripter.WaitingKey, 0);
}

TEST(ScripterMessage, ThePoolIsShownInPagesOfFourLines) {
  struct Case {
    std::vector<std::string> entries;
    std::vector<int> pages;
  };
  const Case cases[] = {
      {{"1", "2", "3", "4", "5"}, {4, 1}},
      {{"1", "2", "3", "", "4", "5"}, {3, 2}},
      {{"", "1", "", "", "2"}, {1, 1}},
      {{"", ""}, {}},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    for (const std::string& entry : c.entries) rig.Pool.Add(entry);
    std::vector<int> pages;
    rig.Frame();
    for (int page = 0; page < 4 && rig.Window.Exists() && rig.Window.CloseStep == 0; ++page) {
      pages.push_back(rig.Window.LineCount());
      rig.TypeOut();
      rig.Frame(Key::Return);  // the next page takes the closing window at once
    }
    EXPECT_EQ(pages, c.pages) << c.entries.size() << " entries";
    EXPECT_EQ(rig.Pool.Count(), 0);
    EXPECT_FALSE(rig.System.EventMessage);
  }
}

TEST(ScripterMessage, OptionsAndFaceGoToTheGameState) {
  struct Case {
    std::vector<std::int32_t> params;
    int transparent, position, autoPosition, eventsMove;
  };
  const Case cases[] = {
      {{1, 0, 0, 1}, 1, 0, 0, 1},
      {{0, 7, 5, 0}, 0, 2, 1, 0},
      {{0, -3}, 0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    ScriptRig rig;
    rig.Start(1, MakeScript({{10120, 0, "", c.params}, {10130, 0, "Face1", {5, 1, 1}}, Message("x")}));
    rig.Frame();
    EXPECT_EQ(rig.System.MessageTransparent, c.transparent);
    EXPECT_EQ(rig.System.MessagePosition, c.position);
    EXPECT_EQ(rig.System.MessageAutoPosition, c.autoPosition);
    EXPECT_EQ(rig.System.MessageEventsMove, c.eventsMove);
    EXPECT_EQ(rig.System.FaceName, "Face1");
    EXPECT_EQ(rig.System.FaceIndex, 5);
    EXPECT_EQ(rig.System.FaceRight, 1);
    EXPECT_EQ(rig.System.FaceFlipped, 1);
    EXPECT_TRUE(rig.System.FaceShown());
  }
  // The face is the event's: it goes when the event's script ends.
  ScriptRig rig;
  rig.Start(1, MakeScript({{10130, 0, "Face1", {0, 0, 0}}}));
  rig.Frame();
  EXPECT_EQ(rig.System.FaceName, "");
}

TEST(ScripterMessage, AParallelScriptWaitsWhileItsMessageIsOpen) {
  ScriptRig rig;
  TKelgRegularScripter parallel(rig.Services);
  parallel.StartScript(0, MakeScript({Message("Tick"), SwitchToggle(1)}));
  parallel.UpdateParallel();
  EXPECT_EQ(parallel.WaitingMessage, 1);
  for (int i = 0; i < 3; ++i) {
    rig.Frame();
    parallel.UpdateParallel();
  }
  EXPECT_FALSE(rig.On(1));
  rig.TypeOut();
  rig.Frame(Key::Return);
  for (int i = 0; i < 10 && rig.Window.Exists(); ++i) rig.Frame();
  parallel.UpdateParallel();
  EXPECT_TRUE(rig.On(1));
  EXPECT_FALSE(rig.Window.Exists());  // once through this frame
  parallel.UpdateParallel();
  EXPECT_TRUE(rig.Window.Exists());
  EXPECT_EQ(parallel.WaitingMessage, 1);
}

}  // namespace
