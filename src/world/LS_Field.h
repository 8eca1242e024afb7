#pragma once
// The map scene: one map frame per update — common events, characters, the
// message window, the timer and the map's interpreter — and the map view.

#include "shell/LS_Scene.h"

class TKelFieldScene : public TKelScene {
public:
  explicit TKelFieldScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Update() override;
  void Draw() override;
  bool ForceDraw() const override { return ForceDrawFlag; }

  bool Shown = false;

private:
  bool ForceDrawFlag = false;
};
