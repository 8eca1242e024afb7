#include "world/LGD_Ship.h"

#include "world/LGD_Map.h"
#include "world/LGD_Party.h"

void TKelgShip::Clear() {
  TKelgCharacter::Clear();
  // Vehicles face left when parked.
  Direction = Facing = 3;
  MoveSpeed = VehicleKind == vkAirship ? 5 : 4;
}

bool TKelgShip::OnHeroMap() const { return MapId == Map.Hero().MapId; }

bool TKelgShip::IsOnScreen() const { return OnHeroMap() && TKelgCharacter::IsOnScreen(); }

bool TKelgShip::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  if (&other == &Map.Hero()) return false;
  return TKelgCharacter::CollidesWith(other, sameLayerToo);
}

void TKelgShip::DecideMove() { RunRoute(ForcedRoute, ForcedRoutePos, true); }
