#pragma once
// The colours shared by the demo's map pictures (chip set, characters,
// panorama), and the small texture helpers they paint with.

#include <cstdint>

#include "graphics/VantraImage.h"

enum : std::uint8_t {
  wpClear = 0,
  wpGrass, wpGrassLight, wpGrassDark, wpLeaf, wpLeafLight, wpLeafDark, wpTrunk,
  wpWater, wpWaterLight, wpDeep, wpDeepLight, wpFoam,
  wpSand, wpSandDark, wpSandLight, wpRock, wpRockDark, wpRockLight,
  wpDirt, wpDirtDark, wpDirtLight, wpFlowerRed, wpFlowerYellow,
  wpWood, wpWoodDark, wpWoodLight, wpBrick, wpBrickDark, wpBrickLight,
  wpRoof, wpRoofDark, wpRoofLight, wpSnow, wpSnowShade, wpSnowLight,
  wpFire, wpFireDark, wpFireLight, wpPurple, wpPurpleDark, wpPurpleLight,
  wpCrystal, wpCrystalDark, wpCrystalLight,
  wpOutline, wpSkin, wpSkinShade, wpEye, wpWhite,
  wpClothFirst,  // eight characters: hair, cloth, cloth shade each
  wpSkyFirst = wpClothFirst + 24,  // 32 shades of sky, top to bottom
  wpCloud = wpSkyFirst + 32, wpCloudShade, wpMountain, wpMountainShade, wpMountainFar, wpSnowCap,
};

// A cheap repeatable texture: 0 about once in n pixels.
inline int Noise(int x, int y, int n) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return static_cast<int>((h ^ (h >> 16)) % static_cast<std::uint32_t>(n));
}

inline std::uint8_t GrassPixel(int x, int y) {
  const int n = Noise(x, y, 9);
  return n == 0 ? wpGrassDark : (n == 1 ? wpGrassLight : wpGrass);
}

inline constexpr TVantraRgb kCharacterColours[8][3] = {
    {{96, 56, 24}, {48, 72, 176}, {32, 48, 128}},    {{232, 200, 80}, {184, 40, 48}, {136, 24, 32}},
    {{200, 200, 208}, {128, 64, 160}, {88, 40, 120}}, {{48, 32, 24}, {40, 136, 72}, {24, 96, 48}},
    {{184, 72, 32}, {232, 136, 40}, {176, 96, 24}},   {{24, 24, 40}, {112, 112, 120}, {72, 72, 80}},
    {{248, 168, 200}, {248, 248, 248}, {184, 184, 200}}, {{120, 80, 40}, {152, 104, 56}, {104, 72, 32}},
};

inline void SetWorldPalette(TVantraBitmap& bitmap) {
  const TVantraRgb named[] = {
      {0, 0, 0},
      {72, 152, 64}, {104, 176, 80}, {48, 120, 48}, {48, 128, 56}, {88, 168, 72}, {24, 88, 40}, {112, 72, 40},
      {48, 104, 208}, {112, 160, 240}, {24, 56, 144}, {48, 88, 176}, {200, 224, 248},
      {216, 192, 128}, {184, 160, 96}, {240, 224, 168}, {136, 136, 144}, {96, 96, 104}, {176, 176, 184},
      {160, 112, 64}, {128, 88, 48}, {192, 144, 96}, {224, 64, 80}, {248, 216, 72},
      {160, 112, 64}, {112, 72, 32}, {200, 152, 96}, {200, 184, 160}, {152, 136, 112}, {232, 216, 192},
      {184, 64, 48}, {128, 40, 32}, {216, 104, 80}, {232, 240, 248}, {184, 200, 224}, {252, 252, 252},
      {240, 112, 24}, {176, 48, 16}, {252, 208, 64}, {112, 72, 152}, {72, 40, 104}, {160, 120, 200},
      {112, 200, 232}, {48, 120, 176}, {240, 252, 252},
      {16, 16, 24}, {240, 192, 152}, {208, 152, 120}, {24, 24, 48}, {248, 248, 248},
  };
  int index = 0;
  for (const TVantraRgb& colour : named) bitmap.Palette[index++] = colour;
  for (int c = 0; c < 8; ++c)
    for (int k = 0; k < 3; ++k) bitmap.Palette[wpClothFirst + c * 3 + k] = kCharacterColours[c][k];
  for (int i = 0; i < 32; ++i)
    bitmap.Palette[wpSkyFirst + i] = {static_cast<std::uint8_t>(40 + i * 4), static_cast<std::uint8_t>(88 + i * 4),
                                      static_cast<std::uint8_t>(184 + i * 2)};
  bitmap.Palette[wpCloud] = {248, 248, 252};
  bitmap.Palette[wpCloudShade] = {208, 216, 232};
  bitmap.Palette[wpMountain] = {96, 104, 152};
  bitmap.Palette[wpMountainShade] = {72, 80, 128};
  bitmap.Palette[wpMountainFar] = {136, 152, 200};
  bitmap.Palette[wpSnowCap] = {236, 240, 252};
}
