#pragma once
// The title screen: the logos once a run, the title picture and music, and
// the window of new game, continue and quit.

#include <memory>

#include "graphics/VantraSheet.h"
#include "shell/LS_Scene.h"
#include "ui/GameWindows.h"

class TKelTitleScene : public TKelScene {
public:
  explicit TKelTitleScene(TKelProgram& program);
  void Reset() override;
  void Draw() override;
  void Update() override;

  void Prepare();
  void ShowLogo(const std::string& name);
  void Leave();

  TVantraSheet Picture;
  TKelWindow CommandWindow;
  bool Prepared = false;
  bool FirstShow = true;
  bool SaveExists = false;
};
