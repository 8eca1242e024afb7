#pragma once
// The shop.

#include "shell/LS_Scene.h"

class TKelShopScene : public TKelScene {
public:
  explicit TKelShopScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
