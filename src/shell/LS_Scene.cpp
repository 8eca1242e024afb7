#include "shell/LS_Scene.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "graphics/VantraDraw.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"

TKelScene::TKelScene(TKelProgram& program) : Program(program) {}

void TKelScene::Reset() {
  OldScreen.Clear();
  NewScreen.Clear();
}

TKelWindowServices TKelScene::WindowServices() {
  TKelgSystem& system = System();
  return {system.Graphic(), *Program.Input, system};
}

void TKelScene::LoadGamePicture(TVantraSheet& sheet, std::string_view folder, const std::string& name) {
  const std::string path = FindAsset(Program.Folders, name, folder, kImageExtensions);
  if (path.empty()) {
    const auto shown = Cp932ToUtf8(name);
    throw std::runtime_error("Picture not found: " + std::string(folder) + "\\" + shown.value_or(name) +
                             " (looked for .bmp, .png and .xyz in the game folder and the run-time package)");
  }
  sheet.LoadFromFile(path, true);
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
