#include "graphics/VantraSheet.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

namespace {
std::array<double, 256> MakeTable(double (*fn)(double)) {
  std::array<double, 256> table{};
  for (int k = 0; k < 256; ++k) table[k] = fn(k * std::numbers::pi / 128.0);
  return table;
}
}  // namespace

const std::array<double, 256> SinTable = MakeTable([](double a) { return std::sin(a); });
const std::array<double, 256> CosTable = MakeTable([](double a) { return std::cos(a); });

void TVantraBoard::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width != Width || height != Height) {
    Width = width;
    Height = height;
    Pixels.assign(static_cast<std::size_t>(width) * height, 0);
    return;
  }
  Clear();
}

void TVantraBoard::Clear() { std::fill(Pixels.begin(), Pixels.end(), std::uint16_t{0}); }

std::uint8_t ApplyBrightness(std::uint8_t channel, int brightness) {
  if (brightness < 100) return static_cast<std::uint8_t>(channel * brightness / 100);
  if (brightness > 100) return static_cast<std::uint8_t>(channel + (brightness - 100) * (255 - channel) / 100);
  return channel;
}

void TVantraBoard::FillRect(const TVantraRect& rect, TVantraRgb color) {
  const int left = std::max(rect.Left, 0), top = std::max(rect.Top, 0);
  const int right = std::min(rect.Right, Width), bottom = std::min(rect.Bottom, Height);
  if (left >= right || top >= bottom) return;
  const std::uint16_t pixel = PackRgb565(ApplyBrightness(color.R, Brightness),
                                         ApplyBrightness(color.G, Brightness),
                                         ApplyBrightness(color.B, Brightness));
  for (int y = top; y < bottom; ++y) std::fill(ScanLine(y) + left, ScanLine(y) + right, pixel);
}

bool ClipCopy(int& x, int& y, TVantraRect& src, int sourceWidth, int sourceHeight, int destWidth,
              int destHeight) {
  if (src.Left < 0) { x -= src.Left; src.Left = 0; }
  if (src.Top < 0) { y -= src.Top; src.Top = 0; }
  src.Right = std::min(src.Right, sourceWidth);
  src.Bottom = std::min(src.Bottom, sourceHeight);
  if (x < 0) { src.Left -= x; x = 0; }
  if (y < 0) { src.Top -= y; y = 0; }
  if (x + src.Width() > destWidth) src.Right = src.Left + (destWidth - x);
  if (y + src.Height() > destHeight) src.Bottom = src.Top + (destHeight - y);
  return src.Width() > 0 && src.Height() > 0;
}

void TVantraBoard::CopyRect(int x, int y, const TVantraRect& sourceRect, const TVantraBoard& source) {
  TVantraRect src = sourceRect;
  if (!ClipCopy(x, y, src, source.Width, source.Height, Width, Height)) return;
  for (int row = 0; row < src.Height(); ++row)
    std::memmove(ScanLine(y + row) + x, source.ScanLine(src.Top + row) + src.Left,
                 static_cast<std::size_t>(src.Width()) * 2);
}
