#pragma once
// A machine for tests: a clock the test moves, events the test queues.

#include <bitset>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Platform.h"

class TestPlatform final : public Platform {
public:
  std::uint64_t NowMs() override { return Now; }
  void SleepUntilMs(std::uint64_t deadline) override {
    if (deadline > Now) Now = deadline;
    if (OnSleep) OnSleep(*this);
  }
  std::vector<InputEvent> PumpEvents(std::uint64_t) override { return {}; }
  std::vector<InputEvent> TakeInputEvents() override { return std::exchange(Queued, {}); }
  bool KeyDown(Key key) override { return Held[static_cast<std::size_t>(key)]; }
  bool IsActive() override { return Active; }
  bool QuitRequested() override { return false; }
  void Present(const TVantraBoard&) override {}
  void SetScreenMode(ScreenMode, bool) override {}
  void SetTitle(std::string_view) override {}
  int AudioRate() override { return 44100; }
  void SetAudioSource(AudioSource*) override {}
  void LockAudio() override {}
  void UnlockAudio() override {}
  void ShowError(std::string_view, std::string_view) override {}

  void Press(Key key) { Queue(InputEvent::Kind::KeyDown, key); }
  void Release(Key key) { Queue(InputEvent::Kind::KeyUp, key); }
  void QueueEvent(const InputEvent& event) { Queued.push_back(event); }

  std::uint64_t Now = 0;
  bool Active = true;
  std::function<void(TestPlatform&)> OnSleep;

private:
  void Queue(InputEvent::Kind kind, Key key) {
    Held[static_cast<std::size_t>(key)] = kind == InputEvent::Kind::KeyDown;
    Queued.push_back({kind, static_cast<std::uint8_t>(key), 0});
  }
  std::vector<InputEvent> Queued;
  std::bitset<static_cast<std::size_t>(Key::Count)> Held;
};
