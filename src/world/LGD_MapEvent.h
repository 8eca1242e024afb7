#pragma once
// A map event at run time: a character whose look, movement and script come
// from the page in force, chosen by conditions on the game state; its
// triggers hand the page's script to the interpreters.

#include <memory>

#include "world/LGD_Character.h"

class TKelEventItem;
class TKelEventPageItem;
class TKelgRegularScripter;
class TKelEventScriptList;

enum TKelEventTrigger : int {
  etActionKey = 0, etHeroTouch = 1, etEventTouch = 2, etAutoStart = 3, etParallel = 4, etNoPage = 5,
};

class TKelgMapEvent : public TKelgCharacter {
public:
  TKelgMapEvent(TKelgMap& map, const TKelEventItem& source);
  ~TKelgMapEvent() override;

  // The page whose conditions hold now; a change takes the new page's looks.
  void SelectPage();
  int PageId() const;
  int Trigger() const;
  const TKelEventScriptList* PageScript() const;
  // A trigger fired: the main interpreter is to run the page's script.
  void Start();
  bool CheckTouch();
  bool CheckBump();

  void Move(int direction) override;
  void DecideMove() override;
  void UpdateFacing() override;
  void Update() override;
  void Draw(TVantraBoard& board) override;

  const TKelEventItem& Source;
  const TKelEventPageItem* Page = nullptr;
  int PageRoutePos = 0;
  bool StartPending = false;
  bool StartedByKey = false;
  // Runs a parallel page; made when first needed.
  std::unique_ptr<TKelgRegularScripter> Interpreter;

private:
  void TakePage(const TKelEventPageItem& page, const TKelEventPageItem* old);
  void MoveByType();
  bool MainInterpreterIdle() const;
};

using TKelgEventItem = TKelgMapEvent;
