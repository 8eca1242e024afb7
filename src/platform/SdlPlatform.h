#pragma once
// The real machine through SDL2: a window (or offscreen when there is no
// display), the audio device (or a clock-driven silent pull without one),
// keyboard, game controllers and mouse.

#include <memory>

#include "platform/Platform.h"

struct SdlOptions {
  bool allowMessageBox = true;
};

std::unique_ptr<Platform> CreateSdlPlatform(const SdlOptions& options);
