#pragma once
// A map interpreter with a real message window and game state, and a fake
// map and party behind the host interface.

#include <bitset>
#include <functional>
#include <initializer_list>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "data/LD_DataBase.h"
#include "data/LD_EventScript.h"
#include "common/TestPlatform.h"
#include "platform/Platform.h"
#include "script/LGD_Scripter.h"
#include "shell/Assets.h"
#include "shell/Melvox.h"
#include "shell/MultiInput.h"
#include "state/LGD_System.h"
#include "ui/GR_System.h"
#include "ui/GameMessageWindow.h"

// One script line as a test writes it.
struct ScriptLine {
  std::int32_t code;
  std::int32_t indent = 0;
  std::string text = {};
  std::vector<std::int32_t> params = {};
};

// The lines as given, then the end line unless withEnd is false.
inline TKelEventScriptList MakeScript(std::initializer_list<ScriptLine> lines, bool withEnd = true) {
  TKelEventScriptList script;
  for (const ScriptLine& source : lines) {
    TKelEventScriptLine& line = script.AddLine();
    line.Code = source.code;
    line.Indent = source.indent;
    line.Text = source.text;
    line.Params = source.params;
  }
  if (withEnd) script.AddLine();
  return script;
}

// Lines that each write something a test can see.
inline ScriptLine SwitchOn(int id, int indent = 0) { return {10210, indent, "", {0, id, 0, 0}}; }
inline ScriptLine SwitchToggle(int id, int indent = 0) { return {10210, indent, "", {0, id, 0, 2}}; }

// A machine whose keys the test presses.
using KeyMachine = TestPlatform;

class SilentCursor final : public TKelCursorSound {
public:
  void PlayCursorSound() override {}
};

class StubGold final : public TKelGoldSource {
public:
  explicit StubGold(const int& gold) : Amount(gold) {}
  int Gold() const override { return Amount; }
  std::string CurrencyWord() const override { return "G"; }
  const int& Amount;
};

// The map, the party and the field scene as the interpreter sees them.
class FakeHost final : public TKelScriptHost {
public:
  struct Event {
    bool Pending = false;
    bool Active = true;
    bool ByKey = false;
    TKelEventScriptList Script;
  };

  std::vector<int> MapEventIds() const override {
    std::vector<int> ids;
    for (const auto& [id, event] : Events) ids.push_back(id);
    return ids;
  }
  bool EventStartPending(int id) const override { return Events.at(id).Pending; }
  void ClearEventStartPending(int id) override { Events.at(id).Pending = false; }
  bool EventActive(int id) const override { return Events.count(id) != 0 && Events.at(id).Active; }
  bool EventStartedByKey(int id) const override { return Events.at(id).ByKey; }
  const TKelEventScriptList* EventPageScript(int id) const override { return &Events.at(id).Script; }
  void EndEventProcessing(int id) override { Ended.push_back(id); }
  void RefreshEvents() override {
    Refreshes += 1;
    if (OnRefresh) OnRefresh();
  }
  const TKelEventScriptList* AutoStartCommonEventScript() const override { return CommonWantsStart ? &Common : nullptr; }
  bool ForcedRouteUnfinished() const override { return RouteUnfinished; }
  bool VehicleTransitionBusy() const override { return VehicleBusy; }
  bool StopKeyHeld() const override { return StopHeld; }
  void EndHeroRoute() override { HeroRouteEnds += 1; }
  TKelgCharacter* ResolveCharacter(int, int) override { return nullptr; }
  int PartyGold() const override { return Gold; }
  void SpendGold(int amount) override { Gold -= amount; }
  void RunInn() override { InnRuns += 1; }
  bool MapUnchangedSinceSave() const override { return MapUnchanged; }

  std::map<int, Event> Events;  // map order is id order here
  TKelEventScriptList Common;
  bool CommonWantsStart = false;
  bool RouteUnfinished = false;
  bool VehicleBusy = false;
  bool StopHeld = false;
  bool MapUnchanged = true;
  int Gold = 100;
  int InnRuns = 0;
  int HeroRouteEnds = 0;
  int Refreshes = 0;
  std::vector<int> Ended;
  std::function<void()> OnRefresh;
};

class FakeMessageContext final : public TKelMessageContext {
public:
  FakeMessageContext(TKelgSystem& system, const FakeHost& host) : System(system), Host(host) {}
  bool OnMap() const override { return true; }
  bool InBattle() const override { return false; }
  bool TestPlay() const override { return false; }
  int MessagePosition() const override { return System.MessagePosition; }
  bool MessageAutoPosition() const override { return false; }
  bool MessageTransparent() const override { return System.MessageTransparent != 0; }
  int HeroScreenY() const override { return 120; }
  std::string HeroName(int) const override { return ""; }
  std::int32_t Variable(int id) const override { return System.Variable(id); }
  void SetVariable(int id, std::int32_t value) override { System.SetVariable(id, value); }
  int PartyGold() const override { return Host.Gold; }
  const TKelGoldSource& GoldSource() const override { return Gold; }
  bool FaceShown() const override { return System.FaceShown(); }
  bool FaceRight() const override { return System.FaceRight != 0; }
  TVantraSheet& FaceSheet() override { return System.FaceSheet; }
  void PlaySound(TKelMessageSound sound) override { Sounds.push_back(sound); }

  TKelgSystem& System;
  const FakeHost& Host;
  StubGold Gold{Host.Gold};
  std::vector<TKelMessageSound> Sounds;
};

inline TKelSystemGraphic& SharedGraphic() {
  static TKelSystemGraphic graphic(TKelFontSearch{});
  return graphic;
}

struct ScriptRig {
  ScriptRig() {
    MelvoxCreate();
    Folders.game = ZAR_BINARY_DIR "/demo";
    DataBase.KelSystem.SystemName = "System";
    System.Clear();
  }
  ~ScriptRig() { MelvoxRelease(); }

  // One field-scene frame: input, the message window, then the interpreter.
  void Frame(std::optional<Key> tap = std::nullopt) {
    if (tap) Machine.Press(*tap);
    Input.Poll();
    if (Window.Exists()) Window.Update();
    Scripter.UpdateFrame();
    if (tap) Machine.Release(*tap);
  }
  // Frames until the window is open and has typed everything (at most 300).
  void TypeOut() {
    for (int i = 0; i < 300 && (!Window.Exists() || Window.OpenStep < 8 || Window.LineIndex < Window.LineCount()); ++i)
      Frame();
    Frame();  // the window settles into waiting for its answer
  }
  // Frames until the interpreter is idle (at most 300).
  void RunToIdle() {
    for (int i = 0; i < 300 && Scripter.IsRunning(); ++i) Frame();
  }
  void Start(int eventId, TKelEventScriptList script) {
    FakeHost::Event& event = Host.Events[eventId];
    event.Script = std::move(script);
    event.Pending = true;
  }
  bool On(int id) const { return System.Switch(id) != 0; }

  KeyMachine Machine;
  TMultiInput Input{Machine};
  SilentCursor Cursor;
  TKelWindowServices WindowServices{SharedGraphic(), Input, Cursor};
  TKelDataBase DataBase;
  AssetFolders Folders;
  TKelgSystem System{DataBase, Folders, nullptr};
  FakeHost Host;
  FakeMessageContext Context{System, Host};
  TKelMessageWindow Window{WindowServices, Context};
  TKelMessagePool Pool;
  TKelScriptServices Services{System, Input, DataBase, Window, Pool, Host};
  TKelgScripter Scripter{Services};
};
