// The 21 screen transitions of the scene base.

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "graphics/VantraDraw.h"
#include "shell/LS_Scene.h"
#include "shell/MultiInput.h"
#include "shell/Random.h"

namespace {

enum TKelTransition : std::uint8_t {
  trFade, trRandomBlocks, trBlocksDown, trBlocksUp, trBlinds, trHorizontalStripes, trVerticalStripes,
  trBorderToCenter, trCenterToBorder, trScrollUp, trScrollDown, trScrollLeft, trScrollRight,
  trSplitTopBottom, trSplitLeftRight, trSplitFour, trZoom, trMosaic, trWave, trInstant, trNone,
};

constexpr int kWidth = 320;
constexpr int kHeight = 240;
constexpr int kSteps = 41;
constexpr int kBlockColumns = 80;
constexpr int kBlockCount = 4800;
constexpr int kBlocksPerStep = 120;

// Copies (left, top, width, height) of source to the same place.
void CopyArea(TVantraBoard& dest, const TVantraBoard& source, int left, int top, int width, int height) {
  dest.CopyRect(left, top, {left, top, left + width, top + height}, source);
}

// Source rows [from, to) placed at y.
void PlaceRows(TVantraBoard& dest, const TVantraBoard& source, int from, int to, int y) {
  dest.CopyRect(0, y, {0, from, kWidth, to}, source);
}

void PlaceColumns(TVantraBoard& dest, const TVantraBoard& source, int from, int to, int x) {
  dest.CopyRect(x, 0, {from, 0, to, kHeight}, source);
}

void PlaceWhole(TVantraBoard& dest, const TVantraBoard& source, int x, int y) {
  dest.CopyRect(x, y, {0, 0, kWidth, kHeight}, source);
}

// Stretches a part of source over the whole destination, nearest pixel.
void StretchPart(TVantraBoard& dest, const TVantraBoard& source, int left, int top, int width, int height) {
  if (width <= 0 || height <= 0) return;
  for (int y = 0; y < kHeight; ++y) {
    const std::uint16_t* from = source.ScanLine(top + y * height / kHeight);
    std::uint16_t* to = dest.ScanLine(y);
    for (int x = 0; x < kWidth; ++x) to[x] = from[left + x * width / kWidth];
  }
}

std::vector<int> BlockOrder(std::uint8_t kind, TKelRandom& random) {
  std::vector<int> order(kBlockCount);
  if (kind == trBlocksUp) {
    for (int p = 0; p < kBlockCount; ++p) order[p] = kBlockCount - 1 - p;
  } else {
    std::iota(order.begin(), order.end(), 0);
  }
  if (kind == trRandomBlocks) {
    for (int n = 0; n < kBlockCount; ++n) std::swap(order[n], order[random.Next(kBlockCount)]);
  } else {
    // A local shuffle: each block moves at most a few rows, so the wave progresses.
    for (int n = 800; n <= 3999; ++n) std::swap(order[n], order[n - 800 + random.Next(1600)]);
  }
  return order;
}

// Kinds 1–8 add parts of the new picture; they run even on late frames.
void DrawIncremental(TVantraBoard& back, const TVantraBoard& fresh, std::uint8_t kind, bool show, int i,
                     const std::vector<int>& order) {
  switch (kind) {
    case trRandomBlocks:
    case trBlocksDown:
    case trBlocksUp:
      if (i >= kSteps - 1) break;
      for (int p = kBlocksPerStep * i; p < kBlocksPerStep * (i + 1); ++p) {
        const int block = order[p];
        CopyArea(back, fresh, (block % kBlockColumns) * 4, (block / kBlockColumns) * 4, 4, 4);
      }
      break;
    case trBlinds:
      for (int k = 0; k < 60; ++k) {
        const int row = show ? 8 * k + 7 - i / 5 : 8 * k + i / 5;
        CopyArea(back, fresh, 0, row, kWidth, 1);
      }
      break;
    case trHorizontalStripes:
      CopyArea(back, fresh, 0, 6 * i, kWidth, 3);
      CopyArea(back, fresh, 0, 237 - 6 * i, kWidth, 3);
      break;
    case trVerticalStripes:
      CopyArea(back, fresh, 8 * i, 0, 4, kHeight);
      CopyArea(back, fresh, 316 - 8 * i, 0, 4, kHeight);
      break;
    case trBorderToCenter:
      CopyArea(back, fresh, 0, 3 * i, kWidth, 3);
      CopyArea(back, fresh, 0, 240 - 3 * i, kWidth, 3);
      CopyArea(back, fresh, 4 * i, 0, 4, kHeight);
      CopyArea(back, fresh, 320 - 4 * i, 0, 4, kHeight);
      break;
    case trCenterToBorder:
      CopyArea(back, fresh, 160 - 4 * i, 120 - 3 * i, 8 * i, 6 * i);
      break;
    default: break;
  }
}

}  // namespace

void TKelScene::ShowScreen(std::uint8_t kind) {
  TVantraBoard& back = BackBuffer();
  if (kind != trFade) back.Brightness = 100;
  OldScreen.CopyRect(0, 0, {0, 0, kWidth, kHeight}, back);
  Draw();
  NewScreen.CopyRect(0, 0, {0, 0, kWidth, kHeight}, back);
  back.CopyRect(0, 0, {0, 0, kWidth, kHeight}, OldScreen);
  Transition(true, kind);
  Program.Input->Flush();
}

void TKelScene::EraseScreen(std::uint8_t kind) {
  TVantraBoard& back = BackBuffer();
  Draw();
  OldScreen.CopyRect(0, 0, {0, 0, kWidth, kHeight}, back);
  NewScreen.Clear();
  Transition(false, kind);
  back.Brightness = 0;
  Draw();
  Program.Input->Flush();
}

void TKelScene::Transition(bool show, std::uint8_t kind) {
  TVantraDraw& draw = *Program.Draw;
  TVantraBoard& back = BackBuffer();
  if (kind == trInstant) {
    back.CopyRect(0, 0, {0, 0, kWidth, kHeight}, NewScreen);
    draw.Present();
    return;
  }
  if (kind == trFade) {
    if (!show) FadeOut(3);
    else if (back.Brightness >= 100) CrossFade();
    else FadeIn(3);
    return;
  }
  std::vector<int> order;
  if (kind >= trRandomBlocks && kind <= trBlocksUp) order = BlockOrder(kind, *Program.Random);
  const TFocus focus = TransitionFocus();
  for (int i = 0; i < kSteps; ++i) {
    DrawIncremental(back, NewScreen, kind, show, i, order);
    if (draw.GetLag() < draw.GetMaxLag() / 2) {
      switch (kind) {
        case trScrollUp:
          PlaceWhole(back, OldScreen, 0, -6 * i);
          PlaceWhole(back, NewScreen, 0, 240 - 6 * i);
          break;
        case trScrollDown:
          PlaceWhole(back, NewScreen, 0, 6 * i - 240);
          PlaceWhole(back, OldScreen, 0, 6 * i);
          break;
        case trScrollLeft:
          PlaceWhole(back, OldScreen, -8 * i, 0);
          PlaceWhole(back, NewScreen, 320 - 8 * i, 0);
          break;
        case trScrollRight:
          PlaceWhole(back, NewScreen, 8 * i - 320, 0);
          PlaceWhole(back, OldScreen, 8 * i, 0);
          break;
        case trSplitTopBottom:
          if (show) {
            PlaceRows(back, NewScreen, 0, 120, 3 * i - 120);
            PlaceRows(back, NewScreen, 120, 240, 240 - 3 * i);
            PlaceRows(back, OldScreen, 3 * i, 240 - 3 * i, 3 * i);
          } else {
            PlaceRows(back, OldScreen, 0, 120, -3 * i);
            PlaceRows(back, OldScreen, 120, 240, 120 + 3 * i);
            PlaceRows(back, NewScreen, 120 - 3 * i, 120 + 3 * i, 120 - 3 * i);
          }
          break;
        case trSplitLeftRight:
          if (show) {
            PlaceColumns(back, NewScreen, 0, 160, 4 * i - 160);
            PlaceColumns(back, NewScreen, 160, 320, 320 - 4 * i);
            PlaceColumns(back, OldScreen, 4 * i, 320 - 4 * i, 4 * i);
          } else {
            PlaceColumns(back, OldScreen, 0, 160, -4 * i);
            PlaceColumns(back, OldScreen, 160, 320, 160 + 4 * i);
            PlaceColumns(back, NewScreen, 160 - 4 * i, 160 + 4 * i, 160 - 4 * i);
          }
          break;
        case trSplitFour: {
          const TVantraBoard& whole = show ? OldScreen : NewScreen;
          const TVantraBoard& quarters = show ? NewScreen : OldScreen;
          PlaceWhole(back, whole, 0, 0);
          const int left = show ? 4 * i - 160 : -4 * i, right = show ? 320 - 4 * i : 160 + 4 * i;
          const int top = show ? 3 * i - 120 : -3 * i, bottom = show ? 240 - 3 * i : 120 + 3 * i;
          back.CopyRect(left, top, {0, 0, 160, 120}, quarters);
          back.CopyRect(right, top, {160, 0, 320, 120}, quarters);
          back.CopyRect(left, bottom, {0, 120, 160, 240}, quarters);
          back.CopyRect(right, bottom, {160, 120, 320, 240}, quarters);
          break;
        }
        case trZoom: {
          const int fx = focus.X, fy = focus.Y - 8;
          if (show) {
            const int cx = (2 * fx * (40 - i) + 160 * i) / (80 - i);
            const int cy = (2 * fy * (40 - i) + 120 * i) / (80 - i);
            StretchPart(back, NewScreen, std::clamp(cx - 4 * i, 0, 320 - 8 * i), std::clamp(cy - 3 * i, 0, 240 - 6 * i),
                        8 * i, 6 * i);
          } else {
            const int cx = (2 * fx * i + 160 * (40 - i)) / (40 + i);
            const int cy = (2 * fy * i + 120 * (40 - i)) / (40 + i);
            StretchPart(back, OldScreen, std::clamp(cx - 160 + 4 * i, 0, 8 * i), std::clamp(cy - 120 + 3 * i, 0, 6 * i),
                        320 - 8 * i, 240 - 6 * i);
          }
          break;
        }
        case trMosaic:
          if (show) DrawMosaic(NewScreen, 41 - i);
          else DrawMosaic(OldScreen, i + 1);
          break;
        case trWave:
          if (show) DrawRasterWave(NewScreen, 41 - i);
          else DrawRasterWave(OldScreen, i + 1);
          break;
        default: break;  // 1–8 drew above; 20 and beyond draw nothing
      }
      draw.Present();
    }
    draw.WaitNextFrame();
  }
}

void TKelScene::CrossFade() {
  TVantraDraw& draw = *Program.Draw;
  TVantraBoard& back = BackBuffer();
  for (int i = 0; i < kSteps; ++i) {
    if (draw.GetLag() < draw.GetMaxLag() / 2) {
      const int w = 256 - static_cast<int>(std::trunc(i * 6.4));
      for (int y = 0; y < kHeight; ++y) {
        const std::uint16_t* oldRow = OldScreen.ScanLine(y);
        const std::uint16_t* newRow = NewScreen.ScanLine(y);
        std::uint16_t* out = back.ScanLine(y);
        for (int x = 0; x < kWidth; ++x) {
          const int o = oldRow[x], n = newRow[x];
          const int r = ((o >> 11) * w + (n >> 11) * (257 - w)) / 256;
          const int g = (((o >> 5) & 63) * w + ((n >> 5) & 63) * (257 - w)) / 256;
          const int b = ((o & 31) * w + (n & 31) * (257 - w)) / 256;
          out[x] = static_cast<std::uint16_t>(r << 11 | g << 5 | b);
        }
      }
      draw.Present();
    }
    draw.WaitNextFrame();
  }
  Program.Input->Flush();
}

void TKelScene::DrawMosaic(const TVantraBoard& source, int blockSize) {
  TVantraBoard& back = BackBuffer();
  const int s = blockSize;
  const int r = Program.Random->Next(s) + s / 2;  // the grid jitters from frame to frame
  for (int y = 0; y < kHeight; ++y) {
    const int sy = std::clamp(((y + r) / s) * s - s / 2, 0, kHeight - 1);
    const std::uint16_t* from = source.ScanLine(sy);
    std::uint16_t* to = back.ScanLine(y);
    for (int x = 0; x < kWidth; ++x) to[x] = from[std::clamp(((x + r) / s) * s - s / 2, 0, kWidth - 1)];
  }
}

void TKelScene::DrawRasterWave(const TVantraBoard& source, int amplitude) {
  TVantraBoard& back = BackBuffer();
  for (int y = 0; y < kHeight; ++y) {
    const int d = static_cast<int>(std::trunc(SinTable[(16 * amplitude + 8 * y) % 256] * 2 * amplitude));
    const std::uint16_t* from = source.ScanLine(y);
    std::uint16_t* to = back.ScanLine(y);
    for (int x = 0; x < kWidth; ++x) {
      const int sx = x + d;
      to[x] = sx >= 0 && sx < kWidth ? from[sx] : 0;
    }
  }
}
