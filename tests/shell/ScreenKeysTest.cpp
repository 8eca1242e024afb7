#include <gtest/gtest.h>

#include "graphics/VantraDraw.h"
#include "platform/HeadlessPlatform.h"

namespace {

struct KeysOutcome {
  ScreenMode mode;
  bool zoom;
  bool reset;
};

// Runs five frames inside the main routine with the given keys.
KeysOutcome RunKeys(const std::string& script) {
  HeadlessPlatform machine(ParseInputScript(script, "keys"));
  TVantraDraw draw(machine);
  draw.SetFrameRate(60);
  draw.SetScreenMode(ScreenMode::smWindow);
  draw.Initialize();
  bool reset = false;
  int runs = 0;
  draw.OnMain = [&] {
    if (runs++ > 0) {
      reset = true;  // started again after a reset
      return;
    }
    for (int i = 0; i < 5; ++i) draw.WaitNextFrame();
  };
  draw.Run();
  return {draw.GetScreenMode(), draw.GetScreenZoom(), reset};
}

TEST(ScreenKeys, FunctionKeysActOnlyInsideTheMainRoutine) {
  struct Case {
    const char* script;
    ScreenMode mode;
    bool zoom;
    bool reset;
  };
  const Case cases[] = {
      {"", ScreenMode::smWindow, false, false},
      {"2 F5", ScreenMode::smWindow, true, false},
      {"2 F5\n3 F5", ScreenMode::smWindow, false, false},
      {"2 F4", ScreenMode::smFullScreen, false, false},
      {"2 Alt+Return", ScreenMode::smFullScreen, false, false},
      {"2 Alt+F4", ScreenMode::smWindow, false, false},  // left to the window manager
      {"2 Return", ScreenMode::smWindow, false, false},
      {"2 F12", ScreenMode::smWindow, false, true},
  };
  for (const auto& c : cases) {
    const KeysOutcome outcome = RunKeys(c.script);
    EXPECT_EQ(outcome.mode, c.mode) << c.script;
    EXPECT_EQ(outcome.zoom, c.zoom) << c.script;
    EXPECT_EQ(outcome.reset, c.reset) << c.script;
  }
}

TEST(ScreenKeys, F12OutsideTheMainRoutineDoesNothing) {
  HeadlessPlatform machine(ParseInputScript("1 F12", "keys"));
  TVantraDraw draw(machine);
  draw.SetFrameRate(60);
  draw.Initialize();
  EXPECT_NO_THROW(for (int i = 0; i < 3; ++i) draw.WaitNextFrame());
}

TEST(ScreenKeys, DisplayRectFollowsModeAndZoom) {
  HeadlessPlatform machine;
  TVantraDraw draw(machine);
  draw.SetScreenMode(ScreenMode::smWindow);
  EXPECT_EQ(draw.DisplayRect().Right, 320);
  draw.SetScreenZoom(true);
  EXPECT_EQ(draw.DisplayRect().Right, 640);
  EXPECT_EQ(draw.DisplayRect().Bottom, 480);
}

}  // namespace
