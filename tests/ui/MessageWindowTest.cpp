#include <gtest/gtest.h>

#include <map>

#include "UiTestKit.h"
#include "ui/GameMessageWindow.h"

namespace {

class FakeGold final : public TKelGoldSource {
public:
  int Gold() const override { return Amount; }
  std::string CurrencyWord() const override { return "G"; }
  int Amount = 50;
};

class FakeContext final : public TKelMessageContext {
public:
  bool OnMap() const override { return Map; }
  bool InBattle() const override { return false; }
  bool TestPlay() const override { return true; }
  int MessagePosition() const override { return 1; }
  bool MessageAutoPosition() const override { return AutoPosition; }
  bool MessageTransparent() const override { return false; }
  int HeroScreenY() const override { return HeroY; }
  std::string HeroName(int n) const override { return n == 0 ? "Alex" : n == 2 ? "Brin" : ""; }
  std::int32_t Variable(int id) const override {
    auto it = Variables.find(id);
    return it == Variables.end() ? 0 : it->second;
  }
  void SetVariable(int id, std::int32_t value) override { Variables[id] = value; }
  int PartyGold() const override { return Gold.Amount; }
  const TKelGoldSource& GoldSource() const override { return Gold; }
  bool FaceShown() const override { return false; }
  bool FaceRight() const override { return false; }
  TVantraSheet& FaceSheet() override { return Face; }
  void PlaySound(TKelMessageSound sound) override { Sounds.push_back(sound); }

  bool Map = false;
  bool AutoPosition = false;
  int HeroY = 0;
  std::map<int, std::int32_t> Variables;
  FakeGold Gold;
  TVantraSheet Face{48, 48};
  std::vector<TKelMessageSound> Sounds;
};

struct MessageRig : WindowRig {
  FakeContext Context;
  TKelMessageWindow Window{Services, Context};

  void Show(std::initializer_list<std::string> lines) {
    Window.Open();
    for (const std::string& line : lines) Window.AddLine(line);
  }
  // Frames until every line is typed.
  int FramesToType() {
    int frames = 0;
    while (Window.LineIndex < Window.LineCount() && frames < 1000) {
      Frame(Window);
      ++frames;
    }
    return frames;
  }
};

TEST(MessageWindow, ExpandsNamesVariablesAndThinSpaces) {
  MessageRig rig;
  rig.Context.Variables[3] = -42;
  struct Case {
    const char* text;
    const char* expanded;
  };
  const Case cases[] = {
      {"\\N[0] and \\n[2]", "Alex and Brin"},
      {"v=\\V[3]", "v=-42"},
      {"v=\\V[3x]!", "v=-42!"},        // the longest prefix that is a number
      {"\\N[x]?", "?"},                // no number: no hero
      {"a\\_b", "a\x01" "b"},
      {"\\\\N[0]", "\\\\N[0]"},         // an escaped backslash stays two bytes
      {"\\C[2]\\$", "\\C[2]\\$"},       // typing codes are left for the typing
      {"\x83\\N[0]", "\x83\\N[0]"},     // 0x5C as a trail byte is no code
      {"end\\", "end\\"},
  };
  for (const Case& c : cases) EXPECT_EQ(rig.Window.Expand(c.text), c.expanded) << c.text;
}

TEST(MessageWindow, TypingSpeedsAndPauses) {
  struct Case {
    const char* text;
    int frames;
  };
  const Case cases[] = {
      {"ABCD", 2},                    // speed 1: two half-width characters a frame
      {"\x82\xa0\x82\xa2", 2},        // one full-width character a frame
      {"\\S[4]AB", 1 + 2 + 1},        // one character, then 2 frames of waiting
      {"\\S[4]\x82\xa0\x82\xa2", 1 + 4 + 1},
      {"AB\\.CD", 1 + 1 + 15 + 1},    // the pause follows the code's own frame
      {"AB\\|CD", 1 + 1 + 60 + 1},
      {"\\>AB\\.CD\\|EF", 1},          // instant: no pauses
      {"\\S[99]A", 1},                // clamped to 20, nothing left to wait for
  };
  for (const Case& c : cases) {
    MessageRig rig;
    rig.Show({c.text});
    EXPECT_EQ(rig.FramesToType(), c.frames) << c.text;
  }
}

TEST(MessageWindow, ColoursOnlyInRange) {
  MessageRig rig;
  rig.Show({"\\C[5]Hi"});
  rig.FramesToType();
  EXPECT_EQ(rig.Window.Color, 5);
  MessageRig other;
  other.Show({"\\C[25]Hi"});
  other.FramesToType();
  EXPECT_EQ(other.Window.Color, 0);
}

TEST(MessageWindow, WaitForKeyAndAutoClose) {
  MessageRig rig;
  rig.Show({"AB\\!CD"});
  for (int i = 0; i < 10; ++i) rig.Frame(rig.Window);
  EXPECT_EQ(rig.Window.LineIndex, 0);  // held at the \!
  rig.Frame(rig.Window, Key::Return);
  rig.FramesToType();
  EXPECT_EQ(rig.Window.LineIndex, 1);

  MessageRig closing;
  closing.Show({"Bye\\^"});
  // "By", "e", the code, the end of the line, one frame of rest, then it closes.
  for (int i = 0; i < 5; ++i) closing.Frame(closing.Window);
  EXPECT_EQ(closing.Window.CloseStep, 0);
  closing.Frame(closing.Window);
  EXPECT_NE(closing.Window.CloseStep, 0);
}

TEST(MessageWindow, PlainMessageClosesOnAKey) {
  MessageRig rig;
  rig.Show({"Hello"});
  for (int i = 0; i < 10; ++i) rig.Frame(rig.Window);
  EXPECT_EQ(rig.Window.CloseStep, 0);
  rig.Frame(rig.Window, Key::Escape);
  EXPECT_NE(rig.Window.CloseStep, 0);
}

struct ChoiceOutcome {
  int result = -1;
  bool closed = false;
};

ChoiceOutcome Choose(int cancelChoice, bool goldCheck, int price, std::vector<Key> keys) {
  MessageRig rig;
  rig.Window.Open();
  rig.Window.AddLine("Which?");
  for (const char* choice : {"Yes", "No", "Maybe"}) rig.Window.AddChoice(choice);
  rig.Window.CancelChoice = cancelChoice;
  rig.Window.GoldCheck = goldCheck;
  rig.Window.Price = price;
  ChoiceOutcome outcome;
  rig.Window.ResultTarget = [&outcome](int index) { outcome.result = index; };
  rig.FramesToType();
  for (int i = 0; i < 3; ++i) rig.Frame(rig.Window);
  EXPECT_TRUE(rig.Window.Active);
  for (Key key : keys) {
    rig.Frame(rig.Window, key);
    rig.Frame(rig.Window);
  }
  outcome.closed = rig.Window.CloseStep != 0 || !rig.Window.Exists();
  return outcome;
}

TEST(MessageWindow, ChoicesAndTheirCancelModes) {
  EXPECT_EQ(Choose(0, false, 0, {Key::Escape}).result, -1);  // cancel not allowed
  EXPECT_FALSE(Choose(0, false, 0, {Key::Escape}).closed);
  EXPECT_EQ(Choose(3, false, 0, {Key::Escape}).result, 2);
  EXPECT_EQ(Choose(0, false, 0, {Key::Down, Key::Return}).result, 1);
  EXPECT_EQ(Choose(0, false, 0, {Key::Up, Key::Return}).result, 2);  // wraps
  // The inn's check: too little gold for the first choice buzzes and stays.
  const ChoiceOutcome poor = Choose(0, true, 80, {Key::Return});
  EXPECT_EQ(poor.result, -1);
  EXPECT_FALSE(poor.closed);
  EXPECT_EQ(Choose(0, true, 30, {Key::Return}).result, 0);
}

std::int32_t EnterNumber(int digits, std::vector<Key> keys) {
  MessageRig rig;
  rig.Window.Open();
  rig.Window.NumberDigits = digits;
  rig.Window.NumberVariable = 7;
  for (int i = 0; i < 5; ++i) rig.Frame(rig.Window);
  for (Key key : keys) {
    rig.Frame(rig.Window, key);
    rig.Frame(rig.Window);
  }
  rig.Frame(rig.Window, Key::Return);
  return rig.Context.Variable(7);
}

TEST(MessageWindow, NumberInputDigitsWrap) {
  EXPECT_EQ(EnterNumber(3, {Key::Right, Key::Right, Key::Up}), 1);
  EXPECT_EQ(EnterNumber(3, {Key::Down}), 900);
  EXPECT_EQ(EnterNumber(9, {Key::Down, Key::Right, Key::Down}), 990000000);
  EXPECT_EQ(EnterNumber(2, {Key::Up, Key::Up, Key::Right, Key::Down}), 29);
}

TEST(MessageWindow, PlacementFollowsTheHeroOnTheMap) {
  struct Case {
    bool map, automatic;
    int heroY, position, y;
  };
  const Case cases[] = {
      {false, true, 0, 2, 160},  // off the map: always at the bottom
      {true, false, 0, 1, 80},
      {true, true, 112, 2, 160},
      {true, true, 130, 1, 80},
      {true, true, 152, 0, 0},
  };
  for (const Case& c : cases) {
    MessageRig rig;
    rig.Context.Map = c.map;
    rig.Context.AutoPosition = c.automatic;
    rig.Context.HeroY = c.heroY;
    rig.Window.Open();
    EXPECT_EQ(rig.Window.Position, c.position) << c.heroY;
    EXPECT_EQ(rig.Window.Y, c.y) << c.heroY;
  }
}

TEST(MessageWindow, FourLinesAtMostAndThePoolKeepsPages) {
  MessageRig rig;
  rig.Show({"1", "2", "3", "4", "5"});
  EXPECT_EQ(rig.Window.LineCount(), 4);
  TKelMessagePool pool;
  for (const char* line : {"a", "b", "", "c"}) pool.Add(line);
  EXPECT_EQ(pool.Take(), "a");
  EXPECT_EQ(pool.Take(), "b");
  EXPECT_EQ(pool.Take(), "");
  EXPECT_EQ(pool.Count(), 1);
}

}  // namespace
