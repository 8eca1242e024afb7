#include "graphics/VantraDraw.h"

#include <cmath>

#include "graphics/VantraPng.h"

TVantraDraw::TVantraDraw(Platform& platform) : Machine(platform) {
  StartTime = Machine.NowMs();
}

void TVantraDraw::SetFrameRate(int value) {
  if (value <= 0) return;
  FrameRate = value;
  FrameTime = 1000.0 / value;
}

TVantraRect TVantraDraw::DisplayRect() const {
  // Full screen uses the desktop's mode; the backend scales this rectangle's board.
  if (Mode == ScreenMode::smWindow && ScreenZoom) return {0, 0, 640, 480};
  return {0, 0, 320, 240};
}

void TVantraDraw::SetScreenMode(ScreenMode mode) {
  if (mode == Mode) return;
  Mode = mode;
  if (!Initialized) return;
  if (InMain) {
    // All pages black before the switch, so no stale picture shows.
    Board.Clear();
    for (int i = 0; i < 3; ++i) Machine.Present(Board);
  }
  Machine.SetScreenMode(Mode, ScreenZoom);
  Resync();
}

void TVantraDraw::SetScreenZoom(bool zoom) {
  if (zoom == ScreenZoom) return;
  ScreenZoom = zoom;
  if (!Initialized) return;
  Machine.SetScreenMode(Mode, ScreenZoom);
  Resync();
}

void TVantraDraw::Initialize() {
  Initialized = true;
  Machine.SetScreenMode(Mode, ScreenZoom);
  Resync();
}

double TVantraDraw::Elapsed() { return static_cast<double>(Machine.NowMs() - StartTime); }

int TVantraDraw::GetLag() {
  // Ties go to even, as the default rounding mode does.
  return static_cast<int>(std::nearbyint((Elapsed() - BaseTime - FrameIndex * FrameTime) / FrameTime));
}

void TVantraDraw::Resync() {
  BaseTime = Elapsed();
  FrameIndex = 0;
}

void TVantraDraw::WaitNextFrame() {
  for (;;) {
    Machine.SleepUntilMs(Machine.NowMs() + 1);
    if (GetLag() > MaxLag) Resync();
    const double t0 = Elapsed();
    const double target = BaseTime + FrameIndex * FrameTime;
    // The frame begins once the clock has passed its start.
    Machine.SleepUntilMs(StartTime + static_cast<std::uint64_t>(std::floor(std::max(target, 0.0))) + 1);
    HandleKeys(Machine.PumpEvents(Frames + 1));
    if (Machine.QuitRequested()) throw EVantraDrawAbort();
    while (Elapsed() <= target) Machine.SleepUntilMs(Machine.NowMs() + 1);
    if (++FrameIndex >= FrameRate) {
      BaseTime += 1000;
      FrameIndex = 0;
    }
    if (Elapsed() > t0 + 2 * FrameTime) Resync();
    if (Machine.IsActive()) break;
    // Frozen while inactive: wait for the machine, then start the schedule anew.
    while (!Machine.IsActive()) {
      Machine.SleepUntilMs(Machine.NowMs() + 10);
      HandleKeys(Machine.PumpEvents(Frames + 1));
      if (Machine.QuitRequested()) throw EVantraDrawAbort();
    }
    Resync();
  }
  ++Frames;
  TakeScreenshots();
  if (FrameLimit != 0 && Frames >= FrameLimit) throw EVantraDrawAbort();
}

void TVantraDraw::HandleKeys(const std::vector<InputEvent>& events) {
  if (!InMain) return;
  bool altHeld = Machine.KeyDown(Key::Alt);
  for (const InputEvent& event : events) {
    if (event.kind != InputEvent::Kind::KeyDown && event.kind != InputEvent::Kind::KeyUp) continue;
    const Key key = static_cast<Key>(event.code);
    const bool down = event.kind == InputEvent::Kind::KeyDown;
    if (key == Key::Alt) altHeld = down;
    if (!down) continue;
    if ((key == Key::F4 && !altHeld) || (key == Key::Return && altHeld)) ToggleScreenMode();
    else if (key == Key::F5) SetScreenZoom(!ScreenZoom);
    else if (key == Key::F12) RaiseReset();
  }
}

void TVantraDraw::Present() {
  Machine.Present(Board);
  if (!Screenshots.empty()) LastPresented.CopyRect(0, 0, {0, 0, 320, 240}, Board);
}

void TVantraDraw::TakeScreenshots() {
  for (auto it = Screenshots.begin(); it != Screenshots.end();) {
    if (it->frame == Frames) {
      WriteBoardPng(LastPresented, it->path);
      it = Screenshots.erase(it);
    } else {
      ++it;
    }
  }
}

void TVantraDraw::ToggleScreenMode() {
  SetScreenMode(Mode == ScreenMode::smWindow ? ScreenMode::smFullScreen : ScreenMode::smWindow);
}

void TVantraDraw::RaiseReset() { throw EVantraDrawReset(); }

void TVantraDraw::RaiseAbort() { throw EVantraDrawAbort(); }

void TVantraDraw::Run() {
  for (;;) {
    InMain = true;
    try {
      OnMain();
      InMain = false;
      return;
    } catch (const EVantraDrawReset&) {
      InMain = false;
    } catch (...) {
      InMain = false;
      throw;
    }
  }
}
