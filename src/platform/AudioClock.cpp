#include "platform/AudioClock.h"

#include <algorithm>

const std::vector<std::int16_t>& AudioClock::PullUntil(std::uint64_t nowMs, AudioSource* source) {
  const std::uint64_t due = nowMs * static_cast<std::uint64_t>(Rate) / 1000;
  const std::uint64_t count = due > FramesRendered ? due - FramesRendered : 0;
  Scratch.assign(count * 2, 0);
  if (count > 0 && source != nullptr) source->Render(Scratch.data(), static_cast<int>(count));
  FramesRendered = std::max(FramesRendered, due);
  return Scratch;
}
