#include "script/LGD_ScripterCommands.h"
#include "state/LGD_System.h"
#include "world/LGD_Party.h"
#include "world/LS_Field.h"

namespace {

TKelgParty* Hero(TKelgBaseScripter& scripter) {
  return dynamic_cast<TKelgParty*>(scripter.Services().Host.ResolveCharacter(chrHero, 0));
}

void TransferHero(TKelgBaseScripter& scripter, int mapId, int x, int y) {
  TKelgParty* hero = Hero(scripter);
  TKelFieldScene* field = hero != nullptr ? hero->Field() : nullptr;
  if (field == nullptr) return;
  field->RequestTransfer(mapId, x, y);
  // A parallel script leaves the move to the end of the frame.
  if (dynamic_cast<TKelgRegularScripter*>(&scripter) != nullptr) return;
  const int oldMap = hero->MapId;
  field->DoTransfer();
  // The events that called us are gone with their map.
  if (hero->MapId != oldMap)
    for (int i = 0; i < scripter.Frames.Count(); ++i) scripter.Frames.ItemAt(i)->EventId = 0;
}

}  // namespace

void Teleport(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  TransferHero(scripter, line.Param(0), line.Param(1), line.Param(2));
}

void MemoriseLocation(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  const TKelgParty* hero = Hero(scripter);
  if (hero == nullptr) return;
  TKelgSystem& system = scripter.Services().System;
  system.SetVariable(line.Param(0), hero->MapId);
  system.SetVariable(line.Param(1), hero->X);
  system.SetVariable(line.Param(2), hero->Y);
}

void TeleportToMemorised(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  const TKelgSystem& system = scripter.Services().System;
  TransferHero(scripter, system.Variable(line.Param(0)), system.Variable(line.Param(1)),
               system.Variable(line.Param(2)));
}
