#include "battle/LS_Battle.h"

#include "shell/MultiInput.h"
#include "state/LGD_System.h"

void TKelBattleScene::Reset() {
  TKelScene::Reset();
  TroopId = 0;
  BackdropName.clear();
  CanEscape = true;
  CanLose = false;
  FirstStrike = false;
  ResultSlot = nullptr;
  StartedDark = false;
}

void TKelBattleScene::Update() {
  if (ChosenResult >= 0) {
    EndBattle(ChosenResult);
    return;
  }
  if (Program.Input == nullptr) return;
  if (Program.Input->Triggered(ibDecide)) EndBattle(brVictory);
  else if (Program.Input->Triggered(ibCancel)) EndBattle(CanEscape ? brEscape : brVictory);
}

void TKelBattleScene::EndBattle(int result) {
  LastResult = result;
  if (ResultSlot != nullptr) *ResultSlot = static_cast<std::uint8_t>(result);
  ResultSlot = nullptr;
  TKelgSystem& system = System();
  // A battle test has no map music to return to.
  if (!system.BattleReturnMusic.Name.empty()) system.PlayMusic(system.BattleReturnMusic, false);
  // A lost battle that may not be lost ends the game.
  system.SceneId = result == brDefeat && !CanLose ? scGameOver : scField;
}
