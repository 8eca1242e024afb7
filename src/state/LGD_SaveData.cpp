#include "state/LGD_SaveData.h"

#include <stdexcept>
#include <utility>

#include <nlohmann/json.hpp>

#include "battle/LS_Battle.h"
#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "script/LGD_Scripter.h"
#include "shell/KelProgram.h"
#include "world/LGD_ScriptHost.h"

// The characters and the map refer to each other: each is handed the others
// by reference here and uses them only after construction.
TKelgSaveData::TKelgSaveData(TKelProgram& program)
    : System(*program.DataBase, program.Folders, program.Draw),
      Party(MapOfThisGame()),
      Boat(MapOfThisGame(), vkBoat),
      Ship(MapOfThisGame(), vkShip),
      Airship(MapOfThisGame(), vkAirship),
      MessageLines(program.MessagePool),
      Player(Battlers),
      PartyInfo(Battlers, &program.Folders),
      Map(program, System, Screen, Panorama, Party, {&Boat, &Ship, &Airship}),
      Panorama(program.Folders, Map),
      Monster(Battlers),
      Program(program) {
  ConnectBattlers(program);
}

TKelgSaveData::~TKelgSaveData() = default;

void TKelgSaveData::ConnectInterpreters(TKelMessageWindow& window, TKelMessagePool& pool) {
  Host = std::make_unique<TKelgWorldScriptHost>(Program, *this);
  Services = std::make_unique<TKelScriptServices>(
      TKelScriptServices{System, *Program.Input, *Program.DataBase, window, pool, *Host});
  Scripter = std::make_unique<TKelgScripter>(*Services);
  Map.MainScripterIdle = [this] { return !Scripter->IsRunning(); };
  Map.RefreshEvents = [this] { Host->RefreshEvents(); };
}

void TKelgSaveData::ConnectBattlers(TKelProgram& program) {
  Battlers.DataBase = program.DataBase;
  Battlers.Random = program.Random;
  Battlers.System = &System;
  Battlers.Party = &PartyInfo;
  Battlers.Heroes = &Player;
  Battlers.Troop = &Monster;
  Battlers.Teleport = &Teleport;
  Battlers.MapHero = &Party;
  Battlers.Screen = &Screen;
  Battlers.Folders = &program.Folders;
  Battlers.Messages = &MessageLines;
}

void TKelgSaveData::ClearAll() {
  System.Clear();
  Screen.Clear();
  Party.Clear();
  Boat.Clear();
  Ship.Clear();
  Airship.Clear();
  Player.Reset();
  PartyInfo.NewGame();
  Teleport.Reset();
  Map.Clear();
  Panorama.Clear();
  Monster.Clear();
  CommonEvents.Reset(*Program.DataBase);
  if (Scripter) Scripter->Clear();
}

void TKelgSaveData::NewGame() {
  ClearAll();
  const TKelMapStartPosition& start = Program.MapTree->StartPosition;
  if (start.PartyMapId <= 0) throw std::runtime_error("Create Start Party Position");
  Party.SetPosition(start.PartyMapId, start.PartyX, start.PartyY);
  Map.LoadMap(true);
  Party.EnterMapSettings();
  Party.RefreshGraphic();
}

void TKelgSaveData::DumpState(nlohmann::json& state) const {
  System.DumpState(state);
  Map.DumpState(state);
  PartyInfo.DumpState(state);
  if (Scripter) Scripter->DumpState(state);
  state["Party"] = {{"MapId", Party.MapId},         {"X", Party.X},
                    {"Y", Party.Y},                 {"Direction", Party.Direction},
                    {"Facing", Party.Facing},       {"VehicleType", Party.VehicleType},
                    {"EncounterCount", Party.EncounterCount}};
  const std::pair<const char*, const TKelgShip*> vehicles[] = {{"Boat", &Boat}, {"Ship", &Ship}, {"Airship", &Airship}};
  for (const auto& [name, vehicle] : vehicles)
    state[name] = {{"MapId", vehicle->MapId}, {"X", vehicle->X}, {"Y", vehicle->Y}};
  if (const auto* battle = dynamic_cast<const TKelBattleScene*>(Program.Scenes[scBattle]))
    state["Battle"] = {{"TroopId", battle->TroopId},
                       {"BackdropName", battle->BackdropName},
                       {"FirstStrike", battle->FirstStrike},
                       {"LastResult", battle->LastResult}};
}
