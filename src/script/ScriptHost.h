#pragma once
// What the interpreter needs of the map, the party and the field scene, and
// nothing more. The game connects the real objects; tests drive the
// interpreter through a fake.

#include <cstdint>
#include <vector>

class TKelEventScriptList;
class TKelgCharacter;

class TKelScriptHost {
public:
  virtual ~TKelScriptHost() = default;

  // Map events, by event number, in map order.
  virtual std::vector<int> MapEventIds() const = 0;
  virtual bool EventStartPending(int eventId) const = 0;
  virtual void ClearEventStartPending(int eventId) = 0;
  // Still on the map and not erased.
  virtual bool EventActive(int eventId) const = 0;
  virtual bool EventStartedByKey(int eventId) const = 0;
  // The script of the event's active page; nil without one.
  virtual const TKelEventScriptList* EventPageScript(int eventId) const = 0;
  // The event's script is over: restore its facing and let it move again.
  virtual void EndEventProcessing(int eventId) = 0;
  virtual void RefreshEvents() = 0;

  // The first common event that wants to start by itself; nil when none.
  virtual const TKelEventScriptList* AutoStartCommonEventScript() const = 0;

  // Some character follows an imposed route that has not reached its end once.
  virtual bool ForcedRouteUnfinished() const = 0;
  // The hero boards or leaves a vehicle, or the airship rises or lands.
  virtual bool VehicleTransitionBusy() const = 0;
  // Test play with the stop key (F10) held.
  virtual bool StopKeyHeld() const = 0;
  // Ends the hero's imposed route.
  virtual void EndHeroRoute() = 0;
  // 10001 hero … 10005 the running event, else a map event; nil when none.
  virtual TKelgCharacter* ResolveCharacter(int reference, int runningEventId) = 0;

  virtual int PartyGold() const = 0;
  virtual void SpendGold(int amount) = 0;
  // The field scene's rest at the inn.
  virtual void RunInn() = 0;

  // A saved interpreter belongs to the map file it was saved with.
  virtual bool MapUnchangedSinceSave() const = 0;
};
