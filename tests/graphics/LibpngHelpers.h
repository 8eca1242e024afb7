#pragma once
// libpng as an independent encoder and decoder to check our PNG code against.

#include <cstdint>
#include <string>
#include <vector>

struct TPngPicture {
  int Width = 0, Height = 0;
  int ColorType = 3;                     // 3 indexed, 2 truecolour
  std::vector<std::uint8_t> Palette;     // r, g, b per entry as the file has them
  std::vector<std::uint8_t> Pixels;      // rows top-down; truecolour as r, g, b
};

struct TLibpngOptions {
  int Filters = 0;             // PNG_FILTER_* mask; 0 leaves libpng's choice
  int PaletteEntries = 256;
  bool WithTransparency = false;
  std::size_t IdatSize = 0;    // 0: libpng's default chunk size
};

std::vector<std::uint8_t> EncodeWithLibpng(const TPngPicture& picture, const TLibpngOptions& options);
TPngPicture DecodeWithLibpng(const std::vector<std::uint8_t>& file, bool ignoreCrc);

// A picture whose bytes vary enough for every filter to matter.
TPngPicture MakeTestPicture(int width, int height, int colorType);

// The file's chunks, and a file rebuilt from a list of them (CRCs recomputed).
struct TPngChunk {
  std::string Type;
  std::vector<std::uint8_t> Data;
};
std::vector<TPngChunk> SplitChunks(const std::vector<std::uint8_t>& file);
std::vector<std::uint8_t> JoinChunks(const std::vector<TPngChunk>& chunks);
