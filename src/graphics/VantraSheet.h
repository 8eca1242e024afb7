#pragma once
// Boards: 16-bit 5-6-5 drawing surfaces with a brightness that every drawing
// onto them follows. Sheets (8-bit paletted pictures) are drawn onto boards.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TVantraSheet;
struct TVantraBitmap;

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

  // Sheet drawing. Each takes the board's Brightness into the sheet's colour
  // table first and draws in the sheet's pixel mode (opaque, transparent or
  // blended); everything is clipped to both surfaces.
  void Draw(int x, int y, const TVantraRect& sourceRect, TVantraSheet& sheet);
  void StretchDraw(const TVantraRect& destRect, TVantraSheet& sheet, const TVantraRect& sourceRect);
  // (originX, originY), measured from the source rectangle's top-left, lands on (x, y).
  void DrawZoom(int x, int y, double zoom, int originX, int originY, const TVantraRect& sourceRect,
                TVantraSheet& sheet);
  // Angle in 256ths of a turn, clockwise on screen.
  void DrawRotate(int x, int y, double zoom, std::uint8_t angle, int originX, int originY,
                  const TVantraRect& sourceRect, TVantraSheet& sheet);
  // Each row shifted sideways along a sine: one wave spans period source rows.
  void DrawWave(int x, int y, double zoom, std::uint8_t phase, int period, int amplitude, int originX, int originY,
                const TVantraRect& sourceRect, TVantraSheet& sheet);

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

// One colour effect of a sheet: tone per channel and saturation (percent,
// 100 unchanged) and a flash towards a 5-bit colour (level 0..32).
class TVantraColorControl {
public:
  explicit TVantraColorControl(TVantraSheet& sheet) : Sheet(sheet) {}
  TVantraColorControl(const TVantraColorControl&) = delete;
  TVantraColorControl& operator=(const TVantraColorControl&) = delete;

  // Takes the other control's values, staying bound to its own sheet.
  void CopyValues(const TVantraColorControl& other);

  void Reset(bool update);
  // Each setter does nothing when no value changes; update rebuilds the sheet's table.
  void SetTone(int red, int green, int blue, int saturation, bool update);
  void SetFlash(int flashRed, int flashGreen, int flashBlue, int flashLevel, bool update);
  void SetAll(int red, int green, int blue, int saturation, int flashRed, int flashGreen, int flashBlue,
              int flashLevel, bool update);

  int Red = 100, Green = 100, Blue = 100, Saturation = 100;
  int FlashRed = 0, FlashGreen = 0, FlashBlue = 0, FlashLevel = 0;

private:
  TVantraSheet& Sheet;
};

struct TVantraPaletteEntry {
  std::uint8_t R = 0, G = 0, B = 0, Flags = 0;
};

// An 8-bit paletted picture with a table of ready 16-bit colours that holds
// its colour effects and the brightness of the board it was last drawn on.
class TVantraSheet {
public:
  TVantraSheet() = default;
  TVantraSheet(int width, int height) { SetSize(width, height); }
  TVantraSheet(const TVantraSheet&) = delete;
  TVantraSheet& operator=(const TVantraSheet&) = delete;
  // Movable so that sheets can live in containers; the colour controls stay
  // bound to the sheet that holds them.
  TVantraSheet(TVantraSheet&& other) noexcept;
  TVantraSheet& operator=(TVantraSheet&& other) noexcept;

  void SetSize(int width, int height);  // new pixels are index 0; same size: nothing
  void Clear();                         // pixels, palette and colour table to zero
  void FreePixels();
  int GetWidth() const { return Width; }
  int GetHeight() const { return Height; }
  TVantraRect GetBounds() const { return {0, 0, Width, Height}; }
  std::uint8_t* ScanLine(int y) { return Pixels.data() + static_cast<std::size_t>(y) * Width; }
  const std::uint8_t* ScanLine(int y) const { return Pixels.data() + static_cast<std::size_t>(y) * Width; }
  std::uint8_t Pixel(int x, int y) const { return ScanLine(y)[x]; }

  void SetPaletteEntry(int index, std::uint8_t red, std::uint8_t green, std::uint8_t blue);
  void BuildColorTable();
  void RotateHue(int degrees);

  // Copies the bitmap from (originX, originY) into the sheet's top-left;
  // only 8-bit bitmaps are accepted.
  void LoadFromBitmap(const TVantraBitmap& bitmap, int originX, int originY);
  // Failures leave the sheet cleared and are raised only when raiseErrors.
  void LoadFromFile(const std::string& fileName, int originX, int originY, bool raiseErrors);
  void LoadFromFile(const std::string& fileName, bool raiseErrors) { LoadFromFile(fileName, 0, 0, raiseErrors); }
  void LoadFromBitmapResource(const std::string& name, bool raiseErrors);
  void LoadFromXyzResource(const std::string& name, bool raiseErrors);

  void Mirror();
  // Rectangle tests on indices; rectangles are clipped to the sheet.
  bool SameArea(const TVantraRect& a, const TVantraRect& b) const;
  bool IsBlank(const TVantraRect& rect) const;
  bool IsSolid(const TVantraRect& rect) const;
  void FillRect(const TVantraRect& rect, std::uint8_t index);
  // Copies indices unchanged; a transparent source skips index 0.
  void Draw(int x, int y, const TVantraRect& sourceRect, const TVantraSheet& source);

  std::array<TVantraPaletteEntry, 256> Palette{};
  std::array<std::uint16_t, 256> ColorTable{};
  bool Transparent = false;  // index 0 is not drawn
  int Opacity = 255;         // below 255: blended, and index 0 is never drawn
  bool AutoSize = false;     // loading resizes the sheet to the picture
  int Brightness = 100;      // of the board the colour table was built for
  TVantraColorControl OwnColor{*this};
  TVantraColorControl ScreenColor{*this};

private:
  void LoadGuarded(bool raiseErrors, const std::function<void()>& load);

  int Width = 0;
  int Height = 0;
  std::vector<std::uint8_t> Pixels;
};
