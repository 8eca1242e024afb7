#pragma once
// The one door between the game and the machine. Two backends implement it:
// SDL (window, audio device, real clock) and headless (no window, no device,
// a virtual clock that never sleeps, keys from a script).

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class TVantraBoard;

// Raw keys the game cares about. Keypad0..Keypad9 are contiguous.
enum class Key : std::uint8_t {
  Up, Down, Left, Right, Return, Space, Escape,
  Z, X, C, V, B, N, H, J, K, L, Insert,
  Keypad0, Keypad1, Keypad2, Keypad3, Keypad4, Keypad5, Keypad6, Keypad7, Keypad8, Keypad9,
  Shift, Ctrl, Alt, F4, F5, F9, F10, F12,
  Count
};

enum class PadButton : std::uint8_t { A, B, X, Up, Down, Left, Right, Count };
enum class PadAxis : std::uint8_t { LeftX, LeftY };
enum class MouseButton : std::uint8_t { Left, Right };

// One input happening, in the order the machine delivered it. The input
// object replays these, so a press and release between two frames still counts.
struct InputEvent {
  enum class Kind : std::uint8_t { KeyDown, KeyUp, PadDown, PadUp, PadAxisMove, MouseDown, MouseUp };
  Kind kind;
  std::uint8_t code;   // Key, PadButton, PadAxis or MouseButton
  std::int16_t value;  // axis position −32768..32767 for PadAxisMove
};

// Pulled by the audio output: fill frameCount interleaved 16-bit stereo frames.
// With a device, called on the device's thread between LockAudio/UnlockAudio.
class AudioSource {
public:
  virtual ~AudioSource() = default;
  virtual void Render(std::int16_t* stereo, int frameCount) = 0;
};

enum class ScreenMode : std::uint8_t { smWindow, smFullScreen };

class Platform {
public:
  virtual ~Platform() = default;

  virtual std::uint64_t NowMs() = 0;                      // monotonic, since creation
  virtual void SleepUntilMs(std::uint64_t deadline) = 0;  // headless: advances the virtual clock

  // Handles pending machine events and returns the input events among them.
  // framesDone is the number of frames completed so far (the script backend
  // schedules its keys by it). The events are also queued for TakeInputEvents.
  virtual std::vector<InputEvent> PumpEvents(std::uint64_t framesDone) = 0;
  virtual std::vector<InputEvent> TakeInputEvents() = 0;
  virtual bool KeyDown(Key key) = 0;  // current raw state
  virtual bool IsActive() = 0;        // the game freezes and input clears while false
  virtual bool QuitRequested() = 0;   // window closed

  virtual void Present(const TVantraBoard& board) = 0;
  virtual void SetScreenMode(ScreenMode mode, bool zoom) = 0;
  virtual void SetTitle(std::string_view title) = 0;

  virtual int AudioRate() = 0;  // frames per second of the output
  virtual void SetAudioSource(AudioSource* source) = 0;
  virtual void LockAudio() = 0;
  virtual void UnlockAudio() = 0;

  virtual void ShowError(std::string_view caption, std::string_view text) = 0;
};
