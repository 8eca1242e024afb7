#include "platform/KeyNames.h"

#include <array>
#include <utility>

namespace {
using K = Key;
constexpr std::array<std::pair<std::string_view, Key>, 36> kKeyNames{{
    {"Up", K::Up}, {"Down", K::Down}, {"Left", K::Left}, {"Right", K::Right},
    {"Return", K::Return}, {"Space", K::Space}, {"Escape", K::Escape},
    {"Z", K::Z}, {"X", K::X}, {"C", K::C}, {"V", K::V}, {"B", K::B}, {"N", K::N},
    {"H", K::H}, {"J", K::J}, {"K", K::K}, {"L", K::L}, {"Insert", K::Insert},
    {"Keypad0", K::Keypad0}, {"Keypad1", K::Keypad1}, {"Keypad2", K::Keypad2},
    {"Keypad3", K::Keypad3}, {"Keypad4", K::Keypad4}, {"Keypad5", K::Keypad5},
    {"Keypad6", K::Keypad6}, {"Keypad7", K::Keypad7}, {"Keypad8", K::Keypad8},
    {"Keypad9", K::Keypad9}, {"Shift", K::Shift}, {"Ctrl", K::Ctrl}, {"Alt", K::Alt},
    {"F4", K::F4}, {"F5", K::F5}, {"F9", K::F9}, {"F10", K::F10}, {"F12", K::F12},
}};
constexpr std::array<std::pair<std::string_view, PadButton>, 7> kPadNames{{
    {"PadA", PadButton::A}, {"PadB", PadButton::B}, {"PadX", PadButton::X},
    {"PadUp", PadButton::Up}, {"PadDown", PadButton::Down},
    {"PadLeft", PadButton::Left}, {"PadRight", PadButton::Right},
}};
}  // namespace

std::optional<NamedKey> LookupKeyName(std::string_view name) {
  for (const auto& [keyName, key] : kKeyNames)
    if (keyName == name) return NamedKey{InputEvent::Kind::KeyDown, static_cast<std::uint8_t>(key)};
  for (const auto& [padName, button] : kPadNames)
    if (padName == name) return NamedKey{InputEvent::Kind::PadDown, static_cast<std::uint8_t>(button)};
  return std::nullopt;
}
