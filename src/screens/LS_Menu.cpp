#include "screens/LS_Menu.h"

#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"

void TKelMenuScene::Update() {
  if (!Program.Input->Triggered(ibCancel)) return;
  System().PlaySystemSound(ssCancel);
  SwitchTo(scField);
}
