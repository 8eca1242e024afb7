#pragma once
// Shared pieces of the window and text tests: one system graphic for the
// whole program (opening the fonts is the slow part) and a skin whose every
// area holds indices a test can predict.

#include <optional>
#include <string>

#include "ui/GR_System.h"

// The fonts of this machine, no game folder.
TKelSystemGraphic& SharedSystemGraphic();

// Paints a recognisable skin into graphic.Sheet: every pixel of the text
// colour area has its own index (TestSkinColorIndex, 64 … 223), the text
// shadow is shadowIndex, each 8 × 8 background block and each frame tile its
// own index (SkinBackgroundIndex, SkinFrameTileIndex), cursor phases solid
// indices, timer digit d solid index 30 + d and the colon 40.
void PaintTestSkin(TKelSystemGraphic& graphic, std::uint8_t shadowIndex);
std::uint8_t TestSkinColorIndex(int x, int y);  // within (0, 48, 160, 32)
inline bool IsTextIndex(std::uint8_t p) { return p >= 64 && p < 224; }
// Block (bx, by) of the background, 0 … 3 each.
inline std::uint8_t SkinBackgroundIndex(int bx, int by) { return static_cast<std::uint8_t>(224 + bx + 4 * by); }
// Tile (tx, ty) of the frame area, 0 … 3 each; only its top row and left column are inked.
inline std::uint8_t SkinFrameTileIndex(int tx, int ty) { return static_cast<std::uint8_t>(16 + tx + 4 * ty); }

inline constexpr std::uint8_t kSkinCursor0 = 3;
inline constexpr std::uint8_t kSkinCursor1 = 4;
inline constexpr std::uint8_t kSkinArrow = 5;

#include <bitset>
#include <utility>
#include <vector>

#include "common/TestPlatform.h"
#include "platform/Platform.h"
#include "shell/MultiInput.h"
#include "ui/GameWindows.h"

// A machine whose keys the test presses.
using UiTestPlatform = TestPlatform;

class CountingCursorSound final : public TKelCursorSound {
public:
  void PlayCursorSound() override { ++Count; }
  int Count = 0;
};

// Input, sound and the shared graphic for windows; Frame runs one frame of a
// window with an optional key tapped (held for that frame only).
struct WindowRig {
  UiTestPlatform Machine;
  TMultiInput Input{Machine};
  CountingCursorSound Sound;
  TKelWindowServices Services{SharedSystemGraphic(), Input, Sound};

  void Frame(TKelWindow& window, std::optional<Key> tap = std::nullopt) {
    if (tap) Machine.Press(*tap);
    Input.Poll();
    window.Update();
    if (tap) Machine.Release(*tap);
  }
};
