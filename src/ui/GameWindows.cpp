#include "ui/GameWindows.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr int kScrollStep = 4;
constexpr int kBlinkFrames = 10;
constexpr int kArrowBlinkFrames = 20;
constexpr int kOpenSteps = 8;

}  // namespace

TKelWindow::TKelWindow(const TKelWindowServices& services) : Services(services) {}

TVantraRect TKelWindow::GetCursorRect(int index) const {
  const int left = (index % Columns) * ColumnWidth + MarginX - 4;
  const int top = (index / Columns - TopRow) * RowHeight + MarginY;
  return {left, top, left + ItemWidth + 8, top + ItemHeight};
}

TVantraRect TKelWindow::GetItemRect(int index) const {
  const int left = (index % Columns) * ColumnWidth + MarginX - 4;
  const int top = (index / Columns) % (VisibleRows + 1) * RowHeight + MarginY;
  return {left, top, left + ItemWidth + 8, top + ItemHeight};
}

void TKelWindow::DrawItem(int, int, int) {}

void TKelWindow::DrawRow(int row) {
  for (int k = 0; k < Columns; ++k) {
    const int item = row * Columns + k;
    const TVantraRect r = GetItemRect(item);
    ContentSheet.FillRect(r, 0);
    if (item < ItemCount) DrawItem(r.Left + 4, r.Top, item);
  }
}

void TKelWindow::ScrollDown() {
  DrawRow(TopRow + VisibleRows);
  TopRow += 1;
  ScrollOffset = -RowHeight;
}

void TKelWindow::ScrollUp() {
  DrawRow(TopRow - 1);
  TopRow -= 1;
  ScrollOffset = RowHeight;
}

void TKelWindow::MoveCursor() {
  const TMultiInput& input = Services.Input;
  if (ItemCount <= 0) {
    Index = 0;  // an empty list: nothing to move to
    return;
  }
  if (Columns == 1) {
    if (VisibleRows < ItemCount) {
      if (input.Repeated(ibDown)) Index = std::min(ItemCount - 1, Index + 1);
      if (input.Repeated(ibUp)) Index = std::max(0, Index - 1);
    } else {
      if (input.Repeated(ibDown)) Index = (Index + 1) % ItemCount;
      if (input.Repeated(ibUp)) Index = (Index + ItemCount - 1) % ItemCount;
    }
  } else {
    if (input.Repeated(ibDown) &&
        (Index < ItemCount - Columns || Columns * (TopRow + VisibleRows) < ItemCount))
      Index = std::min(ItemCount - 1, Index + Columns);
    if (input.Repeated(ibUp) && Index >= Columns) Index = std::max(0, Index - Columns);
    if (input.Repeated(ibRight)) Index = std::min(ItemCount - 1, Index + 1);
    if (input.Repeated(ibLeft)) Index = std::max(0, Index - 1);
  }
  if (Index < 0) Index = 0;
  if (Index < TopRow * Columns) ScrollUp();
  else if (Index >= (TopRow + VisibleRows) * Columns) ScrollDown();
}

void TKelWindow::ComposeRows() {
  WindowSheet.Draw(0, 0, BackSheet.GetBounds(), BackSheet);
  const int n = VisibleRows;
  const int h = RowHeight;
  const int ring = h * (n + 1);
  // The ring read from the top row onwards (a row still scrolling out
  // included), wrapping to its beginning.
  const int start = ((ScrollOffset + TopRow % (n + 1) * h) % ring + ring) % ring;
  const int visible = std::min(ring - start, h * n);
  WindowSheet.Draw(0, MarginY, {0, start + MarginY, Width, start + MarginY + visible}, ContentSheet);
  const int rest = h * n - visible;
  if (rest > 0) WindowSheet.Draw(0, visible + MarginY, {0, MarginY, Width, MarginY + rest}, ContentSheet);
}

void TKelWindow::Refresh() {
  if (!Exists()) return;
  WindowSheet.Draw(0, 0, BackSheet.GetBounds(), BackSheet);
  ContentSheet.FillRect(ContentSheet.GetBounds(), 0);
  ContentSheet.Transparent = true;
  for (int k = 0; k < VisibleRows * Columns; ++k) {
    const int item = TopRow * Columns + k;
    const TVantraRect r = GetItemRect(item);
    if (item < ItemCount) DrawItem(r.Left + 4, r.Top, item);
    ComposeItem(item, false);
  }
}

void TKelWindow::Release() {
  SetCursorVisible(false);
  OpenStep = 0;
  CloseStep = 0;
  WindowSheet.FreePixels();
  BackSheet.FreePixels();
  ContentSheet.FreePixels();
}

void TKelWindow::Close() {
  if (!Exists()) return;
  Refresh();
  SetCursorVisible(false);
  OpenStep = 0;
  CloseStep = 1;
}

void TKelWindow::Update() {
  FrameCounter += 1;
  if (CloseStep >= 1 && CloseStep <= kOpenSteps) {
    CloseStep += 1;
    if (CloseStep >= kOpenSteps) {
      const bool release = OpenStep == 0;
      CloseStep = 0;
      if (release) Release();
    }
  } else if (OpenStep >= 1 && OpenStep < kOpenSteps) {
    OpenStep += 1;
  }
  if (!IsReady() || !CursorVisible) return;

  if (ScrollOffset == 0) {
    if (Active) {
      const int old = Index;
      MoveCursor();
      if (Index != old) {
        Services.Sound.PlayCursorSound();
        ComposeItem(old, false);
        CursorTimer = 0;
      }
    }
    if (CursorTimer % kBlinkFrames == 0) ComposeItem(Index, true);
    CursorTimer += 1;
    return;
  }
  ScrollOffset += ScrollOffset > 0 ? -kScrollStep : kScrollStep;
  if (std::abs(ScrollOffset) < kScrollStep) ScrollOffset = 0;
  if (ScrollOffset == 0) {
    ComposeRows();
    CursorTimer = 0;
    ComposeItem(Index, false);
  }
}

void TKelWindow::Draw(TVantraBoard& target) {
  if (!Exists()) return;
  if (ScrollOffset != 0) ComposeRows();
  double squeeze;
  if (CloseStep == kOpenSteps) squeeze = 0.5;
  else if (CloseStep == 0) squeeze = OpenStep == 0 ? 0.5 : (1.0 - (OpenStep - 1) / 7.0) / 2.0;
  else squeeze = CloseStep / 7.0 / 2.0;
  const int cut = static_cast<int>(std::trunc(Height * squeeze));
  if (cut == 0) target.Draw(X, Y, WindowSheet.GetBounds(), WindowSheet);
  else if (Height - 2 * cut > 0)
    target.StretchDraw({X, Y + cut, X + Width, Y + Height - cut}, WindowSheet, WindowSheet.GetBounds());

  if ((FrameCounter / kArrowBlinkFrames) % 2 != 0) return;
  if (TopRow > 0) Services.SystemGraphic.DrawUpArrow(target, X + Width / 2 - 8, Y);
  if ((TopRow + VisibleRows) * Columns < ItemCount)
    Services.SystemGraphic.DrawDownArrow(target, X + Width / 2 - 8, Y + Height - 8);
}

void TKelWindow::DrawText(int x, int y, bool immediate, int color, std::string_view text) {
  Services.SystemGraphic.DrawText(ContentSheet, x, y, color, text);
  if (immediate && TopRow == 0) {
    const int width = 6 * static_cast<int>(text.size()) + 1;
    WindowSheet.Draw(x, y + 2, {x, y + 2, x + width, y + 2 + 13}, ContentSheet);
  }
}

void TKelWindow::Setup(int x, int y, int width, int height, bool animate) {
  X = x;
  Y = y;
  Width = width;
  Height = height;
  ColumnWidth = Width / Columns;
  RowHeight = 16;
  VisibleRows = std::max((Height - 16) / 16, 0);
  MarginX = 8;
  MarginY = 8;
  ItemWidth = Width / Columns - 16;
  ItemHeight = 16;
  ItemCount = VisibleRows;
  Index = 0;
  TopRow = 0;
  ScrollOffset = 0;
  CursorTimer = 0;
  FrameCounter = 0;
  CursorVisible = false;
  Active = false;

  WindowSheet.SetSize(Width, Height);
  BackSheet.SetSize(Width, Height);
  ContentSheet.SetSize(Width, Height + 16);
  const TVantraSheet& skin = Services.SystemGraphic.Sheet;
  for (int i = 0; i < 256; ++i) WindowSheet.SetPaletteEntry(i, skin.Palette[i].R, skin.Palette[i].G, skin.Palette[i].B);
  WindowSheet.BuildColorTable();
  Services.SystemGraphic.DrawWindowFrame(WindowSheet, 0, 0, Height, Width);
  BackSheet.Transparent = false;
  BackSheet.Draw(0, 0, WindowSheet.GetBounds(), WindowSheet);  // WindowSheet is never transparent here
  ContentSheet.FillRect(ContentSheet.GetBounds(), 0);
  ContentSheet.Transparent = true;

  OpenStep = animate ? 1 : kOpenSteps;
  if (CloseStep == 1) CloseStep = 0;
}

void TKelWindow::SetupAndRefresh(int x, int y, int width, int height, bool animate) {
  Setup(x, y, width, height, animate);
  Refresh();
}

void TKelWindow::ComposeItem(int index, bool withCursor) {
  if (!Exists()) return;
  const TVantraRect r = GetCursorRect(index);
  WindowSheet.Draw(r.Left, r.Top, r, BackSheet);
  if (CursorVisible && withCursor)
    Services.SystemGraphic.DrawCursor(WindowSheet, r, Active ? (CursorTimer / kBlinkFrames) % 2 : 1);
  WindowSheet.Draw(r.Left, r.Top, GetItemRect(index), ContentSheet);
}

void TKelWindow::SetIndex(int index) {
  ComposeItem(Index, false);
  Index = std::max(0, std::min(index, ItemCount - 1));
  if (Index < TopRow * Columns) SetTopRow(Index / Columns);
  else if (Index >= (TopRow + VisibleRows) * Columns) SetTopRow(Index / Columns - VisibleRows + 1);
}

void TKelWindow::SetTopRow(int row) {
  TopRow = row;
  Refresh();
}

void TKelWindow::SetCursorVisible(bool value) {
  CursorVisible = value;
  if (!value) Active = false;
  CursorTimer = 0;
  ComposeItem(Index, true);
}

void TKelWindow::SetActive(bool value) {
  Active = value;
  if (value) CursorVisible = true;
  CursorTimer = 0;
  ComposeItem(Index, true);
}

// ---- Common windows ----

namespace {

constexpr int kUsableColor = 0;
constexpr int kUnusableColor = 3;
constexpr int kWordColor = 1;

std::string Format(const char* format, int value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

}  // namespace

TKelGoldWindow::TKelGoldWindow(const TKelWindowServices& services, const TKelGoldSource& gold)
    : TKelWindow(services), GoldSource(gold) {}

void TKelGoldWindow::Refresh() {
  TKelWindow::Refresh();
  if (!IsReady()) return;
  const std::string word = GoldSource.CurrencyWord();
  const int length = static_cast<int>(word.size());
  DrawText(Width - 6 * length - 44, 8, true, 0, Format("%6d", GoldSource.Gold()));
  DrawText(Width - 6 * length - 8, 8, true, kWordColor, word);
}

void TKelGoldWindow::Update() {
  const bool wasReady = IsReady();
  TKelWindow::Update();
  if (IsReady() != wasReady) Refresh();
}

void TKelHelpWindow::SetText(const std::string& text) {
  std::string thin = text;
  std::replace(thin.begin(), thin.end(), ' ', '\x01');
  if (thin == Text) return;
  Text = std::move(thin);
  Refresh();
}

void TKelHelpWindow::Refresh() {
  TKelWindow::Refresh();
  if (Exists()) DrawText(8, 8, true, 0, Text);
}

void TKelHelpWindow::Release() {
  TKelWindow::Release();
  Text.clear();
}

TKelItemWindow::TKelItemWindow(const TKelWindowServices& services, const TKelItemSource& items)
    : TKelWindow(services), HelpWindow(services), Items(items) {}

void TKelItemWindow::Open(int actor, bool inMenuScene) {
  Actor = actor;
  Columns = 2;
  HelpWindow.Setup(0, 0, 320, 32, false);
  HelpWindow.Text.clear();  // the new window shows none yet
  if (inMenuScene) Setup(0, 32, 320, 208, false);
  else Setup(0, 160, 320, 80, false);
  ItemCount = Items.ItemKindCount();
  SetActive(true);
  Refresh();
  UpdateHelp();
}

void TKelItemWindow::DrawItem(int x, int y, int index) {
  const TKelListEntry entry = Items.ItemEntry(index, Actor);
  const int color = entry.Usable ? kUsableColor : kUnusableColor;
  DrawText(x, y, false, color, entry.Name);
  DrawText(x + 120, y, false, color, Format(": %2d", entry.Number));
}

void TKelItemWindow::UpdateHelp() {
  HelpWindow.SetText(Index < ItemCount ? Items.ItemEntry(Index, Actor).Description : std::string());
}

void TKelItemWindow::Update() {
  TKelWindow::Update();
  if (IsReady()) UpdateHelp();
}

void TKelItemWindow::Draw(TVantraBoard& target) {
  TKelWindow::Draw(target);
  HelpWindow.Draw(target);
}

void TKelItemWindow::Release() {
  TKelWindow::Release();
  HelpWindow.Release();
}

TKelSkillWindow::TKelSkillWindow(const TKelWindowServices& services, const TKelSkillSource& skills)
    : TKelWindow(services), HelpWindow(services), StatusWindow(services), Skills(skills) {}

void TKelSkillWindow::Open(int actor, bool inMenuScene) {
  Actor = actor;
  Columns = 2;
  HelpWindow.Setup(0, 0, 320, 32, false);
  HelpWindow.Text.clear();
  if (inMenuScene) {
    StatusWindow.Setup(0, 32, 320, 32, false);
    DrawStatusLine();
    Setup(0, 64, 320, 176, false);
  } else {
    Setup(0, 160, 320, 80, false);
  }
  ItemCount = Skills.SkillCount(actor);
  SetActive(true);
  Refresh();
  UpdateHelp();
}

void TKelSkillWindow::DrawStatusLine() {
  const TKelHeroStatusLine line = Skills.StatusLine(Actor);
  TKelWindow& w = StatusWindow;
  w.DrawText(8, 8, true, 0, line.Name);
  w.DrawText(88, 8, true, kWordColor, line.LevelWord);
  w.DrawText(100, 8, true, 0, Format("%2d", line.Level));
  w.DrawText(132, 8, true, line.ConditionColor, line.Condition);
  w.DrawText(192, 8, true, kWordColor, line.HPWord);
  w.DrawText(204, 8, true, line.HPColor, Format("%3d", line.HP));
  w.DrawText(222, 8, true, 0, Format("/%3d", line.MaxHP));
  w.DrawText(258, 8, true, kWordColor, line.SPWord);
  w.DrawText(270, 8, true, line.SPColor, Format("%3d", line.SP));
  w.DrawText(288, 8, true, 0, Format("/%3d", line.MaxSP));
}

void TKelSkillWindow::SelectSkill(int id) {
  for (int i = 0; i < ItemCount; ++i)
    if (Skills.SkillEntry(Actor, i).Id == id) {
      SetIndex(i);
      UpdateHelp();
      return;
    }
}

void TKelSkillWindow::DrawItem(int x, int y, int index) {
  const TKelListEntry entry = Skills.SkillEntry(Actor, index);
  const int cost = Skills.PaysHalfSkillCost(Actor) ? (entry.Number + 1) / 2 : entry.Number;
  const int color = entry.Usable ? kUsableColor : kUnusableColor;
  DrawText(x, y, false, color, entry.Name);
  DrawText(x + 120, y, false, color, Format("-%3d", cost));
}

void TKelSkillWindow::UpdateHelp() {
  HelpWindow.SetText(Index < ItemCount ? Skills.SkillEntry(Actor, Index).Description : std::string());
}

void TKelSkillWindow::Update() {
  TKelWindow::Update();
  if (IsReady()) UpdateHelp();
}

void TKelSkillWindow::Draw(TVantraBoard& target) {
  TKelWindow::Draw(target);
  StatusWindow.Draw(target);
  HelpWindow.Draw(target);
}

void TKelSkillWindow::Release() {
  TKelWindow::Release();
  StatusWindow.Release();
  HelpWindow.Release();
}
