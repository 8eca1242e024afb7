#pragma once
// The window base: a skinned box with items in rows and columns, a blinking
// cursor moved by the input's repeat pulses, 4-pixel-per-frame scrolling and
// an opening and closing squeeze; and the common windows built on it.

#include <string>
#include <string_view>
#include <vector>

#include "graphics/VantraSheet.h"
#include "shell/MultiInput.h"
#include "ui/GR_System.h"

// The cursor sound of the game's system settings (the game system state plays it).
class TKelCursorSound {
public:
  virtual ~TKelCursorSound() = default;
  virtual void PlayCursorSound() = 0;
};

// What every window draws with and listens to.
struct TKelWindowServices {
  TKelSystemGraphic& SystemGraphic;
  TMultiInput& Input;
  TKelCursorSound& Sound;
};

class TKelWindow {
public:
  explicit TKelWindow(const TKelWindowServices& services);  // empty: not Exists
  virtual ~TKelWindow() = default;
  TKelWindow(const TKelWindow&) = delete;
  TKelWindow& operator=(const TKelWindow&) = delete;

  // Relative to the window.
  virtual TVantraRect GetCursorRect(int index) const;
  // Where item index lies in ContentSheet's ring of rows.
  virtual TVantraRect GetItemRect(int index) const;
  virtual void DrawItem(int x, int y, int index);
  virtual void ScrollDown();
  virtual void ScrollUp();
  virtual void MoveCursor();
  virtual void ComposeRows();
  virtual void Refresh();
  virtual void Release();
  virtual void Close();
  virtual void Update();
  virtual void Draw(TVantraBoard& target);
  virtual void DrawText(int x, int y, bool immediate, int color, std::string_view text);

  void Setup(int x, int y, int width, int height, bool animate);
  void SetupAndRefresh(int x, int y, int width, int height, bool animate);
  bool Exists() const { return WindowSheet.GetWidth() > 0; }
  bool IsReady() const { return Exists() && CloseStep == 0 && OpenStep == 8; }
  bool IsOpaqueOpen() const { return IsReady() && !WindowSheet.Transparent; }
  void ComposeItem(int index, bool withCursor);
  void SetIndex(int index);
  void SetTopRow(int row);
  void SetCursorVisible(bool value);
  void SetActive(bool value);

  TVantraSheet WindowSheet;
  TVantraSheet BackSheet;
  TVantraSheet ContentSheet;

  int X = 0, Y = 0, Width = 0, Height = 0;
  int Columns = 1;
  int ColumnWidth = 0;
  int RowHeight = 16;
  int VisibleRows = 0;
  int MarginX = 8, MarginY = 8;
  int ItemWidth = 0, ItemHeight = 16;
  int ItemCount = 0;
  int Index = 0;
  int TopRow = 0;
  int ScrollOffset = 0;
  bool CursorVisible = false;
  bool Active = false;
  int CursorTimer = 0;
  int OpenStep = 0;
  int CloseStep = 0;
  int FrameCounter = 0;

protected:
  // Clears the ring cells of row and draws the items in them.
  void DrawRow(int row);

  TKelWindowServices Services;
};

// ---- What the common windows read from the game (later parts provide it) ----

// The party's gold and the vocabulary's word for the currency.
class TKelGoldSource {
public:
  virtual ~TKelGoldSource() = default;
  virtual int Gold() const = 0;
  virtual std::string CurrencyWord() const = 0;
};

// One line of an item or skill list.
struct TKelListEntry {
  int Id = 0;
  std::string Name;
  std::string Description;
  int Number = 0;  // items: the count held; skills: the full SP cost
  bool Usable = false;
};

// The item kinds the party holds, in inventory order.
class TKelItemSource {
public:
  virtual ~TKelItemSource() = default;
  virtual int ItemKindCount() const = 0;
  // Usable: by hero actor when actor > 0, else in the current scene.
  virtual TKelListEntry ItemEntry(int index, int actor) const = 0;
};

// A hero's line in the skill screen, values and words ready to draw.
struct TKelHeroStatusLine {
  std::string Name;
  std::string LevelWord, HPWord, SPWord;
  int Level = 0;
  std::string Condition;
  int ConditionColor = 0;
  int HP = 0, MaxHP = 0, HPColor = 0;
  int SP = 0, MaxSP = 0, SPColor = 0;
};

// The skills a hero knows, in the hero's order.
class TKelSkillSource {
public:
  virtual ~TKelSkillSource() = default;
  virtual int SkillCount(int actor) const = 0;
  virtual TKelListEntry SkillEntry(int actor, int index) const = 0;
  virtual bool PaysHalfSkillCost(int actor) const = 0;
  virtual TKelHeroStatusLine StatusLine(int actor) const = 0;
};

// ---- Common windows ----

class TKelGoldWindow : public TKelWindow {
public:
  TKelGoldWindow(const TKelWindowServices& services, const TKelGoldSource& gold);
  void Refresh() override;
  void Update() override;

private:
  const TKelGoldSource& GoldSource;
};

// One line of help; single-byte spaces are drawn as thin spaces.
class TKelHelpWindow : public TKelWindow {
public:
  using TKelWindow::TKelWindow;
  void SetText(const std::string& text);
  void Refresh() override;
  void Release() override;

  std::string Text;
};

class TKelItemWindow : public TKelWindow {
public:
  TKelItemWindow(const TKelWindowServices& services, const TKelItemSource& items);
  // actor 0: no hero; inMenuScene: the menu's layout, else the battle's.
  void Open(int actor, bool inMenuScene);
  void DrawItem(int x, int y, int index) override;
  void Update() override;
  void Draw(TVantraBoard& target) override;
  void Release() override;

  int Actor = 0;
  TKelHelpWindow HelpWindow;

private:
  void UpdateHelp();
  const TKelItemSource& Items;
};

class TKelSkillWindow : public TKelWindow {
public:
  TKelSkillWindow(const TKelWindowServices& services, const TKelSkillSource& skills);
  void Open(int actor, bool inMenuScene);
  void SelectSkill(int id);
  void DrawItem(int x, int y, int index) override;
  void Update() override;
  void Draw(TVantraBoard& target) override;
  void Release() override;

  int Actor = 0;
  TKelHelpWindow HelpWindow;
  TKelWindow StatusWindow;

private:
  void DrawStatusLine();
  void UpdateHelp();
  const TKelSkillSource& Skills;
};
