#pragma once
// The map scene: one map frame per update.

#include "shell/LS_Scene.h"

class TKelFieldScene : public TKelScene {
public:
  explicit TKelFieldScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Update() override;
  void Draw() override;
};
