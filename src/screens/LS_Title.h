#pragma once
// The title screen: new game, continue, quit.

#include "shell/LS_Scene.h"

class TKelTitleScene : public TKelScene {
public:
  explicit TKelTitleScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Update() override;
  void Draw() override;

private:
  bool Shown = false;
};
