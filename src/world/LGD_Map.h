#pragma once
// The current map at run time: scroll, looping, tile substitutions, the
// script's overrides, its events and the passability test that every
// walking character uses.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "world/GR_CharSet.h"
#include "world/GR_ChipSet.h"
#include "world/LGD_Character.h"
#include "world/MapView.h"

struct TKelProgram;
class TKelgSystem;
class TKelgScreen;
class TKelgPanorama;
class TKelgParty;
class TKelgShip;
class TKelMap;
class TKelEventItem;
class TKelChipSetItem;

inline constexpr int kTileUnits = 256;        // scroll units per tile
inline constexpr int kViewWidthUnits = 5120;  // 20 tiles
inline constexpr int kViewHeightUnits = 3840; // 15 tiles

// Passability bits of the chip-set tables.
inline constexpr std::uint8_t kPassSouth = 0x01, kPassWest = 0x02, kPassEast = 0x04, kPassNorth = 0x08;
inline constexpr std::uint8_t kPassSides = 0x0F, kPassStar = 0x10, kPassWallTop = 0x20, kPassCounter = 0x40;
inline constexpr int kSideAny = 4;  // can the cell be stood on at all

class TKelgMap {
public:
  TKelgMap(TKelProgram& program, TKelgSystem& system, TKelgScreen& screen, TKelgPanorama& panorama,
           TKelgParty& hero, std::array<TKelgShip*, 3> vehicles);
  ~TKelgMap();

  // The saved fields back to a new game's values.
  void Clear();
  // Loads the hero's map file and enters it.
  void LoadMap(bool reset);
  // Everything of LoadMap after reading the file: the map data must be in place.
  void EnterMap(bool reset);

  bool SetScrollX(std::int64_t value);
  bool SetScrollY(std::int64_t value);
  bool ScrollDown(int amount);
  bool ScrollLeft(int amount);
  bool ScrollRight(int amount);
  bool ScrollUp(int amount);

  int EncounterStepValue() const;
  void SetEncounterSteps(int value) { EncounterSteps = value; }

  bool UsesPanorama() const;
  std::string PanoramaFileName() const;
  void SetPanorama(const std::string& name);
  bool PanoramaHorizontalScroll() const;
  bool PanoramaVerticalScroll() const;
  bool PanoramaHorizontalAuto() const;
  bool PanoramaVerticalAuto() const;
  int PanoramaHorizontalSpeed() const;
  int PanoramaVerticalSpeed() const;
  void SetPanoramaScroll(bool horizontal, bool vertical, bool horizontalAuto, int horizontalSpeed,
                         bool verticalAuto, int verticalSpeed);

  int GetChipSetId() const;
  void SetChipSet(int id);

  int Width() const;
  int Height() const;
  bool LoopsHorizontally() const;
  bool LoopsVertically() const;
  int LowerTile(int x, int y) const;
  int UpperTile(int x, int y) const;
  bool IsValid(int x, int y) const;
  int WrapX(int x) const;
  int WrapY(int y) const;
  int EventIdAt(int x, int y) const;
  int TileEventAt(int x, int y, int excludeId) const;
  bool Passable(int x, int y, int excludeId, int side) const;
  std::uint8_t LowerPassability(int tileId) const;
  std::uint8_t UpperPassability(int tileId) const;
  int TerrainAt(int x, int y) const;
  int BushDepthOf(int terrainId) const;

  int CharacterCount() const;
  TKelgCharacter& CharacterAt(int index);
  void ReplaceTile(int layer, int fromIndex, int toIndex);

  // MapId, ScrollX, ScrollY and the events for the state dump.
  void DumpState(nlohmann::json& state) const;

  TKelgParty& Hero() { return HeroCharacter; }
  const TKelgParty& Hero() const { return HeroCharacter; }
  TKelgShip& Vehicle(int index) { return *Vehicles[index]; }
  TKelgScreen& Screen() { return ScreenEffects; }
  TKelgPanorama& Panorama() { return PanoramaLayer; }
  TKelgSystem& System() { return GameSystem; }
  TKelProgram& Program() { return Owner; }
  int Random(int n);
  int FrameCount() const;
  const TKelMap& MapData() const;

  std::int64_t ScrollX = 0, ScrollY = 0;
  int EncounterSteps = -1;
  int ChipSetId = 0;
  std::vector<std::unique_ptr<TKelgCharacter>> Events;
  std::array<std::uint8_t, 144> LowerSubst{};
  std::array<std::uint8_t, 144> UpperSubst{};
  std::string PanoramaName;
  bool PanoramaHScroll = false, PanoramaVScroll = false, PanoramaHAuto = false, PanoramaVAuto = false;
  int PanoramaHSpeed = 0, PanoramaVSpeed = 0;
  const TKelChipSetItem* ChipSetRecord = nullptr;

  TKelChipSetGraphic ChipSetGraphic;
  TKelCharSetGraphic CharSetGraphic;
  TKelMapViewCache ViewCache;

  // Hooks for the interpreter: whether the main interpreter is idle, and the
  // page refresh that the switch route commands ask for.
  std::function<bool()> MainScripterIdle = [] { return true; };
  std::function<void()> RefreshEvents = [] {};

private:
  std::unique_ptr<TKelgCharacter> CreateEvent(const TKelEventItem& item);
  const TKelChipSetItem* FindChipSet(int id) const;

  TKelProgram& Owner;
  TKelgSystem& GameSystem;
  TKelgScreen& ScreenEffects;
  TKelgPanorama& PanoramaLayer;
  TKelgParty& HeroCharacter;
  std::array<TKelgShip*, 3> Vehicles;
};
