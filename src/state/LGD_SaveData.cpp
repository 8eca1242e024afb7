#include "state/LGD_SaveData.h"

#include <stdexcept>

#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "shell/KelProgram.h"

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
}

void TKelgSaveData::NewGame() {
  ClearAll();
  const TKelMapStartPosition& start = Program.MapTree->StartPosition;
  if (start.PartyMapId <= 0) throw std::runtime_error("Create Start Party Position");
  Party.SetPosition(start.PartyMapId, start.PartyX, start.PartyY);
  Map.LoadMap(true);
}

void TKelgSaveData::DumpState(nlohmann::json& state) const {
  System.DumpState(state);
  Map.DumpState(state);
  PartyInfo.DumpState(state);
}
