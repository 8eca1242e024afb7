#pragma once
// The names of keys in input scripts; they map to the same events real keys make.

#include <optional>
#include <string_view>

#include "platform/Platform.h"

struct NamedKey {
  InputEvent::Kind downKind;  // KeyDown or PadDown
  std::uint8_t code;
};

std::optional<NamedKey> LookupKeyName(std::string_view name);
