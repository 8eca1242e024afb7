#include "world/LGD_Party.h"

#include "shell/KelProgram.h"
#include "shell/MultiInput.h"
#include "state/LGD_SaveData.h"
#include "ui/GameMessageWindow.h"
#include "world/LGD_Map.h"
#include "world/LGD_MapEvent.h"
#include "world/LGD_Ship.h"

namespace {
constexpr int kFrontCells = 4;
}  // namespace

bool TKelgParty::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  const auto* vehicle = dynamic_cast<const TKelgShip*>(&other);
  if (vehicle != nullptr && vehicle->VehicleKind == vkAirship) return false;
  return TKelgCharacter::CollidesWith(other, sameLayerToo);
}

void TKelgParty::Draw(TVantraBoard& board) {
  if (!Hidden) TKelgCharacter::Draw(board);
}

void TKelgParty::RefreshGraphic() {
  TKelgSaveData* game = Map.Program().SaveData;
  const TKelgPlayerItem* first = game != nullptr ? game->PartyInfo.Member(0) : nullptr;
  if (first == nullptr) {
    SetGraphic("", 0);
    Transparency = 0;
    return;
  }
  SetGraphic(first->CharSetName(), first->CharSetIndex());
  Transparency = first->CharSetTransparencyValue();
}

bool TKelgParty::StartEventsAt(int x, int y, int trigger, bool byKey, bool onHeroLayer) {
  bool started = false;
  for (const auto& character : Map.Events) {
    auto& event = static_cast<TKelgMapEvent&>(*character);
    if (!event.Active || event.Page == nullptr || event.X != x || event.Y != y) continue;
    if ((event.Layer == 1) != onHeroLayer || event.Trigger() != trigger) continue;
    event.Start();
    event.StartedByKey = byKey;
    started = true;
  }
  return started;
}

void TKelgParty::TouchHere(int trigger, bool byKey) {
  if (Flying) return;
  StartEventsAt(X, Y, trigger, byKey, false);
}

void TKelgParty::TouchFront(int trigger, bool byKey) {
  if (Flying) return;
  const int dir = Direction >= 0 && Direction < 8 ? Direction : Facing;
  int x = X, y = Y;
  for (int cell = 0; cell < kFrontCells; ++cell) {
    x = Map.WrapX(x + kDirectionDX[dir]);
    y = Map.WrapY(y + kDirectionDY[dir]);
    if (StartEventsAt(x, y, trigger, byKey, true)) return;
    if (trigger != etActionKey) return;
    // Only a counter lets the action key reach further.
    if (!Map.IsValid(x, y) || (Map.UpperPassability(Map.UpperTile(x, y)) & kPassCounter) == 0) return;
  }
}

bool TKelgParty::EventsWaitingToStart() const {
  const TKelgSaveData* game = Map.Program().SaveData;
  if (game != nullptr && game->CommonEvents.AutoStartScript(game->System) != nullptr) return true;
  for (const auto& character : Map.Events)
    if (static_cast<const TKelgMapEvent&>(*character).StartPending) return true;
  return false;
}

void TKelgParty::DecideMove() {
  RunRoute(ForcedRoute, ForcedRoutePos, true);
  TKelProgram& program = Map.Program();
  if (!Map.MainScripterIdle() || program.Input == nullptr) return;
  const TKelMessageWindow* message = program.MessageWindow;
  if (Processing || RouteForced || (message != nullptr && message->Exists())) return;
  TouchHere(etEventTouch, false);
  if (EventsWaitingToStart()) return;

  const TMultiInput& input = *program.Input;
  // Test play walks through walls while Ctrl is held.
  Through = RouteThrough || (program.Flags.IsTestPlay && input.Pressed(ibCtrl));
  int direction = -1;
  switch (input.Direction()) {
    case 2: direction = 2; break;
    case 4: direction = 3; break;
    case 6: direction = 1; break;
    case 8: direction = 0; break;
    default: break;
  }
  if (direction >= 0) Move(direction);
  Through = RouteThrough;
  if (StepRemaining > 0) {
    if (program.SaveData != nullptr) program.SaveData->PartyInfo.CountStep();
    return;
  }
  if (direction >= 0) {
    TouchFront(etHeroTouch, false);
    TouchFront(etEventTouch, false);
  }
  if (input.Triggered(ibDecide)) {
    TouchFront(etHeroTouch, true);
    TouchFront(etEventTouch, true);
    TouchHere(etActionKey, true);
    TouchFront(etActionKey, true);
  }
}
