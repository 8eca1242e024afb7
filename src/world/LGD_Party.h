#pragma once
// The hero on the map. Here a plain character that plays its imposed route;
// input, vehicles and the camera come with the field rules.

#include "world/LGD_Character.h"

class TKelgParty : public TKelgCharacter {
public:
  using TKelgCharacter::TKelgCharacter;
  bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const override;
  void DecideMove() override;
  void Draw(TVantraBoard& board) override;
};
