#include "shell/LS_Scene.h"

#include <algorithm>
#include <cmath>

#include "graphics/VantraDraw.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"

TKelScene::TKelScene(TKelProgram& program) : Program(program) {}

void TKelScene::Reset() {
  OldScreen.Clear();
  NewScreen.Clear();
}

TVantraBoard& TKelScene::BackBuffer() { return Program.Draw->Board; }
TKelgSystem& TKelScene::System() { return Program.SaveData->System; }
void TKelScene::SwitchTo(TKelSceneId scene) { System().SceneId = scene; }

void TKelScene::WaitFrame() {
  TVantraDraw& draw = *Program.Draw;
  if (draw.GetLag() < draw.GetMaxLag() / 2) {
    Draw();
    draw.Present();
  }
  draw.WaitNextFrame();
}

void TKelScene::FadeIn(double step) {
  TVantraBoard& board = BackBuffer();
  double level = board.Brightness;
  while (board.Brightness < 100) {
    level += step;
    board.Brightness = std::min(static_cast<int>(std::trunc(level)), 100);
    WaitFrame();
  }
  Draw();
  Program.Draw->Present();
  Program.Input->Flush();
}

void TKelScene::FadeOut(double step) {
  TVantraBoard& board = BackBuffer();
  double level = board.Brightness;
  while (board.Brightness > 0) {
    level -= step;
    board.Brightness = std::max(static_cast<int>(std::trunc(level)), 0);
    WaitFrame();
  }
  Draw();
  Program.Draw->Present();
  Program.Input->Flush();
}

void TKelScene::FlashScreen() {
  TVantraBoard& board = BackBuffer();
  for (int flash = 0; flash < 2; ++flash) {
    for (int j = 0; j <= 9; ++j) {
      board.Brightness = 200 - 10 * j;
      WaitFrame();
    }
  }
  board.Brightness = 100;
  Draw();
  Program.Draw->Present();
  Program.Input->Flush();
}
