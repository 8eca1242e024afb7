#pragma once
// The debug screen of switches and variables (test play).

#include "shell/LS_Scene.h"

class TKelDebugScene : public TKelScene {
public:
  explicit TKelDebugScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
