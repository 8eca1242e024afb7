#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "graphics/VantraDraw.h"
#include "platform/HeadlessPlatform.h"
#include "shell/GameMain.h"

namespace {

struct RunResult {
  nlohmann::json state;
  bool anyLitPixel = false;
};

// The real form on the headless backend, as zarplayer --headless runs it.
RunResult RunGame(std::uint64_t frames, const std::string& script, std::vector<std::string> positional = {}) {
  HeadlessPlatform machine(ParseInputScript(script, "script"));
  TKelLaunchOptions options;
  options.headless = true;
  options.frameLimit = frames;
  options.positional = std::move(positional);
  RunResult result;
  TFormKelGameMain form(machine, options);
  form.SetFolders({ZAR_BINARY_DIR "/demo", {}});
  form.FormCreate();
  form.FormShow();
  try {
    form.Run();
  } catch (const EVantraDrawAbort&) {
  }
  result.state = form.DumpState();
  const TVantraBoard& board = form.GetProgram().Draw->Board;
  for (int y = 0; y < 240 && !result.anyLitPixel; ++y)
    for (int x = 0; x < 320; ++x)
      if (board.Pixel(x, y) != 0) result.anyLitPixel = true;
  return result;
}

TEST(MainLoop, TitleComesAfterTwentyFramesOfBlack) {
  EXPECT_EQ(RunGame(20, "").state["SceneId"], scField);  // cleared state, not yet the title
  const RunResult run = RunGame(120, "");
  EXPECT_EQ(run.state["SceneId"], scTitle);
  EXPECT_EQ(run.state["frames"], 120);
  EXPECT_TRUE(run.anyLitPixel);
}

TEST(MainLoop, HeldF12KeepsTheScreenBlackUntilReleasedThenTwentyFrames) {
  // F12 goes down at frame 100 and is held 50 frames; the reset waits for the
  // release at 150, then 20 frames, and the title fades in from there.
  const char* script = "100 F12 50";
  const RunResult held = RunGame(149, script);
  EXPECT_EQ(held.state["SceneId"], scField);
  EXPECT_FALSE(held.anyLitPixel);
  const RunResult waiting = RunGame(170, script);
  EXPECT_EQ(waiting.state["SceneId"], scField);
  EXPECT_FALSE(waiting.anyLitPixel);
  const RunResult back = RunGame(200, script);
  EXPECT_EQ(back.state["SceneId"], scTitle);
  EXPECT_TRUE(back.anyLitPixel);
}

TEST(MainLoop, BattleTestNeedsANumericTroop) {
  EXPECT_THROW(RunGame(60, "", {"BattleTest", "x", "Window", "slime"}), std::runtime_error);
  EXPECT_EQ(RunGame(60, "", {"BattleTest", "x", "Window", "1"}).state["SceneId"], scBattle);
}

TEST(InputScript, BadLinesNameTheFileAndLine) {
  const char* bad[] = {"x Return", "10", "10 Return 0", "10 Retrun", "10 Up+", "10 Up 2 3"};
  for (const char* line : bad) {
    try {
      ParseInputScript(std::string("# ok\n") + line, "keys.txt");
      ADD_FAILURE() << line;
    } catch (const std::runtime_error& e) {
      EXPECT_NE(std::string(e.what()).find("keys.txt:2:"), std::string::npos) << e.what();
    }
  }
  const auto events = ParseInputScript("5 Up+PadA 3 # walk\n", "keys.txt");
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].frame, 5u);
  EXPECT_EQ(events[3].frame, 8u);
}

}  // namespace
