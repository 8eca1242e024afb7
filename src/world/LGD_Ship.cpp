#include "world/LGD_Ship.h"

#include "data/LD_DataBase.h"
#include "data/LD_Ground.h"
#include "data/LD_MapTree.h"
#include "ui/GR_System.h"
#include "world/LGD_Screen.h"
#include "shell/KelProgram.h"
#include "state/LGD_System.h"
#include "world/LGD_Map.h"
#include "world/LGD_Party.h"

namespace {
constexpr int kMovingFrames = 11;
constexpr int kStandingFrames = 15;
}  // namespace

void TKelgShip::Clear() {
  ResetFields();
  PlaceAtStart();
  RefreshGraphic();
}

void TKelgShip::ResetFields() {
  TKelgCharacter::Clear();
  ResetDirection();
  MoveSpeed = VehicleKind == vkAirship ? 5 : 4;
  Ascent = Descent = 0;
  OverrideName.clear();
  OverrideIndex = 0;
}

void TKelgShip::PlaceAtStart() {
  const TKelMapTree* tree = Map.Program().MapTree;
  if (tree == nullptr) return;
  const TKelMapStartPosition& start = tree->StartPosition;
  switch (VehicleKind) {
    case vkBoat: MapId = start.BoatMapId, X = start.BoatX, Y = start.BoatY; break;
    case vkShip: MapId = start.ShipMapId, X = start.ShipX, Y = start.ShipY; break;
    default: MapId = start.AirshipMapId, X = start.AirshipX, Y = start.AirshipY; break;
  }
}

void TKelgShip::ResetDirection() { Direction = Facing = 3; }

bool TKelgShip::OnHeroMap() const { return MapId == Map.Hero().MapId; }

bool TKelgShip::IsOnScreen() const { return OnHeroMap() && TKelgCharacter::IsOnScreen(); }

bool TKelgShip::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  if (&other == &Map.Hero()) return false;
  return TKelgCharacter::CollidesWith(other, sameLayerToo);
}

bool TKelgShip::CanMove(int /*fromX*/, int /*fromY*/, int toX, int toY) {
  if (!Map.IsValid(toX, toY)) return false;
  if (Through) return true;
  toX = Map.WrapX(toX);
  toY = Map.WrapY(toY);
  const TKelgCharacter& rider = Map.Hero();
  if (VehicleKind != vkAirship) {
    for (int i = 0; i < Map.CharacterCount(); ++i) {
      TKelgCharacter& other = Map.CharacterAt(i);
      if (&other == this || &other == &rider || other.X != toX || other.Y != toY) continue;
      other.Update();
      if (other.X == toX && other.Y == toY && CollidesWith(other, false)) return false;
    }
  }
  const TKelDataBase* dataBase = Map.Program().DataBase;
  const TKelGroundItem* terrain = dataBase != nullptr ? dataBase->KelGround.Find(Map.TerrainAt(toX, toY)) : nullptr;
  if (terrain == nullptr) return false;
  const bool allowed = VehicleKind == vkBoat   ? terrain->BoatPass != 0
                       : VehicleKind == vkShip ? terrain->ShipPass != 0
                                               : terrain->AirshipPass != 0;
  if (!allowed || VehicleKind == vkAirship) return allowed;
  // Water is marked by the star bit of what lies on top of it.
  int upper = Map.UpperTile(toX, toY);
  const int tileEvent = Map.TileEventAt(toX, toY, -1);
  if (tileEvent > 0 && !(Map.UpperPassability(tileEvent) & kPassStar)) upper = tileEvent;
  return (Map.UpperPassability(upper) & kPassStar) != 0;
}

void TKelgShip::AdvanceStep(int amount) { TKelgCharacter::AdvanceStep(amount); }

void TKelgShip::UpdateAnimation() {
  if (Jumping || (VehicleKind == vkAirship && !Flying)) {
    Frame = 1;
    AnimCount = 0;
    return;
  }
  ++AnimCount;
  if (AnimCount > (StopCount == 0 ? kMovingFrames : kStandingFrames)) {
    Frame = (Frame + 1) % 4;
    AnimCount = 0;
  }
}

void TKelgShip::DecideMove() { RunRoute(ForcedRoute, ForcedRoutePos, true); }

void TKelgShip::FollowHero(const TKelgCharacter& hero) {
  Updated = true;
  MapId = hero.MapId;
  X = hero.X;
  Y = hero.Y;
  Direction = hero.Direction;
  Facing = hero.Facing;
  StepRemaining = hero.StepRemaining;
  UpdateAnimation();
  if (RouteForced) EndRoute();
}

std::string TKelgShip::GraphicName() const {
  if (!OverrideName.empty()) return OverrideName;
  const TKelDataBase* dataBase = Map.Program().DataBase;
  if (dataBase == nullptr) return {};
  const TKelSystem& system = dataBase->KelSystem;
  return VehicleKind == vkBoat ? system.BoatName : VehicleKind == vkShip ? system.ShipName : system.AirshipName;
}

int TKelgShip::GraphicIndex() const {
  if (!OverrideName.empty()) return OverrideIndex;
  const TKelDataBase* dataBase = Map.Program().DataBase;
  if (dataBase == nullptr) return 0;
  const TKelSystem& system = dataBase->KelSystem;
  return VehicleKind == vkBoat ? system.BoatIndex : VehicleKind == vkShip ? system.ShipIndex : system.AirshipIndex;
}

void TKelgShip::SetGraphicOverride(const std::string& name, int index) {
  OverrideName.clear();
  OverrideIndex = 0;
  // The database's own graphic is no override.
  if (name == GraphicName() && index == GraphicIndex()) return;
  OverrideName = name;
  OverrideIndex = index;
}

void TKelgShip::RefreshGraphic() {
  const std::string name = GraphicName();
  CharSetName = name;
  CharSetIndex = GraphicIndex();
}

void TKelgShip::Draw(TVantraBoard& board) {
  // A vehicle without a graphic is not drawn at all (never as a tile).
  if (CharSetName.empty() || !OnHeroMap()) return;
  if (Grounded()) {
    TKelgCharacter::Draw(board);
    return;
  }
  const bool landing = Descent > 0;
  const int strength = landing ? Descent : kAirshipClimb - Ascent;
  Map.System().Graphic().DrawVehicleShadow(board, ScreenX() - 8, ScreenY() - JumpHeight() - 16, strength);
  // The sprite is raised by borrowing the shake offset for this one drawing.
  TKelgScreen& screen = Map.Screen();
  const int shakeY = screen.ShakeY;
  screen.ShakeY -= strength / 16;
  TKelgCharacter::Draw(board);
  screen.ShakeY = shakeY;
}
