#include "world/LGD_ScriptHost.h"

#include "shell/KelProgram.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"
#include "world/LGD_MapEvent.h"
#include "world/LS_Field.h"

namespace {
constexpr int kHeroReference = 10001;
constexpr int kThisEventReference = 10005;
}  // namespace

TKelgMapEvent* TKelgWorldScriptHost::Event(int eventId) const {
  for (const auto& character : Game.Map.Events)
    if (character->Key == eventId) return static_cast<TKelgMapEvent*>(character.get());
  return nullptr;
}

std::vector<int> TKelgWorldScriptHost::MapEventIds() const {
  std::vector<int> ids;
  for (const auto& character : Game.Map.Events) ids.push_back(character->Key);
  return ids;
}

bool TKelgWorldScriptHost::EventStartPending(int eventId) const {
  const TKelgMapEvent* event = Event(eventId);
  return event != nullptr && event->StartPending;
}

void TKelgWorldScriptHost::ClearEventStartPending(int eventId) {
  if (TKelgMapEvent* event = Event(eventId)) event->StartPending = false;
}

bool TKelgWorldScriptHost::EventActive(int eventId) const {
  const TKelgMapEvent* event = Event(eventId);
  return event != nullptr && event->Active;
}

bool TKelgWorldScriptHost::EventStartedByKey(int eventId) const {
  const TKelgMapEvent* event = Event(eventId);
  return event != nullptr && event->StartedByKey;
}

const TKelEventScriptList* TKelgWorldScriptHost::EventPageScript(int eventId) const {
  const TKelgMapEvent* event = Event(eventId);
  return event != nullptr ? event->PageScript() : nullptr;
}

void TKelgWorldScriptHost::EndEventProcessing(int eventId) {
  if (TKelgMapEvent* event = Event(eventId)) {
    event->UpdateFacing();
    event->Processing = false;
  }
}

void TKelgWorldScriptHost::RefreshEvents() {
  for (const auto& character : Game.Map.Events) static_cast<TKelgMapEvent*>(character.get())->SelectPage();
}

const TKelEventScriptList* TKelgWorldScriptHost::AutoStartCommonEventScript() const {
  return Game.CommonEvents.AutoStartScript(Game.System);
}

bool TKelgWorldScriptHost::ForcedRouteUnfinished() const {
  for (int i = 0; i < Game.Map.CharacterCount(); ++i) {
    const TKelgCharacter& character = Game.Map.CharacterAt(i);
    if (character.RouteForced && !character.ForcedRouteDone) return true;
  }
  return false;
}

// Boarding and the airship arrive with the vehicles.
bool TKelgWorldScriptHost::VehicleTransitionBusy() const { return false; }

bool TKelgWorldScriptHost::StopKeyHeld() const {
  return Program.Flags.IsTestPlay && Program.Input != nullptr && Program.Input->KeyHeld(Key::F10);
}

void TKelgWorldScriptHost::EndHeroRoute() { Game.Party.EndRoute(); }

TKelgCharacter* TKelgWorldScriptHost::ResolveCharacter(int reference, int runningEventId) {
  if (reference == kHeroReference) return &Game.Party;
  if (reference >= kHeroReference + 1 && reference <= kHeroReference + 3)
    return &Game.Map.Vehicle(reference - kHeroReference - 1);
  return Event(reference == kThisEventReference ? runningEventId : reference);
}

int TKelgWorldScriptHost::PartyGold() const { return Game.PartyInfo.Gold(); }
void TKelgWorldScriptHost::SpendGold(int amount) { Game.PartyInfo.LoseGold(amount); }

void TKelgWorldScriptHost::RunInn() {
  if (auto* field = static_cast<TKelFieldScene*>(Program.Scenes[scField])) field->Inn();
}

bool TKelgWorldScriptHost::MapUnchangedSinceSave() const { return true; }
