#pragma once
// The main menu (items, skills, equipment, save, quit). Until it is built,
// an empty screen that Cancel leaves for the map.

#include "shell/LS_Scene.h"

class TKelMenuScene : public TKelScene {
public:
  explicit TKelMenuScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override;
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }
};
