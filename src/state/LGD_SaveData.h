#pragma once
// Every run-time object of a game in play, created together and cleared as
// one for a fresh start.

#include <memory>

#include <nlohmann/json_fwd.hpp>

#include "battle/LGD_Monster.h"
#include "state/LGD_PartyInfo.h"
#include "state/LGD_Player.h"
#include "state/LGD_System.h"
#include "world/LGD_Map.h"
#include "world/LGD_Panorama.h"
#include "world/LGD_Party.h"
#include "world/LGD_Screen.h"
#include "world/LGD_Ship.h"
#include "world/LGD_CmnEvent.h"
#include "world/LGD_Teleport.h"

struct TKelProgram;
struct TKelScriptServices;
class TKelgScripter;
class TKelgWorldScriptHost;
class TKelMessageWindow;
class TKelMessagePool;

class TKelgSaveData {
public:
  // Needs the database, the folders and the screen component of the program.
  explicit TKelgSaveData(TKelProgram& program);
  ~TKelgSaveData();

  // The interpreters need the message window, which is made after the game
  // state; until this is called no script runs.
  void ConnectInterpreters(TKelMessageWindow& window, TKelMessagePool& pool);
  // Nil until the interpreters are connected.
  const TKelScriptServices* ScriptServices() const { return Services.get(); }

  // Every object back to its initial state, in creation order.
  void ClearAll();
  // A fresh game: everything cleared, the party at the map tree's start.
  void NewGame();
  // The game state for the state dump: the system state, the map and the party.
  void DumpState(nlohmann::json& state) const;

  TKelgSystem System;
  TKelgScreen Screen;
  TKelgParty Party;
  TKelgShip Boat;
  TKelgShip Ship;
  TKelgShip Airship;
  // What the heroes, the party and the enemies reach of the rest of the game.
  TKelgUnitServices Battlers;
  TKelgPoolLines MessageLines;
  TKelgPlayer Player;
  TKelgPartyInfo PartyInfo;
  TKelgTeleport Teleport;
  TKelgMap Map;
  TKelgPanorama Panorama;
  TKelgMonster Monster;
  TKelgCommonEvent CommonEvents;
  // The map's foreground interpreter.
  std::unique_ptr<TKelgScripter> Scripter;

private:
  void ConnectBattlers(TKelProgram& program);
  // The map is created after the characters that stand on it; they keep
  // only its address until then.
  TKelgMap& MapOfThisGame() { return Map; }

  TKelProgram& Program;
  std::unique_ptr<TKelgWorldScriptHost> Host;
  std::unique_ptr<TKelScriptServices> Services;
};
