#include "world/LGD_Party.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "shell/KelProgram.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"
#include "ui/GameMessageWindow.h"
#include "world/LGD_Map.h"
#include "world/LGD_MapEvent.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Ship.h"
#include "world/LS_Field.h"
#include "battle/LS_Battle.h"

namespace {
constexpr int kFrontCells = 4;
constexpr std::array<int, 7> kPanSpeeds{0, 4, 8, 16, 32, 64, 128};
constexpr int kTerrainFlashRed = 31, kTerrainFlashGreen = 10, kTerrainFlashBlue = 10;
constexpr int kTerrainFlashStrength = 20, kTerrainFlashFrames = 6;
constexpr int kFirstStrikeOdds = 32;

int PanSpeed(int speed) { return kPanSpeeds[std::clamp(speed, 1, 6)]; }

// Brings an offset on a looping axis of `cells` cells into -size/2 .. size/2.
std::int64_t NearestOffset(std::int64_t offset, bool loops, int cells) {
  if (!loops || cells <= 0) return offset;
  const std::int64_t span = static_cast<std::int64_t>(cells) * kTileUnits;
  offset %= span;
  if (offset < -span / 2) offset += span;
  if (offset >= span / 2) offset -= span;
  return offset;
}

// The side of a cell facing its neighbour in this direction (0 south, 1 west, 2 east, 3 north).
int SideTowards(int direction) {
  switch (direction) {
    case 0: return 3;
    case 1: return 2;
    case 2: return 0;
    default: return 1;
  }
}

// The side of the neighbour in this direction that faces back.
int SideFacingBack(int direction) {
  switch (direction) {
    case 0: return 0;
    case 1: return 1;
    case 2: return 3;
    default: return 2;
  }
}
}  // namespace

TKelMapSettings InheritedMapSettings(const TKelMapTree& tree, int mapId) {
  TKelMapSettings settings;
  bool musicDecided = false;
  int id = mapId;
  for (int steps = 0; steps <= tree.Count(); ++steps) {
    const TKelMapTreeItem* entry = tree.Find(id);
    if (entry == nullptr) break;
    if (!musicDecided && entry->MusicType != 0) {
      musicDecided = true;
      settings.MusicType = entry->MusicType;
      settings.Music = &entry->Music;
    }
    if (id > 0) {
      auto decide = [](int& flag, std::uint8_t value) {
        if (flag < 0 && value != 0) flag = value == 1 ? 1 : 0;
      };
      decide(settings.TeleportAllowed, entry->TeleportAllowed);
      decide(settings.EscapeAllowed, entry->EscapeAllowed);
      decide(settings.SaveAllowed, entry->SaveAllowed);
      if (settings.BackgroundType == 0 && entry->BackgroundType != 0) {
        settings.BackgroundType = entry->BackgroundType;
        if (entry->BackgroundType == 2) settings.BackgroundName = entry->BackgroundName;
      }
    }
    if (id == 0) break;
    id = entry->ParentId;
  }
  return settings;
}

double EncounterThreshold(int encounterCount, int encounterSteps, int rate) {
  if (encounterSteps <= 0) return 0;
  const double n = encounterSteps;
  const double count = encounterCount;
  double chance;
  if (count < 20 * n) chance = 1 / n / 2;
  else if (count < 50 * n) chance = 1 / n / 1.5;
  else if (count < 100 * n) chance = 1 / n / 1.2;
  else if (count < 200 * n) chance = 1 / n * 1.2;
  else chance = 1 / n * 1.5;
  return rate * chance / 100 * 1000;
}

TKelgParty::TKelgParty(TKelgMap& map) : TKelgCharacter(map) { Clear(); }

void TKelgParty::Clear() {
  TKelgCharacter::Clear();
  MoveSpeed = kHeroSpeed;
  Boarding = Aboard = Leaving = false;
  VehicleType = 0;
  SavedSpeed = kHeroSpeed;
  MenuCalled = false;
  CameraFollows = true;
  CameraX = CameraTargetX = kCameraHomeX;
  CameraY = CameraTargetY = kCameraHomeY;
  CameraPanSpeed = PanSpeed(3);
  EncounterCount = 0;
  EncounterPending = false;
  MapSaveCount = DatabaseSaveCount = 0;
}

TKelFieldScene* TKelgParty::Field() const {
  return dynamic_cast<TKelFieldScene*>(Map.Program().Scenes[scField]);
}

TKelgShip* TKelgParty::RiddenVehicle() const {
  if (VehicleType < vkBoat || VehicleType > vkAirship) return nullptr;
  return &Map.Vehicle(VehicleType - 1);
}

bool TKelgParty::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  const auto* vehicle = dynamic_cast<const TKelgShip*>(&other);
  if (vehicle != nullptr && vehicle->VehicleKind == vkAirship) return false;
  return TKelgCharacter::CollidesWith(other, sameLayerToo);
}

bool TKelgParty::CanMove(int fromX, int fromY, int toX, int toY) {
  TKelgShip* vehicle = Aboard ? RiddenVehicle() : nullptr;
  if (vehicle == nullptr) return TKelgCharacter::CanMove(fromX, fromY, toX, toY);
  vehicle->Through = Through;
  const bool free = vehicle->CanMove(fromX, fromY, toX, toY);
  vehicle->Through = false;
  return free;
}

void TKelgParty::Draw(TVantraBoard& board) {
  if (!Hidden && !Aboard) TKelgCharacter::Draw(board);
}

void TKelgParty::SetGraphic(const std::string& name, int index) {
  if (TKelgShip* vehicle = Aboard ? RiddenVehicle() : nullptr) {
    vehicle->SetGraphic(name, index);
    return;
  }
  TKelgCharacter::SetGraphic(name, index);
}

void TKelgParty::ResetAnimation() {
  Frame = 1;
  AnimCount = 0;
}

void TKelgParty::RefreshGraphic() {
  TKelgSaveData* game = Map.Program().SaveData;
  const TKelgPlayerItem* first = game != nullptr ? game->PartyInfo.Member(0) : nullptr;
  if (first == nullptr) {
    TKelgCharacter::SetGraphic("", 0);
    Transparency = 0;
    return;
  }
  TKelgCharacter::SetGraphic(first->CharSetName(), first->CharSetIndex());
  Transparency = first->CharSetTransparencyValue();
}

// --- Events ----------------------------------------------------------------

bool TKelgParty::StartEventsAt(int x, int y, int trigger, bool byKey, bool onHeroLayer) {
  bool started = false;
  for (const auto& character : Map.Events) {
    auto& event = static_cast<TKelgMapEvent&>(*character);
    if (!event.Active || event.Page == nullptr || event.X != x || event.Y != y) continue;
    if ((event.Layer == 1) != onHeroLayer || event.Trigger() != trigger) continue;
    event.Start();
    event.StartedByKey = byKey;
    EncounterPending = false;
    started = true;
  }
  return started;
}

void TKelgParty::TouchHere(int trigger, bool byKey) {
  if (VehicleType == vkAirship) return;
  StartEventsAt(X, Y, trigger, byKey, false);
}

void TKelgParty::TouchFront(int trigger, bool byKey) {
  if (VehicleType == vkAirship) return;
  const int dir = Direction >= 0 && Direction < 8 ? Direction : Facing;
  int x = X, y = Y;
  for (int cell = 0; cell < kFrontCells; ++cell) {
    x = Map.WrapX(x + kDirectionDX[dir]);
    y = Map.WrapY(y + kDirectionDY[dir]);
    if (StartEventsAt(x, y, trigger, byKey, true)) return;
    if (trigger != etActionKey) return;
    // Only a counter lets the action key reach further.
    if (!Map.IsValid(x, y) || (Map.UpperPassability(Map.UpperTile(x, y)) & kPassCounter) == 0) return;
  }
}

bool TKelgParty::EventsWaitingToStart() const {
  const TKelgSaveData* game = Map.Program().SaveData;
  if (game != nullptr && game->CommonEvents.AutoStartScript(game->System) != nullptr) return true;
  for (const auto& character : Map.Events)
    if (static_cast<const TKelgMapEvent&>(*character).StartPending) return true;
  return false;
}

// --- Walking ---------------------------------------------------------------

void TKelgParty::Move(int direction) {
  if (StepRemaining > 0) return;
  TKelgCharacter::Move(direction);
  if (StepRemaining > 0 && VehicleType != vkAirship) ApplyTerrainDamage();
}

void TKelgParty::ApplyTerrainDamage() {
  TKelProgram& program = Map.Program();
  if (program.SaveData == nullptr || program.DataBase == nullptr) return;
  const TKelGroundItem* terrain = program.DataBase->KelGround.Find(Terrain());
  const int damage = terrain != nullptr ? terrain->StepDamage : 0;
  if (damage == 0) return;
  TKelgPartyInfo& party = program.SaveData->PartyInfo;
  for (int i = 0; i < party.MemberCount(); ++i) {
    TKelgPlayerItem* member = party.Member(i);
    if (member == nullptr) continue;
    if (damage > 0) {
      if (member->HasNoTerrainDamage()) continue;
      // Like damage by states on the way, the ground never kills.
      member->TakeDamage(damage, false);
      Map.Screen().SetFlash(kTerrainFlashRed, kTerrainFlashGreen, kTerrainFlashBlue, kTerrainFlashStrength,
                            kTerrainFlashFrames);
    } else if (member->HP > 0) {
      member->AddHp(-damage);
    }
  }
}

void TKelgParty::AdvanceStep(int amount) {
  TKelgCharacter::AdvanceStep(amount);
  if (CameraFollows) FollowWithCamera(amount);
  if (!RouteForced && StepRemaining == 0) {
    TouchHere(etHeroTouch, false);
    TouchHere(etEventTouch, false);
  }
}

void TKelgParty::FollowWithCamera(int amount) {
  const std::int64_t h = NearestOffset(static_cast<std::int64_t>(X) * kTileUnits - Map.ScrollX - CameraX,
                                       Map.LoopsHorizontally(), Map.Width());
  const std::int64_t v = NearestOffset(static_cast<std::int64_t>(Y) * kTileUnits - Map.ScrollY - CameraY,
                                       Map.LoopsVertically(), Map.Height());
  const int dir = Direction >= 0 && Direction < 8 ? Direction : Facing;
  const int dx = kDirectionDX[dir], dy = kDirectionDY[dir];
  if (dy < 0 && v < 0) Map.ScrollUp(amount);
  if (dy > 0 && v > 0) Map.ScrollDown(amount);
  if (dx > 0 && h > 0) Map.ScrollRight(amount);
  if (dx < 0 && h < 0) Map.ScrollLeft(amount);
}

void TKelgParty::DecideMove() {
  if (AirshipStep()) return;
  RunRoute(ForcedRoute, ForcedRoutePos, true);
  TKelProgram& program = Map.Program();
  if (!Map.MainScripterIdle() || program.Input == nullptr) {
    MenuCalled = false;
    return;
  }
  const TKelMessageWindow* message = program.MessageWindow;
  if (Processing || RouteForced || (message != nullptr && message->Exists())) return;
  if (EncounterPending) {
    MenuCalled = false;
    if (StartEncounter()) return;
  }
  if (MenuCalled) {
    MenuCalled = false;
    Map.System().SceneId = scMenu;
    ResetAnimation();
    Map.System().PlaySystemSound(ssDecision);
    return;
  }
  TouchHere(etEventTouch, false);
  if (EventsWaitingToStart()) return;

  const TMultiInput& input = *program.Input;
  // Test play walks through walls while Ctrl is held.
  Through = RouteThrough || (program.Flags.IsTestPlay && input.Pressed(ibCtrl));
  int direction = -1;
  switch (input.Direction()) {
    case 2: direction = 2; break;
    case 4: direction = 3; break;
    case 6: direction = 1; break;
    case 8: direction = 0; break;
    default: break;
  }
  if (direction >= 0) Move(direction);
  Through = RouteThrough;
  if (StepRemaining > 0) {
    if (program.SaveData != nullptr) {
      program.SaveData->PartyInfo.CountStep();
      program.SaveData->PartyInfo.ApplyStepDamage();
    }
    CheckEncounter();
    return;
  }
  if (direction >= 0) {
    TouchFront(etHeroTouch, false);
    TouchFront(etEventTouch, false);
  }
  if (input.Triggered(ibDecide) && !BoardOrLeave()) {
    TouchFront(etHeroTouch, true);
    TouchFront(etEventTouch, true);
    TouchHere(etActionKey, true);
    TouchFront(etActionKey, true);
  }
}

void TKelgParty::Update() {
  TKelgCharacter::Update();
  if (Boarding && StepRemaining == 0) {
    Boarding = false;
    Aboard = true;
    Facing = 3;
    if (TKelgShip* vehicle = RiddenVehicle()) MoveSpeed = vehicle->MoveSpeed;
  }
  if (Leaving && StepRemaining == 0) Leaving = false;
  if (TKelgShip* vehicle = Aboard ? RiddenVehicle() : nullptr) vehicle->FollowHero(*this);
  UpdateCameraPan();
  TKelProgram& program = Map.Program();
  const TKelMessageWindow* message = program.MessageWindow;
  if (program.Input != nullptr && program.Input->Triggered(ibCancel) && Map.System().MenuAllowed != 0 &&
      (message == nullptr || !message->Exists()) && Map.MainScripterIdle())
    MenuCalled = true;
}

// --- Encounters ------------------------------------------------------------

void TKelgParty::CheckEncounter() {
  TKelProgram& program = Map.Program();
  if (program.Flags.IsTestPlay && program.Input != nullptr && program.Input->Pressed(ibCtrl)) return;
  const int steps = Map.EncounterStepValue();
  if (Flying || steps <= 0) return;
  const TKelGroundItem* terrain =
      program.DataBase != nullptr ? program.DataBase->KelGround.Find(Terrain()) : nullptr;
  const int rate = terrain != nullptr ? terrain->EncounterRate : 100;
  EncounterCount += rate;
  if (EncounterThreshold(EncounterCount, steps, rate) > Map.Random(1000)) {
    EncounterCount = 0;
    EncounterPending = true;
  }
}

bool TKelgParty::StartEncounter() {
  EncounterPending = false;
  TKelProgram& program = Map.Program();
  if (program.MapTree == nullptr || program.DataBase == nullptr) return false;
  const int terrainId = Terrain();
  std::vector<int> candidates;
  for (int i = 0; i < program.MapTree->Count(); ++i) {
    const TKelMapTreeItem* entry = program.MapTree->ItemAt(i);
    const bool here = entry->Key == MapId;
    const bool area = entry->NodeType == ntArea && entry->ParentId == MapId && entry->AreaContains(X, Y);
    if (!here && !area) continue;
    for (int e = 0; e < entry->Encounters.Count(); ++e) {
      const int troopId = entry->Encounters.ItemAt(e)->TroopId;
      // A troop missing from the database is left out rather than fought.
      const TKelMonGroupItem* troop = program.DataBase->KelMonGroup.Find(troopId);
      if (troop != nullptr && troop->TerrainAllowed(terrainId)) candidates.push_back(troopId);
    }
  }
  if (candidates.empty()) return false;
  auto* battle = dynamic_cast<TKelBattleScene*>(program.Scenes[scBattle]);
  TKelFieldScene* field = Field();
  if (battle == nullptr || field == nullptr) return false;
  battle->TroopId = candidates[Map.Random(static_cast<int>(candidates.size()))];
  const std::string& mapBackdrop = Map.System().BattleBackground;
  const TKelGroundItem* terrain = program.DataBase->KelGround.Find(terrainId);
  battle->BackdropName = !mapBackdrop.empty() ? mapBackdrop : terrain != nullptr ? terrain->BattleBackground : "";
  battle->CanEscape = true;
  battle->CanLose = false;
  battle->FirstStrike = Map.Random(kFirstStrikeOdds) == 0;
  battle->ResultSlot = nullptr;
  field->StartBattle();
  return true;
}

// --- Entering a map ----------------------------------------------------------

void TKelgParty::SetPosition(int mapId, int x, int y) {
  const bool sameMap = mapId == MapId;
  TKelgCharacter::SetPosition(mapId, x, y);
  EncounterCount = 0;
  MenuCalled = false;
  if (TKelgShip* vehicle = Aboard ? RiddenVehicle() : nullptr) vehicle->SetPosition(mapId, x, y);
  if (!sameMap) return;
  Map.SetScrollX(static_cast<std::int64_t>(X) * kTileUnits - CameraX);
  Map.SetScrollY(static_cast<std::int64_t>(Y) * kTileUnits - CameraY);
  Map.Panorama().SetOffsetX(Map.ScrollX);
  Map.Panorama().SetOffsetY(Map.ScrollY);
  Map.Panorama().FitToMap();
}

void TKelgParty::TransferTo(int mapId, int x, int y) {
  const bool otherMap = mapId != MapId;
  SetPosition(mapId, x, y);
  if (otherMap) {
    ResetAnimation();
    Map.LoadMap(true);
    EnterMapSettings();
  }
  RefreshGraphic();
}

void TKelgParty::EnterMapSettings() {
  const TKelMapTree* tree = Map.Program().MapTree;
  if (tree == nullptr) return;
  const TKelMapSettings settings = InheritedMapSettings(*tree, MapId);
  TKelgSystem& system = Map.System();
  if (settings.MusicType == 2 && settings.Music != nullptr) {
    if (Aboard) system.VehicleReturnMusic.AssignFields(*settings.Music);
    else system.PlayMusic(*settings.Music, false);
  }
  if (settings.TeleportAllowed >= 0) system.TeleportAllowed = static_cast<std::uint8_t>(settings.TeleportAllowed);
  if (settings.EscapeAllowed >= 0) system.EscapeAllowed = static_cast<std::uint8_t>(settings.EscapeAllowed);
  if (settings.SaveAllowed >= 0) system.SaveAllowed = static_cast<std::uint8_t>(settings.SaveAllowed);
  if (settings.BackgroundType != 0) system.BattleBackground = settings.BackgroundName;
}

// --- Camera ----------------------------------------------------------------

void TKelgParty::UpdateCameraPan() {
  if (CameraTargetX != CameraX) {
    const int step = std::min(std::abs(CameraTargetX - CameraX), CameraPanSpeed);
    const bool scrolled = CameraTargetX < CameraX ? Map.ScrollRight(step) : Map.ScrollLeft(step);
    if (scrolled) CameraX += CameraTargetX < CameraX ? -step : step;
  }
  if (CameraTargetY != CameraY) {
    const int step = std::min(std::abs(CameraTargetY - CameraY), CameraPanSpeed);
    const bool scrolled = CameraTargetY < CameraY ? Map.ScrollDown(step) : Map.ScrollUp(step);
    if (scrolled) CameraY += CameraTargetY < CameraY ? -step : step;
  }
}

void TKelgParty::Pan(int direction, int tiles, int speed) {
  const int amount = tiles * kTileUnits;
  switch (direction) {
    case 0: CameraTargetY += amount; break;
    case 1: CameraTargetX -= amount; break;
    case 2: CameraTargetY -= amount; break;
    case 3: CameraTargetX += amount; break;
    default: break;
  }
  CameraPanSpeed = PanSpeed(speed);
}

void TKelgParty::PanBack(int speed) {
  CameraTargetX = kCameraHomeX;
  CameraTargetY = kCameraHomeY;
  CameraPanSpeed = PanSpeed(speed);
}

int TKelgParty::PanFramesLeft() const {
  auto frames = [this](int from, int to) { return (std::abs(to - from) + CameraPanSpeed - 1) / CameraPanSpeed; };
  return std::max(frames(CameraX, CameraTargetX), frames(CameraY, CameraTargetY));
}

void TKelgParty::SetCameraX(int value) { CameraX = CameraTargetX = value; }
void TKelgParty::SetCameraY(int value) { CameraY = CameraTargetY = value; }

// --- Vehicles ----------------------------------------------------------------

void TKelgParty::PlayReturnMusic() {
  TKelMusic music;
  music.AssignFields(Map.System().VehicleReturnMusic);
  music.FadeIn = 0;
  Map.System().PlayMusic(music, true);
}

bool TKelgParty::BoardOrLeave() {
  if (Direction >= 4) Direction = Facing;
  if (VehicleType == vkAirship && Aboard) {
    TKelgShip& airship = Map.Vehicle(vkAirship - 1);
    if (airship.Ascent > 0 || airship.Descent > 0) return false;
    Facing = 3;
    airship.Descent = kAirshipClimb;
    return true;
  }
  if (Aboard) return LeaveBoat();
  return BoardOnFoot();
}

bool TKelgParty::LeaveBoat() {
  const int dir = std::clamp(Direction, 0, 3);
  const int toX = Map.WrapX(X + kDirectionDX[dir]), toY = Map.WrapY(Y + kDirectionDY[dir]);
  if (!Map.IsValid(toX, toY) || !Map.Passable(toX, toY, -1, SideFacingBack(dir))) return false;
  for (const auto& character : Map.Events) {
    const auto& event = static_cast<const TKelgMapEvent&>(*character);
    if (event.Active && event.Page != nullptr && event.Layer == 1 && event.X == toX && event.Y == toY) return false;
  }
  if (TKelgShip* vehicle = RiddenVehicle()) vehicle->ResetDirection();
  Aboard = false;
  Leaving = true;
  MoveSpeed = SavedSpeed;
  VehicleType = 0;
  Through = true;
  TKelgCharacter::Move(dir);
  Through = RouteThrough;
  PlayReturnMusic();
  return true;
}

bool TKelgParty::BoardOnFoot() {
  TKelgSystem& system = Map.System();
  TKelgShip& airship = Map.Vehicle(vkAirship - 1);
  if (airship.OnHeroMap() && SameCellAs(airship)) {
    VehicleType = vkAirship;
    Aboard = true;
    Facing = 3;
    airship.Ascent = kAirshipClimb;
    Flying = airship.Flying = true;
    SavedSpeed = MoveSpeed;
    MoveSpeed = airship.MoveSpeed;
    system.VehicleReturnMusic.AssignFields(system.CurrentMusic);
    system.PlayMusic(system.Music(TKelgSystem::msAirship), false);
    return true;
  }
  const int dir = std::clamp(Direction, 0, 3);
  if (!Map.Passable(X, Y, -1, SideTowards(dir))) return false;
  const int frontX = Map.WrapX(X + kDirectionDX[dir]), frontY = Map.WrapY(Y + kDirectionDY[dir]);
  auto standsInFront = [&](const TKelgShip& vehicle) {
    return vehicle.OnHeroMap() && vehicle.X == frontX && vehicle.Y == frontY;
  };
  int kind = 0;
  if (standsInFront(Map.Vehicle(vkBoat - 1))) kind = vkBoat;
  if (standsInFront(Map.Vehicle(vkShip - 1))) kind = vkShip;
  if (kind == 0) return false;
  VehicleType = kind;
  Through = true;
  TKelgCharacter::Move(dir);
  Through = Hidden || RouteThrough;
  Boarding = true;
  SavedSpeed = MoveSpeed;
  system.VehicleReturnMusic.AssignFields(system.CurrentMusic);
  system.PlayMusic(system.Music(kind == vkBoat ? TKelgSystem::msBoat : TKelgSystem::msShip), false);
  return true;
}

void TKelgParty::LeaveVehicleNow() {
  if (!Aboard) return;
  TKelgShip& airship = Map.Vehicle(vkAirship - 1);
  airship.Descent = 0;
  Aboard = false;
  if (TKelgShip* vehicle = RiddenVehicle()) vehicle->ResetDirection();
  VehicleType = 0;
  MoveSpeed = SavedSpeed;
  Flying = airship.Flying = false;
  PlayReturnMusic();
}

bool TKelgParty::AirshipStep() {
  if (!Flying) return false;
  TKelgShip& airship = Map.Vehicle(vkAirship - 1);
  bool busy = false;
  if (airship.Ascent > 0) {
    airship.Ascent = std::max(0, airship.Ascent - kAirshipStep);
    busy = true;
  }
  if (airship.Descent > 0) {
    airship.Descent = std::max(0, airship.Descent - kAirshipStep);
    busy = true;
    if (airship.Descent == 0) {
      if (CanLand()) {
        Aboard = false;
        Facing = 2;
        VehicleType = 0;
        MoveSpeed = SavedSpeed;
        Flying = airship.Flying = false;
        airship.ResetDirection();
        PlayReturnMusic();
      } else {
        airship.Ascent = kAirshipClimb;
      }
    }
  }
  return busy;
}

bool TKelgParty::CanLand() const {
  const TKelDataBase* dataBase = Map.Program().DataBase;
  const TKelGroundItem* terrain = dataBase != nullptr ? dataBase->KelGround.Find(Terrain()) : nullptr;
  if (terrain == nullptr || terrain->AirshipLand == 0) return false;
  for (const auto& character : Map.Events) {
    const auto& event = static_cast<const TKelgMapEvent&>(*character);
    if (event.Active && event.Page != nullptr && event.X == X && event.Y == Y) return false;
  }
  for (int kind : {vkBoat, vkShip}) {
    const TKelgShip& vehicle = Map.Vehicle(kind - 1);
    if (vehicle.OnHeroMap() && vehicle.X == X && vehicle.Y == Y) return false;
  }
  if ((Map.UpperPassability(Map.UpperTile(X, Y)) & kPassSides) == 0) return false;
  return (Map.LowerPassability(Map.LowerTile(X, Y)) & kPassSides) != 0;
}
