#include <gtest/gtest.h>

#include <set>
#include <string>

#include "shell/MultiInput.h"
#include "common/TestPlatform.h"

namespace {

// What happens before one poll: keys pressed, keys released, the window state.
struct Step {
  std::vector<Key> press;
  std::vector<Key> release;
  bool active = true;
  bool flush = false;  // Flush instead of Poll
};

struct Expect {
  TInputButtons pressed, triggered, repeated;
  int direction;
};

void Apply(TestPlatform& machine, TMultiInput& input, const Step& step) {
  for (Key key : step.press) machine.Press(key);
  for (Key key : step.release) machine.Release(key);
  machine.Active = step.active;
  if (step.flush) input.Flush();
  else input.Poll();
}

constexpr TInputButtons kDown = ButtonBit(ibDown);
constexpr TInputButtons kRight = ButtonBit(ibRight);
constexpr TInputButtons kDecide = ButtonBit(ibDecide);
constexpr TInputButtons kCancel = ButtonBit(ibCancel);

struct SequenceCase {
  std::string name;
  std::vector<Step> steps;
  std::vector<Expect> expected;  // one per step
};

TEST(MultiInput, FrameByFrameSequences) {
  const std::vector<SequenceCase> cases = {
      {"tap between two frames is triggered, not held, and gives no repeat pulse",
       {{{Key::Z}, {Key::Z}}, {}},
       {{0, kDecide, 0, 0}, {0, 0, 0, 0}}},
      {"Right then Down: the newer axis wins, release returns",
       {{{Key::Right}}, {{Key::Down}}, {{}, {Key::Down}}},
       {{kRight, kRight, kRight, 6}, {kRight | kDown, kDown, kDown, 2}, {kRight, 0, 0, 6}}},
      {"opposites cancel",
       {{{Key::Left, Key::Right}}},
       {{ButtonBit(ibLeft) | kRight, ButtonBit(ibLeft) | kRight, kRight, 0}}},
      {"Alt held: no keyboard buttons, Alt+Enter is no Decide",
       {{{Key::Alt, Key::Return}}, {{}, {Key::Alt}}},
       {{0, 0, 0, 0}, {kDecide, kDecide, kDecide, 0}}},
      {"Shift and Ctrl count even with Alt",
       {{{Key::Alt, Key::Shift, Key::Ctrl}}},
       {{ButtonBit(ibShift) | ButtonBit(ibCtrl), ButtonBit(ibShift) | ButtonBit(ibCtrl), ButtonBit(ibCtrl), 0}}},
      {"inactive window reads empty; a key still held counts as new on return",
       {{{Key::Down}, {}, false}, {{}, {}, true}},
       {{0, 0, 0, 0}, {kDown, kDown, kDown, 2}}},
      {"every key of the cancel slots",
       {{{Key::Escape, Key::Keypad0, Key::Insert, Key::X, Key::C, Key::V, Key::B, Key::N}}},
       {{kCancel, kCancel, kCancel, 0}}},
      {"numeric pad and letters walk",
       {{{Key::Keypad8}}, {{Key::H}, {Key::Keypad8}}},
       {{ButtonBit(ibUp), ButtonBit(ibUp), ButtonBit(ibUp), 8}, {ButtonBit(ibLeft), ButtonBit(ibLeft), ButtonBit(ibLeft), 4}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestPlatform machine;
    TMultiInput input(machine);
    ASSERT_EQ(c.steps.size(), c.expected.size());
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      SCOPED_TRACE("step " + std::to_string(i));
      Apply(machine, input, c.steps[i]);
      EXPECT_EQ(input.Pressed(), c.expected[i].pressed);
      EXPECT_EQ(input.Triggered(), c.expected[i].triggered);
      EXPECT_EQ(input.Repeated(), c.expected[i].repeated);
      EXPECT_EQ(input.Direction(), c.expected[i].direction);
    }
  }
}

// Frames (polls after the press) on which a held key pulses.
std::set<int> PulseFrames(bool flushAfterPress, int frames) {
  TestPlatform machine;
  TMultiInput input(machine);
  machine.Press(Key::Down);
  if (flushAfterPress) input.Flush();
  std::set<int> pulses;
  for (int frame = 0; frame < frames; ++frame) {
    input.Poll();
    if (input.Repeated(ibDown)) pulses.insert(frame);
  }
  return pulses;
}

TEST(MultiInput, HeldKeyRepeats) {
  EXPECT_EQ(PulseFrames(false, 40), (std::set<int>{0, 23, 27, 31, 35, 39}));
}

TEST(MultiInput, FlushHidesThePressAndDelaysTheRepeat) {
  // The press was consumed by the flush's two polls (counts 1 and 2); the
  // next pulse comes when the count reaches 24.
  EXPECT_EQ(PulseFrames(true, 26), (std::set<int>{21, 25}));
  TestPlatform machine;
  TMultiInput input(machine);
  machine.Press(Key::Return);
  input.Flush();
  EXPECT_TRUE(input.Pressed(ibDecide));
  EXPECT_FALSE(input.Triggered(ibDecide));
}

TEST(MultiInput, RepeatFollowsTheHighestNewButton) {
  TestPlatform machine;
  TMultiInput input(machine);
  machine.Press(Key::Down);
  machine.Press(Key::Up);
  input.Poll();
  EXPECT_EQ(input.Repeated(), ButtonBit(ibUp));
}

TEST(MultiInput, ControllerStickDeadZoneAndButtons) {
  struct PadCase {
    std::int16_t x, y;
    std::vector<PadButton> buttons;
    TInputButtons pressed;
  };
  const PadCase cases[] = {
      {8191, -8191, {}, 0},
      {8192, 0, {}, kRight},
      {0, 8192, {}, kDown},
      {-8192, -8192, {}, ButtonBit(ibLeft) | ButtonBit(ibUp)},
      {0, 0, {PadButton::A}, kDecide},
      {0, 0, {PadButton::X}, kDecide},
      {0, 0, {PadButton::B}, kCancel},
      {0, 0, {PadButton::Left}, ButtonBit(ibLeft)},
  };
  for (const auto& c : cases) {
    TestPlatform machine;
    TMultiInput input(machine);
    machine.QueueEvent({InputEvent::Kind::PadAxisMove, static_cast<std::uint8_t>(PadAxis::LeftX), c.x});
    machine.QueueEvent({InputEvent::Kind::PadAxisMove, static_cast<std::uint8_t>(PadAxis::LeftY), c.y});
    for (PadButton b : c.buttons) machine.QueueEvent({InputEvent::Kind::PadDown, static_cast<std::uint8_t>(b), 0});
    input.Poll();
    EXPECT_EQ(input.Pressed(), c.pressed) << c.x << "," << c.y;
  }
}

}  // namespace
