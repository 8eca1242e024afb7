#include "screens/LS_Debug.h"

#include "shell/MultiInput.h"

void TKelDebugScene::Reset() {
  TKelScene::Reset();
  Showcase.reset();
}

void TKelDebugScene::Update() {
  if (!Showcase) Showcase = std::make_unique<TKelWindowShowcase>(Program.Folders, *Program.Input);
  Showcase->Update();
  if (Program.Input->Triggered(ibCancel)) {
    Showcase.reset();
    SwitchTo(scField);
  }
}

void TKelDebugScene::Draw() {
  TVantraBoard& board = BackBuffer();
  board.FillRect({0, 0, 320, 240}, {0, 0, 0});
  if (Showcase) Showcase->Draw(board);
}
