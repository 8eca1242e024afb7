#pragma once
// The debug screen of switches and variables (test play, F9 on the map).
// Until it is built it shows the windows of the game's skin; Cancel returns.

#include <memory>

#include "shell/LS_Scene.h"
#include "ui/WindowShowcase.h"

class TKelDebugScene : public TKelScene {
public:
  explicit TKelDebugScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Update() override;
  void Draw() override;

private:
  std::unique_ptr<TKelWindowShowcase> Showcase;
};
