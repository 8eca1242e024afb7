#include "world/LGD_MapEvent.h"

#include "data/LD_Event.h"
#include "script/LGD_Scripter.h"
#include "shell/KelProgram.h"
#include "state/LGD_SaveData.h"
#include "world/LGD_EventPages.h"
#include "world/LGD_Map.h"
#include "world/LGD_Party.h"

namespace {

enum TMoveType : int { mtFixed, mtRandom, mtVertical, mtHorizontal, mtTowardsHero, mtAwayFromHero, mtCustomRoute };

bool SameRoute(const TKelMoveRoute& a, const TKelMoveRoute& b) {
  return a.Repeat == b.Repeat && a.Skippable == b.Skippable && a.RouteData == b.RouteData;
}

}  // namespace

TKelgMapEvent::TKelgMapEvent(TKelgMap& map, const TKelEventItem& source) : TKelgCharacter(map), Source(source) {
  SetKey(source.Key);
  X = source.X;
  Y = source.Y;
  SelectPage();
}

TKelgMapEvent::~TKelgMapEvent() = default;

bool TKelgMapEvent::MainInterpreterIdle() const { return Map.MainScripterIdle(); }

int TKelgMapEvent::PageId() const { return PageNumber(Source, Page); }
int TKelgMapEvent::Trigger() const { return Page != nullptr ? static_cast<int>(Page->Trigger) : static_cast<int>(etNoPage); }
const TKelEventScriptList* TKelgMapEvent::PageScript() const { return Page != nullptr ? &Page->Lines : nullptr; }

void TKelgMapEvent::SelectPage() {
  const TKelProgram& program = Map.Program();
  const TKelEventPageItem* chosen = program.SaveData != nullptr ? QualifyingPage(Source, *program.SaveData) : nullptr;
  if (chosen == nullptr) {
    // No page: neither updated nor drawn, and nothing collides with it.
    StartPending = false;
    Processing = false;
    Page = nullptr;
    Through = true;
    return;
  }
  if (chosen == Page) return;
  TakePage(*chosen, Page);
}

void TKelgMapEvent::TakePage(const TKelEventPageItem& page, const TKelEventPageItem* old) {
  Page = &page;
  StartPending = false;
  Processing = false;
  CharSetName = page.CharSetName;
  CharSetIndex = page.CharSetIndex;
  // Pages with the same picture keep the way the event was turned.
  if (StepRemaining == 0 && (old == nullptr || old->Direction != page.Direction || old->Pattern != page.Pattern))
    Direction = Facing = page.Direction;
  AnimType = page.AnimType;
  if (AnimType == 4 || AnimType == 5) Frame = page.Pattern;
  Transparency = page.Translucent ? 3 : 0;
  MoveFrequency = page.MoveFrequency;
  Layer = page.Layer;
  NoOverlap = page.NoOverlap != 0;
  MoveSpeed = page.MoveSpeed;
  ClampFields();
  FacingLocked = AnimType == 2 || AnimType == 3 || AnimType == 4;
  if (FacingLocked) Facing = page.Direction;
  const int wait = kMoveWaitTable[MoveFrequency];
  if (page.MoveType == mtRandom) MoveWait = (Map.Random(4) + 3) * wait / 5;
  else if (page.MoveType == mtCustomRoute) MoveWait = wait / 2;
  else MoveWait = wait;
  SavedFrequency = MoveFrequency;
  if (old == nullptr || !SameRoute(old->MoveRoute, page.MoveRoute)) PageRoutePos = 0;
  Through = RouteThrough;
  if (Interpreter) Interpreter->Clear();
}

void TKelgMapEvent::Start() {
  if (!Active || StartPending || Page == nullptr) return;
  // A script of its end line only is never started.
  if (Page->Lines.Count() <= 1) return;
  StartPending = true;
  Processing = true;
  const int trigger = Page->Trigger;
  if ((trigger == etActionKey || trigger == etHeroTouch || trigger == etEventTouch) && !FacingLocked &&
      Page->AnimType != 5) {
    const int direction = Direction;
    FaceHero();
    Direction = direction;  // only the look turns
  }
}

bool TKelgMapEvent::CheckTouch() {
  if (!MainInterpreterIdle() || Page == nullptr) return false;
  const TKelgParty& hero = Map.Hero();
  if (hero.X != X || hero.Y != Y || Layer == 1 || Page->Trigger != etEventTouch || hero.RouteForced) return false;
  StopCount = 0;
  Start();
  return true;
}

bool TKelgMapEvent::CheckBump() {
  if (!MainInterpreterIdle() || Page == nullptr) return false;
  const int dir = Direction;
  const int frontX = Map.WrapX(X + (dir >= 0 && dir < 8 ? kDirectionDX[dir] : 0));
  const int frontY = Map.WrapY(Y + (dir >= 0 && dir < 8 ? kDirectionDY[dir] : 0));
  const TKelgParty& hero = Map.Hero();
  if (hero.X != frontX || hero.Y != frontY || Layer != 1 || Page->Trigger != etEventTouch) return false;
  StopCount = 0;
  Start();
  return true;
}

void TKelgMapEvent::Move(int direction) {
  TKelgCharacter::Move(direction);
  if (StepRemaining == 0) CheckBump();
}

void TKelgMapEvent::UpdateFacing() {
  if (Page != nullptr && Page->AnimType != 5) TKelgCharacter::UpdateFacing();
}

void TKelgMapEvent::Update() {
  if (!Active || Page == nullptr) return;
  if (Page->Trigger == etParallel) {
    TKelgSaveData* game = Map.Program().SaveData;
    if (!Interpreter && game != nullptr && game->ScriptServices())
      Interpreter = std::make_unique<TKelgRegularScripter>(*game->ScriptServices());
    if (Interpreter) {
      // The script starts again as soon as it has ended.
      if (!Interpreter->IsRunning()) Interpreter->StartScript(Key, Page->Lines);
      Interpreter->UpdateParallel();
    }
  }
  if (Page != nullptr) TKelgCharacter::Update();
}

void TKelgMapEvent::Draw(TVantraBoard& board) {
  if (Page != nullptr) TKelgCharacter::Draw(board);
}

void TKelgMapEvent::DecideMove() {
  if (Page == nullptr) return;
  RunRoute(ForcedRoute, ForcedRoutePos, true);
  if (Page->Trigger == etAutoStart) Start();
  if (StepRemaining > 0) return;
  CheckTouch();
  if (Processing || RouteForced || Page->MoveType == mtFixed || StopCount < MoveWait) return;
  if (!MainInterpreterIdle() && Map.System().MessageEventsMove == 0) return;
  MoveByType();
}

void TKelgMapEvent::MoveByType() {
  const int d0 = Direction;
  const int wait = kMoveWaitTable[MoveFrequency];
  switch (Page->MoveType) {
    case mtRandom: {
      const int r = Map.Random(10);
      if (r >= 8) {
        StopCount = Map.Random(MoveWait);
        return;
      }
      if (r <= 1) TurnLeft();
      else if (r <= 3) TurnRight();
      else if (r == 4) TurnAround();
      Move(Direction);
      break;
    }
    case mtVertical:
    case mtHorizontal: {
      if (Page->MoveType == mtVertical && Direction != 0 && Direction != 2) Direction = 2;
      if (Page->MoveType == mtHorizontal && Direction != 1 && Direction != 3) Direction = 1;
      Move(Direction);
      if (StepRemaining == 0 && StopCount >= wait + 20) {
        TurnAround();
        Move(Direction);
      }
      break;
    }
    case mtTowardsHero:
    case mtAwayFromHero: {
      if (!IsOnScreen()) {
        FaceRandom();
      } else {
        const int r = Map.Random(10);
        if (r == 0) FaceRandom();
        else if (r >= 2) (Page->MoveType == mtTowardsHero ? FaceHero() : FaceAwayFromHero());
      }
      Move(Direction);
      break;
    }
    case mtCustomRoute:
      RunRoute(Page->MoveRoute, PageRoutePos, false);
      return;
    default: return;
  }
  if (StepRemaining == 0) {
    if (StartPending || StopCount >= wait + 60) {
      StopCount = 0;  // the next attempt waits a full MoveWait
    } else {
      Direction = d0;
      if (!FacingLocked) Facing = d0;
    }
    return;
  }
  MoveWait = Page->MoveType == mtRandom ? (Map.Random(4) + 3) * wait / 5 : wait;
}
