#pragma once
// Shared pieces of the window and text tests: one system graphic for the
// whole program (opening the fonts is the slow part) and a skin whose every
// area holds indices a test can predict.

#include <string>

#include "ui/GR_System.h"

// The fonts of this machine, no game folder.
TKelSystemGraphic& SharedSystemGraphic();

// Paints a recognisable skin into graphic.Sheet: every pixel of the text
// colour area has its own index (TestSkinColorIndex), the text shadow is
// shadowIndex, frame and cursor tiles are solid indices.
void PaintTestSkin(TKelSystemGraphic& graphic, std::uint8_t shadowIndex);
std::uint8_t TestSkinColorIndex(int x, int y);  // within (0, 48, 160, 32)

inline constexpr std::uint8_t kSkinBackground = 1;
inline constexpr std::uint8_t kSkinFrame = 2;
inline constexpr std::uint8_t kSkinCursor0 = 3;
inline constexpr std::uint8_t kSkinCursor1 = 4;
inline constexpr std::uint8_t kSkinArrow = 5;
