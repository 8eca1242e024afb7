#pragma once
// The hero on the map: walking by the direction keys, the action key and the
// touch triggers that start events. Vehicles, encounters and the camera pan
// come with the rest of the field rules.

#include "world/LGD_Character.h"

class TKelgParty : public TKelgCharacter {
public:
  using TKelgCharacter::TKelgCharacter;
  bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const override;
  void DecideMove() override;
  void Draw(TVantraBoard& board) override;

  // Looks of the first party member (none with an empty party).
  void RefreshGraphic();
  // Starts the events under the hero whose page has this trigger.
  void TouchHere(int trigger, bool byKey);
  // Starts the events in front of the hero; the action key reaches across
  // up to three counter cells.
  void TouchFront(int trigger, bool byKey);

private:
  bool EventsWaitingToStart() const;
  // Starts the events of one cell; true when one was started.
  bool StartEventsAt(int x, int y, int trigger, bool byKey, bool onHeroLayer);
};
