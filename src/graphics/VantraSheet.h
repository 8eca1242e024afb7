#pragma once
// Boards: 16-bit 5-6-5 drawing surfaces with a brightness that every drawing
// onto them follows. Sheets (8-bit paletted pictures) are drawn onto boards.

#include <array>
#include <cstdint>
#include <vector>

struct TVantraRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // right and bottom exclusive
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
};

// An RGB colour, one byte a channel, as FillRect takes it.
struct TVantraRgb {
  std::uint8_t R = 0, G = 0, B = 0;
};

// Angles are 256ths of a turn; index with a byte so they wrap.
extern const std::array<double, 256> SinTable;
extern const std::array<double, 256> CosTable;

inline std::uint16_t PackRgb565(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint16_t>(((r >> 3) << 11) | ((g >> 2) << 5) | (b >> 3));
}

class TVantraBoard {
public:
  TVantraBoard() = default;
  TVantraBoard(int width, int height) { SetSize(width, height); }

  void SetSize(int width, int height);  // same size: only clears
  void Clear();
  int GetWidth() const { return Width; }
  int GetHeight() const { return Height; }
  int Pitch() const { return Height < 2 ? 0 : Width * 2; }  // bytes from row to row

  std::uint16_t* ScanLine(int y) { return Pixels.data() + static_cast<std::size_t>(y) * Width; }
  const std::uint16_t* ScanLine(int y) const { return Pixels.data() + static_cast<std::size_t>(y) * Width; }
  std::uint16_t Pixel(int x, int y) const { return ScanLine(y)[x]; }

  // Colour adjusted by Brightness, then reduced to 5-6-5 by truncation.
  void FillRect(const TVantraRect& rect, TVantraRgb color);
  void CopyRect(int x, int y, const TVantraRect& sourceRect, const TVantraBoard& source);

  int Brightness = 100;  // 0 black … 100 normal … 200 white

private:
  int Width = 0;
  int Height = 0;
  std::vector<std::uint16_t> Pixels;
};

// Clips a plain copy of sourceRect to (x, y): first against the source size,
// then against the destination. False when nothing is left to draw.
bool ClipCopy(int& x, int& y, TVantraRect& sourceRect, int sourceWidth, int sourceHeight,
              int destWidth, int destHeight);

// One byte channel under a board brightness (0–200).
std::uint8_t ApplyBrightness(std::uint8_t channel, int brightness);
