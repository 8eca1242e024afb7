#include "world/LS_Field.h"

void TKelFieldScene::Update() {}

void TKelFieldScene::Draw() {
  // Until maps are drawn: a grid of tiles.
  TVantraBoard& board = BackBuffer();
  for (int y = 0; y < 15; ++y)
    for (int x = 0; x < 20; ++x) {
      const bool dark = (x + y) % 2 == 0;
      board.FillRect({x * 16, y * 16, x * 16 + 16, y * 16 + 16},
                     dark ? TVantraRgb{40, 96, 40} : TVantraRgb{56, 120, 56});
    }
}
