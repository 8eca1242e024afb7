#include "world/LGD_Panorama.h"

#include <algorithm>
#include <cmath>

#include "world/LGD_Map.h"

namespace {

std::int64_t FlooredMod(std::int64_t value, std::int64_t size) {
  const std::int64_t r = value % size;
  return r < 0 ? r + size : r;
}

// Auto-scroll distance per frame for a speed setting, in 1/16 pixel.
int AutoScrollAmount(int speed) {
  const int s = std::clamp(std::abs(speed), 0, 8);
  return static_cast<int>(std::pow(2.0, s));
}

// The axis' fitted offset: a wide picture slides so that its far edge meets
// the view's far edge when the map is scrolled to its end.
std::int64_t FittedOffset(int mapTiles, int viewTiles, int pictureSize, int viewPixels, std::int64_t scroll) {
  const std::int64_t range = static_cast<std::int64_t>(mapTiles - viewTiles) * 16;
  const std::int64_t extra = std::max(0, pictureSize - viewPixels);
  const std::int64_t reach = std::min(range, extra);
  return range != 0 ? reach * scroll * 2 / range : 0;
}

}  // namespace

void TKelgPanorama::Clear() {
  ReadyValid = false;
  ++Generation;
  OffsetX = OffsetY = 0;
  Width = Height = 0;
  Sheet.Clear();
  Sheet.SetSize(0, 0);
}

void TKelgPanorama::LoadImage() {
  Width = Height = 0;
  ReadyValid = false;
  ++Generation;
  Sheet.Clear();
  Sheet.SetSize(0, 0);
  if (Map.UsesPanorama()) {
    const std::string name = Map.PanoramaFileName();
    if (name.empty()) {
      // A blank 16x16 picture: nothing shows, and no file is touched.
      Width = Height = 16;
      Sheet.SetSize(32, 32);
    } else {
      TVantraSheet picture;
      picture.AutoSize = true;
      picture.LoadFromFile(FindAsset(Folders, name, "Panorama", kImageExtensions), false);
      UsePicture(picture);
      return;
    }
  }
  FitToMap();
}

void TKelgPanorama::UsePicture(const TVantraSheet& picture) {
  Width = picture.GetWidth();
  Height = picture.GetHeight();
  if (Width < 1 || Height < 1) {
    Width = Height = 0;
    Sheet.SetSize(0, 0);
    FitToMap();
    return;
  }
  // The picture with its left strip repeated at the right and its top rows
  // at the bottom, so that no 16x16 read needs to wrap.
  Sheet.SetSize(Width + 16, Height + 16);
  for (int y = 0; y < Height + 16; ++y) {
    const std::uint8_t* source = picture.ScanLine(y % Height);
    std::uint8_t* out = Sheet.ScanLine(y);
    for (int x = 0; x < Width + 16; ++x) out[x] = source[x % Width];
  }
  Sheet.Palette = picture.Palette;
  Sheet.BuildColorTable();
  ReadyValid = false;
  ++Generation;
  FitToMap();
}

void TKelgPanorama::SetOffsetX(std::int64_t value) {
  OffsetX = Width == 0 ? 0 : FlooredMod(value, static_cast<std::int64_t>(Width) * 32);
}

void TKelgPanorama::SetOffsetY(std::int64_t value) {
  OffsetY = Height == 0 ? 0 : FlooredMod(value, static_cast<std::int64_t>(Height) * 32);
}

void TKelgPanorama::ScrollLeft(int amount) {
  if (Map.PanoramaHorizontalScroll()) SetOffsetX(OffsetX - amount);
  else FitToMap();
}

void TKelgPanorama::ScrollRight(int amount) {
  if (Map.PanoramaHorizontalScroll()) SetOffsetX(OffsetX + amount);
  else FitToMap();
}

void TKelgPanorama::ScrollUp(int amount) {
  if (Map.PanoramaVerticalScroll()) SetOffsetY(OffsetY - amount);
  else FitToMap();
}

void TKelgPanorama::ScrollDown(int amount) {
  if (Map.PanoramaVerticalScroll()) SetOffsetY(OffsetY + amount);
  else FitToMap();
}

void TKelgPanorama::FitToMap() {
  if (!Map.PanoramaHorizontalScroll() && !Map.LoopsHorizontally())
    OffsetX = FittedOffset(Map.Width(), 20, Width, 320, Map.ScrollX);
  if (!Map.PanoramaVerticalScroll() && !Map.LoopsVertically())
    OffsetY = FittedOffset(Map.Height(), 15, Height, 240, Map.ScrollY);
}

void TKelgPanorama::UpdateFrame() {
  if (Map.PanoramaHorizontalScroll() && Map.PanoramaHorizontalAuto()) {
    const int speed = Map.PanoramaHorizontalSpeed();
    if (speed < 0) ScrollRight(AutoScrollAmount(speed));
    else if (speed > 0) ScrollLeft(AutoScrollAmount(speed));
  }
  if (Map.PanoramaVerticalScroll() && Map.PanoramaVerticalAuto()) {
    const int speed = Map.PanoramaVerticalSpeed();
    if (speed < 0) ScrollDown(AutoScrollAmount(speed));
    else if (speed > 0) ScrollUp(AutoScrollAmount(speed));
  }
}

void TKelgPanorama::BeginFrame(const TVantraBoard& board) {
  if (Width < 1 || Height < 1) return;
  if (Sheet.Brightness != board.Brightness) {
    Sheet.Brightness = board.Brightness;
    Sheet.BuildColorTable();
  }
  if (ReadyValid && Sheet.ColorTable == ReadyTable) return;
  Ready.SetSize(Sheet.GetWidth(), Sheet.GetHeight());
  for (int y = 0; y < Sheet.GetHeight(); ++y) {
    const std::uint8_t* in = Sheet.ScanLine(y);
    std::uint16_t* out = Ready.ScanLine(y);
    for (int x = 0; x < Sheet.GetWidth(); ++x) out[x] = Sheet.ColorTable[in[x]];
  }
  ReadyTable = Sheet.ColorTable;
  ReadyValid = true;
  ++Generation;
}

int TKelgPanorama::SourceX(int cellX, int shakeX) const {
  return Width < 1 ? 0 : static_cast<int>(FlooredMod(OffsetX / 32 + Width + cellX - shakeX, Width));
}

int TKelgPanorama::SourceY(int cellY, int shakeY) const {
  return Height < 1 ? 0 : static_cast<int>(FlooredMod(OffsetY / 32 + Height + cellY - shakeY, Height));
}

void TKelgPanorama::DrawCell(TVantraBoard& board, int cellX, int cellY, int shakeX, int shakeY) {
  if (!HasPicture()) return;
  DrawSource(board, cellX, cellY, SourceX(cellX, shakeX), SourceY(cellY, shakeY));
}

void TKelgPanorama::DrawSource(TVantraBoard& board, int x, int y, int sourceX, int sourceY) {
  if (!HasPicture()) return;
  const TVantraRect source{sourceX, sourceY, sourceX + 16, sourceY + 16};
  if (ReadyValid && Sheet.ColorTable == ReadyTable && Sheet.Brightness == board.Brightness) {
    board.CopyRect(x, y, source, Ready);
    return;
  }
  board.Draw(x, y, source, Sheet);
}
