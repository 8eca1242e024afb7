#include "shell/MultiInput.h"

#include <bit>

namespace {
constexpr int kAxisMin = -32768;
constexpr int kAxisMax = 32767;

// Integer division that truncates towards zero, as the dead-zone rule needs.
constexpr int DivTrunc(int a, int b) { return a / b; }
}  // namespace

TMultiInput::TMultiInput(Platform& platform) : Machine(platform) {
  KeyMap[ibDown] = {Key::Down, Key::Keypad2, Key::J};
  KeyMap[ibLeft] = {Key::Left, Key::Keypad4, Key::H};
  KeyMap[ibRight] = {Key::Right, Key::Keypad6, Key::L};
  KeyMap[ibUp] = {Key::Up, Key::Keypad8, Key::K};
  KeyMap[ibDecide] = {Key::Space, Key::Return, std::nullopt, Key::Z};
  KeyMap[ibCancel] = {Key::Escape, Key::Keypad0, Key::Insert, Key::X, Key::C, Key::V, Key::B, Key::N};
  const int half = DivTrunc(kAxisMax - kAxisMin, 2);
  const int deadZone = DivTrunc(half * 25, 100);
  const int centre = DivTrunc(kAxisMax + kAxisMin, 2);
  JoyLeft = JoyUp = centre - deadZone;
  JoyRight = JoyDown = centre + deadZone;
}

void TMultiInput::Apply(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::KeyDown: KeysDown[event.code] = true; break;
    case InputEvent::Kind::KeyUp: KeysDown[event.code] = false; break;
    case InputEvent::Kind::PadDown: PadDown[event.code] = true; break;
    case InputEvent::Kind::PadUp: PadDown[event.code] = false; break;
    case InputEvent::Kind::PadAxisMove:
      (static_cast<PadAxis>(event.code) == PadAxis::LeftX ? AxisX : AxisY) = event.value;
      break;
    case InputEvent::Kind::MouseDown:
    case InputEvent::Kind::MouseUp:
      (static_cast<MouseButton>(event.code) == MouseButton::Left ? MouseLeft : MouseRight) =
          event.kind == InputEvent::Kind::MouseDown;
      break;
  }
}

TInputButtons TMultiInput::ReadDevices() const {
  TInputButtons live = 0;
  auto set = [&live](TInputButton b) { live |= ButtonBit(b); };
  if (AxisX < JoyLeft || PadDown[static_cast<int>(PadButton::Left)]) set(ibLeft);
  if (AxisX > JoyRight || PadDown[static_cast<int>(PadButton::Right)]) set(ibRight);
  if (AxisY < JoyUp || PadDown[static_cast<int>(PadButton::Up)]) set(ibUp);
  if (AxisY > JoyDown || PadDown[static_cast<int>(PadButton::Down)]) set(ibDown);
  if (PadDown[static_cast<int>(PadButton::A)] || PadDown[static_cast<int>(PadButton::X)]) set(ibDecide);
  if (PadDown[static_cast<int>(PadButton::B)]) set(ibCancel);
  // While Alt is held the keyboard counts for nothing: Alt+Enter is no Decide.
  if (!KeysDown[static_cast<int>(Key::Alt)]) {
    for (int button = 0; button < kButtonCount; ++button)
      for (const auto& key : KeyMap[button])
        if (key && KeysDown[static_cast<int>(*key)]) live |= static_cast<TInputButtons>(1u << button);
  }
  if (MouseLeft) set(ibMouseLeft);
  if (MouseRight) set(ibMouseRight);
  if (KeysDown[static_cast<int>(Key::Shift)]) set(ibShift);
  if (KeysDown[static_cast<int>(Key::Ctrl)]) set(ibCtrl);
  return live;
}

void TMultiInput::Sample() {
  const TInputButtons previous = Live;
  Live = ReadDevices();
  Collected |= static_cast<TInputButtons>(Live & ~previous);
}

void TMultiInput::Poll() {
  // Every event is sampled in order, so a tap between two frames is collected.
  for (const InputEvent& event : Machine.TakeInputEvents()) {
    Apply(event);
    Sample();
  }
  // The devices are sampled at least once a poll, as a running sampler would.
  Sample();
  if (!Machine.IsActive()) {
    Live = Collected = PressedSet = TriggeredSet = RepeatedSet = 0;
    DirectionValue = 0;
    return;
  }
  PressedSet = Live;
  TriggeredSet = Collected;
  Collected = 0;
  UpdateRepeat();
  UpdateDirection();
}

void TMultiInput::UpdateRepeat() {
  if (TriggeredSet != 0) {
    RepeatCount = 1;
    RepeatButton = static_cast<std::uint8_t>(std::bit_width(TriggeredSet) - 1);
  }
  RepeatedSet = 0;
  if (RepeatCount <= 0 || (PressedSet & (1u << RepeatButton)) == 0) return;
  bool pulse;
  if (RepeatCount == 1) pulse = true;
  else if (RepeatCount < 6 * kRepeatInterval) pulse = false;
  else pulse = RepeatCount % kRepeatInterval == 0;
  if (pulse) RepeatedSet = static_cast<TInputButtons>(1u << RepeatButton);
  ++RepeatCount;
}

void TMultiInput::UpdateDirection() {
  int dx = 0, dy = 0;
  if (PressedSet & ButtonBit(ibDown)) ++dy;
  if (PressedSet & ButtonBit(ibUp)) --dy;
  if (PressedSet & ButtonBit(ibLeft)) --dx;
  if (PressedSet & ButtonBit(ibRight)) ++dx;
  if (dx != 0 && dy != 0) {
    // The axis pressed later wins.
    if (LastAxis == 0) dy = 0;
    else dx = 0;
  } else if (dx != 0) {
    LastAxis = 1;
  } else if (dy != 0) {
    LastAxis = 0;
  }
  DirectionValue = dy > 0 ? 2 : dx < 0 ? 4 : dx > 0 ? 6 : dy < 0 ? 8 : 0;
}
