#pragma once
// Pulls an audio source at its rate by the clock when no device does it, so
// a silent or headless run hears (and times) the same as a real one.

#include <cstdint>
#include <vector>

#include "platform/Platform.h"

class AudioClock {
public:
  explicit AudioClock(int rate) : Rate(rate) {}

  // Renders every frame due up to nowMs; returns the samples (stereo pairs).
  const std::vector<std::int16_t>& PullUntil(std::uint64_t nowMs, AudioSource* source);
  int GetRate() const { return Rate; }

private:
  int Rate;
  std::uint64_t FramesRendered = 0;
  std::vector<std::int16_t> Scratch;
};
