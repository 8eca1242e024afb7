#include "world/GR_CharSet.h"

#include <algorithm>
#include <cstring>

#include "graphics/VantraImage.h"

namespace {

constexpr int kCellWidth = 24;
constexpr int kCellHeight = 32;
constexpr std::size_t kKeptUnused = 20;

}  // namespace

int TKelCharSetGraphic::IndexOf(const std::string& name) const {
  const auto found = std::find(Names.begin(), Names.end(), name);
  return found == Names.end() ? -1 : static_cast<int>(found - Names.begin());
}

int TKelCharSetGraphic::Load(const std::string& name) {
  int index = IndexOf(name);
  if (index < 0) {
    auto sheet = std::make_unique<TVantraSheet>(kCharSheetWidth, kCharSheetHeight);
    sheet->LoadFromFile(FindAsset(Folders, name, "CharSet", kImageExtensions), false);
    sheet->SetSize(kCharSheetWidth, kCharSheetHeight);
    Names.push_back(name);
    Sheets.push_back(std::move(sheet));
    ReadySheets.push_back(std::make_unique<TReadySheet>());
    Used.push_back(true);
    index = Count() - 1;
  }
  Used[index] = true;
  return index;
}

int TKelCharSetGraphic::LoadPicture(const std::string& name, const TVantraBitmap& picture) {
  int index = IndexOf(name);
  if (index < 0) {
    Names.push_back(name);
    Sheets.push_back(std::make_unique<TVantraSheet>(kCharSheetWidth, kCharSheetHeight));
    ReadySheets.push_back(std::make_unique<TReadySheet>());
    Used.push_back(true);
    index = Count() - 1;
  }
  Sheets[index]->LoadFromBitmap(picture, 0, 0);
  *ReadySheets[index] = TReadySheet();
  Used[index] = true;
  return index;
}

void TKelCharSetGraphic::ClearUsed() { std::fill(Used.begin(), Used.end(), false); }

void TKelCharSetGraphic::Purge() {
  std::size_t i = 0;
  while (i + 1 < Names.size()) {
    if (Used[i]) {
      ++i;
      continue;
    }
    if (Names.size() < kKeptUnused) break;
    Names.erase(Names.begin() + static_cast<std::ptrdiff_t>(i));
    Sheets.erase(Sheets.begin() + static_cast<std::ptrdiff_t>(i));
    ReadySheets.erase(ReadySheets.begin() + static_cast<std::ptrdiff_t>(i));
    Used.erase(Used.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TKelCharSetGraphic::Clear() {
  Names.clear();
  Sheets.clear();
  ReadySheets.clear();
  Used.clear();
  ColorKey = false;
  Transparency = 0;
  Grey = false;
}

void TKelCharSetGraphic::DrawCharacter(TVantraBoard& board, int x, int y, int bush, int frame, int facing,
                                       int charIndex, int sheetIndex) {
  if (sheetIndex < 0 || sheetIndex >= Count()) return;
  TVantraSheet& sheet = *Sheets[sheetIndex];
  sheet.Transparent = ColorKey;
  sheet.OwnColor.SetTone(100, 100, 100, Grey ? 0 : 100, true);
  const int column = frame == 3 ? 1 : std::clamp(frame, 0, 2);
  const int index = std::clamp(charIndex, 0, 7);
  const int left = (index % 4) * 72 + column * kCellWidth;
  const int top = (index / 4) * 128 + std::clamp(facing, 0, 3) * kCellHeight;
  const int opacity = 255 - 30 * std::clamp(Transparency, 0, 7);
  const int cellX = x - kCellWidth / 2, cellY = y - kCellHeight;
  // Rows below the split are sunk into the bush: drawn at half opacity.
  int split = kCellHeight;
  if (bush == 1) split = 21;
  else if (bush == 2) split = 16;
  else if (bush >= 3) split = 0;
  if (sheet.Brightness != board.Brightness) {
    sheet.Brightness = board.Brightness;
    sheet.BuildColorTable();
  }
  if (split > 0) {
    const TVantraRect upper{left, top, left + kCellWidth, top + split};
    TReadySheet* ready = opacity >= 255 ? ReadyFor(sheetIndex) : nullptr;
    if (ready != nullptr) {
      BlitReady(board, cellX, cellY, upper, *ready, sheet.Transparent);
    } else {
      sheet.Opacity = opacity;
      board.Draw(cellX, cellY, upper, sheet);
    }
  }
  if (split < kCellHeight) {
    sheet.Opacity = opacity / 2;
    board.Draw(cellX, cellY + split, {left, top + split, left + kCellWidth, top + kCellHeight}, sheet);
  }
  sheet.Opacity = 255;
}

TKelCharSetGraphic::TReadySheet* TKelCharSetGraphic::ReadyFor(int index) {
  const TVantraSheet& sheet = *Sheets[index];
  TReadySheet& ready = *ReadySheets[index];
  if (ready.Valid && sheet.ColorTable == ready.Table) return &ready;
  if (!(ready.HasPending && sheet.ColorTable == ready.Pending)) {
    ready.Pending = sheet.ColorTable;
    ready.HasPending = true;
    return nullptr;
  }
  const int width = sheet.GetWidth(), height = sheet.GetHeight();
  ready.Pixels.SetSize(width, height);
  ready.Mask.assign(static_cast<std::size_t>(width) * height, 0);
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* in = sheet.ScanLine(y);
    std::uint16_t* out = ready.Pixels.ScanLine(y);
    std::uint16_t* mask = ready.Mask.data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      out[x] = sheet.ColorTable[in[x]];
      mask[x] = in[x] != 0 ? 0xFFFF : 0;
    }
  }
  ready.Table = sheet.ColorTable;
  ready.Valid = true;
  ready.HasPending = false;
  return &ready;
}

void TKelCharSetGraphic::BlitReady(TVantraBoard& board, int x, int y, const TVantraRect& source,
                                   const TReadySheet& ready, bool keyed) {
  TVantraRect src = source;
  if (!ClipCopy(x, y, src, ready.Pixels.GetWidth(), ready.Pixels.GetHeight(), board.GetWidth(), board.GetHeight()))
    return;
  const int count = src.Width();
  for (int row = 0; row < src.Height(); ++row) {
    const std::uint16_t* in = ready.Pixels.ScanLine(src.Top + row) + src.Left;
    std::uint16_t* out = board.ScanLine(y + row) + x;
    if (!keyed) {
      std::memcpy(out, in, static_cast<std::size_t>(count) * 2);
      continue;
    }
    const std::uint16_t* mask =
        ready.Mask.data() + static_cast<std::size_t>(src.Top + row) * ready.Pixels.GetWidth() + src.Left;
    if (count == kCellWidth) {
      // A whole cell row through local copies: no aliasing, so it vectorises.
      std::uint16_t pixels[kCellWidth], source[kCellWidth], keep[kCellWidth];
      std::memcpy(pixels, out, sizeof pixels);
      std::memcpy(source, in, sizeof source);
      std::memcpy(keep, mask, sizeof keep);
      for (int k = 0; k < kCellWidth; ++k)
        pixels[k] = static_cast<std::uint16_t>((source[k] & keep[k]) | (pixels[k] & ~keep[k]));
      std::memcpy(out, pixels, sizeof pixels);
      continue;
    }
    int i = 0;
    // Four pixels a word, without branches.
    for (; i + 4 <= count; i += 4) {
      std::uint64_t pixels, keep, target;
      std::memcpy(&pixels, in + i, 8);
      std::memcpy(&keep, mask + i, 8);
      std::memcpy(&target, out + i, 8);
      if (keep == 0) continue;
      target = (pixels & keep) | (target & ~keep);
      std::memcpy(out + i, &target, 8);
    }
    for (; i < count; ++i) out[i] = static_cast<std::uint16_t>((in[i] & mask[i]) | (out[i] & ~mask[i]));
  }
}
