// Messages, choices, number input, the inn and key input.

#include <algorithm>
#include <string>

#include "data/LD_DataBase.h"
#include "script/LGD_ScripterCommands.h"
#include "shell/MultiInput.h"
#include "state/LGD_System.h"
#include "ui/GameMessageWindow.h"

namespace {

constexpr std::int32_t kShowMessage = 10110;
constexpr std::int32_t kMessageContinuation = 20110;
constexpr std::int32_t kShowChoices = 10140;
constexpr std::int32_t kChoiceBranch = 20140;
constexpr std::int32_t kInputNumber = 10150;
constexpr int kLastChoiceIndex = 3;
constexpr int kMaxCancelChoice = 5;
// Nine digits always fit the variables' 32-bit range.
constexpr int kMaxNumberDigits = 9;
constexpr int kCurrencyUnit = 95;
constexpr std::uint8_t kInnStay = 0;
constexpr std::uint8_t kInnLeave = 1;

// Branch lines of the choice block starting at `from`, the cancel branch included.
int CountChoiceLines(const TKelgScriptData& frame, int from, int indent) {
  int count = 0;
  for (int i = from; i < frame.Lines.Count(); ++i) {
    const TKelEventScriptLine& line = frame.Lines.Line(i);
    if (line.Indent < indent) break;
    if (line.Indent != indent) continue;
    if (line.Code != kChoiceBranch) break;
    count += 1;
  }
  return count;
}

// A page of its own unless the window is up and not closing (then the
// prompt joins the message just shown).
void JoinOrOpenPage(TKelgBaseScripter& scripter) {
  const TKelMessageWindow& window = scripter.Services().Message;
  if (!window.Exists() || window.CloseStep != 0) scripter.OpenMessagePage(true);
}

}  // namespace

void ShowMessage(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  TKelMessageWindow& window = scripter.Services().Message;
  scripter.OpenMessagePage(true);
  window.AddLine(line.Text);
  while (frame.LineIndex < frame.Lines.Count() && frame.Lines.Line(frame.LineIndex).Code == kMessageContinuation) {
    window.AddLine(frame.Lines.Line(frame.LineIndex).Text);
    frame.LineIndex += 1;
  }
  scripter.WaitingMessage = 1;

  // A prompt right after the message shares its page when it fits.
  if (frame.LineIndex >= frame.Lines.Count()) return;
  const TKelEventScriptLine& next = frame.Lines.Line(frame.LineIndex);
  if (next.Code == kShowChoices) {
    const int choices = CountChoiceLines(frame, frame.LineIndex + 1, next.Indent);
    if (choices + window.LineCount() > TKelMessageWindow::kMaxLines) return;
    frame.LineIndex += 1;
    ShowChoices(scripter, frame, next);
  } else if (next.Code == kInputNumber && window.LineCount() < TKelMessageWindow::kMaxLines) {
    frame.LineIndex += 1;
    InputNumber(scripter, frame, next);
  }
}

void MessageOptions(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  TKelgSystem& system = scripter.Services().System;
  system.MessageTransparent = line.Param(0);
  system.MessagePosition = std::clamp(line.Param(1), 0, 2);
  system.MessageAutoPosition = line.Param(2) != 0 ? 1 : 0;
  system.MessageEventsMove = line.Param(3) != 0 ? 1 : 0;
}

void SelectFace(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  TKelgSystem& system = scripter.Services().System;
  system.FaceName = line.Text;
  system.FaceIndex = line.Param(0);
  system.FaceRight = line.Param(1) != 0 ? 1 : 0;
  system.FaceFlipped = line.Param(2) != 0 ? 1 : 0;
  system.RefreshFace();
}

void ShowChoices(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  TKelMessageWindow& window = scripter.Services().Message;
  // Fails on an impossible indent before anything is shown.
  frame.BranchSlot(line.Indent);
  JoinOrOpenPage(scripter);
  const int cancel = line.Param(0);
  window.CancelChoice = cancel >= 0 && cancel <= kMaxCancelChoice ? cancel : 0;
  for (int i = frame.LineIndex; i < frame.Lines.Count(); ++i) {
    const TKelEventScriptLine& choice = frame.Lines.Line(i);
    if (choice.Indent < line.Indent) break;
    if (choice.Indent != line.Indent) continue;
    if (choice.Code != kChoiceBranch || choice.Param(0) > kLastChoiceIndex) break;
    window.AddChoice(choice.Text);
  }
  scripter.WaitingMessage = 1;
  window.ResultTarget = scripter.BranchTarget(frame, line.Indent);
}

void ChoiceBranch(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  scripter.RunBranchLine(frame, line, line.Param(0));
}

void InputNumber(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  TKelMessageWindow& window = scripter.Services().Message;
  JoinOrOpenPage(scripter);
  window.NumberDigits = std::clamp(line.Param(0), 1, kMaxNumberDigits);
  window.NumberVariable = line.Param(1);
  scripter.WaitingMessage = 1;
}

void Inn(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  const TKelScriptServices& services = scripter.Services();
  TKelMessageWindow& window = services.Message;
  std::uint8_t& slot = frame.BranchSlot(line.Indent);
  const int price = std::max(line.Param(1), 0);
  TKelVocabulary::TInnMessages texts{};
  if (price > 0 && !services.DataBase.KelVocabulary.InnMessages(line.Param(0), texts)) {
    // No texts to offer: the guest leaves without paying.
    slot = kInnLeave;
    return;
  }
  scripter.Inn = {true, frame.Key, frame.Serial, line.Indent, price};
  if (price == 0) {
    // Free: no prompt, the stay happens at the next step.
    slot = kInnStay;
    return;
  }
  // Only an explicit stay pays, whatever ends the prompt.
  slot = kInnLeave;
  scripter.OpenMessagePage(true);
  const std::string& currency = services.DataBase.KelVocabulary.Text(kCurrencyUnit);
  window.AddLine("\\$" + *texts[0] + "\x01" + std::to_string(price) + currency + *texts[1]);
  if (!texts[2]->empty()) window.AddLine(*texts[2]);
  const bool affordable = services.Host.PartyGold() >= price;
  window.AddChoice((affordable ? "\\C[0]" : "\\C[3]") + *texts[3]);
  window.AddChoice("\\C[0]" + *texts[4]);
  window.CancelChoice = 2;
  window.GoldCheck = true;
  window.Price = price;
  scripter.WaitingMessage = 1;
  window.ResultTarget = scripter.BranchTarget(frame, line.Indent);
}

void InnBranchStay(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  scripter.RunBranchLine(frame, line, kInnStay);
}

void InnBranchLeave(TKelgBaseScripter& scripter, TKelgScriptData& frame, const TKelEventScriptLine& line) {
  scripter.RunBranchLine(frame, line, kInnLeave);
}

void KeyInput(TKelgBaseScripter& scripter, TKelgScriptData&, const TKelEventScriptLine& line) {
  const TKelScriptServices& services = scripter.Services();
  scripter.KeyVariable = line.Param(0);
  scripter.KeyDirections = line.Param(2) != 0 ? 1 : 0;
  scripter.KeyDecision = line.Param(3) != 0 ? 1 : 0;
  scripter.KeyCancel = line.Param(4) != 0 ? 1 : 0;
  if (line.Param(1) != 0) {
    scripter.WaitingKey = 1;
    // A key already down when the command ran is not a new press.
    services.Input.Poll();
    return;
  }
  services.System.SetVariable(scripter.KeyVariable, scripter.ReadKey(false));
  services.Host.RefreshEvents();
}
