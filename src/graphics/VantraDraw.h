#pragma once
// The screen component: the 320 × 240 back buffer, the frame schedule with
// its bounded catch-up, the screen-mode keys, restart and abort.

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "graphics/VantraSheet.h"
#include "platform/Platform.h"

// F12 (or a return to the title): unwinds the main routine, which starts again.
class EVantraDrawReset : public std::exception {
public:
  const char* what() const noexcept override { return "EVantraDrawReset"; }
};

// The program is ending (window closed, frame limit reached): unwinds silently.
class EVantraDrawAbort : public std::exception {
public:
  const char* what() const noexcept override { return "EVantraDrawAbort"; }
};

struct TVantraScreenshot {
  std::uint64_t frame;
  std::string path;
};

class TVantraDraw {
public:
  explicit TVantraDraw(Platform& platform);

  void SetFrameRate(int value);
  int GetFrameRate() const { return FrameRate; }
  void SetMaxLag(int value) { MaxLag = value < 2 ? 1 : value; }
  int GetMaxLag() const { return MaxLag; }
  void SetScreenMode(ScreenMode mode);
  ScreenMode GetScreenMode() const { return Mode; }
  void SetScreenZoom(bool zoom);
  bool GetScreenZoom() const { return ScreenZoom; }
  TVantraRect DisplayRect() const;

  void Initialize();
  int GetLag();
  void WaitNextFrame();
  void Present();
  void Resync();
  void ToggleScreenMode();
  [[noreturn]] void RaiseReset();
  // Ends the program normally from inside the main routine (the form closes).
  [[noreturn]] void RaiseAbort();

  // Runs OnMain the way the idle handler does: again after every reset, until
  // it returns or the program aborts. Other exceptions propagate.
  void Run();

  // Ours: end after this many frames (0: never), screenshots after frames.
  void SetFrameLimit(std::uint64_t frames) { FrameLimit = frames; }
  void AddScreenshot(TVantraScreenshot shot) { Screenshots.push_back(std::move(shot)); }
  std::uint64_t FramesDone() const { return Frames; }
  bool IsInMain() const { return InMain; }

  TVantraBoard Board{320, 240};
  std::function<void()> OnMain;

private:
  double Elapsed();
  void HandleKeys(const std::vector<InputEvent>& events);
  void TakeScreenshots();

  Platform& Machine;
  int FrameRate = 20;
  int MaxLag = 4;
  ScreenMode Mode = ScreenMode::smFullScreen;
  bool ScreenZoom = false;
  std::uint64_t StartTime = 0;
  double BaseTime = 0;
  int FrameIndex = 0;
  double FrameTime = 50;
  bool InMain = false;
  bool Initialized = false;  // the mode reaches the machine only from Initialize on
  std::uint64_t Frames = 0;
  std::uint64_t FrameLimit = 0;
  std::vector<TVantraScreenshot> Screenshots;
  TVantraBoard LastPresented{320, 240};
};
