#pragma once
// The screen's tint, flash and shake as the map view applies them to every
// sheet it draws. Neutral here: its commands come with the screen effects.

#include <cmath>

#include "graphics/VantraSheet.h"

class TKelgScreen {
public:
  void Clear() { *this = TKelgScreen(); }
  void SetFlash(int red, int green, int blue, double level, int frames) {
    FlashRed = red;
    FlashGreen = green;
    FlashBlue = blue;
    FlashLevel = level;
    FlashFrames = frames;
  }
  // The rounded tint and flash into the sheet's screen colour control.
  void ApplyTo(TVantraSheet& sheet) const {
    sheet.ScreenColor.SetAll(Round(TintRed), Round(TintGreen), Round(TintBlue), Round(TintSaturation), FlashRed,
                             FlashGreen, FlashBlue, Round(FlashLevel), true);
  }

  int TargetRed = 100, TargetGreen = 100, TargetBlue = 100, TargetSaturation = 100;
  double TintRed = 100, TintGreen = 100, TintBlue = 100, TintSaturation = 100;
  int TintFrames = 0;
  int FlashRed = 0, FlashGreen = 0, FlashBlue = 0;
  double FlashLevel = 0;
  int FlashFrames = 0;
  int ShakeStrength = 0, ShakeSpeed = 0, ShakeX = 0, ShakeY = 0, ShakeFrames = 0;

private:
  // Nearest integer, ties to even.
  static int Round(double value) { return static_cast<int>(std::nearbyint(value)); }
};
