#include "graphics/VantraSheet.h"

#include "graphics/VantraBmp.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraResource.h"
#include "graphics/VantraXyz.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

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

// ---- Colour controls ----

void TVantraColorControl::Reset(bool update) { SetAll(100, 100, 100, 100, 0, 0, 0, 0, update); }

void TVantraColorControl::SetTone(int red, int green, int blue, int saturation, bool update) {
  SetAll(red, green, blue, saturation, FlashRed, FlashGreen, FlashBlue, FlashLevel, update);
}

void TVantraColorControl::SetFlash(int flashRed, int flashGreen, int flashBlue, int flashLevel, bool update) {
  SetAll(Red, Green, Blue, Saturation, flashRed, flashGreen, flashBlue, flashLevel, update);
}

void TVantraColorControl::SetAll(int red, int green, int blue, int saturation, int flashRed, int flashGreen,
                                 int flashBlue, int flashLevel, bool update) {
  if (red == Red && green == Green && blue == Blue && saturation == Saturation && flashRed == FlashRed &&
      flashGreen == FlashGreen && flashBlue == FlashBlue && flashLevel == FlashLevel)
    return;
  Red = red;
  Green = green;
  Blue = blue;
  Saturation = saturation;
  FlashRed = flashRed;
  FlashGreen = flashGreen;
  FlashBlue = flashBlue;
  FlashLevel = flashLevel;
  if (update) Sheet.BuildColorTable();
}

void TVantraColorControl::CopyValues(const TVantraColorControl& other) {
  Red = other.Red;
  Green = other.Green;
  Blue = other.Blue;
  Saturation = other.Saturation;
  FlashRed = other.FlashRed;
  FlashGreen = other.FlashGreen;
  FlashBlue = other.FlashBlue;
  FlashLevel = other.FlashLevel;
}

// ---- Sheets ----

TVantraSheet::TVantraSheet(TVantraSheet&& other) noexcept { *this = std::move(other); }

TVantraSheet& TVantraSheet::operator=(TVantraSheet&& other) noexcept {
  if (this == &other) return *this;
  Palette = other.Palette;
  ColorTable = other.ColorTable;
  Transparent = other.Transparent;
  Opacity = other.Opacity;
  AutoSize = other.AutoSize;
  Brightness = other.Brightness;
  OwnColor.CopyValues(other.OwnColor);
  ScreenColor.CopyValues(other.ScreenColor);
  Width = std::exchange(other.Width, 0);
  Height = std::exchange(other.Height, 0);
  Pixels = std::move(other.Pixels);
  other.Pixels.clear();
  return *this;
}

void TVantraSheet::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == Width && height == Height) return;
  Width = width;
  Height = height;
  Pixels.assign(static_cast<std::size_t>(width) * height, 0);
}

void TVantraSheet::Clear() {
  std::fill(Pixels.begin(), Pixels.end(), std::uint8_t{0});
  Palette.fill(TVantraPaletteEntry{});
  ColorTable.fill(0);
}

void TVantraSheet::FreePixels() {
  Pixels.clear();
  Pixels.shrink_to_fit();
  Width = 0;
  Height = 0;
}

void TVantraSheet::SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  if (index < 0 || index > 255) return;
  Palette[index].R = red;
  Palette[index].G = green;
  Palette[index].B = blue;
}

namespace {

int CombineControls(int own, int screen) { return std::clamp(own + screen - 100, 0, 200); }

int Tone(int channel, int tone, int maximum) {
  if (tone > 100) return channel + (tone - 100) * (maximum - channel) / 100;
  if (tone < 100) return tone * channel / 100;
  return channel;
}

struct TChannels {
  int R, G, B;
};

TChannels Flash(TChannels c, const TVantraColorControl& control) {
  const int level = control.FlashLevel;
  if (level <= 0) return c;
  return {(level * control.FlashRed + (32 - level) * c.R) / 32,
          (level * 2 * control.FlashGreen + (32 - level) * c.G) / 32,
          (level * control.FlashBlue + (32 - level) * c.B) / 32};
}

}  // namespace

void TVantraSheet::BuildColorTable() {
  const int tr = CombineControls(OwnColor.Red, ScreenColor.Red);
  const int tg = CombineControls(OwnColor.Green, ScreenColor.Green);
  const int tb = CombineControls(OwnColor.Blue, ScreenColor.Blue);
  const int ts = CombineControls(OwnColor.Saturation, ScreenColor.Saturation);
  for (int i = 0; i < 256; ++i) {
    TChannels c{Palette[i].R / 8, Palette[i].G / 4, Palette[i].B / 8};
    const int grey = (3 * c.R + 3 * c.G + c.B) / 10;
    if (ts < 100) {
      c = {(grey * (100 - ts) + c.R * ts) / 100, (2 * grey * (100 - ts) + c.G * ts) / 100,
           (grey * (100 - ts) + c.B * ts) / 100};
    } else if (ts > 100) {
      c = {std::clamp(((200 - ts) * c.R + (ts - 100) * (3 * c.R - 2 * grey)) / 100, 0, 31),
           std::clamp(((200 - ts) * c.G + (ts - 100) * (3 * c.G - 4 * grey)) / 100, 0, 63),
           std::clamp(((200 - ts) * c.B + (ts - 100) * (3 * c.B - 2 * grey)) / 100, 0, 31)};
    }
    c = {Tone(c.R, tr, 31), Tone(c.G, tg, 63), Tone(c.B, tb, 31)};
    c = Flash(c, OwnColor);
    c = Flash(c, ScreenColor);
    c = {Tone(c.R, Brightness, 31), Tone(c.G, Brightness, 63), Tone(c.B, Brightness, 31)};
    // Out-of-range control values must not spill into the neighbouring field.
    ColorTable[i] = static_cast<std::uint16_t>(std::clamp(c.R, 0, 31) * 2048 + std::clamp(c.G, 0, 63) * 32 +
                                               std::clamp(c.B, 0, 31));
  }
}

namespace {

struct THsv {
  double H;
  int S, V;
};

THsv ToHsv(int r, int g, int b) {
  const int high = std::max({r, g, b}), low = std::min({r, g, b});
  THsv hsv{0.0, high == 0 ? 0 : (high - low) * 255 / high, high};
  if (hsv.S == 0) return hsv;
  const double d = high - low;
  if (r == high)
    hsv.H = ((g - b) / d) * 60;
  else if (g == high)
    hsv.H = ((b - r) / d + 2) * 60;
  else
    hsv.H = ((r - g) / d + 4) * 60;
  if (hsv.H < 0) hsv.H += 360;
  return hsv;
}

std::uint8_t RoundChannel(double value) { return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0)); }

TVantraPaletteEntry FromHsv(const THsv& hsv, std::uint8_t flags) {
  const double v = hsv.V;
  if (hsv.S == 0) return {RoundChannel(v), RoundChannel(v), RoundChannel(v), flags};
  const double h = hsv.H / 60;
  const int k = static_cast<int>(std::trunc(h));
  const double f = h - k;
  const double l = hsv.S * v / 255;
  const double n = std::nearbyint(f * l);
  const double p = v - l;
  double r = v, g = v, b = v;
  switch (k) {
    case 0: r = v; g = p + n; b = p; break;
    case 1: r = v - n; g = v; b = p; break;
    case 2: r = p; g = v; b = p + n; break;
    case 3: r = p; g = v - n; b = v; break;
    case 4: r = p + n; g = p; b = v; break;
    case 5: r = v; g = p; b = v - n; break;
    default: break;
  }
  return {RoundChannel(r), RoundChannel(g), RoundChannel(b), flags};
}

}  // namespace

void TVantraSheet::RotateHue(int degrees) {
  if (degrees != 0) {
    for (int i = 1; i < 256; ++i) {
      THsv hsv = ToHsv(Palette[i].R, Palette[i].G, Palette[i].B);
      // Negative turns wrap the same way as positive ones.
      const long long turned = static_cast<long long>(std::nearbyint(hsv.H + degrees)) % 360;
      hsv.H = static_cast<double>(turned < 0 ? turned + 360 : turned);
      Palette[i] = FromHsv(hsv, Palette[i].Flags);
    }
  }
  BuildColorTable();
}

void TVantraSheet::LoadFromBitmap(const TVantraBitmap& bitmap, int originX, int originY) {
  if (bitmap.BitsPerPixel != 8) throw EVantraInvalidGraphic(kMsgInvalidImageFormat);
  if (AutoSize) SetSize(bitmap.Width, bitmap.Height);
  originX = std::max(originX, 0);
  originY = std::max(originY, 0);
  const int columns = std::min(bitmap.Width - originX, Width);
  const int rows = std::min(bitmap.Height - originY, Height);
  for (int y = 0; y < rows && columns > 0; ++y)
    std::memcpy(ScanLine(y), bitmap.ScanLine(originY + y) + originX, static_cast<std::size_t>(columns));
  for (int i = 0; i < 256; ++i)
    Palette[i] = TVantraPaletteEntry{bitmap.Palette[i].R, bitmap.Palette[i].G, bitmap.Palette[i].B, 0};
  BuildColorTable();
}

void TVantraSheet::LoadGuarded(bool raiseErrors, const std::function<void()>& load) {
  Clear();
  try {
    load();
  } catch (const std::exception&) {
    Clear();
    if (raiseErrors) throw;
  }
}

void TVantraSheet::LoadFromFile(const std::string& fileName, int originX, int originY, bool raiseErrors) {
  LoadGuarded(raiseErrors, [&] {
    if (fileName.empty()) return;
    TVantraBitmap bitmap;
    LoadImageFile(bitmap, fileName);
    LoadFromBitmap(bitmap, originX, originY);
  });
}

void TVantraSheet::LoadFromBitmapResource(const std::string& name, bool raiseErrors) {
  LoadGuarded(raiseErrors, [&] {
    auto data = FindProgramResource("BITMAP", name);
    if (data.empty()) throw EVantraError("Resource " + name + " not found");
    TVantraBitmap bitmap;
    ReadBmp(bitmap, data);
    LoadFromBitmap(bitmap, 0, 0);
  });
}

void TVantraSheet::LoadFromXyzResource(const std::string& name, bool raiseErrors) {
  LoadGuarded(raiseErrors, [&] {
    auto data = FindProgramResource("XYZ", name);
    if (data.empty()) throw EVantraError("Resource " + name + " not found");
    TVantraBitmap bitmap;
    ReadXyz(bitmap, data);
    LoadFromBitmap(bitmap, 0, 0);
  });
}

void TVantraSheet::Mirror() {
  for (int y = 0; y < Height; ++y) std::reverse(ScanLine(y), ScanLine(y) + Width);
}

namespace {

TVantraRect Intersect(const TVantraRect& rect, const TVantraRect& bounds) {
  return {std::max(rect.Left, bounds.Left), std::max(rect.Top, bounds.Top), std::min(rect.Right, bounds.Right),
          std::min(rect.Bottom, bounds.Bottom)};
}

}  // namespace

bool TVantraSheet::SameArea(const TVantraRect& a, const TVantraRect& b) const {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return false;
  if (a.Height() <= 0 || a.Width() <= 0) return true;
  // Both rectangles shrink by the same amounts so that their parts inside the
  // sheet still correspond.
  const int cutLeft = std::max({0, -a.Left, -b.Left});
  const int cutTop = std::max({0, -a.Top, -b.Top});
  const int cutRight = std::max({0, a.Right - Width, b.Right - Width});
  const int cutBottom = std::max({0, a.Bottom - Height, b.Bottom - Height});
  const int columns = a.Width() - cutLeft - cutRight, rows = a.Height() - cutTop - cutBottom;
  if (columns <= 0 || rows <= 0) return true;
  for (int y = 0; y < rows; ++y)
    if (std::memcmp(ScanLine(a.Top + cutTop + y) + a.Left + cutLeft, ScanLine(b.Top + cutTop + y) + b.Left + cutLeft,
                    static_cast<std::size_t>(columns)) != 0)
      return false;
  return true;
}

bool TVantraSheet::IsBlank(const TVantraRect& rect) const {
  const TVantraRect r = Intersect(rect, GetBounds());
  for (int y = r.Top; y < r.Bottom; ++y)
    if (std::any_of(ScanLine(y) + r.Left, ScanLine(y) + r.Right, [](std::uint8_t c) { return c != 0; }))
      return false;
  return true;
}

bool TVantraSheet::IsSolid(const TVantraRect& rect) const {
  const TVantraRect r = Intersect(rect, GetBounds());
  for (int y = r.Top; y < r.Bottom; ++y)
    if (std::any_of(ScanLine(y) + r.Left, ScanLine(y) + r.Right, [](std::uint8_t c) { return c == 0; }))
      return false;
  return true;
}

void TVantraSheet::FillRect(const TVantraRect& rect, std::uint8_t index) {
  const TVantraRect r = Intersect(rect, GetBounds());
  for (int y = r.Top; y < r.Bottom; ++y) std::fill(ScanLine(y) + r.Left, ScanLine(y) + r.Right, index);
}

void TVantraSheet::Draw(int x, int y, const TVantraRect& sourceRect, const TVantraSheet& source) {
  TVantraRect src = sourceRect;
  if (!ClipCopy(x, y, src, source.Width, source.Height, Width, Height)) return;
  for (int row = 0; row < src.Height(); ++row) {
    const std::uint8_t* from = source.ScanLine(src.Top + row) + src.Left;
    std::uint8_t* to = ScanLine(y + row) + x;
    if (!source.Transparent) {
      std::memmove(to, from, static_cast<std::size_t>(src.Width()));
      continue;
    }
    for (int i = 0; i < src.Width(); ++i)
      if (from[i] != 0) to[i] = from[i];
  }
}
