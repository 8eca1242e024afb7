#include "world/LGD_MapEvent.h"

#include "data/LD_Event.h"
#include "world/LGD_Map.h"

namespace {

constexpr int kMoveTypeCustomRoute = 6;

}  // namespace

TKelgMapEvent::TKelgMapEvent(TKelgMap& map, const TKelEventItem& source) : TKelgCharacter(map), Source(source) {
  SetKey(source.Key);
  X = source.X;
  Y = source.Y;
  // Until page conditions are evaluated, the last page without conditions shows.
  for (int i = source.Pages.Count() - 1; i >= 0; --i) {
    const TKelEventPageItem* page = source.Pages.ItemAt(i);
    if (page != nullptr && page->Condition.Flags == 0) {
      TakePage(*page);
      return;
    }
  }
  Through = true;
}

void TKelgMapEvent::TakePage(const TKelEventPageItem& page) {
  Page = &page;
  CharSetName = page.CharSetName;
  CharSetIndex = page.CharSetIndex;
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
  MoveWait = kMoveWaitTable[MoveFrequency];
  if (page.MoveType == kMoveTypeCustomRoute) MoveWait /= 2;
  SavedFrequency = MoveFrequency;
  Through = RouteThrough;
}

void TKelgMapEvent::DecideMove() {
  if (Page == nullptr) return;
  RunRoute(ForcedRoute, ForcedRoutePos, true);
  if (StepRemaining > 0 || RouteForced || Processing) return;
  if (Page->MoveType == kMoveTypeCustomRoute) RunRoute(Page->MoveRoute, PageRoutePos, false);
}

void TKelgMapEvent::Update() {
  if (Page != nullptr) TKelgCharacter::Update();
}

void TKelgMapEvent::Draw(TVantraBoard& board) {
  if (Page != nullptr) TKelgCharacter::Draw(board);
}
