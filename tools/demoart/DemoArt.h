#pragma once
// The demo game's pictures, drawn by code so that the demo carries no art
// from elsewhere. One function per picture; Main.cpp lists where each goes.

#include <array>
#include <string>

#include "graphics/VantraImage.h"

// The window skin: 8-bit, 160 × 80, in the system graphic's fixed layout.
void DrawSystemGraphic(TVantraBitmap& bitmap);

// The title picture and the game-over picture: 8-bit, 320 × 240.
void DrawTitlePicture(TVantraBitmap& bitmap);
void DrawGameOverPicture(TVantraBitmap& bitmap);

// The map pictures, 8-bit: the chip set (480 × 256), the character set
// (288 × 256) and the panorama (480 × 240).
void DrawChipSetPicture(TVantraBitmap& bitmap);
void DrawCharSetPicture(TVantraBitmap& bitmap);
void DrawPanoramaPicture(TVantraBitmap& bitmap);
// The vehicles' character set (288 × 256): boat, ship, airship.
void DrawVehicleSetPicture(TVantraBitmap& bitmap);

// The face set: 192 × 192, sixteen 48 × 48 faces.
void DrawFaceSet(TVantraBitmap& bitmap);

// Music as standard MIDI files, and the four system sounds as waves.
void WriteTitleMusic(const std::string& path);
void WriteGameOverMusic(const std::string& path);
void WriteSystemSounds(const std::string& folder);

// The program's "EXFONT" glyph sheet: 156 × 48, indices 0 and 255.
void DrawExFontGlyphs(TVantraBitmap& bitmap);
