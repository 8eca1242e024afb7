#pragma once
// No window, no audio device: a virtual clock that jumps to every deadline,
// keys from a script, and everything heard rendered offline.

#include <bitset>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/AudioClock.h"
#include "platform/Platform.h"

struct ScriptedInput {
  std::uint64_t frame;
  InputEvent event;
};

// Parses an input script: lines "FRAME KEYS [HOLD]", '#' comments, KEYS joined
// by '+'. Throws naming the file and line on a bad line.
std::vector<ScriptedInput> ParseInputScript(const std::string& text, const std::string& fileName);

class HeadlessPlatform final : public Platform {
public:
  explicit HeadlessPlatform(std::vector<ScriptedInput> script = {}, std::string audioOutPath = {});
  ~HeadlessPlatform() override;

  std::uint64_t NowMs() override { return Now; }
  void SleepUntilMs(std::uint64_t deadline) override;
  std::vector<InputEvent> PumpEvents(std::uint64_t frame) override;
  std::vector<InputEvent> TakeInputEvents() override;
  bool KeyDown(Key key) override { return Held[static_cast<std::size_t>(key)]; }
  bool IsActive() override { return true; }
  bool QuitRequested() override { return false; }
  void Present(const TVantraBoard&) override { ++PresentCount; }
  void SetScreenMode(ScreenMode, bool) override {}
  void SetTitle(std::string_view) override {}
  int AudioRate() override { return Audio.GetRate(); }
  void SetAudioSource(AudioSource* source) override { Source = source; }
  void LockAudio() override {}
  void UnlockAudio() override {}
  void ShowError(std::string_view caption, std::string_view text) override;

  // Writes the audio heard so far; also done on destruction.
  void FinishAudio();
  std::uint64_t Presents() const { return PresentCount; }

private:
  std::uint64_t Now = 0;
  std::vector<ScriptedInput> Script;
  std::size_t NextScripted = 0;
  std::vector<InputEvent> Pending;
  std::bitset<static_cast<std::size_t>(Key::Count)> Held;
  AudioClock Audio{44100};
  AudioSource* Source = nullptr;
  std::string AudioOutPath;
  std::vector<std::int16_t> Heard;
  bool AudioWritten = false;
  std::uint64_t PresentCount = 0;
};
