#pragma once
// The map scene: one map frame per update.

#include "shell/LS_Scene.h"

class TKelFieldScene : public TKelScene {
public:
  explicit TKelFieldScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  // Every character of the map once, then the panorama's own scrolling.
  void Update() override;
  void Draw() override;
};
