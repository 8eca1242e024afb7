#include "screens/LS_GameOver.h"

#include "data/LD_DataBase.h"
#include "graphics/VantraDraw.h"
#include "shell/MultiInput.h"

void TKelGameOverScene::Reset() {
  TKelScene::Reset();
  Prepared = false;
  Picture.FreePixels();
}

void TKelGameOverScene::Prepare() {
  Picture.SetSize(320, 240);
  LoadGamePicture(Picture, "GameOver", Program.DataBase->KelSystem.GameOverName);
  Prepared = true;
  FadeIn(1);
}

void TKelGameOverScene::Update() {
  if (!Prepared) Prepare();
  if (Program.Input->Triggered(ibDecide) || Program.Input->Triggered(ibCancel)) Leave();
}

void TKelGameOverScene::Leave() {
  FadeOut(1);
  Reset();
  // The whole game restarts and comes back to the title.
  Program.Draw->RaiseReset();
}

void TKelGameOverScene::Draw() {
  if (!Prepared) return;
  TVantraBoard& board = BackBuffer();
  board.FillRect({0, 0, 320, 240}, {0, 0, 0});
  board.Draw(0, 0, Picture.GetBounds(), Picture);
}
