#pragma once
// The event interpreters: call frames, the call stack, the per-frame run
// rules of the map, parallel and battle interpreters, and the dispatch of a
// script line to its command.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "data/Catalog.h"
#include "data/LD_EventScript.h"
#include "script/ScriptHost.h"

class TKelgSystem;
class TKelDataBase;
class TMultiInput;
class TKelMessageWindow;
class TKelMessagePool;

// Script data the interpreter cannot run (an impossible indent).
class EKelScriptError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

// Character references of the commands.
inline constexpr int chrHero = 10001;
inline constexpr int chrBoat = 10002;
inline constexpr int chrShip = 10003;
inline constexpr int chrAirship = 10004;
inline constexpr int chrThisEvent = 10005;

// Key codes of the key-input command.
enum TKelKeyCode : std::uint8_t { kcNone, kcDown, kcLeft, kcRight, kcUp, kcDecision, kcCancel };

// Everything the interpreters act on, handed in by the game.
struct TKelScriptServices {
  TKelgSystem& System;
  TMultiInput& Input;
  const TKelDataBase& DataBase;
  TKelMessageWindow& Message;
  TKelMessagePool& Pool;
  TKelScriptHost& Host;
};

// One call frame.
class TKelgScriptData : public TCatalogItem {
public:
  // Deepest block a script may nest; the editor stays far below it.
  static constexpr int kMaxIndent = 1000;

  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void AfterLoad() override;
  void BeforeSave() override;

  // The branch-result byte of an indent level, grown (zeroed) when missing.
  std::uint8_t& BranchSlot(int indent);
  // The slot's value without growing; 0 when it was never written.
  std::uint8_t BranchValue(int indent) const;

  std::int32_t ScriptSize = 0;
  std::vector<std::uint8_t> Script;
  TKelEventScriptList Lines;
  std::int32_t LineIndex = 0;
  std::int32_t EventId = 0;
  std::uint8_t ByActionKey = 0;
  std::int32_t BranchCount = 0;
  std::vector<std::uint8_t> Branches;
  // Tells a frame from a later one pushed at the same depth; not saved.
  std::uint64_t Serial = 0;
};

class TKelgScriptDataList : public TCatalogOf<TKelgScriptData> {
public:
  TKelgScriptDataList() : TCatalogOf<TKelgScriptData>("Invalid Event!") {}
};

class TKelgBaseScripter : public TCatalogBaseItem {
public:
  // Frames beyond this many make a call fail.
  static constexpr int kMaxFrames = 1000;
  // Lines one run loop executes at most per frame.
  static constexpr int kMaxLinesPerFrame = 10000;

  explicit TKelgBaseScripter(const TKelScriptServices& services);

  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void LoadFromStream(TStreamReader& stream) override;
  void AfterLoad() override;
  void BeforeSave() override;
  virtual void EndScript();

  bool IsRunning() const { return Frames.Count() > 0; }
  int Depth() const { return Frames.Count(); }
  // Nil when idle.
  TKelgScriptData* TopFrame() const;
  // Clear, then one frame with a copy of the script.
  void StartScript(int eventId, const TKelEventScriptList& script);
  // A frame on top of the running ones (the call command and the start
  // rules); fails with "Event Call Limit Crossover" when the stack is full.
  TKelgScriptData& PushFrame(int eventId, const TKelEventScriptList& script, bool byActionKey = false);
  // Runs at most one line of the top frame; false: stop for this frame.
  bool Step();

  void SkipToIndent(TKelgScriptData& frame, int indent);
  // A line whose own value differs from its block's result skips to the next
  // line of its indent.
  void RunBranchLine(TKelgScriptData& frame, const TKelEventScriptLine& line, int value);
  // Writes into the branch slot of that frame and indent, or nowhere when
  // the frame has ended meanwhile.
  std::function<void(int)> BranchTarget(const TKelgScriptData& frame, int indent);
  // Durations in tenths of a second.
  void WaitTenths(int tenths);
  int ReadKey(bool triggered) const;
  TKelgCharacter* ResolveCharacter(int reference, const TKelgScriptData& frame);

  // Command helpers shared by the command groups.
  void OpenMessagePage(bool eventMessage);
  void ClearFace();

  const TKelScriptServices& Services() const { return Services_; }

  TKelgScriptDataList Frames;
  std::uint8_t WaitingMessage = 0;
  std::uint8_t BattleEscapeEnds = 0;
  std::uint8_t WaitingMovement = 0;
  std::uint8_t WaitingKey = 0;
  std::int32_t KeyVariable = 0;
  std::uint8_t KeyDirections = 0;
  std::uint8_t KeyDecision = 0;
  std::uint8_t KeyCancel = 0;
  std::int32_t WaitFrames = 0;

  // An inn prompt of this scripter waits for the window to close.
  struct TInnPrompt {
    bool Pending = false;
    std::int32_t FrameKey = 0;
    std::uint64_t FrameSerial = 0;
    int Indent = 0;
    int Price = 0;
  } Inn;

protected:
  bool MessageWindowOpen() const;
  bool MessageWindowClosing() const;
  bool SceneChangeRequested() const;

private:
  bool TakeInnPrompt();
  bool CheckKeyWait();
  void Dispatch(TKelgScriptData& frame, const TKelEventScriptLine& line);

  TKelScriptServices Services_;
  std::uint64_t NextSerial = 1;
  // Results written through BranchTarget check this is still alive.
  std::shared_ptr<TKelgBaseScripter*> Life;
  std::uint8_t KeyVariableByte = 0;
};

// The map's foreground interpreter.
class TKelgScripter : public TKelgBaseScripter {
public:
  using TKelgBaseScripter::TKelgBaseScripter;
  void UpdateFrame();
  // Interpreter {Frames} for the state dump.
  void DumpState(nlohmann::json& state) const;

private:
  bool DrainMessagePool();
  void StartPendingScripts();
};

// One per parallel map event and common event.
class TKelgRegularScripter : public TKelgBaseScripter {
public:
  using TKelgBaseScripter::TKelgBaseScripter;
  void EndScript() override;
  void UpdateParallel();
};

// Battle event pages; the pages themselves come with the battle commands.
class TKelgBattleScripter : public TKelgBaseScripter {
public:
  static constexpr int kPageCount = 100;
  using TKelgBaseScripter::TKelgBaseScripter;
  void Clear() override;
  void EndScript() override;
  void UpdateBattle();
  void ResetPageRun();

  std::uint8_t PageRun[kPageCount + 1] = {};  // 1-based
};
