#include "world/LS_Field.h"

#include "battle/LS_Battle.h"
#include "graphics/VantraDraw.h"
#include "script/LGD_Scripter.h"
#include "shell/Melvox.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"
#include "ui/GameMessageWindow.h"
#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/MapView.h"

namespace {
constexpr int kFieldFadeStep = 10;
constexpr int kSlowFadeStep = 3;
constexpr int kMessageClosingDrawStep = 7;
constexpr std::uint8_t kNoTransition = 20;
constexpr int kInnMusicFadeMs = 800;
constexpr int kInnMusicMaxFrames = 600;
// Frames the game-over wait gives the message window to close.
constexpr int kMessageCloseMaxFrames = 60;
}  // namespace

void TKelFieldScene::Reset() {
  TKelScene::Reset();
  Shown = false;
  ForceDrawFlag = false;
  TransferPending = false;
  TransferMapId = TransferX = TransferY = 0;
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
  DoTransfer();
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

TKelScene::TFocus TKelFieldScene::TransitionFocus() const {
  const TKelgParty& hero = Program.SaveData->Map.Hero();
  return {hero.ScreenX(), hero.ScreenY() - 8};
}

bool TKelFieldScene::ScreenDark() { return BackBuffer().Brightness == 0; }

void TKelFieldScene::RequestTransfer(int mapId, int x, int y) {
  TransferPending = true;
  TransferMapId = mapId;
  TransferX = x;
  TransferY = y;
}

void TKelFieldScene::DoTransfer() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgParty& hero = game.Party;
  if (!TransferPending || hero.Leaving) return;
  Program.MessageWindow->Close();
  const bool dark = ScreenDark();
  const std::uint8_t erase = System().Transition(tsTeleportErase);
  if (!dark && erase != kNoTransition) {
    hero.ResetAnimation();
    EraseScreen(erase);
  }
  TransferPending = false;
  const int oldMap = hero.MapId;
  hero.TransferTo(TransferMapId, TransferX, TransferY);
  if (hero.MapId != oldMap) game.Screen.SetFlash(0, 0, 0, 0, 0);
  if (dark) hero.ResetAnimation();
  RefreshCharacters();
  if (!dark) ShowScreen(System().Transition(tsTeleportShow));
}

void TKelFieldScene::RefreshCharacters() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgMap& map = game.Map;
  for (const auto& event : map.Events) event->Updated = false;
  game.CommonEvents.Update(game.System, game.ScriptServices());
  for (const auto& event : map.Events) event->Update();
}

void TKelFieldScene::StartBattle() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgSystem& system = System();
  Program.MessageWindow->Close();
  if (system.Transition(tsTeleportErase) != kNoTransition) game.Party.ResetAnimation();
  WaitFrame();
  system.BattleReturnMusic.AssignFields(system.CurrentMusic);
  MelvoxStopSound();
  system.PlaySystemSound(ssBattleStart);
  system.PlayMusic(system.Music(TKelgSystem::msBattle), false);
  system.FaceName.clear();
  const bool dark = ScreenDark();
  if (auto* battle = dynamic_cast<TKelBattleScene*>(Program.Scenes[scBattle])) battle->StartedDark = dark;
  if (!dark) FlashScreen();
  EraseScreen(system.Transition(tsBattleStartErase));
  system.SceneId = scBattle;
}

void TKelFieldScene::Inn() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgSystem& system = System();
  TKelMusic remembered;
  remembered.AssignFields(system.CurrentMusic);
  system.FadeOutMusic(kInnMusicFadeMs);
  Program.MessageWindow->Close();
  game.Party.ResetAnimation();
  FadeOut(kSlowFadeStep);
  system.PlayMusic(system.Music(TKelgSystem::msInn), true);
  for (int i = 0; i < game.PartyInfo.MemberCount(); ++i)
    if (TKelgPlayerItem* member = game.PartyInfo.Member(i)) member->FullRecovery();
  TVantraDraw& draw = *Program.Draw;
  for (int frame = 0; frame < kInnMusicMaxFrames && MelvoxGetMusicPlaying() != 0 && MelvoxGetMusicLooping() == 0;
       ++frame) {
    draw.Present();
    draw.WaitNextFrame();
  }
  system.PlayMusic(remembered, true);
  FadeIn(kSlowFadeStep);
}

void TKelFieldScene::CheckGameOver() {
  TKelgSaveData& game = *Program.SaveData;
  TKelgPartyInfo& party = game.PartyInfo;
  if (party.MemberCount() == 0) return;
  for (int i = 0; i < party.MemberCount(); ++i)
    if (const TKelgPlayerItem* member = party.Member(i); member != nullptr && member->IsAlive()) return;
  TKelgSystem& system = System();
  if (system.SceneId != scField) return;
  // Called from inside a running command: only the message window is let
  // run while it closes; the interpreter that called us is not re-entered.
  TKelMessageWindow& message = *Program.MessageWindow;
  message.Close();
  for (int frame = 0; frame < kMessageCloseMaxFrames && message.Exists(); ++frame) {
    message.Update();
    WaitFrame();
  }
  system.PlayMusic(system.Music(TKelgSystem::msGameOver), true);
  system.SceneId = scGameOver;
  FadeOut(kSlowFadeStep);
}
