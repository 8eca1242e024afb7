// Flow-control commands: waits.

#include "script/LGD_Scripter.h"
#include "script/LGD_ScripterCommands.h"

void WaitCommand(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  scripter.WaitTenths(line.Param(0));
}
