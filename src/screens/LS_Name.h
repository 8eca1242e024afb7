#pragma once
// Name entry.

#include "shell/LS_Scene.h"

class TKelNameScene : public TKelScene {
public:
  explicit TKelNameScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
