#pragma once
// The two game typefaces ("Zarmin", mincho; "Zarsan", gothic) as 12-pixel
// monochrome bitmap glyphs through FreeType. Characters are looked up by
// their Shift-JIS bytes; the text itself is never converted.

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "shell/Assets.h"

// No font file for either typeface was found.
class EKelFontMissing : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

constexpr int kGlyphSize = 12;
// One character cell, row by row: non-zero where the glyph has ink.
using TKelGlyph = std::array<std::uint8_t, kGlyphSize * kGlyphSize>;

enum TKelFontFace : std::uint8_t { ffGothic, ffMincho };

// Where fonts are looked for: the "Font" folder of the game, then of the
// package, then the system's misc bitmap fonts.
struct TKelFontSearch {
  AssetFolders Folders;
  std::filesystem::path SystemFolder = "/usr/share/fonts/X11/misc";
};

// Shift-JIS lead byte of a two-byte character.
bool IsShiftJisLead(std::uint8_t byte);
bool IsShiftJisTrail(std::uint8_t byte);
// The JIS X 0208 code (row and cell, each 0x21…0x7E) of a Shift-JIS pair.
std::uint16_t ShiftJisToJis(std::uint8_t lead, std::uint8_t trail);

class TKelFontFile;

class TKelGameFonts {
public:
  explicit TKelGameFonts(const TKelFontSearch& search);  // EKelFontMissing when nothing is found
  ~TKelGameFonts();
  TKelGameFonts(const TKelGameFonts&) = delete;
  TKelGameFonts& operator=(const TKelGameFonts&) = delete;

  // Sets the pixels of a one- or two-byte character in glyph (which is not
  // cleared first); false when no font has the character.
  bool DrawCharacter(TKelFontFace face, std::string_view character, TKelGlyph& glyph) const;

  // The files in use, in look-up order (for messages and the notes).
  std::vector<std::filesystem::path> FilesInUse() const;

private:
  struct Typeface {
    std::vector<const TKelFontFile*> Wide;    // two-byte characters, tried in order
    std::vector<const TKelFontFile*> Narrow;  // one-byte characters
  };
  const TKelFontFile* Open(const std::filesystem::path& path);

  void* Library = nullptr;  // FT_Library, kept out of this header
  std::vector<std::unique_ptr<TKelFontFile>> Files;
  std::array<Typeface, 2> Faces;
};
