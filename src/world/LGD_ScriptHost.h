#pragma once
// The interpreters' view of the map, the party and the field scene.

#include "script/ScriptHost.h"

class TKelgSaveData;
struct TKelProgram;
class TKelgMapEvent;

class TKelgWorldScriptHost final : public TKelScriptHost {
public:
  TKelgWorldScriptHost(TKelProgram& program, TKelgSaveData& game) : Program(program), Game(game) {}

  std::vector<int> MapEventIds() const override;
  bool EventStartPending(int eventId) const override;
  void ClearEventStartPending(int eventId) override;
  bool EventActive(int eventId) const override;
  bool EventStartedByKey(int eventId) const override;
  const TKelEventScriptList* EventPageScript(int eventId) const override;
  void EndEventProcessing(int eventId) override;
  void RefreshEvents() override;
  const TKelEventScriptList* AutoStartCommonEventScript() const override;
  bool ForcedRouteUnfinished() const override;
  bool VehicleTransitionBusy() const override;
  bool StopKeyHeld() const override;
  void EndHeroRoute() override;
  TKelgCharacter* ResolveCharacter(int reference, int runningEventId) override;
  int PartyGold() const override;
  void SpendGold(int amount) override;
  void RunInn() override;
  bool MapUnchangedSinceSave() const override;

private:
  TKelgMapEvent* Event(int eventId) const;

  TKelProgram& Program;
  TKelgSaveData& Game;
};
