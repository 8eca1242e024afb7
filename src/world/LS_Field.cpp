#include "world/LS_Field.h"

#include "script/LGD_Scripter.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"
#include "ui/GameMessageWindow.h"
#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/MapView.h"

namespace {
constexpr int kFieldFadeStep = 10;
constexpr int kMessageClosingDrawStep = 7;
}  // namespace

void TKelFieldScene::Reset() {
  TKelScene::Reset();
  Shown = false;
  ForceDrawFlag = false;
}

void TKelFieldScene::Update() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgMap& map = game.Map;
  if (map.Hero().MapId == 0) return;
  if (!Shown) {
    FadeIn(kFieldFadeStep);
    Shown = true;
  }
  for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Updated = false;
  game.CommonEvents.Update(game.System, game.ScriptServices());
  for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Update();
  TKelMessageWindow& message = *Program.MessageWindow;
  message.Update();
  // The timer's shown second changed: pages may depend on it.
  if (game.PartyInfo.UpdateTimer()) map.RefreshEvents();
  if (game.Scripter) game.Scripter->UpdateFrame();
  map.Panorama().UpdateFrame();
  ForceDrawFlag = message.CloseStep == kMessageClosingDrawStep;
  if (System().SceneId != scField) {
    FadeOut(kFieldFadeStep);
    Shown = false;
  } else if (Program.Flags.IsTestPlay && Program.Input->KeyHeld(Key::F9)) {
    SwitchTo(scDebug);
  }
}

void TKelFieldScene::Draw() {
  ForceDrawFlag = false;
  TKelgMap& map = Program.SaveData->Map;
  if (map.Hero().MapId == 0) {
    BackBuffer().Clear();
    return;
  }
  DrawMapView(map, BackBuffer());
  Program.MessageWindow->Draw(BackBuffer());
}
