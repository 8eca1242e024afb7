// The move-route executor of TKelgCharacter: imposed routes and the
// commands they hold.

#include <algorithm>

#include "data/LD_System.h"
#include "state/LGD_System.h"
#include "world/LGD_Character.h"
#include "world/LGD_Map.h"

namespace {

enum TMoveCommand {
  mcMoveRandom = 8, mcMoveTowardsHero = 9, mcMoveAwayFromHero = 10, mcMoveForward = 11,
  mcFaceUp = 12, mcFaceLeft = 15, mcTurnRight = 16, mcTurnLeft = 17, mcTurnAround = 18, mcTurnRandomly = 19,
  mcFaceRandom = 20, mcFaceHero = 21, mcFaceAwayFromHero = 22, mcWait = 23, mcBeginJump = 24, mcEndJump = 25,
  mcLockFacing = 26, mcUnlockFacing = 27, mcSpeedUp = 28, mcSpeedDown = 29, mcFrequencyUp = 30,
  mcFrequencyDown = 31, mcThroughOn = 36, mcThroughOff = 37, mcStopAnimation = 38, mcResumeAnimation = 39,
  mcMoreTransparent = 40, mcLessTransparent = 41,
};

}  // namespace

void TKelgCharacter::SetRoute(const std::vector<TKelMoveRouteItem>& commands, bool repeat, bool skippable,
                              int frequency) {
  if (!RouteForced) SavedFrequency = MoveFrequency;
  Processing = false;
  ForcedRoutePos = 0;
  RouteForced = true;
  ForcedRouteDone = false;
  StopCount = 65535;  // the first command runs at once
  MoveFrequency = ClampFrequency(frequency);
  if (MoveFrequency != SavedFrequency) MoveWait = kMoveWaitTable[MoveFrequency];
  ForcedRoute.Commands = commands;
  ForcedRoute.Repeat = repeat;
  ForcedRoute.Skippable = skippable;
  if (commands.empty()) EndRoute();
}

void TKelgCharacter::EndRoute() {
  if (RouteForced) {
    MoveFrequency = ClampFrequency(SavedFrequency);
    MoveWait = kMoveWaitTable[MoveFrequency];
  }
  RouteForced = false;
  ForcedRouteDone = false;
}

void TKelgCharacter::RunRoute(const TKelMoveRoute& route, int& position, bool imposed) {
  if ((imposed && !RouteForced) || route.Commands.empty()) return;
  const int start = position;
  for (;;) {
    if (StepRemaining > 0 || StopCount < MoveWait) return;
    if (position >= route.Count()) {
      if (imposed) ForcedRouteDone = true;
      if (!route.Repeat) {
        if (imposed) EndRoute();
        return;
      }
      position = 0;
      if (position == start) return;
    }
    const int before = position;
    const bool goOn = ExecuteMoveCommand(route, position, {Direction, Facing});
    // A command that did not advance waits; a full lap in one frame ends the frame.
    if (!goOn || position == before || position == start) return;
  }
}

void TKelgCharacter::RouteMove(const TKelMoveRoute& route, int& position, TRemembered remembered) {
  Move(Direction);
  const bool started = StepRemaining > 0;
  if (started || route.Skippable) ++position;
  if (!started && route.Skippable) {
    Direction = remembered.Direction;
    Facing = remembered.Facing;
  }
  MoveWait = kMoveWaitTable[ClampFrequency(MoveFrequency)];
}

void TKelgCharacter::RouteTurn(int& position, void (TKelgCharacter::*turn)()) {
  Direction = Facing;
  (this->*turn)();
  Facing = Direction;
  ++position;
  MoveWait = kMoveWaitTable[ClampFrequency(MoveFrequency)] / 2;
  StopCount = 0;
}

bool TKelgCharacter::RouteJump(const TKelMoveRoute& route, int& position, TRemembered remembered) {
  const int begin = position;
  ++position;
  int targetX = X, targetY = Y;
  for (;;) {
    if (position >= route.Count()) return false;
    const int code = route.Commands[position].Code;
    if (code == mcEndJump) break;
    if (code >= 0 && code <= 7) Direction = code;
    else if (code == mcMoveRandom || code == mcFaceRandom) FaceRandom();
    else if (code == mcMoveTowardsHero || code == mcFaceHero) FaceHero();
    else if (code == mcMoveAwayFromHero || code == mcFaceAwayFromHero) FaceAwayFromHero();
    else if (code >= mcFaceUp && code <= mcFaceLeft) Direction = code - mcFaceUp;
    else if (code == mcTurnRight) TurnRight();
    else if (code == mcTurnLeft) TurnLeft();
    else if (code == mcTurnAround) TurnAround();
    else if (code == mcTurnRandomly) TurnRandomly();
    if (code >= 0 && code <= mcMoveForward && Direction >= 0 && Direction <= 7) {
      targetX += kDirectionDX[Direction];
      targetY += kDirectionDY[Direction];
    }
    ++position;
  }
  ++position;
  MoveWait = kMoveWaitTable[ClampFrequency(MoveFrequency)];
  Jump(targetX, targetY);
  if (StepRemaining == 0) {
    if (route.Skippable) {
      Direction = remembered.Direction;
      Facing = remembered.Facing;
    } else {
      position = begin;
    }
  }
  return true;
}

bool TKelgCharacter::ExecuteMoveCommand(const TKelMoveRoute& route, int& position, TRemembered remembered) {
  const TKelMoveRouteItem& command = route.Commands[position];
  const int code = command.Code;
  if (code >= 0 && code <= 7) {
    Direction = code;
    RouteMove(route, position, remembered);
    return true;
  }
  switch (code) {
    case mcMoveRandom: FaceRandom(); RouteMove(route, position, remembered); return true;
    case mcMoveTowardsHero: FaceHero(); RouteMove(route, position, remembered); return true;
    case mcMoveAwayFromHero: FaceAwayFromHero(); RouteMove(route, position, remembered); return true;
    case mcMoveForward:
      RouteMove(route, position, remembered);
      Facing = remembered.Facing;
      return true;
    case mcFaceUp: case mcFaceUp + 1: case mcFaceUp + 2: case mcFaceLeft: {
      Direction = code - mcFaceUp;
      Facing = Direction;
      ++position;
      MoveWait = kMoveWaitTable[ClampFrequency(MoveFrequency)] / 2;
      StopCount = 0;
      return true;
    }
    case mcTurnRight: RouteTurn(position, &TKelgCharacter::TurnRight); return true;
    case mcTurnLeft: RouteTurn(position, &TKelgCharacter::TurnLeft); return true;
    case mcTurnAround: RouteTurn(position, &TKelgCharacter::TurnAround); return true;
    case mcTurnRandomly: RouteTurn(position, &TKelgCharacter::TurnRandomly); return true;
    case mcFaceRandom: RouteTurn(position, &TKelgCharacter::FaceRandom); return true;
    case mcFaceHero: RouteTurn(position, &TKelgCharacter::FaceHero); return true;
    case mcFaceAwayFromHero: RouteTurn(position, &TKelgCharacter::FaceAwayFromHero); return true;
    case mcWait:
      ++position;
      MoveWait = kMoveWaitTable[ClampFrequency(MoveFrequency)] / 2 + 20;
      StopCount = 0;
      return true;
    case mcBeginJump: return RouteJump(route, position, remembered);
    default: break;
  }
  // Settings: they take effect at once and the route goes on.
  switch (code) {
    case mcLockFacing: FacingLocked = true; break;
    case mcUnlockFacing:
      if (AnimType != 2 && AnimType != 3 && AnimType != 4) FacingLocked = false;
      break;
    case mcSpeedUp: MoveSpeed = std::min(ClampSpeed(MoveSpeed) + 1, 6); break;
    case mcSpeedDown: MoveSpeed = std::max(ClampSpeed(MoveSpeed) - 1, 1); break;
    case mcFrequencyUp: MoveFrequency = std::min(ClampFrequency(MoveFrequency) + 1, 8); break;
    case mcFrequencyDown: MoveFrequency = std::max(ClampFrequency(MoveFrequency) - 1, 1); break;
    case mcSwitchOn: case mcSwitchOff: {
      Map.System().SetSwitch(command.SwitchId, code == mcSwitchOn ? 1 : 0);
      ++position;
      Map.RefreshEvents();
      // The refresh may have restarted this very route: wait for the next frame.
      return position != 0;
    }
    case mcChangeGraphic: SetGraphic(command.GraphicName, command.GraphicIndex); break;
    case mcPlaySound: {
      TKelSound sound;
      sound.Name = command.SoundName;
      sound.Volume = command.SoundVolume;
      sound.Tempo = command.SoundTempo;
      sound.Balance = command.SoundBalance;
      Map.System().PlaySound(sound);
      break;
    }
    case mcThroughOn: RouteThrough = Through = true; break;
    case mcThroughOff: RouteThrough = Through = false; break;
    case mcStopAnimation: AnimPaused = true; break;
    case mcResumeAnimation: AnimPaused = false; break;
    case mcMoreTransparent: Transparency = std::min(Transparency + 1, 7); break;
    case mcLessTransparent: Transparency = std::max(Transparency - 1, 0); break;
    default: break;
  }
  ++position;
  return true;
}
