#include "script/LGD_Scripter.h"

#include <algorithm>

#include "data/LD_DataBase.h"
#include "script/LGD_ScripterCommands.h"
#include "shell/MultiInput.h"
#include "state/LGD_System.h"
#include "ui/GameMessageWindow.h"
#include "data/StreamUtils.h"

namespace {

constexpr int kFramesPerTenth = 6;

void EndOfScript(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine&) { scripter.EndScript(); }

// ---------------------------------------------------------------------------
// Commands whose handlers come with later work point here: their lines do
// nothing yet. As a group is built, its entries below take its handlers.
void SkippedUntilBuilt(TKelgBaseScripter&, TKelgScriptData&, const TKelEventScriptLine&) {}
// ---------------------------------------------------------------------------

// Every command code the interpreter knows, in ascending code order. A nil
// handler marks a line that only the line before it reads.
constexpr TKelScriptCommand kCommands[] = {
    {0, EndOfScript, pcNone},  // end of script
    {10110, ShowMessage, pcMessage},  // show message
    {10120, MessageOptions, pcMessage},  // message options
    {10130, SelectFace, pcMessage},  // select face graphic
    {10140, ShowChoices, pcMessage},  // show choices
    {10150, InputNumber, pcMessage},  // input number
    {10210, ControlSwitches, pcNone},  // control switches
    {10220, SkippedUntilBuilt, pcNone},  // control variables
    {10230, SkippedUntilBuilt, pcNone},  // timer operation
    {10310, SkippedUntilBuilt, pcNone},  // change gold
    {10320, SkippedUntilBuilt, pcNone},  // change items
    {10330, SkippedUntilBuilt, pcNone},  // change party members
    {10410, SkippedUntilBuilt, pcNone},  // change experience
    {10420, SkippedUntilBuilt, pcNone},  // change level
    {10430, SkippedUntilBuilt, pcNone},  // change parameters
    {10440, SkippedUntilBuilt, pcNone},  // change skills
    {10450, SkippedUntilBuilt, pcNone},  // change equipment
    {10460, SkippedUntilBuilt, pcNone},  // change HP
    {10470, SkippedUntilBuilt, pcNone},  // change MP
    {10480, SkippedUntilBuilt, pcNone},  // change state
    {10490, SkippedUntilBuilt, pcNone},  // full recovery
    {10500, SkippedUntilBuilt, pcNone},  // simulated attack
    {10610, SkippedUntilBuilt, pcNone},  // change hero name
    {10620, SkippedUntilBuilt, pcNone},  // change hero title
    {10630, SkippedUntilBuilt, pcNone},  // change hero graphic
    {10640, SkippedUntilBuilt, pcNone},  // change hero face
    {10650, SkippedUntilBuilt, pcNone},  // change vehicle graphic
    {10660, SkippedUntilBuilt, pcNone},  // change system music
    {10670, SkippedUntilBuilt, pcNone},  // change system sound effect
    {10680, SkippedUntilBuilt, pcNone},  // change system graphic
    {10690, SkippedUntilBuilt, pcNone},  // change screen transition
    {10710, SkippedUntilBuilt, pcWindowClosed},  // battle
    {10720, SkippedUntilBuilt, pcWindowClosed},  // shop
    {10730, Inn, pcNone},  // inn
    {10740, SkippedUntilBuilt, pcWindowClosed},  // name entry
    {10810, Teleport, pcWindowClosed},  // teleport
    {10820, MemoriseLocation, pcNone},  // memorise location
    {10830, TeleportToMemorised, pcWindowClosed},  // teleport to memorised location
    {10840, SkippedUntilBuilt, pcNone},  // board or leave vehicle
    {10850, SkippedUntilBuilt, pcNone},  // set vehicle location
    {10860, SkippedUntilBuilt, pcNone},  // set event location
    {10870, SkippedUntilBuilt, pcNone},  // swap event locations
    {10910, SkippedUntilBuilt, pcNone},  // get terrain number
    {10920, SkippedUntilBuilt, pcNone},  // get event number at a position
    {11010, SkippedUntilBuilt, pcWindowClosed},  // erase screen
    {11020, SkippedUntilBuilt, pcWindowClosed},  // show screen
    {11030, SkippedUntilBuilt, pcNone},  // tint screen
    {11040, SkippedUntilBuilt, pcNone},  // flash screen
    {11050, SkippedUntilBuilt, pcNone},  // shake screen
    {11060, SkippedUntilBuilt, pcNone},  // pan screen
    {11070, SkippedUntilBuilt, pcNone},  // weather
    {11110, SkippedUntilBuilt, pcWindowClosed},  // show picture
    {11120, SkippedUntilBuilt, pcWindowClosed},  // move picture
    {11130, SkippedUntilBuilt, pcWindowClosed},  // erase picture
    {11210, SkippedUntilBuilt, pcNone},  // show animation on the map
    {11310, SkippedUntilBuilt, pcNone},  // hero transparency
    {11320, SkippedUntilBuilt, pcNone},  // flash character
    {11330, SkippedUntilBuilt, pcNone},  // set move route
    {11340, SkippedUntilBuilt, pcNone},  // wait for all movement
    {11350, SkippedUntilBuilt, pcNone},  // stop all movement
    {11410, WaitCommand, pcNone},  // wait
    {11510, SkippedUntilBuilt, pcNone},  // play music
    {11520, SkippedUntilBuilt, pcNone},  // fade out music
    {11530, SkippedUntilBuilt, pcNone},  // memorise music
    {11540, SkippedUntilBuilt, pcNone},  // play memorised music
    {11550, SkippedUntilBuilt, pcNone},  // play sound effect
    {11560, SkippedUntilBuilt, pcWindowClosed},  // play movie
    {11610, KeyInput, pcNone},  // key input
    {11710, SkippedUntilBuilt, pcNone},  // change tile set
    {11720, SkippedUntilBuilt, pcNone},  // change panorama
    {11740, SkippedUntilBuilt, pcNone},  // change encounter rate
    {11750, SkippedUntilBuilt, pcNone},  // change tile
    {11810, SkippedUntilBuilt, pcNone},  // teleport destinations
    {11820, SkippedUntilBuilt, pcNone},  // enable teleport
    {11830, SkippedUntilBuilt, pcNone},  // set escape destination
    {11840, SkippedUntilBuilt, pcNone},  // enable escape
    {11910, SkippedUntilBuilt, pcWindowClosed},  // call save screen
    {11930, SkippedUntilBuilt, pcNone},  // enable saving
    {11950, SkippedUntilBuilt, pcWindowClosed},  // call main menu
    {11960, SkippedUntilBuilt, pcNone},  // enable main menu
    {12010, SkippedUntilBuilt, pcNone},  // conditional branch
    {12110, SkippedUntilBuilt, pcNone},  // label
    {12120, SkippedUntilBuilt, pcNone},  // jump to label
    {12210, SkippedUntilBuilt, pcNone},  // loop start
    {12220, SkippedUntilBuilt, pcNone},  // break loop
    {12310, SkippedUntilBuilt, pcNone},  // end event processing
    {12320, SkippedUntilBuilt, pcNone},  // erase event
    {12330, SkippedUntilBuilt, pcNone},  // call event
    {12410, SkippedUntilBuilt, pcNone},  // comment
    {12420, SkippedUntilBuilt, pcWindowClosed},  // game over
    {12510, SkippedUntilBuilt, pcWindowClosed},  // return to title
    {13110, SkippedUntilBuilt, pcNone},  // change enemy HP
    {13120, SkippedUntilBuilt, pcNone},  // change enemy MP
    {13130, SkippedUntilBuilt, pcNone},  // change enemy state
    {13150, SkippedUntilBuilt, pcNone},  // reveal hidden enemy
    {13210, SkippedUntilBuilt, pcNone},  // change battle backdrop
    {13260, SkippedUntilBuilt, pcNone},  // show battle animation
    {13310, SkippedUntilBuilt, pcNone},  // battle conditional branch
    {13410, SkippedUntilBuilt, pcNone},  // end battle
    {20110, nullptr, pcNone},  // message continuation line
    {20140, ChoiceBranch, pcNone},  // choice branch
    {20710, SkippedUntilBuilt, pcNone},  // battle branch: victory
    {20711, SkippedUntilBuilt, pcNone},  // battle branch: escape
    {20712, SkippedUntilBuilt, pcNone},  // battle branch: defeat
    {20720, SkippedUntilBuilt, pcNone},  // shop branch: transaction made
    {20721, SkippedUntilBuilt, pcNone},  // shop branch: no transaction
    {20730, InnBranchStay, pcNone},  // inn branch: stay
    {20731, InnBranchLeave, pcNone},  // inn branch: leave
    {22010, SkippedUntilBuilt, pcNone},  // else branch of 12010
    {22210, SkippedUntilBuilt, pcNone},  // loop end
    {22410, nullptr, pcNone},  // comment continuation
    {23310, SkippedUntilBuilt, pcNone},  // else branch of 13310
};
static_assert(std::is_sorted(std::begin(kCommands), std::end(kCommands),
                             [](const TKelScriptCommand& a, const TKelScriptCommand& b) { return a.Code < b.Code; }));

}  // namespace

const TKelScriptCommand* FindScriptCommand(std::int32_t code) {
  const auto* end = std::end(kCommands);
  const auto* found = std::lower_bound(std::begin(kCommands), end, code,
                                       [](const TKelScriptCommand& c, std::int32_t value) { return c.Code < value; });
  return found != end && found->Code == code ? found : nullptr;
}

// ---- TKelgScriptData ------------------------------------------------------

void TKelgScriptData::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 1: v.Number("ScriptSize", &ScriptSize, 0); v.Derived = true; break;
    case 2: v.Buffer("Script", &Script, TCatalogElement::Script); break;
    case 11: v.Number("LineIndex", &LineIndex, 0); break;
    case 12: v.Number("EventId", &EventId, 0); break;
    case 13: v.Byte("ByActionKey", &ByActionKey, 0); break;
    case 21: v.Number("BranchCount", &BranchCount, 0); v.Derived = true; break;
    case 22: v.Buffer("Branches", &Branches); break;
    default: break;
  }
}

void TKelgScriptData::Clear() {
  TCatalogItem::Clear();
  ScriptSize = 0;
  Script.clear();
  Lines.ClearLines();
  LineIndex = EventId = 0;
  ByActionKey = 0;
  BranchCount = 0;
  Branches.clear();
}

void TKelgScriptData::AfterLoad() {
  TStreamReader reader(Script, "(saved script)");
  Lines.LoadFromStream(reader);
  // The block read is what there is, whatever the count claims.
  BranchCount = static_cast<std::int32_t>(Branches.size());
}

void TKelgScriptData::BeforeSave() {
  TStreamWriter encoded;
  Lines.SaveToStream(encoded);
  Script = encoded.TakeBytes();
  ScriptSize = static_cast<std::int32_t>(Script.size());
  BranchCount = static_cast<std::int32_t>(Branches.size());
}

std::uint8_t& TKelgScriptData::BranchSlot(int indent) {
  if (indent < 0 || indent > kMaxIndent)
    throw EKelScriptError("Invalid indent " + std::to_string(indent) + " in an event script");
  if (static_cast<std::size_t>(indent) >= Branches.size()) Branches.resize(static_cast<std::size_t>(indent) + 1, 0);
  BranchCount = static_cast<std::int32_t>(Branches.size());
  return Branches[static_cast<std::size_t>(indent)];
}

std::uint8_t TKelgScriptData::BranchValue(int indent) const {
  if (indent < 0 || static_cast<std::size_t>(indent) >= Branches.size()) return 0;
  return Branches[static_cast<std::size_t>(indent)];
}

// ---- TKelgBaseScripter ----------------------------------------------------

TKelgBaseScripter::TKelgBaseScripter(const TKelScriptServices& services)
    : Services_(services), Life(std::make_shared<TKelgBaseScripter*>(this)) {
  TKelgBaseScripter::Clear();
}

void TKelgBaseScripter::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 1: v.List("Frames", &Frames); break;
    case 4: v.Byte("WaitingMessage", &WaitingMessage, 0); break;
    case 11: v.Byte("BattleEscapeEnds", &BattleEscapeEnds, 0); break;
    case 13: v.Byte("WaitingMovement", &WaitingMovement, 0); break;
    case 21: v.Byte("WaitingKey", &WaitingKey, 0); break;
    case 22: v.Byte("KeyVariable", &KeyVariableByte, 0); break;
    case 23: v.Byte("KeyDirections", &KeyDirections, 0); break;
    case 24: v.Byte("KeyDecision", &KeyDecision, 0); break;
    case 25: v.Byte("KeyCancel", &KeyCancel, 0); break;
    case 31: v.Number("WaitFrames", &WaitFrames, 0); break;
    default: break;
  }
}

void TKelgBaseScripter::Clear() {
  TCatalogBaseItem::Clear();
  Frames.Clear();
  WaitingMessage = BattleEscapeEnds = WaitingMovement = WaitingKey = 0;
  KeyVariable = 0;
  KeyVariableByte = 0;
  KeyDirections = KeyDecision = KeyCancel = 0;
  WaitFrames = 0;
  Inn = {};
}

void TKelgBaseScripter::LoadFromStream(TStreamReader& stream) {
  TCatalogBaseItem::LoadFromStream(stream);
  // Frames saved with another version of the map would point at the wrong lines.
  if (!Services_.Host.MapUnchangedSinceSave()) Clear();
}

void TKelgBaseScripter::AfterLoad() {
  KeyVariable = KeyVariableByte;
  for (int i = 0; i < Frames.Count(); ++i) Frames.ItemAt(i)->Serial = NextSerial++;
}

void TKelgBaseScripter::BeforeSave() { KeyVariableByte = static_cast<std::uint8_t>(KeyVariable & 0xFF); }

TKelgScriptData* TKelgBaseScripter::TopFrame() const { return Frames.ItemAt(Frames.Count() - 1); }

void TKelgBaseScripter::StartScript(int eventId, const TKelEventScriptList& script) {
  Clear();
  PushFrame(eventId, script);
}

TKelgScriptData& TKelgBaseScripter::PushFrame(int eventId, const TKelEventScriptList& script, bool byActionKey) {
  if (Frames.Count() > kMaxFrames) throw EKelScriptError("Event Call Limit Crossover");
  TKelgScriptData& frame = Frames.Add();
  frame.Lines.Assign(script);
  frame.EventId = eventId;
  frame.ByActionKey = byActionKey ? 1 : 0;
  frame.Serial = NextSerial++;
  return frame;
}

void TKelgBaseScripter::EndScript() {
  TKelgScriptData* top = TopFrame();
  if (top == nullptr) return;
  // The event's own frame hands its movement back, even when an auto-start
  // common event's frame lies below it; calls on top of it do not.
  bool eventFrameBelow = false;
  for (int i = 0; i + 1 < Frames.Count(); ++i) eventFrameBelow = eventFrameBelow || Frames.ItemAt(i)->EventId != 0;
  if (top->EventId != 0 && !eventFrameBelow) {
    Services_.Host.EndEventProcessing(top->EventId);
    ClearFace();
  }
  Frames.Delete(top->Key);
  WaitingMessage = WaitingMovement = WaitingKey = 0;
  WaitFrames = 0;
}

bool TKelgBaseScripter::MessageWindowOpen() const { return Services_.Message.Exists(); }

bool TKelgBaseScripter::MessageWindowClosing() const { return Services_.Message.CloseStep != 0; }

bool TKelgBaseScripter::SceneChangeRequested() const { return Services_.System.SceneId != scField; }

bool TKelgBaseScripter::Step() {
  if (BattleEscapeEnds != 0) {
    BattleEscapeEnds = 0;
    // The battle line is the one just run; its slot holds the outcome.
    TKelgScriptData* frame = TopFrame();
    if (frame != nullptr && frame->LineIndex >= 1 && frame->LineIndex <= frame->Lines.Count() &&
        frame->BranchValue(frame->Lines.Line(frame->LineIndex - 1).Indent) == 1) {
      EndScript();
      return false;
    }
  }
  if (Inn.Pending && !TakeInnPrompt()) return false;
  if (WaitingMovement != 0) {
    if (Services_.Host.ForcedRouteUnfinished()) return false;
    WaitingMovement = 0;
  }
  if (WaitingKey != 0 && !CheckKeyWait()) return false;

  TKelgScriptData* frame = TopFrame();
  if (frame == nullptr) throw EKelAssertion("LGD_Scripter", 2677);
  if (frame->LineIndex < 0) throw EKelAssertion("LGD_Scripter", 2679);
  if (frame->LineIndex >= frame->Lines.Count()) {
    // No end line: the list's end ends the script all the same.
    EndScript();
    return true;
  }
  const TKelEventScriptLine& line = frame->Lines.Line(frame->LineIndex);
  const TKelScriptCommand* command = FindScriptCommand(line.Code);
  if (command != nullptr && MessageWindowOpen()) {
    if (command->PreCheck == pcWindowClosed) return false;
    // A new page may follow only a closing one, and then opens without animation.
    if (command->PreCheck == pcMessage && !(MessageWindowClosing() && Services_.Message.OpenedBefore)) return false;
  }
  frame->LineIndex += 1;
  if (command != nullptr && command->Handler != nullptr) command->Handler(*this, *frame, line);
  return true;
}

bool TKelgBaseScripter::TakeInnPrompt() {
  if (MessageWindowOpen()) return false;
  Services_.Message.GoldCheck = false;
  const TInnPrompt prompt = Inn;
  Inn = {};
  const TKelgScriptData* frame = Frames.Find(prompt.FrameKey);
  if (frame != nullptr && frame->Serial == prompt.FrameSerial && frame->BranchValue(prompt.Indent) == 0) {
    Services_.Host.SpendGold(prompt.Price);
    Services_.Host.RunInn();
  }
  return true;
}

bool TKelgBaseScripter::CheckKeyWait() {
  if (MessageWindowOpen()) return false;
  const int key = ReadKey(true);
  Services_.System.SetVariable(KeyVariable, key);
  Services_.Host.RefreshEvents();
  // The key itself decides: a variable that cannot be written must not hold
  // the script forever.
  if (key == kcNone) return false;
  WaitingKey = 0;
  return true;
}

void TKelgBaseScripter::SkipToIndent(TKelgScriptData& frame, int indent) {
  const int count = frame.Lines.Count();
  while (frame.LineIndex < count && frame.Lines.Line(frame.LineIndex).Indent != indent) frame.LineIndex += 1;
}

void TKelgBaseScripter::RunBranchLine(TKelgScriptData& frame, const TKelEventScriptLine& line, int value) {
  if (frame.BranchSlot(line.Indent) != value) SkipToIndent(frame, line.Indent);
}

std::function<void(int)> TKelgBaseScripter::BranchTarget(const TKelgScriptData& frame, int indent) {
  std::weak_ptr<TKelgBaseScripter*> life = Life;
  const std::int32_t key = frame.Key;
  const std::uint64_t serial = frame.Serial;
  return [life, key, serial, indent](int value) {
    const auto alive = life.lock();
    if (!alive) return;
    TKelgScriptData* target = (*alive)->Frames.Find(key);
    if (target == nullptr || target->Serial != serial) return;
    target->BranchSlot(indent) = static_cast<std::uint8_t>(value);
  };
}

void TKelgBaseScripter::WaitTenths(int tenths) { WaitFrames = std::max(1, tenths * kFramesPerTenth); }

int TKelgBaseScripter::ReadKey(bool triggered) const {
  const TMultiInput& input = Services_.Input;
  const TInputButtons buttons = triggered ? input.Triggered() : input.Pressed();
  const auto has = [buttons](TInputButton b) { return (buttons & ButtonBit(b)) != 0; };
  int key = kcNone;
  if (KeyDirections != 0) {
    if (triggered) {
      if (has(ibUp)) key = kcUp;
      else if (has(ibRight)) key = kcRight;
      else if (has(ibLeft)) key = kcLeft;
      else if (has(ibDown)) key = kcDown;
    } else {
      key = input.Direction() / 2;
    }
  }
  if (KeyDecision != 0 && has(ibDecide)) key = kcDecision;
  if (KeyCancel != 0 && has(ibCancel)) key = kcCancel;
  return key;
}

TKelgCharacter* TKelgBaseScripter::ResolveCharacter(int reference, const TKelgScriptData& frame) {
  return Services_.Host.ResolveCharacter(reference, frame.EventId);
}

void TKelgBaseScripter::OpenMessagePage(bool eventMessage) {
  Services_.System.EventMessage = eventMessage ? 1 : 0;
  Services_.Message.Open();
}

void TKelgBaseScripter::ClearFace() {
  TKelgSystem& system = Services_.System;
  system.FaceName.clear();
  system.FaceIndex = 0;
  system.FaceRight = 0;
  system.FaceFlipped = 0;
  system.RefreshFace();
}
