#include "screens/LS_Title.h"

#include "shell/MultiInput.h"

namespace {
constexpr double kFadeStep = 3;
}

void TKelTitleScene::Reset() {
  TKelScene::Reset();
  Shown = false;
}

void TKelTitleScene::Update() {
  if (!Shown) {
    Shown = true;
    FadeIn(kFadeStep);
    return;
  }
  if (Program.Input->Triggered(ibDecide)) SwitchTo(scField);
}

void TKelTitleScene::Draw() {
  // Until the title picture and its window exist: a sky, a horizon and a banner.
  TVantraBoard& board = BackBuffer();
  for (int band = 0; band < 12; ++band) {
    const auto shade = static_cast<std::uint8_t>(32 + band * 12);
    board.FillRect({0, band * 15, 320, band * 15 + 15}, {16, static_cast<std::uint8_t>(shade / 2), shade});
  }
  board.FillRect({0, 180, 320, 240}, {48, 80, 40});
  board.FillRect({60, 70, 260, 110}, {232, 216, 160});
  board.FillRect({64, 74, 256, 106}, {120, 40, 40});
  board.FillRect({120, 150, 200, 166}, {240, 240, 240});
}
