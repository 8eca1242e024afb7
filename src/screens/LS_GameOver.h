#pragma once
// The game-over screen: its picture until a key, then the whole game restarts.

#include "graphics/VantraSheet.h"
#include "shell/LS_Scene.h"

class TKelGameOverScene : public TKelScene {
public:
  explicit TKelGameOverScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Draw() override;
  void Update() override;

  void Prepare();
  [[noreturn]] void Leave();

  TVantraSheet Picture;
  bool Prepared = false;
};
