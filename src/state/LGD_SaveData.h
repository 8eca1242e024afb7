#pragma once
// Every run-time object of a game in play, created together and cleared as
// one for a fresh start.

#include <nlohmann/json_fwd.hpp>

#include "state/LGD_System.h"
#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/LGD_Party.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Ship.h"

struct TKelProgram;

class TKelgSaveData {
public:
  // Needs the database, the folders and the screen component of the program.
  explicit TKelgSaveData(TKelProgram& program);

  // Every object back to its initial state, in creation order.
  void ClearAll();
  // A fresh game: everything cleared, the party at the map tree's start.
  void NewGame();
  // The game state for the state dump: the system state and the map.
  void DumpState(nlohmann::json& state) const;

  TKelgSystem System;
  TKelgScreen Screen;
  TKelgParty Party;
  TKelgShip Boat;
  TKelgShip Ship;
  TKelgShip Airship;
  TKelgMap Map;
  TKelgPanorama Panorama;

private:
  // The map is created after the characters that stand on it; they keep
  // only its address until then.
  TKelgMap& MapOfThisGame() { return Map; }

  TKelProgram& Program;
};
