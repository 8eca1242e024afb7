#include "state/LGD_SaveData.h"

#include <stdexcept>

#include "data/LD_DataBase.h"
#include "data/LD_MapTree.h"
#include "shell/KelProgram.h"

TKelgSaveData::TKelgSaveData(TKelProgram& program)
    : System(*program.DataBase, program.Folders, program.Draw), Program(program) {}

void TKelgSaveData::ClearAll() { System.Clear(); }

void TKelgSaveData::NewGame() {
  ClearAll();
  if (Program.MapTree->StartPosition.PartyMapId <= 0) throw std::runtime_error("Create Start Party Position");
}
