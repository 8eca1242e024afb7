#pragma once
// The save and load screen.

#include "shell/LS_Scene.h"

class TKelSaveFileScene : public TKelScene {
public:
  explicit TKelSaveFileScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
