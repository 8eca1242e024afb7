#pragma once
// The game-over screen.

#include "shell/LS_Scene.h"

class TKelGameOverScene : public TKelScene {
public:
  explicit TKelGameOverScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
