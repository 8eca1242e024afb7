// Switches (the rest of the game-data commands come later).

#include <algorithm>

#include "script/LGD_ScripterCommands.h"
#include "state/LGD_System.h"

namespace {

enum TKelSwitchOperation : std::int32_t { soOn, soOff, soToggle };

}  // namespace

void ControlSwitches(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  TKelgSystem& system = scripter.Services().System;
  std::int32_t first = line.Param(1);
  std::int32_t last = first;
  if (line.Param(0) == 1) last = line.Param(2);
  else if (line.Param(0) == 2) first = last = system.Variable(line.Param(1));
  // Switches outside 1 … kMaxSwitchId ignore writes: no need to visit them.
  first = std::max(first, 1);
  last = std::min(last, kMaxSwitchId);
  const std::int32_t operation = line.Param(3);
  for (std::int32_t id = first; id <= last; ++id) {
    if (operation == soOn) system.SetSwitch(id, 1);
    else if (operation == soOff) system.SetSwitch(id, 0);
    else if (operation == soToggle) system.SetSwitch(id, system.Switch(id) != 0 ? 0 : 1);
  }
  scripter.Services().Host.RefreshEvents();
}
