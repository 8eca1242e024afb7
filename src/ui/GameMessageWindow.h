#pragma once
// The one dialogue box of the game: up to four lines typed out with their
// control codes, a face, the gold window, and a choice, a number or a key to
// answer; and the pool of lines waiting to be shown.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/GameWindows.h"

enum class TKelMessageSound : std::uint8_t { Decision, Cancel, Buzzer };

// What the message window needs of the game, and nothing more.
class TKelMessageContext {
public:
  virtual ~TKelMessageContext() = default;
  virtual bool OnMap() const = 0;
  virtual bool InBattle() const = 0;
  virtual bool TestPlay() const = 0;
  virtual int MessagePosition() const = 0;  // 0 top, 1 middle, 2 bottom
  virtual bool MessageAutoPosition() const = 0;
  virtual bool MessageTransparent() const = 0;
  virtual int HeroScreenY() const = 0;
  // \N[n]: n = 0 the first party member, else hero n; empty when there is none.
  virtual std::string HeroName(int n) const = 0;
  virtual std::int32_t Variable(int id) const = 0;
  virtual void SetVariable(int id, std::int32_t value) = 0;
  virtual int PartyGold() const = 0;
  virtual const TKelGoldSource& GoldSource() const = 0;
  virtual bool FaceShown() const = 0;
  virtual bool FaceRight() const = 0;
  virtual TVantraSheet& FaceSheet() = 0;
  virtual void PlaySound(TKelMessageSound sound) = 0;
};

class TKelMessagePool {
public:
  int Count() const { return static_cast<int>(Entries.size()); }
  void Clear() { Entries.clear(); }
  void Add(std::string text) { Entries.push_back(std::move(text)); }  // empty: a page break
  std::string Take();

private:
  std::deque<std::string> Entries;
};

class TKelMessageWindow : public TKelWindow {
public:
  static constexpr int kMaxLines = 4;

  TKelMessageWindow(const TKelWindowServices& services, TKelMessageContext& context);

  void Open();
  void AddLine(const std::string& text);
  void AddChoice(const std::string& text);
  int LineCount() const { return static_cast<int>(Lines.size()); }
  void ShowGold();

  void Update() override;
  void Draw(TVantraBoard& target) override;
  void Close() override;
  void Release() override;

  // The text with \N, \V and \_ replaced; exposed for tests.
  std::string Expand(const std::string& text) const;

  std::vector<std::string> Lines;
  TKelGoldWindow GoldWindow;
  int Position = 2;
  int LineIndex = 0;
  int CharPos = 0;
  int TextX = 0;
  int Color = 0;
  int Speed = 1;
  int WaitCounter = 0;
  bool WaitForKey = false;
  bool AutoClose = false;
  int CancelChoice = 0;  // 0: cancel not allowed; else the choice + 1 that cancel picks
  // Where a choice's index goes; the caller checks its frame is still there.
  std::function<void(int)> ResultTarget;
  std::int64_t NumberValue = 0;
  int NumberDigits = 0;
  int NumberVariable = 0;
  bool GoldCheck = false;
  int Price = 0;
  bool OpenedBefore = false;

private:
  bool Instant() const;
  // Types units until the frame's share is done; false when all text is out.
  void TypeText(bool& instant);
  bool HandleControlCode(const std::string& line, bool& instant);
  void FinishText();
  void AnswerChoice();
  void AnswerNumber();
  int FaceOffset() const;

  TKelMessageContext& Context;
};
