#pragma once
// Every run-time object of a game in play, created together and cleared as
// one for a fresh start.

#include "state/LGD_System.h"

struct TKelProgram;

class TKelgSaveData {
public:
  // Needs the database, the folders and the screen component of the program.
  explicit TKelgSaveData(TKelProgram& program);

  // Every object back to its initial state, in creation order.
  void ClearAll();
  // A fresh game: everything cleared, the party at the map tree's start.
  void NewGame();

  TKelgSystem System;

private:
  TKelProgram& Program;
};
