#pragma once
// The window base: a skinned box with items in rows and columns, a blinking
// cursor moved by the input's repeat pulses, 4-pixel-per-frame scrolling and
// an opening and closing squeeze; and the common windows built on it.

#include <string>
#include <string_view>

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
