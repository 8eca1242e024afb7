// The board's operations that draw a sheet: plain, stretched, zoomed, turned
// and waved, each in the sheet's pixel mode.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "graphics/VantraSheet.h"

namespace {

// The three fields of a 5-6-5 pixel spread over 16-bit lanes of a 64-bit
// word, so that one multiplication weighs all three without carries.
std::uint64_t Spread(std::uint16_t pixel) {
  return (pixel & 0x001Fu) | (static_cast<std::uint64_t>(pixel & 0x07E0u) << 11) |
         (static_cast<std::uint64_t>(pixel & 0xF800u) << 21);
}

std::uint16_t Gather(std::uint64_t lanes) {
  return static_cast<std::uint16_t>((lanes & 0x1Fu) | ((lanes >> 11) & 0x07E0u) | ((lanes >> 21) & 0xF800u));
}

constexpr std::uint64_t kLaneMask = 0x0000'001F'003F'001Full;

// How one sheet index becomes a board pixel, prepared once per drawing.
class TPixelWriter {
public:
  explicit TPixelWriter(const TVantraSheet& sheet)
      : Table(sheet.ColorTable.data()), Blended(sheet.Opacity < 255), SkipZero(sheet.Opacity < 255 || sheet.Transparent) {
    if (!Blended) return;
    // new := (src·a + dst·(257 − a)) div 256 per field, a = Opacity + 1.
    const int alpha = std::max(sheet.Opacity, 0) + 1;
    DestWeight = static_cast<std::uint64_t>(257 - alpha);
    for (int i = 0; i < 256; ++i) SourceTerm[i] = Spread(Table[i]) * static_cast<std::uint64_t>(alpha);
  }

  void Put(std::uint16_t& pixel, std::uint8_t index) const {
    if (SkipZero && index == 0) return;
    pixel = Blended ? Blend(pixel, index) : Table[index];
  }

  // A run of indices onto consecutive board pixels.
  void PutRow(std::uint16_t* out, const std::uint8_t* in, int count) const {
    if (!SkipZero) {
      for (int i = 0; i < count; ++i) out[i] = Table[in[i]];
      return;
    }
    int i = 0;
    // Pictures have wide areas of index 0: pass over them eight at a time.
    for (; i + 8 <= count; i += 8) {
      std::uint64_t group;
      std::memcpy(&group, in + i, sizeof group);
      if (group == 0) continue;
      for (int k = i; k < i + 8; ++k) PutSkippingZero(out[k], in[k]);
    }
    for (; i < count; ++i) PutSkippingZero(out[i], in[i]);
  }

private:
  void PutSkippingZero(std::uint16_t& pixel, std::uint8_t index) const {
    if (index == 0) return;
    pixel = Blended ? Blend(pixel, index) : Table[index];
  }

  std::uint16_t Blend(std::uint16_t pixel, std::uint8_t index) const {
    return Gather(((SourceTerm[index] + Spread(pixel) * DestWeight) >> 8) & kLaneMask);
  }

  const std::uint16_t* Table;
  bool Blended;
  bool SkipZero;
  std::uint64_t DestWeight = 0;
  std::uint64_t SourceTerm[256] = {};
};

void SyncBrightness(const TVantraBoard& board, TVantraSheet& sheet) {
  if (sheet.Brightness == board.Brightness) return;
  sheet.Brightness = board.Brightness;
  sheet.BuildColorTable();
}

int RoundToEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void TVantraBoard::Draw(int x, int y, const TVantraRect& sourceRect, TVantraSheet& sheet) {
  TVantraRect src = sourceRect;
  if (!ClipCopy(x, y, src, sheet.GetWidth(), sheet.GetHeight(), Width, Height)) return;
  SyncBrightness(*this, sheet);
  const TPixelWriter writer(sheet);
  for (int row = 0; row < src.Height(); ++row)
    writer.PutRow(ScanLine(y + row) + x, sheet.ScanLine(src.Top + row) + src.Left, src.Width());
}

void TVantraBoard::StretchDraw(const TVantraRect& destRect, TVantraSheet& sheet, const TVantraRect& sourceRect) {
  const long long srcW = sourceRect.Width(), srcH = sourceRect.Height();
  const long long destW = destRect.Width(), destH = destRect.Height();
  if (srcW == destW && srcH == destH) {
    Draw(destRect.Left, destRect.Top, sourceRect, sheet);
    return;
  }
  if (srcW <= 0 || srcH <= 0 || destW <= 0 || destH <= 0) return;
  // Source column of every visible destination column, or −1 where it falls
  // outside the sheet: clipping either side keeps the mapping intact.
  const int left = std::max(destRect.Left, 0), right = std::min(destRect.Right, Width);
  const int top = std::max(destRect.Top, 0), bottom = std::min(destRect.Bottom, Height);
  if (left >= right || top >= bottom) return;
  std::vector<int> columns(static_cast<std::size_t>(right - left));
  bool anyColumn = false;
  for (int x = left; x < right; ++x) {
    const long long sx = sourceRect.Left + (x - destRect.Left) * srcW / destW;
    columns[x - left] = sx >= 0 && sx < sheet.GetWidth() ? static_cast<int>(sx) : -1;
    anyColumn = anyColumn || columns[x - left] >= 0;
  }
  if (!anyColumn) return;
  SyncBrightness(*this, sheet);
  const TPixelWriter writer(sheet);
  for (int y = top; y < bottom; ++y) {
    const long long sy = sourceRect.Top + (y - destRect.Top) * srcH / destH;
    if (sy < 0 || sy >= sheet.GetHeight()) continue;
    const std::uint8_t* in = sheet.ScanLine(static_cast<int>(sy));
    std::uint16_t* out = ScanLine(y);
    for (int x = left; x < right; ++x)
      if (columns[x - left] >= 0) writer.Put(out[x], in[columns[x - left]]);
  }
}

void TVantraBoard::DrawZoom(int x, int y, double zoom, int originX, int originY, const TVantraRect& sourceRect,
                            TVantraSheet& sheet) {
  if (zoom == 1.0) {
    Draw(x - originX, y - originY, sourceRect, sheet);
    return;
  }
  const TVantraRect dest{RoundToEven(x - zoom * originX), RoundToEven(y - zoom * originY),
                         RoundToEven(x + zoom * originX), RoundToEven(y + zoom * originY)};
  StretchDraw(dest, sheet, sourceRect);
}

void TVantraBoard::DrawRotate(int x, int y, double zoom, std::uint8_t angle, int originX, int originY,
                              const TVantraRect& sourceRect, TVantraSheet& sheet) {
  if (!(zoom > 0)) return;
  const double s = SinTable[angle], c = CosTable[angle];
  const double w = sourceRect.Width(), h = sourceRect.Height();
  const double x0 = std::trunc(x - zoom * (originX * c - originY * s));
  const double y0 = std::trunc(y - zoom * (originX * s + originY * c));
  const double x1 = std::trunc(x0 + zoom * w * c), y1 = std::trunc(y0 + zoom * w * s);
  const double x2 = std::trunc(x0 - zoom * h * s), y2 = std::trunc(y0 + zoom * h * c);
  const double x3 = std::trunc(x2 + zoom * w * c), y3 = std::trunc(y2 + zoom * w * s);
  const double boxLeft = std::max(std::min({x0, x1, x2, x3}), 0.0);
  const double boxTop = std::max(std::min({y0, y1, y2, y3}), 0.0);
  const double boxRight = std::min(std::max({x0, x1, x2, x3}), static_cast<double>(Width));
  const double boxBottom = std::min(std::max({y0, y1, y2, y3}), static_cast<double>(Height));
  if (boxLeft >= boxRight || boxTop >= boxBottom) return;
  const int left = static_cast<int>(boxLeft), top = static_cast<int>(boxTop);
  const int right = static_cast<int>(boxRight), bottom = static_cast<int>(boxBottom);

  // The source rectangle limited to the sheet, so every hit is a real pixel.
  const long long srcLeft = std::max(sourceRect.Left, 0), srcTop = std::max(sourceRect.Top, 0);
  const long long srcRight = std::min(sourceRect.Right, sheet.GetWidth());
  const long long srcBottom = std::min(sourceRect.Bottom, sheet.GetHeight());
  if (srcLeft >= srcRight || srcTop >= srcBottom) return;

  SyncBrightness(*this, sheet);
  const TPixelWriter writer(sheet);
  const long long du = static_cast<long long>(std::trunc(c * 65536 / zoom));
  const long long dv = static_cast<long long>(std::trunc(-s * 65536 / zoom));
  const double dx = left - x;
  for (int row = top; row < bottom; ++row) {
    const double dy = row - y;
    long long u = static_cast<long long>(std::trunc(((dx * c + dy * s) / zoom + originX + sourceRect.Left) * 65536));
    long long v = static_cast<long long>(std::trunc(((-s * dx + dy * c) / zoom + originY + sourceRect.Top) * 65536));
    std::uint16_t* out = ScanLine(row);
    for (int col = left; col < right; ++col, u += du, v += dv) {
      const long long sx = u >> 16, sy = v >> 16;
      if (sx >= srcLeft && sx < srcRight && sy >= srcTop && sy < srcBottom)
        writer.Put(out[col], sheet.ScanLine(static_cast<int>(sy))[sx]);
    }
  }
}

void TVantraBoard::DrawWave(int x, int y, double zoom, std::uint8_t phase, int period, int amplitude, int originX,
                            int originY, const TVantraRect& sourceRect, TVantraSheet& sheet) {
  if (period <= 0) return;
  const int w = sourceRect.Width(), h = sourceRect.Height();
  const int reachX = static_cast<int>(std::trunc(originX * zoom));
  const int reachY = static_cast<int>(std::trunc(originY * zoom));
  const int left = x - reachX, top = y - reachY;
  const int destW = static_cast<int>(std::trunc(zoom * w)), destH = static_cast<int>(std::trunc(zoom * h));
  // The scale box spans twice the origin's reach; the column and row maps divide by it.
  const long long boxW = 2LL * reachX, boxH = 2LL * reachY;
  if (w <= 0 || h <= 0 || destW <= 0 || destH <= 0 || boxW <= 0 || boxH <= 0) return;

  std::vector<int> columns(static_cast<std::size_t>(destW));
  for (int i = 0; i < destW; ++i) {
    const int sx = sourceRect.Left + static_cast<int>(std::min<long long>(w - 1, w * static_cast<long long>(i) / boxW));
    columns[i] = sx >= 0 && sx < sheet.GetWidth() ? sx : -1;
  }
  SyncBrightness(*this, sheet);
  const TPixelWriter writer(sheet);
  const int firstRow = std::max(0, -top), lastRow = std::min(destH, Height - top);
  for (int j = firstRow; j < lastRow; ++j) {
    const int sy = sourceRect.Top + static_cast<int>(std::min<long long>(h - 1, h * static_cast<long long>(j) / boxH));
    if (sy < 0 || sy >= sheet.GetHeight()) continue;
    const long long step = static_cast<long long>(h) * j * 256 / destH / period;
    const int shift = static_cast<int>(std::trunc(zoom * SinTable[(phase + step) % 256] * amplitude));
    const int rowLeft = left + shift;
    const int first = std::max(0, -rowLeft), last = std::min(destW, Width - rowLeft);
    const std::uint8_t* in = sheet.ScanLine(sy);
    std::uint16_t* out = ScanLine(top + j);
    for (int i = first; i < last; ++i)
      if (columns[i] >= 0) writer.Put(out[rowLeft + i], in[columns[i]]);
  }
}
