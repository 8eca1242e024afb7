#include "world/GR_CharSet.h"

#include <algorithm>

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
    Used.push_back(true);
    index = Count() - 1;
  }
  Sheets[index]->LoadFromBitmap(picture, 0, 0);
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
    Used.erase(Used.begin() + static_cast<std::ptrdiff_t>(i));
  }
}

void TKelCharSetGraphic::Clear() {
  Names.clear();
  Sheets.clear();
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
  if (split > 0) {
    sheet.Opacity = opacity;
    board.Draw(cellX, cellY, {left, top, left + kCellWidth, top + split}, sheet);
  }
  if (split < kCellHeight) {
    sheet.Opacity = opacity / 2;
    board.Draw(cellX, cellY + split, {left, top + split, left + kCellWidth, top + kCellHeight}, sheet);
  }
  sheet.Opacity = 255;
}
