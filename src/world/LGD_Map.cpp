#include "world/LGD_Map.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/StreamUtils.h"
#include "shell/KelProgram.h"
#include "shell/Random.h"
#include "state/LGD_System.h"
#include "world/LGD_MapEvent.h"
#include "world/LGD_Panorama.h"
#include "world/LGD_Party.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Ship.h"
#include "world/TileIds.h"

namespace {

// Lower tiles whose combination borders the top side: a star tile above
// them may still be walked on (the top of a wall).
bool IsWallTopCombination(int combination) {
  switch (combination) {
    case 20: case 21: case 22: case 23: case 33: case 34: case 35: case 36: case 37: case 42: case 43: case 45:
    case 46: return true;
    default: return false;
  }
}

std::int64_t FlooredMod(std::int64_t value, std::int64_t size) {
  const std::int64_t r = value % size;
  return r < 0 ? r + size : r;
}

int WrapAxis(int value, int size) { return static_cast<int>(FlooredMod(value, size)); }

}  // namespace

TKelgMap::TKelgMap(TKelProgram& program, TKelgSystem& system, TKelgScreen& screen, TKelgPanorama& panorama,
                   TKelgParty& hero, std::array<TKelgShip*, 3> vehicles)
    : ChipSetGraphic(program.Folders),
      CharSetGraphic(program.Folders),
      Owner(program),
      GameSystem(system),
      ScreenEffects(screen),
      PanoramaLayer(panorama),
      HeroCharacter(hero),
      Vehicles(vehicles) {
  Clear();
}

TKelgMap::~TKelgMap() = default;

void TKelgMap::Clear() {
  ScrollX = ScrollY = 0;
  EncounterSteps = -1;
  ChipSetId = 0;
  for (int i = 0; i < 144; ++i) LowerSubst[i] = UpperSubst[i] = static_cast<std::uint8_t>(i);
  PanoramaName.clear();
  PanoramaHScroll = PanoramaVScroll = PanoramaHAuto = PanoramaVAuto = false;
  PanoramaHSpeed = PanoramaVSpeed = 0;
  Events.clear();
}

const TKelMap& TKelgMap::MapData() const { return *Owner.Map; }
int TKelgMap::Random(int n) { return Owner.Random != nullptr ? Owner.Random->Next(n) : 0; }
int TKelgMap::FrameCount() const { return std::max(GameSystem.FrameCount, 0); }

void TKelgMap::LoadMap(bool reset) {
  if (reset) Clear();
  if (HeroCharacter.MapId == 0) throw EKelInvalid("Invalid Map");
  Owner.Map->LoadMap(Owner.Folders.game, HeroCharacter.MapId);
  EnterMap(false);
}

void TKelgMap::EnterMap(bool reset) {
  if (reset) Clear();
  if (HeroCharacter.MapId == 0) throw EKelInvalid("Invalid Map");
  const TKelMap& map = MapData();
  ChipSetGraphic.SetChipSet(FindChipSet(GetChipSetId()));
  CharSetGraphic.ClearUsed();
  for (int e = 0; e < map.Events.Count(); ++e) {
    const TKelEventItem* event = map.Events.ItemAt(e);
    for (int p = 0; p < event->Pages.Count(); ++p)
      if (!event->Pages.ItemAt(p)->CharSetName.empty()) CharSetGraphic.Load(event->Pages.ItemAt(p)->CharSetName);
  }
  CharSetGraphic.Purge();
  CharSetGraphic.ColorKey = true;
  ChipSetGraphic.SetColorKey(true);
  SetScrollX(static_cast<std::int64_t>(HeroCharacter.X) * kTileUnits - 2304);
  SetScrollY(static_cast<std::int64_t>(HeroCharacter.Y) * kTileUnits - 1792);
  PanoramaLayer.LoadImage();
  PanoramaLayer.SetOffsetX(ScrollX);
  PanoramaLayer.SetOffsetY(ScrollY);
  PanoramaLayer.FitToMap();
  ChipSetRecord = FindChipSet(GetChipSetId());
  Events.clear();
  for (int e = 0; e < map.Events.Count(); ++e) Events.push_back(CreateEvent(*map.Events.ItemAt(e)));
}

std::unique_ptr<TKelgCharacter> TKelgMap::CreateEvent(const TKelEventItem& item) {
  return std::make_unique<TKelgMapEvent>(*this, item);
}

const TKelChipSetItem* TKelgMap::FindChipSet(int id) const {
  return Owner.DataBase != nullptr ? &Owner.DataBase->KelChipSet.ById(id) : nullptr;
}

// --- Scrolling -------------------------------------------------------------

bool TKelgMap::SetScrollX(std::int64_t value) {
  const std::int64_t old = ScrollX;
  const std::int64_t span = static_cast<std::int64_t>(Width()) * kTileUnits;
  if (LoopsHorizontally() && span > 0) ScrollX = FlooredMod(value, span);
  else ScrollX = std::max<std::int64_t>(0, std::min(value, span - kViewWidthUnits));
  return ScrollX != old;
}

bool TKelgMap::SetScrollY(std::int64_t value) {
  const std::int64_t old = ScrollY;
  const std::int64_t span = static_cast<std::int64_t>(Height()) * kTileUnits;
  if (LoopsVertically() && span > 0) ScrollY = FlooredMod(value, span);
  else ScrollY = std::max<std::int64_t>(0, std::min(value, span - kViewHeightUnits));
  return ScrollY != old;
}

// The pictures and the weather follow the scroll too; they hook in here
// when they exist.
bool TKelgMap::ScrollDown(int amount) {
  if (!SetScrollY(ScrollY + amount)) return false;
  PanoramaLayer.ScrollDown(amount);
  return true;
}

bool TKelgMap::ScrollUp(int amount) {
  if (!SetScrollY(ScrollY - amount)) return false;
  PanoramaLayer.ScrollUp(amount);
  return true;
}

bool TKelgMap::ScrollRight(int amount) {
  if (!SetScrollX(ScrollX + amount)) return false;
  PanoramaLayer.ScrollRight(amount);
  return true;
}

bool TKelgMap::ScrollLeft(int amount) {
  if (!SetScrollX(ScrollX - amount)) return false;
  PanoramaLayer.ScrollLeft(amount);
  return true;
}

// --- Settings --------------------------------------------------------------

int TKelgMap::EncounterStepValue() const {
  if (EncounterSteps != -1) return EncounterSteps;
  const TKelMapTreeItem* entry = Owner.MapTree != nullptr ? Owner.MapTree->Find(HeroCharacter.MapId) : nullptr;
  return entry != nullptr ? entry->EncounterSteps : 0;
}

bool TKelgMap::UsesPanorama() const { return !PanoramaName.empty() || MapData().UsePanorama != 0; }
std::string TKelgMap::PanoramaFileName() const {
  return PanoramaName.empty() ? MapData().PanoramaName : PanoramaName;
}

void TKelgMap::SetPanorama(const std::string& name) {
  if (name == PanoramaFileName()) {
    PanoramaName = name;
    return;
  }
  PanoramaName = name;
  PanoramaLayer.LoadImage();
  PanoramaLayer.SetOffsetX(PanoramaLayer.OffsetX);
  PanoramaLayer.SetOffsetY(PanoramaLayer.OffsetY);
}

bool TKelgMap::PanoramaHorizontalScroll() const {
  return PanoramaName.empty() ? MapData().PanoramaHScroll != 0 : PanoramaHScroll;
}
bool TKelgMap::PanoramaVerticalScroll() const {
  return PanoramaName.empty() ? MapData().PanoramaVScroll != 0 : PanoramaVScroll;
}
bool TKelgMap::PanoramaHorizontalAuto() const {
  return PanoramaName.empty() ? MapData().PanoramaHAuto != 0 : PanoramaHAuto;
}
bool TKelgMap::PanoramaVerticalAuto() const {
  return PanoramaName.empty() ? MapData().PanoramaVAuto != 0 : PanoramaVAuto;
}
int TKelgMap::PanoramaHorizontalSpeed() const {
  return std::clamp(PanoramaName.empty() ? MapData().PanoramaHSpeed : PanoramaHSpeed, -8, 8);
}
int TKelgMap::PanoramaVerticalSpeed() const {
  return std::clamp(PanoramaName.empty() ? MapData().PanoramaVSpeed : PanoramaVSpeed, -8, 8);
}

void TKelgMap::SetPanoramaScroll(bool horizontal, bool vertical, bool horizontalAuto, int horizontalSpeed,
                                 bool verticalAuto, int verticalSpeed) {
  PanoramaHScroll = horizontal;
  PanoramaVScroll = vertical;
  PanoramaHAuto = horizontalAuto;
  PanoramaHSpeed = std::clamp(horizontalSpeed, -8, 8);
  PanoramaVAuto = verticalAuto;
  PanoramaVSpeed = std::clamp(verticalSpeed, -8, 8);
}

int TKelgMap::GetChipSetId() const { return ChipSetId != 0 ? ChipSetId : MapData().ChipSetId; }

void TKelgMap::SetChipSet(int id) {
  ChipSetId = id;
  ChipSetRecord = FindChipSet(GetChipSetId());
  ChipSetGraphic.SetChipSet(ChipSetRecord);
}

// --- Cells -----------------------------------------------------------------

int TKelgMap::Width() const { return MapData().LowerLayer.Width; }
int TKelgMap::Height() const { return MapData().LowerLayer.Height; }
bool TKelgMap::LoopsHorizontally() const { return MapData().LowerLayer.LoopX && Width() > 0; }
bool TKelgMap::LoopsVertically() const { return MapData().LowerLayer.LoopY && Height() > 0; }

int TKelgMap::LowerTile(int x, int y) const {
  const int id = MapData().LowerLayer.GetTile(x, y);
  if (id < kPlainTileBase || id >= kPlainTileBase + 144) return id;
  return kPlainTileBase + LowerSubst[id - kPlainTileBase];
}

int TKelgMap::UpperTile(int x, int y) const {
  const int id = MapData().UpperLayer.GetTile(x, y);
  if (id < kUpperTileBase || id >= kUpperTileBase + 144) return id;
  return kUpperTileBase + UpperSubst[id - kUpperTileBase];
}

bool TKelgMap::IsValid(int x, int y) const {
  return (LoopsHorizontally() || (x >= 0 && x < Width())) && (LoopsVertically() || (y >= 0 && y < Height()));
}

int TKelgMap::WrapX(int x) const { return LoopsHorizontally() ? WrapAxis(x, Width()) : x; }
int TKelgMap::WrapY(int y) const { return LoopsVertically() ? WrapAxis(y, Height()) : y; }

int TKelgMap::EventIdAt(int x, int y) const {
  for (auto event = Events.rbegin(); event != Events.rend(); ++event)
    if ((*event)->X == x && (*event)->Y == y) return (*event)->Key;
  return 0;
}

int TKelgMap::TileEventAt(int x, int y, int excludeId) const {
  int tile = 0;
  for (const auto& event : Events)
    if (!event->Through && event->X == x && event->Y == y && event->Layer == 0 && event->CharSetName.empty() &&
        event->Key != excludeId)
      tile = kUpperTileBase + event->CharSetIndex;
  return tile;
}

std::uint8_t TKelgMap::LowerPassability(int tileId) const {
  const int chip = LowerChipIndex(tileId);
  return ChipSetRecord != nullptr && chip >= 0 ? ChipSetRecord->LowerFlag(chip) : 0;
}

std::uint8_t TKelgMap::UpperPassability(int tileId) const {
  if (ChipSetRecord == nullptr || tileId < kUpperTileBase) return 0;
  return ChipSetRecord->UpperFlag(UpperChipIndex(tileId));
}

bool TKelgMap::Passable(int x, int y, int excludeId, int side) const {
  if (side < 0 || side > kSideAny) return false;
  const int lower = LowerTile(x, y);
  int upper = UpperTile(x, y);
  const int tileEvent = TileEventAt(x, y, excludeId);
  if (tileEvent > 0 && !(UpperPassability(tileEvent) & kPassStar)) upper = tileEvent;
  const std::uint8_t l = LowerPassability(lower), u = UpperPassability(upper);
  const bool wallTop = (l & kPassWallTop) && lower >= 0 && IsWallTopCombination(lower % 50);
  if (side < 4) {
    const std::uint8_t bit = static_cast<std::uint8_t>(1 << side);
    if (!(u & bit)) return false;
    if (!(u & kPassStar)) return true;
    return (l & bit) || wallTop;
  }
  if (!(u & kPassSides)) return false;
  if (!(u & kPassStar)) return true;
  return (l & kPassSides) || wallTop;
}

int TKelgMap::TerrainAt(int x, int y) const {
  const int chip = LowerChipIndex(LowerTile(x, y));
  return ChipSetRecord != nullptr && chip >= 0 ? ChipSetRecord->TerrainIds[chip] : 0;
}

int TKelgMap::BushDepthOf(int terrainId) const {
  const TKelGroundItem* terrain = Owner.DataBase != nullptr ? Owner.DataBase->KelGround.Find(terrainId) : nullptr;
  return terrain != nullptr ? std::clamp<int>(terrain->BushDepth, 0, 3) : 0;
}

// --- Characters ------------------------------------------------------------

int TKelgMap::CharacterCount() const {
  int count = static_cast<int>(Events.size()) + 1;
  for (const TKelgShip* vehicle : Vehicles) count += vehicle->OnHeroMap() ? 1 : 0;
  return count;
}

TKelgCharacter& TKelgMap::CharacterAt(int index) {
  const int events = static_cast<int>(Events.size());
  if (index < events) return *Events[index];
  if (index == events) return HeroCharacter;
  int rest = index - events - 1;
  for (TKelgShip* vehicle : Vehicles) {
    if (!vehicle->OnHeroMap()) continue;
    if (rest-- == 0) return *vehicle;
  }
  throw EKelAssertion("LGD_Map", __LINE__);
}

void TKelgMap::ReplaceTile(int layer, int fromIndex, int toIndex) {
  auto& table = layer == 0 ? LowerSubst : UpperSubst;
  for (std::uint8_t& entry : table)
    if (entry == fromIndex) entry = static_cast<std::uint8_t>(std::clamp(toIndex, 0, 143));
}

void TKelgMap::DumpState(nlohmann::json& state) const {
  state["MapId"] = HeroCharacter.MapId;
  state["ScrollX"] = ScrollX;
  state["ScrollY"] = ScrollY;
  nlohmann::json events = nlohmann::json::object();
  for (const auto& character : Events) {
    const auto& event = static_cast<const TKelgMapEvent&>(*character);
    events[std::to_string(event.Key)] = {{"X", event.X},
                                         {"Y", event.Y},
                                         {"Direction", event.Direction},
                                         {"Facing", event.Facing},
                                         {"MoveSpeed", event.MoveSpeed},
                                         {"Transparency", event.Transparency},
                                         {"Page", event.PageId()},
                                         {"Active", event.Active},
                                         {"StartPending", event.StartPending},
                                         {"Processing", event.Processing}};
  }
  state["Events"] = events;
}
