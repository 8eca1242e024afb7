#pragma once
// The three vehicles: characters that are shown only on the hero's map.

#include "world/LGD_Character.h"

enum TKelVehicleKind { vkBoat = 1, vkShip = 2, vkAirship = 3 };

class TKelgShip : public TKelgCharacter {
public:
  TKelgShip(TKelgMap& map, int kind) : TKelgCharacter(map), VehicleKind(kind) { Clear(); }
  void Clear() override;
  bool IsOnScreen() const override;
  bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const override;
  void DecideMove() override;

  // Whether the vehicle is on the map the hero is on.
  bool OnHeroMap() const;

  int VehicleKind;
};
