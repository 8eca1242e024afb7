#include "ui/GameMessageWindow.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <stdexcept>

#include "ui/GameFont.h"

namespace {

constexpr int kOpenDone = 8;
constexpr int kLineHeight = 16;
constexpr int kTextLeft = 8;
constexpr int kFaceTextLeft = 80;
constexpr int kTextRightLimit = 298;
constexpr int kFaceTextRightLimit = 226;
constexpr int kShortPause = 15;
constexpr int kLongPause = 60;
constexpr int kColorCount = 20;
constexpr int kMaxSpeed = 20;
constexpr int kMaxNumberDigits = 9;
constexpr int kArrowBlinkFrames = 20;

bool IsLead(char c) { return IsShiftJisLead(static_cast<std::uint8_t>(c)); }

// The number in "[n]" starting at pos (pos at '['): the longest leading part
// that reads as an integer, −1 when none; pos ends past the ']'.
int ReadBracketNumber(const std::string& text, std::size_t& pos) {
  if (pos >= text.size() || text[pos] != '[') return -1;
  ++pos;
  std::string digits;
  while (pos < text.size() && text[pos] != ']') digits += text[pos++];
  if (pos < text.size()) ++pos;  // the ']'
  int value = -1;
  for (std::size_t length = digits.size(); length > 0; --length) {
    int parsed = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + length, parsed);
    if (ec == std::errc() && ptr == digits.data() + length) {
      value = parsed;
      break;
    }
  }
  return value;
}

}  // namespace

std::string TKelMessagePool::Take() {
  if (Entries.empty()) return {};
  std::string first = std::move(Entries.front());
  Entries.pop_front();
  return first;
}

TKelMessageWindow::TKelMessageWindow(const TKelWindowServices& services, TKelMessageContext& context)
    : TKelWindow(services), GoldWindow(services, context.GoldSource()), Context(context) {}

void TKelMessageWindow::Open() {
  if (!Context.OnMap()) {
    Position = 2;
    Setup(0, 160, 320, 80, false);
  } else {
    Position = std::clamp(Context.MessagePosition(), 0, 2);
    if (Context.MessageAutoPosition()) {
      const int heroY = Context.HeroScreenY();
      if (heroY <= 112) Position = 2;
      else if (heroY > 151) Position = 0;
    }
    Setup(0, Position * 80, 320, 80, !OpenedBefore);
    OpenedBefore = true;
    if (Context.MessageTransparent()) {
      WindowSheet.FillRect(WindowSheet.GetBounds(), 0);
      BackSheet.FillRect(BackSheet.GetBounds(), 0);
      WindowSheet.Transparent = true;
    }
  }
  Lines.clear();
  Columns = 1;
  ItemCount = 0;
  MarginX = 14;
  ItemWidth = Width - 28;
  LineIndex = CharPos = TextX = Color = WaitCounter = 0;
  Speed = 1;
  WaitForKey = AutoClose = false;
  CancelChoice = 0;
  ResultTarget = nullptr;
  NumberValue = 0;
  NumberDigits = NumberVariable = 0;
  GoldCheck = false;
  Price = 0;
}

std::string TKelMessageWindow::Expand(const std::string& text) const {
  std::string out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const char c = text[pos];
    if (IsLead(c) && pos + 1 < text.size()) {
      out.append(text, pos, 2);
      pos += 2;
      continue;
    }
    if (c != '\\' || pos + 1 >= text.size()) {
      out += c;
      ++pos;
      continue;
    }
    const char code = static_cast<char>(std::toupper(static_cast<unsigned char>(text[pos + 1])));
    if (code == 'N' || code == 'V') {
      pos += 2;
      const int n = ReadBracketNumber(text, pos);
      out += code == 'N' ? Context.HeroName(n) : std::to_string(Context.Variable(n));
    } else if (code == '_') {
      out += '\x01';
      pos += 2;
    } else {
      // Every other code stays for the typing, \\ as its two bytes.
      out.append(text, pos, 2);
      pos += 2;
    }
  }
  return out;
}

void TKelMessageWindow::AddLine(const std::string& text) {
  if (LineCount() >= kMaxLines) return;
  if (Lines.empty() && text.size() >= 2 && text[0] == '\\' && text[1] == '$') ShowGold();
  Lines.push_back(Expand(text));
}

void TKelMessageWindow::AddChoice(const std::string& text) {
  if (ItemCount == 0) MarginY = LineCount() * kLineHeight + 8;
  AddLine("  " + text);
  ++ItemCount;
}

void TKelMessageWindow::ShowGold() {
  if (!Context.OnMap()) return;
  if (GoldWindow.Exists() && GoldWindow.CloseStep == 0) return;
  const bool closingJustBegun = GoldWindow.CloseStep == 1;
  if (closingJustBegun) GoldWindow.Release();
  GoldWindow.SetupAndRefresh(232, Position == 0 ? 208 : 0, 88, 32, !closingJustBegun);
}

bool TKelMessageWindow::Instant() const { return Context.TestPlay() && Services.Input.Pressed(ibShift); }

int TKelMessageWindow::FaceOffset() const {
  return Context.FaceShown() && !Context.FaceRight() ? kFaceTextLeft : kTextLeft;
}

// One control code at CharPos; true when typing goes on in this frame.
bool TKelMessageWindow::HandleControlCode(const std::string& line, bool& instant) {
  if (static_cast<std::size_t>(CharPos) + 1 >= line.size()) {
    ++CharPos;  // a backslash ending the line is skipped
    return true;
  }
  const char code = static_cast<char>(std::toupper(static_cast<unsigned char>(line[CharPos + 1])));
  if (code == 'C' || code == 'S') {
    std::size_t pos = static_cast<std::size_t>(CharPos) + 2;
    const int n = ReadBracketNumber(line, pos);
    CharPos = static_cast<int>(pos);
    if (code == 'C' && n >= 0 && n < kColorCount) Color = n;
    if (code == 'S') Speed = std::clamp(n, 1, kMaxSpeed);
    return true;
  }
  switch (code) {
    case '$': ShowGold(); break;
    case '!': WaitForKey = true; break;
    case '.': if (!instant) WaitCounter = std::max(WaitCounter, kShortPause); break;
    case '|': if (!instant) WaitCounter = std::max(WaitCounter, kLongPause); break;
    case '>': instant = true; break;
    case '<': instant = false; break;
    case '^': AutoClose = true; break;
    default: break;  // unknown codes are skipped
  }
  CharPos += 2;
  if (WaitForKey) FrameCounter = 0;
  if (instant) return true;
  WaitCounter = std::max(WaitCounter, Speed - 1);
  return false;
}

void TKelMessageWindow::TypeText(bool& instant) {
  for (;;) {
    if (LineIndex >= LineCount()) return;
    const std::string& line = Lines[LineIndex];
    if (CharPos == 0) instant = Instant();
    bool printBackslash = false;
    while (static_cast<std::size_t>(CharPos) < line.size() && line[CharPos] == '\\') {
      if (static_cast<std::size_t>(CharPos) + 1 < line.size() && line[CharPos + 1] == '\\') {
        ++CharPos;  // \\ prints the second backslash
        printBackslash = true;
        break;
      }
      if (!HandleControlCode(line, instant)) return;
      if (WaitForKey) return;
    }
    int length = 0;
    if (static_cast<std::size_t>(CharPos) < line.size()) {
      const std::size_t left = line.size() - static_cast<std::size_t>(CharPos);
      const char c = line[CharPos];
      if (printBackslash) length = 1;
      else if ((IsLead(c) || c == '$') && left >= 2) length = 2;
      else if (Speed == 1 && left >= 2 && line[CharPos + 1] != '\\' && line[CharPos + 1] != '$' &&
               !IsLead(line[CharPos + 1]))
        length = 2;
      else length = 1;
      const std::string unit = line.substr(static_cast<std::size_t>(CharPos), static_cast<std::size_t>(length));
      const bool face = Context.FaceShown();
      if (TextX <= (face ? kFaceTextRightLimit : kTextRightLimit))
        DrawText(TextX + FaceOffset(), LineIndex * kLineHeight + 8, true, Color, unit);
      CharPos += length;
      TextX += 6 * length - (unit == "$$" ? 6 : 0) - 3 * static_cast<int>(std::count(unit.begin(), unit.end(), '\x01'));
    }
    if (static_cast<std::size_t>(CharPos) >= line.size()) {
      CharPos = TextX = 0;
      ++LineIndex;
    }
    if (LineIndex < LineCount()) {
      if (instant) continue;
      if (Speed >= 2 && length > 0) WaitCounter = std::max(WaitCounter, length * Speed / 2);
      if (length > 0) return;
      continue;  // a line of codes only: go straight on
    }
    FinishText();
    return;
  }
}

void TKelMessageWindow::FinishText() {
  FrameCounter = 0;
  if (ItemCount > 0) {
    if (Context.FaceShown()) {
      ItemWidth = Width - 100;
      MarginX = Context.FaceRight() ? 14 : 86;
    }
    SetActive(true);
  }
  WaitCounter = 1;
}

void TKelMessageWindow::AnswerChoice() {
  const TMultiInput& input = Services.Input;
  if (input.Triggered(ibDecide)) {
    if (GoldCheck && Index == 0 && Context.PartyGold() < Price) {
      Context.PlaySound(TKelMessageSound::Buzzer);
      return;
    }
    Context.PlaySound(TKelMessageSound::Decision);
    if (ResultTarget) ResultTarget(Index);
    Close();
  } else if (input.Triggered(ibCancel) && CancelChoice != 0) {
    Context.PlaySound(TKelMessageSound::Cancel);
    if (ResultTarget) ResultTarget(CancelChoice - 1);
    Close();
  }
}

void TKelMessageWindow::AnswerNumber() {
  const TMultiInput& input = Services.Input;
  const int digits = std::clamp(NumberDigits, 1, kMaxNumberDigits);
  std::int64_t place = 1;
  for (int i = Index + 1; i < digits; ++i) place *= 10;
  const int digit = static_cast<int>((NumberValue / place) % 10);
  int changed = digit;
  if (input.Repeated(ibUp)) changed = (digit + 1) % 10;
  if (input.Repeated(ibDown)) changed = (digit + 9) % 10;
  if (changed != digit) {
    NumberValue += (changed - digit) * place;
    Services.Sound.PlayCursorSound();
  }
  if (input.Triggered(ibDecide)) {
    Context.PlaySound(TKelMessageSound::Decision);
    Context.SetVariable(NumberVariable, static_cast<std::int32_t>(NumberValue));
    Close();
  }
}

void TKelMessageWindow::Update() {
  TKelWindow::Update();
  GoldWindow.Update();
  if (OpenStep != kOpenDone) return;
  if (WaitCounter > 0) {
    --WaitCounter;
    return;
  }
  const TMultiInput& input = Services.Input;
  if (WaitForKey) {
    if (!input.Triggered(ibDecide) && !input.Triggered(ibCancel)) return;
    WaitForKey = false;
  }
  bool instant = Instant();
  if (LineIndex < LineCount()) {
    TypeText(instant);
    return;
  }
  if (!Active && NumberDigits > 0) {
    NumberDigits = std::min(NumberDigits, kMaxNumberDigits);
    Columns = ItemCount = NumberDigits;
    MarginX = Context.FaceShown() ? (Context.FaceRight() ? 20 : 92) : 20;
    MarginY = LineCount() * kLineHeight + 8;
    ColumnWidth = 12;
    ItemWidth = 6;
    SetActive(true);
  }
  if (!Active) {
    if (AutoClose || input.Triggered(ibDecide) || input.Triggered(ibCancel)) Close();
  } else if (NumberDigits == 0) {
    AnswerChoice();
  } else {
    AnswerNumber();
  }
}

void TKelMessageWindow::Draw(TVantraBoard& target) {
  if (Exists() && Active && NumberDigits > 0) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%.*lld", NumberDigits, static_cast<long long>(NumberValue));
    ContentSheet.FillRect(GetItemRect(Index), 0);
    for (int i = 0; i < NumberDigits; ++i)
      DrawText(12 * i + MarginX, LineIndex * kLineHeight + 8, true, 0, std::string(1, digits[i]));
    ComposeItem(Index, true);
  }
  TKelWindow::Draw(target);
  if (!Exists()) return;
  if (IsReady() && Context.FaceShown()) {
    TVantraSheet& face = Context.FaceSheet();
    target.Draw(Context.FaceRight() ? X + 256 : X + 16, Y + 16, face.GetBounds(), face);
  }
  const bool textDone = LineIndex >= LineCount() || WaitForKey;
  if (!Active && NumberDigits == 0 && (FrameCounter / kArrowBlinkFrames) % 2 == 0 && textDone && !AutoClose)
    Services.SystemGraphic.DrawDownArrow(target, X + Width / 2 - 8, Y + Height - 8);
  GoldWindow.Draw(target);
}

void TKelMessageWindow::Close() {
  GoldWindow.Close();
  TKelWindow::Close();
  if (Context.InBattle()) Release();
}

void TKelMessageWindow::Release() {
  Lines.clear();
  GoldWindow.Release();
  OpenedBefore = false;
  TKelWindow::Release();
}
