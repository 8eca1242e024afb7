#include "world/GR_ChipSet.h"

#include <algorithm>
#include <cstring>

#include "graphics/VantraImage.h"
#include "world/TileIds.h"

namespace {

constexpr int kQuarterTL = 0, kQuarterTR = 1, kQuarterBL = 2, kQuarterBR = 3;

// Which sides of a tile border on something else, and which quarters show
// an inner corner, as the editor encoded them in the combination.
struct TBorders {
  bool Left = false, Top = false, Right = false, Bottom = false;
  std::array<bool, 4> Inner{};
};

TBorders DecodeCombination(int combination) {
  TBorders b;
  const int c = combination;
  if (c < 16) {
    b.Inner[kQuarterTL] = c & 1;
    b.Inner[kQuarterTR] = c & 2;
    b.Inner[kQuarterBR] = c & 4;
    b.Inner[kQuarterBL] = c & 8;
  } else if (c < 20) {
    b.Left = true;
    b.Inner[kQuarterTR] = (c - 16) & 1;
    b.Inner[kQuarterBR] = (c - 16) & 2;
  } else if (c < 24) {
    b.Top = true;
    b.Inner[kQuarterBR] = (c - 20) & 1;
    b.Inner[kQuarterBL] = (c - 20) & 2;
  } else if (c < 28) {
    b.Right = true;
    b.Inner[kQuarterBL] = (c - 24) & 1;
    b.Inner[kQuarterTL] = (c - 24) & 2;
  } else if (c < 32) {
    b.Bottom = true;
    b.Inner[kQuarterTL] = (c - 28) & 1;
    b.Inner[kQuarterTR] = (c - 28) & 2;
  } else {
    switch (c) {
      case 32: b.Left = b.Right = true; break;
      case 33: b.Top = b.Bottom = true; break;
      case 34: case 35: b.Top = b.Left = true; b.Inner[kQuarterBR] = c == 35; break;
      case 36: case 37: b.Top = b.Right = true; b.Inner[kQuarterBL] = c == 37; break;
      case 38: case 39: b.Bottom = b.Right = true; b.Inner[kQuarterTL] = c == 39; break;
      case 40: case 41: b.Bottom = b.Left = true; b.Inner[kQuarterTR] = c == 41; break;
      case 42: b.Top = b.Left = b.Right = true; break;
      case 43: b.Top = b.Left = b.Bottom = true; break;
      case 44: b.Left = b.Bottom = b.Right = true; break;
      case 45: b.Top = b.Right = b.Bottom = true; break;
      case 46: b.Left = b.Top = b.Right = b.Bottom = true; break;
      default: break;  // 47, 48 and 49 border nothing
    }
  }
  return b;
}

// Row, column or both choose the 3x3 cell of an autotile along one axis.
int AutotileCell(bool nearSide, bool farSide, int half) {
  if (nearSide && farSide) return half == 0 ? 0 : 2;
  if (nearSide) return 0;
  if (farSide) return 2;
  return 1;
}

constexpr std::array<std::array<int, 2>, 12> kAutotileOrigins{{
    {0, 128}, {48, 128}, {0, 192}, {48, 192}, {96, 0}, {144, 0},
    {96, 64}, {144, 64}, {96, 128}, {144, 128}, {96, 192}, {144, 192},
}};

TVantraRect Area(int x, int y, int width, int height) { return {x, y, x + width, y + height}; }

}  // namespace

TKelTileQuarters WaterQuarters(int kind, int cornerFlags, int combination, int step) {
  TKelTileQuarters q;
  const TBorders b = DecodeCombination(combination);
  for (int quarter = 0; quarter < 4; ++quarter) {
    const int h = quarter & 1, v = quarter >> 1;
    int x = h, y = v;
    if (combination == 49) {
      if (kind == 1) x = 6 + h;
      if (kind == 2) y = 12 + v;
    } else {
      const bool ownH = h == 0 ? b.Left : b.Right;
      const bool ownV = v == 0 ? b.Top : b.Bottom;
      int piece = 4;
      if (ownH && ownV) piece = 0;
      else if (ownH) piece = 1;
      else if (ownV) piece = 2;
      else if (b.Inner[quarter]) piece = 3;
      if (piece < 4) {
        x = kind == 1 ? 6 + h : h;
        y = 2 * piece + v;
      } else {
        y = (kind == 2 ? 14 : 8) + v;
      }
    }
    if (cornerFlags & (1 << quarter)) {
      x = h;
      y = (kind == 2 ? 12 : 10) + v;
    }
    q.X[quarter] = x + step * 2;
    q.Y[quarter] = y;
  }
  return q;
}

TKelTileQuarters AutotileQuarters(int combination) {
  TKelTileQuarters q;
  const TBorders b = DecodeCombination(combination);
  for (int quarter = 0; quarter < 4; ++quarter) {
    const int h = quarter & 1, v = quarter >> 1;
    if (combination == 49) {
      q.X[quarter] = h;
      q.Y[quarter] = v;
    } else if (b.Inner[quarter]) {
      q.X[quarter] = 4 + h;
      q.Y[quarter] = v;
    } else {
      q.X[quarter] = 2 * AutotileCell(b.Left, b.Right, h) + h;
      q.Y[quarter] = 2 + 2 * AutotileCell(b.Top, b.Bottom, v) + v;
    }
  }
  return q;
}

int WaterAnimationStep(int frameCount, int animationType, int animationSpeed) {
  const int c = frameCount / (animationSpeed != 0 ? 12 : 24);
  if (animationType == 0) {
    static constexpr int kPingPong[4] = {0, 1, 2, 1};
    return kPingPong[c % 4];
  }
  return c % 3;
}

void TKelChipSetGraphic::SetChipSet(const TKelChipSetItem* record) {
  if (record != ChipSet) ClearCache();  // its animation settings may differ
  ChipSet = record;
  if (record == nullptr || record->GraphicName == FileName) return;
  FileName = record->GraphicName;
  Sheet.Clear();
  Sheet.SetSize(kChipSheetWidth, kChipSheetHeight);
  const std::string path = FindAsset(Folders, FileName, "ChipSet", kImageExtensions);
  Sheet.LoadFromFile(path, false);
  Sheet.SetSize(kChipSheetWidth, kChipSheetHeight);
  ComputeFlags();
  ClearCache();
}

void TKelChipSetGraphic::SetChipSetPicture(const TKelChipSetItem* record, const TVantraBitmap& picture) {
  ChipSet = record;
  FileName = record != nullptr ? record->GraphicName : std::string();
  Sheet.Clear();
  Sheet.SetSize(kChipSheetWidth, kChipSheetHeight);
  Sheet.LoadFromBitmap(picture, 0, 0);
  ComputeFlags();
  ClearCache();
}

void TKelChipSetGraphic::ComputeFlags() {
  for (int kind = 0; kind < 3; ++kind) {
    Chips[kind] = {0, 0, false, Sheet.IsSolid(Area(0, 0, 96, 64)) && Sheet.IsSolid(Area(0, 64, 48, 64))};
  }
  for (int n = 0; n < 3; ++n) {
    const int x = 48 + n * 16;
    Chips[3 + n] = {x / 8, 8, false, Sheet.IsSolid(Area(x, 64, 16, 64))};
  }
  for (int n = 0; n < 12; ++n) {
    const auto [x, y] = kAutotileOrigins[n];
    Chips[6 + n] = {x / 8, y / 8, false, Sheet.IsSolid(Area(x, y, 48, 64))};
  }
  for (int k = 0; k < kPlainLowerCount; ++k) {
    const int x = 192 + (k / 96) * 96 + (k % 6) * 16, y = ((k % 96) / 6) * 16;
    const TVantraRect cell = Area(x, y, 16, 16);
    Chips[18 + k] = {x / 8, y / 8, Sheet.IsBlank(cell), Sheet.IsSolid(cell)};
  }
  for (int u = 0; u < kUpperTileCount; ++u) {
    const int x = 288 + ((u + 48) / 96) * 96 + (u % 6) * 16, y = (((u + 48) % 96) / 6) * 16;
    UpperChips[u] = {x / 8, y / 8, Sheet.IsBlank(Area(x, y, 16, 16)), false};
  }
}

void TKelChipSetGraphic::SetTransparency(int level) { Sheet.Opacity = 255 - 30 * std::clamp(level, 0, 7); }

bool TKelChipSetGraphic::IsOpaque(int tileId) const {
  const int chip = LowerChipIndex(tileId);
  return chip >= 0 && Chips[chip].Opaque;
}

void TKelChipSetGraphic::AddQuarters(TLayout& layout, int originX, int originY, const TKelTileQuarters& q) const {
  const bool contiguous = q.X[1] == q.X[0] + 1 && q.Y[1] == q.Y[0] && q.X[2] == q.X[0] && q.Y[2] == q.Y[0] + 1 &&
                          q.X[3] == q.X[0] + 1 && q.Y[3] == q.Y[0] + 1;
  if (contiguous) {
    layout.Pieces[layout.Count++] = {Area(originX + q.X[0] * 8, originY + q.Y[0] * 8, 16, 16), 0, 0};
    return;
  }
  for (int quarter = 0; quarter < 4; ++quarter)
    layout.Pieces[layout.Count++] = {Area(originX + q.X[quarter] * 8, originY + q.Y[quarter] * 8, 8, 8),
                                     (quarter & 1) * 8, (quarter >> 1) * 8};
}

bool TKelChipSetGraphic::Layout(int tileId, int frameCount, TLayout& layout, bool skipBlank) const {
  if (tileId < 0 || tileId >= kNoTileId) return false;
  if (tileId < kAnimatedTileBase) {
    const int step = WaterAnimationStep(frameCount, ChipSet->WaterAnimation, ChipSet->AnimationSpeed);
    AddQuarters(layout, 0, 0, WaterQuarters(tileId / 1000, (tileId % 1000) / 50, tileId % 50, step));
    return true;
  }
  if (tileId >= kUpperTileBase) {
    const TKelChip& c = UpperChips[UpperChipIndex(tileId)];
    if (skipBlank && c.Transparent && Sheet.Transparent) return false;
    layout.Pieces[layout.Count++] = {Area(c.OriginX * 8, c.OriginY * 8, 16, 16), 0, 0};
    return true;
  }
  const int chip = LowerChipIndex(tileId);
  if (chip < 0) return false;
  const TKelChip& c = Chips[chip];
  if (tileId < kAutotileBase) {
    layout.Pieces[layout.Count++] = {Area(c.OriginX * 8, c.OriginY * 8 + ((frameCount / 6) % 4) * 16, 16, 16), 0, 0};
  } else if (tileId < kPlainTileBase) {
    AddQuarters(layout, c.OriginX * 8, c.OriginY * 8, AutotileQuarters(tileId % 50));
  } else {
    if (skipBlank && c.Transparent && Sheet.Transparent) return false;
    layout.Pieces[layout.Count++] = {Area(c.OriginX * 8, c.OriginY * 8, 16, 16), 0, 0};
  }
  return true;
}

int TKelChipSetGraphic::TilePhase(int tileId, int frameCount) const {
  if (tileId < kAnimatedTileBase)
    return WaterAnimationStep(frameCount, ChipSet->WaterAnimation, ChipSet->AnimationSpeed);
  if (tileId < kAutotileBase) return (frameCount / 6) % 4;
  return 0;
}

void TKelChipSetGraphic::DrawTile(TVantraBoard& board, int x, int y, int frameCount, int tileId, int size) {
  if (frameCount < 0 || ChipSet == nullptr) throw EKelAssertion("GR_ChipSet", __LINE__);
  if (tileId < 0 || tileId >= kNoTileId) return;
  if (CacheReady && size == 16 && Sheet.Opacity >= 255 && board.Brightness == Sheet.Brightness) {
    DrawCached(board, x, y, tileId, frameCount);
    return;
  }
  TLayout layout;
  if (!Layout(tileId, frameCount, layout, true)) return;
  for (int i = 0; i < layout.Count; ++i) {
    const TPiece& piece = layout.Pieces[i];
    const int px = x + piece.X * size / 16, py = y + piece.Y * size / 16;
    const int length = piece.Source.Width() * size / 16;
    if (length == piece.Source.Width()) board.Draw(px, py, piece.Source, Sheet);
    else board.StretchDraw(Area(px, py, length, length), Sheet, piece.Source);
  }
}

void TKelChipSetGraphic::ClearCache() {
  ++Generation;
  CacheSlots.assign(kNoTileId, -1);
  CacheTiles.clear();
}

void TKelChipSetGraphic::BeginCachedFrame(const TVantraBoard& board) {
  if (CacheSlots.empty()) ClearCache();
  if (Sheet.Brightness != board.Brightness) {
    Sheet.Brightness = board.Brightness;
    Sheet.BuildColorTable();
  }
  if (Sheet.ColorTable != CacheTable) {
    CacheTable = Sheet.ColorTable;
    ++TableStamp;
  }
  CacheReady = true;
}

void TKelChipSetGraphic::DrawCached(TVantraBoard& board, int x, int y, int tileId, int frameCount) {
  int& slot = CacheSlots[tileId];
  if (slot < 0) {
    slot = static_cast<int>(CacheTiles.size());
    CacheTiles.emplace_back();
  }
  TCachedTile& tile = CacheTiles[slot];
  const int phase = TilePhase(tileId, frameCount);
  if (tile.Phase != phase) {
    // Blank cells are kept whole: the colour key decides when drawing.
    TLayout layout;
    tile.Nothing = !Layout(tileId, frameCount, layout, false);
    for (int i = 0; i < layout.Count; ++i) {
      const TPiece& piece = layout.Pieces[i];
      for (int row = 0; row < piece.Source.Height(); ++row)
        std::copy_n(Sheet.ScanLine(piece.Source.Top + row) + piece.Source.Left, piece.Source.Width(),
                    tile.Indices.data() + (piece.Y + row) * 16 + piece.X);
    }
    for (int i = 0; i < 256; ++i) tile.Mask[i] = tile.Indices[i] != 0 ? 0xFFFF : 0;
    const auto zeros = std::count(tile.Indices.begin(), tile.Indices.end(), 0);
    tile.HasHole = zeros > 0;
    tile.Empty = zeros == 256;
    tile.Phase = phase;
    tile.TableStamp = 0;
  }
  if (tile.TableStamp != TableStamp) {
    for (int i = 0; i < 256; ++i) tile.Pixels[i] = CacheTable[tile.Indices[i]];
    tile.TableStamp = TableStamp;
  }
  const bool keyed = Sheet.Transparent && tile.HasHole;
  if (tile.Nothing || (keyed && tile.Empty)) return;
  const int left = std::max(x, 0), right = std::min(x + 16, board.GetWidth());
  const int top = std::max(y, 0), bottom = std::min(y + 16, board.GetHeight());
  if (left >= right || top >= bottom) return;
  for (int row = top; row < bottom; ++row) {
    const std::uint16_t* in = tile.Pixels.data() + (row - y) * 16 + (left - x);
    std::uint16_t* out = board.ScanLine(row) + left;
    if (!keyed) {
      if (right - left == 16) std::memcpy(out, in, 32);
      else std::copy_n(in, right - left, out);
      continue;
    }
    // Four pixels a word, without branches: keyed tiles are most of the upper layer.
    const std::uint16_t* mask = tile.Mask.data() + (row - y) * 16 + (left - x);
    const int count = right - left;
    int i = 0;
    if (count == 16) {
      // A whole row through a local copy: no aliasing, so it vectorises.
      std::uint16_t pixels[16], source[16], keep[16];
      std::memcpy(pixels, out, 32);
      std::memcpy(source, in, 32);
      std::memcpy(keep, mask, 32);
      for (int k = 0; k < 16; ++k) pixels[k] = static_cast<std::uint16_t>((source[k] & keep[k]) | (pixels[k] & ~keep[k]));
      std::memcpy(out, pixels, 32);
      continue;
    }
    for (; i + 4 <= count; i += 4) {
      std::uint64_t source, keep, target;
      std::memcpy(&source, in + i, 8);
      std::memcpy(&keep, mask + i, 8);
      std::memcpy(&target, out + i, 8);
      target = (source & keep) | (target & ~keep);
      std::memcpy(out + i, &target, 8);
    }
    for (; i < count; ++i) out[i] = static_cast<std::uint16_t>((in[i] & mask[i]) | (out[i] & ~mask[i]));
  }
}
