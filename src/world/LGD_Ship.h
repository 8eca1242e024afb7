#pragma once
// The three vehicles: characters that are shown only on the hero's map, the
// airship with its take-off and landing counters.

#include <string>

#include "world/LGD_Character.h"

enum TKelVehicleKind { vkBoat = 1, vkShip = 2, vkAirship = 3 };

// Take-off and landing run from this down to 0 in steps of kAirshipStep.
inline constexpr int kAirshipClimb = 256;
inline constexpr int kAirshipStep = 8;

class TKelgShip : public TKelgCharacter {
public:
  // The map is not built yet: only the vehicle's own fields are set here.
  TKelgShip(TKelgMap& map, int kind) : TKelgCharacter(map), VehicleKind(kind) { ResetFields(); }
  void Clear() override;
  bool IsOnScreen() const override;
  bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const override;
  bool CanMove(int fromX, int fromY, int toX, int toY) override;
  void AdvanceStep(int amount) override;
  void UpdateAnimation() override;
  void DecideMove() override;
  void Draw(TVantraBoard& board) override;

  // Whether the vehicle is on the map the hero is on.
  bool OnHeroMap() const;
  // Parked: facing left.
  void ResetDirection();
  // Ridden: the vehicle goes where the hero goes.
  void FollowHero(const TKelgCharacter& hero);
  // The script's graphic, else the database's.
  std::string GraphicName() const;
  int GraphicIndex() const;
  void SetGraphicOverride(const std::string& name, int index);
  void RefreshGraphic();
  // The start position of the map tree's start record.
  void PlaceAtStart();
  bool Grounded() const { return VehicleKind != vkAirship || !Flying; }

  int VehicleKind;
  int Ascent = 0;
  int Descent = 0;
  std::string OverrideName;
  int OverrideIndex = 0;

private:
  void ResetFields();
};
