#pragma once
// Pictures built into the program ("LOGO1" of type "XYZ", the bitmap
// "EXFONT" …), embedded at build time from src/graphics/resources/.

#include <cstdint>
#include <span>
#include <string_view>

struct TVantraResource {
  const char* Type;  // "XYZ" or "BITMAP"
  const char* Name;
  const std::uint8_t* Data;
  std::size_t Size;
};

// Every embedded resource; defined by the generated resource table.
std::span<const TVantraResource> ProgramResources();

// The bytes of a resource, empty when there is none of that type and name.
std::span<const std::uint8_t> FindProgramResource(std::string_view type, std::string_view name);
