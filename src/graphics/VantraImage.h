#pragma once
// The in-memory picture that every image reader produces and every writer
// takes, the errors they raise, and the loader that picks a reader by content.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/VantraSheet.h"

// Any failure of the picture code that is not about the picture's content.
class EVantraError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// The picture's bytes are not a picture we can use.
class EVantraInvalidGraphic : public EVantraError {
public:
  using EVantraError::EVantraError;
};

// The system's own texts, in the game's code page (Shift-JIS).
extern const char* const kMsgBitmapEmpty;         // "the bitmap is empty"
extern const char* const kMsgInvalidImageFormat;  // "invalid image format"
extern const char* const kMsgZlibError;

// Larger sides are refused before anything is allocated.
constexpr int kMaxImageSide = 16384;

// 8 bits a pixel with a 256-entry palette, or 24 bits a pixel stored blue,
// green, red as Windows bitmaps keep them. Rows run from the top, unpadded.
struct TVantraBitmap {
  int Width = 0;
  int Height = 0;
  int BitsPerPixel = 8;
  std::array<TVantraRgb, 256> Palette{};
  std::vector<std::uint8_t> Pixels;

  // Sizes the picture and zeroes every pixel (the palette is kept).
  void SetFormat(int width, int height, int bitsPerPixel);
  int BytesPerPixel() const { return BitsPerPixel / 8; }
  std::size_t RowBytes() const { return static_cast<std::size_t>(Width) * BytesPerPixel(); }
  bool Empty() const { return Width <= 0 || Height <= 0; }
  std::uint8_t* ScanLine(int y) { return Pixels.data() + RowBytes() * y; }
  const std::uint8_t* ScanLine(int y) const { return Pixels.data() + RowBytes() * y; }
};

// A bounded cursor over bytes in memory; reading past the end throws the
// message it was made with, so a short file is reported as the reader's own error.
class TVantraByteReader {
public:
  TVantraByteReader(std::span<const std::uint8_t> data, const char* shortMessage)
      : Data(data), ShortMessage(shortMessage) {}

  std::size_t Position() const { return Offset; }
  std::size_t Remaining() const { return Data.size() - Offset; }
  std::span<const std::uint8_t> Take(std::size_t count);
  void Skip(std::size_t count) { Take(count); }
  std::uint8_t U8() { return Take(1)[0]; }
  std::uint16_t U16LE();
  std::uint32_t U32LE();
  std::uint32_t U32BE();

private:
  std::span<const std::uint8_t> Data;
  std::size_t Offset = 0;
  const char* ShortMessage;
};

// Reads a whole file; a missing or unreadable file raises EVantraError.
std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName);
void WriteFileBytes(const std::string& fileName, std::span<const std::uint8_t> data);

// Picks PNG, XYZ or Windows bitmap by the first bytes.
void LoadImageData(TVantraBitmap& bitmap, std::span<const std::uint8_t> data);
void LoadImageFile(TVantraBitmap& bitmap, const std::string& fileName);
