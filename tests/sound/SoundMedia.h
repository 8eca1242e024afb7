#pragma once
// Test media made in code, a stand-in output that the test pulls by hand, and
// measurements of what came out.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/Platform.h"

// A folder of its own under the system's temporary folder, removed afterwards.
class ScratchFolder {
public:
  ScratchFolder();
  ~ScratchFolder();
  std::string File(const std::string& name) const { return (Root / name).string(); }
  const std::filesystem::path& Path() const { return Root; }

private:
  std::filesystem::path Root;
};

void WriteBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);

// A 16-bit PCM wave file of the given frames (interleaved when stereo).
std::vector<std::uint8_t> WaveBytes(const std::vector<std::int16_t>& samples, int rate, int channels,
                                    int bitsPerSample = 16);
// A constant level held for the given frames: levels are easy to check exactly.
std::vector<std::uint8_t> ConstantWave(std::int16_t level, int frames, int rate, int channels = 1);

struct TestNote {
  std::uint32_t Start;     // ticks
  std::uint32_t Length;    // ticks
  std::uint8_t Key = 60;
  std::uint8_t Channel = 0;
};
// A format 0 file at 480 ticks per quarter: optional tempo (microseconds per
// quarter) at tick 0, a piano program, the notes, end of track at endTick.
std::vector<std::uint8_t> MidiBytes(const std::vector<TestNote>& notes, std::uint32_t endTick,
                                    std::uint32_t microsecondsPerQuarter = 500000);

// An output the test drives: it remembers the source and pulls it on demand.
class FakeOutput final : public Platform {
public:
  explicit FakeOutput(int rate) : Rate(rate) {}

  // Renders the given frames from the registered source (silence without one).
  std::vector<std::int16_t> Pull(int frames);
  std::vector<std::int16_t> PullMs(int milliseconds) { return Pull(milliseconds * Rate / 1000); }

  AudioSource* Source = nullptr;
  int LockDepth = 0;
  int LockCount = 0;

  std::uint64_t NowMs() override { return 0; }
  void SleepUntilMs(std::uint64_t) override {}
  std::vector<InputEvent> PumpEvents(std::uint64_t) override { return {}; }
  std::vector<InputEvent> TakeInputEvents() override { return {}; }
  bool KeyDown(Key) override { return false; }
  bool IsActive() override { return true; }
  bool QuitRequested() override { return false; }
  void Present(const TVantraBoard&) override {}
  void SetScreenMode(ScreenMode, bool) override {}
  void SetTitle(std::string_view) override {}
  int AudioRate() override { return Rate; }
  void SetAudioSource(AudioSource* source) override { Source = source; }
  void LockAudio() override {
    ++LockDepth;
    ++LockCount;
  }
  void UnlockAudio() override { --LockDepth; }
  void ShowError(std::string_view, std::string_view) override {}

private:
  int Rate;
};

// Root mean square of one channel (0 left, 1 right) over frames [from, to).
double Rms(const std::vector<std::int16_t>& stereo, int channel, std::size_t from = 0,
           std::size_t to = SIZE_MAX);
// The last frame at which either channel is not silent, or -1.
long LastSoundingFrame(const std::vector<std::int16_t>& stereo);
