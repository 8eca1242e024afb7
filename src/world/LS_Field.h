#pragma once
// The map scene: one map frame per update — common events, characters, the
// message window, the timer, the map's interpreter and a pending transfer —
// the map view, and the hand-over to the battle, menu and game-over scenes.

#include "shell/LS_Scene.h"

class TKelFieldScene : public TKelScene {
public:
  explicit TKelFieldScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Update() override;
  void Draw() override;
  bool ForceDraw() const override { return ForceDrawFlag; }
  TFocus TransitionFocus() const override;

  // Only records where the hero goes; DoTransfer takes him there.
  void RequestTransfer(int mapId, int x, int y);
  // Carries out a pending transfer with the teleport transitions. A request
  // made while the new map settles waits for the next call, so that a
  // script teleporting on every run cannot hold the frame forever.
  void DoTransfer();
  // New events appear in place before the screen is shown.
  void RefreshCharacters();
  // The battle scene's inputs must be filled.
  void StartBattle();
  // A night at the inn: music, fade, full recovery.
  void Inn();
  // Game over when nobody of the party is alive.
  void CheckGameOver();

  bool Shown = false;
  bool TransferPending = false;
  int TransferMapId = 0, TransferX = 0, TransferY = 0;

private:
  bool ScreenDark();
  bool ForceDrawFlag = false;
};
