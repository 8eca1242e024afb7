#pragma once
// The command table and the handlers of each command group; private to the
// interpreter.

#include "script/LGD_Scripter.h"

using TKelCommandHandler = void (*)(TKelgBaseScripter& scripter, TKelgScriptData& frame,
                                    const TKelEventScriptLine& line);

// What must hold before a line of the command may run.
enum TKelPreCheck : std::uint8_t {
  pcNone,
  pcMessage,       // a new message page only once the last one is closing
  pcWindowClosed,  // nothing while the message window is there at all
};

struct TKelScriptCommand {
  std::int32_t Code;
  TKelCommandHandler Handler;
  TKelPreCheck PreCheck;
};

// The command of a code; nil for codes the interpreter does not know.
const TKelScriptCommand* FindScriptCommand(std::int32_t code);

// Message, choice and prompt commands.
void ShowMessage(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void MessageOptions(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void SelectFace(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void ShowChoices(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void ChoiceBranch(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void InputNumber(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void Inn(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void InnBranchStay(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void InnBranchLeave(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void KeyInput(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);

// Switches.
void ControlSwitches(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void WaitCommand(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);

// Map commands.
void Teleport(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void MemoriseLocation(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
void TeleportToMemorised(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line);
