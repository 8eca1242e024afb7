#include "world/LGD_Party.h"

#include "world/LGD_Ship.h"

bool TKelgParty::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  const auto* vehicle = dynamic_cast<const TKelgShip*>(&other);
  if (vehicle != nullptr && vehicle->VehicleKind == vkAirship) return false;
  return TKelgCharacter::CollidesWith(other, sameLayerToo);
}

void TKelgParty::DecideMove() { RunRoute(ForcedRoute, ForcedRoutePos, true); }

void TKelgParty::Draw(TVantraBoard& board) {
  if (!Hidden) TKelgCharacter::Draw(board);
}
