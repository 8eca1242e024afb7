#pragma once
// Keyboard, game controller and mouse merged into ten logical buttons, read
// once a frame as held, newly pressed and key-repeat pulses, plus one
// four-way direction for walking.

#include <array>
#include <bitset>
#include <optional>
#include <cstdint>

#include "platform/Platform.h"

enum TInputButton : std::uint8_t {
  ibDown, ibLeft, ibRight, ibUp, ibDecide, ibCancel, ibMouseLeft, ibMouseRight, ibShift, ibCtrl,
};

using TInputButtons = std::uint16_t;
constexpr TInputButtons ButtonBit(TInputButton button) { return static_cast<TInputButtons>(1u << button); }

class TMultiInput {
public:
  static constexpr int kButtonCount = 10;
  static constexpr int kSlotsPerButton = 8;
  static constexpr int kRepeatInterval = 4;

  explicit TMultiInput(Platform& platform);

  void Poll();
  void Flush() { Poll(); Poll(); }

  TInputButtons Pressed() const { return PressedSet; }
  TInputButtons Triggered() const { return TriggeredSet; }
  TInputButtons Repeated() const { return RepeatedSet; }
  bool Pressed(TInputButton b) const { return (PressedSet & ButtonBit(b)) != 0; }
  bool Triggered(TInputButton b) const { return (TriggeredSet & ButtonBit(b)) != 0; }
  bool Repeated(TInputButton b) const { return (RepeatedSet & ButtonBit(b)) != 0; }
  int Direction() const { return DirectionValue; }  // 0, 2 down, 4 left, 6 right, 8 up
  // A raw key held at the last poll (F9 and F10 of test play).
  bool KeyHeld(Key key) const { return Machine.IsActive() && KeysDown[static_cast<std::size_t>(key)]; }

private:
  void Apply(const InputEvent& event);
  void Sample();
  TInputButtons ReadDevices() const;
  void UpdateRepeat();
  void UpdateDirection();

  Platform& Machine;
  // Key map: each button's key slots; empty slots hold no key.
  std::array<std::array<std::optional<Key>, kSlotsPerButton>, kButtonCount> KeyMap{};
  std::bitset<static_cast<std::size_t>(Key::Count)> KeysDown;
  std::bitset<static_cast<std::size_t>(PadButton::Count)> PadDown;
  std::int16_t AxisX = 0, AxisY = 0;
  bool MouseLeft = false, MouseRight = false;
  int JoyLeft, JoyRight, JoyUp, JoyDown;

  TInputButtons Live = 0;
  TInputButtons Collected = 0;
  TInputButtons PressedSet = 0;
  TInputButtons TriggeredSet = 0;
  TInputButtons RepeatedSet = 0;
  std::uint8_t RepeatButton = 0;
  int RepeatCount = 0;
  std::uint8_t LastAxis = 0;
  int DirectionValue = 0;
};
