#pragma once
// The battle scene. Until battles are fought here it only keeps what the map
// hands over and returns to the map with a result: the one a test chose, or
// victory on the decision key and escape on the cancel key.

#include <cstdint>
#include <string>

#include "shell/LS_Scene.h"

enum TKelBattleResult : std::uint8_t { brVictory, brEscape, brDefeat, brAborted };

class TKelBattleScene : public TKelScene {
public:
  explicit TKelBattleScene(TKelProgram& program) : TKelScene(program) { Reset(); }
  void Reset() override;
  void Update() override;
  void Draw() override { BackBuffer().FillRect({0, 0, 320, 240}, {0, 0, 0}); }

  // Filled by whoever starts the battle.
  int TroopId = 0;
  std::string BackdropName;
  bool CanEscape = true;
  bool CanLose = false;
  bool FirstStrike = false;
  std::uint8_t* ResultSlot = nullptr;
  bool StartedDark = false;

  // Set by tests: the result of the next battle without waiting for a key.
  int ChosenResult = -1;
  // What the last battle ended with, -1 before any.
  int LastResult = -1;

private:
  void EndBattle(int result);
};
