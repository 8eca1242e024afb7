#pragma once
// The demo game's pictures, drawn by code so that the demo carries no art
// from elsewhere. One function per picture; Main.cpp lists where each goes.

#include <array>

#include "graphics/VantraImage.h"

// The window skin: 8-bit, 160 × 80, in the system graphic's fixed layout.
void DrawSystemGraphic(TVantraBitmap& bitmap);

// The program's "EXFONT" glyph sheet: 156 × 48, indices 0 and 255.
void DrawExFontGlyphs(TVantraBitmap& bitmap);
