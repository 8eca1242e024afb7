#pragma once
// The battle scene.

#include "shell/LS_Scene.h"

class TKelBattleScene : public TKelScene {
public:
  explicit TKelBattleScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
