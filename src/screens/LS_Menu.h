#pragma once
// The main menu (items, skills, equipment, save, quit).

#include "shell/LS_Scene.h"

class TKelMenuScene : public TKelScene {
public:
  explicit TKelMenuScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override {}
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
