#pragma once
// Every run-time object of a game in play; cleared as one for a fresh start.

#include "state/LGD_System.h"

class TKelgSaveData {
public:
  void ClearAll() { System.Clear(); }

  TKelgSystem System;
};
