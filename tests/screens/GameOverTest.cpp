#include <gtest/gtest.h>

#include "common/Replay.h"
#include "shell/LS_Scene.h"
#include "shell/MultiInput.h"

namespace {

struct GameOverRun {
  std::uint64_t resetAtFrame = 0;
  bool pictureShown = false;
};

// Runs the game-over scene alone inside the main routine until it restarts the game.
GameOverRun RunGameOver(const std::string& script) {
  HeadlessPlatform machine(ParseInputScript(script, "keys"));
  TKelLaunchOptions options;
  options.headless = true;
  options.frameLimit = 2000;
  TFormKelGameMain form(machine, options);
  form.SetFolders({DemoGame(), {}});
  form.FormCreate();
  form.FormShow();
  const TKelProgram& program = form.GetProgram();
  TVantraDraw& draw = *program.Draw;
  TKelScene& gameOver = form.Scene(scGameOver);
  draw.Board.Brightness = 0;  // the screen before was erased
  GameOverRun result;
  int runs = 0;
  draw.OnMain = [&] {
    if (runs++ > 0) {
      result.resetAtFrame = draw.FramesDone();
      return;
    }
    for (;;) {
      program.Input->Poll();
      gameOver.Update();
      gameOver.Draw();
      for (int y = 0; y < 240 && !result.pictureShown; ++y)
        if (draw.Board.Pixel(160, y) != 0) result.pictureShown = true;
      draw.WaitNextFrame();
    }
  };
  draw.Run();
  form.FormCloseQuery();
  return result;
}

TEST(GameOver, FadesInThenAKeyRestartsTheGame) {
  // The press at frame 50 falls inside the 100-frame fade-in and is flushed;
  // the one at 150 leaves: 100 frames of fade-out, then the restart.
  const GameOverRun run = RunGameOver("50 Return\n150 Escape\n");
  EXPECT_TRUE(run.pictureShown);
  EXPECT_GE(run.resetAtFrame, 250u);
  EXPECT_LE(run.resetAtFrame, 252u);
}

}  // namespace
