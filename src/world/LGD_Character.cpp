#include "world/LGD_Character.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "state/LGD_System.h"
#include "world/LGD_Map.h"
#include "world/LGD_Party.h"
#include "world/LGD_Screen.h"

namespace {

// The side bit of a passability byte; side 4 asks whether any side is open.
bool SideOpen(std::uint8_t flags, int side) {
  if (side >= 0 && side < 4) return flags & (1 << side);
  if (side == kSideAny) return flags & kPassSides;
  return false;
}

}  // namespace

int ClampSpeed(int speed) { return std::clamp(speed, 1, 6); }
int ClampFrequency(int frequency) { return std::clamp(frequency, 1, 8); }

TKelgCharacter::TKelgCharacter(TKelgMap& map) : Map(map) { TKelgCharacter::Clear(); }

void TKelgCharacter::Clear() {
  Active = true;
  MapId = 0;
  X = Y = 0;
  Direction = Facing = 2;
  Frame = 1;
  Transparency = 0;
  StepRemaining = 0;
  MoveFrequency = SavedFrequency = 2;
  Layer = 1;
  NoOverlap = false;
  AnimType = 0;
  FacingLocked = false;
  MoveSpeed = 3;
  ForcedRoute.Clear();
  RouteForced = false;
  ForcedRoutePos = 0;
  ForcedRouteDone = false;
  Hidden = false;
  RouteThrough = false;
  AnimPaused = false;
  Through = false;
  StopCount = AnimCount = MoveWait = 0;
  Jumping = false;
  JumpFromX = JumpFromY = 0;
  Processing = false;
  Flying = false;
  CharSetName.clear();
  CharSetIndex = 0;
  Updated = false;
  FlashRed = FlashGreen = FlashBlue = 100;
  FlashLevel = 0;
  FlashFrames = 0;
}

void TKelgCharacter::ClampFields() {
  MoveSpeed = ClampSpeed(MoveSpeed);
  MoveFrequency = ClampFrequency(MoveFrequency);
  SavedFrequency = ClampFrequency(SavedFrequency);
  AnimType = std::clamp(AnimType, 0, 5);
  Transparency = std::clamp(Transparency, 0, 7);
  Facing = std::clamp(Facing, 0, 3);
  Direction = std::clamp(Direction, 0, 7);
  Frame = std::clamp(Frame, 0, 3);
  CharSetIndex = std::clamp(CharSetIndex, 0, CharSetName.empty() ? kUpperTileCount - 1 : 7);
}

// --- Position on screen ---------------------------------------------------

int TKelgCharacter::ScreenX() const {
  std::int64_t x;
  const int b = StepRemaining;
  if (b > 0 && Jumping) {
    x = ((kStepLength - b) * static_cast<std::int64_t>(X) + static_cast<std::int64_t>(b) * JumpFromX) / 16;
  } else {
    x = static_cast<std::int64_t>(X) * 16;
    if (b > 0) {
      if (Direction == 1 || Direction == 4 || Direction == 5) x -= (b + 15) / 16;
      else if (Direction == 3 || Direction == 6 || Direction == 7) x += b / 16;
    }
  }
  x += -Map.ScrollX / 16 + 8;
  if (Map.LoopsHorizontally()) {
    // Into -8 .. span + 7: near the right edge both positions are kept apart.
    const std::int64_t span = static_cast<std::int64_t>(Map.Width()) * 16;
    if (x < -8) x += (-8 - x + span - 1) / span * span;
    if (x > span + 7) x -= (x - span - 7 + span - 1) / span * span;
  }
  return static_cast<int>(std::clamp<std::int64_t>(x, INT_MIN / 2, INT_MAX / 2));
}

int TKelgCharacter::ScreenY() const {
  std::int64_t y;
  const int b = StepRemaining;
  if (b > 0 && Jumping) {
    y = ((kStepLength - b) * static_cast<std::int64_t>(Y) + static_cast<std::int64_t>(b) * JumpFromY) / 16;
  } else {
    y = static_cast<std::int64_t>(Y) * 16;
    if (b > 0) {
      if (Direction == 0 || Direction == 4 || Direction == 7) y += b / 16;
      else if (Direction == 2 || Direction == 5 || Direction == 6) y -= (b + 15) / 16;
    }
  }
  y += -Map.ScrollY / 16 + 16;
  if (Map.LoopsVertically()) {
    const std::int64_t span = static_cast<std::int64_t>(Map.Height()) * 16;
    y = (y % span + span) % span;
  }
  return static_cast<int>(std::clamp<std::int64_t>(y, INT_MIN / 2, INT_MAX / 2));
}

int TKelgCharacter::JumpHeight() const {
  if (!Jumping) return 0;
  const int d = std::abs(StepRemaining - 128);
  return 16 - d * d / 1024;
}

bool TKelgCharacter::IsOnScreen() const {
  const int x = ScreenX(), y = ScreenY();
  return x >= -32 && x <= 352 && y >= -32 && y <= 272;
}

int TKelgCharacter::Terrain() const { return Map.TerrainAt(X, Y); }

int TKelgCharacter::BushDepth() const {
  if (Jumping || Flying || Layer != 1) return 0;
  return Map.BushDepthOf(Terrain());
}

bool TKelgCharacter::SameCellAs(const TKelgCharacter& vehicle) const {
  return X == vehicle.X && Y == vehicle.Y && StepRemaining == 0 && vehicle.StepRemaining == 0;
}

int TKelgCharacter::DirectionTo(int x1, int y1, int x2, int y2) const {
  std::int64_t dx = static_cast<std::int64_t>(x2) - x1, dy = static_cast<std::int64_t>(y2) - y1;
  if (dx < -1) dx += Map.Width();
  else if (dx > 1) dx -= Map.Width();
  if (dy < -1) dy += Map.Height();
  else if (dy > 1) dy -= Map.Height();
  if (dx != 0 && dy != 0) return 4;
  if (dy > 0) return 0;
  if (dy < 0) return 3;
  if (dx > 0) return 2;
  if (dx < 0) return 1;
  return 4;
}

// --- Turning ---------------------------------------------------------------

void TKelgCharacter::FaceTowards(int x, int y) {
  int dx = x - X, dy = y - Y;
  const int w = Map.Width(), h = Map.Height();
  // On a looping axis the target may be nearer the other way round.
  if (Map.LoopsHorizontally() && w > 0) {
    if (std::abs(dx - w) < std::abs(dx)) dx -= w;
    else if (std::abs(dx + w) < std::abs(dx)) dx += w;
  }
  if (Map.LoopsVertically() && h > 0) {
    if (std::abs(dy - h) < std::abs(dy)) dy -= h;
    else if (std::abs(dy + h) < std::abs(dy)) dy += h;
  }
  if (std::abs(dy) < std::abs(dx)) Direction = dx < 0 ? 3 : 1;
  else Direction = dy < 0 ? 0 : 2;
}

void TKelgCharacter::TurnLeft() {
  static constexpr int kLeftOf[4] = {3, 0, 1, 2};
  Direction = Direction < 3 ? kLeftOf[Direction] : 2;
}

void TKelgCharacter::TurnRight() {
  if (Direction == 0) Direction = 1;
  else if (Direction == 2) Direction = 3;
  else if (Direction == 3) Direction = 0;
  else Direction = 2;
}

void TKelgCharacter::TurnAround() {
  if (Direction == 1) Direction = 3;
  else if (Direction == 2) Direction = 0;
  else if (Direction == 3) Direction = 1;
  else Direction = 2;
}

void TKelgCharacter::TurnRandomly() {
  if (Map.Random(2) != 0) TurnRight();
  else TurnLeft();
}

void TKelgCharacter::FaceRandom() {
  static constexpr int kDirections[4] = {0, 1, 3, 2};  // random 2 is left, 3 down
  Direction = kDirections[Map.Random(4)];
}

void TKelgCharacter::FaceHero() {
  const TKelgCharacter& hero = Map.Hero();
  FaceTowards(hero.X, hero.Y);
}

void TKelgCharacter::FaceAwayFromHero() {
  FaceHero();
  TurnAround();
}

void TKelgCharacter::UpdateFacing() {
  if (FacingLocked) return;
  switch (Direction) {
    case 0: case 1: case 2: case 3: Facing = Direction; break;
    case 4:
      if (Facing == 2) Facing = 0;
      else if (Facing == 3) Facing = 1;
      break;
    case 5:
      if (Facing == 0) Facing = 2;
      else if (Facing == 3) Facing = 1;
      break;
    case 6:
      if (Facing == 0) Facing = 2;
      else if (Facing == 1) Facing = 3;
      break;
    case 7:
      if (Facing == 1) Facing = 3;
      else if (Facing == 2) Facing = 0;
      break;
    default: break;
  }
}

// --- Movement --------------------------------------------------------------

bool TKelgCharacter::CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const {
  if (!Active || !other.Active || Flying || other.Flying || Through || other.Through) return false;
  if (Key > 0 && other.Key > 0 && (NoOverlap || other.NoOverlap)) return true;
  return Layer == other.Layer || (sameLayerToo && other.Layer == 1);
}

bool TKelgCharacter::CanMove(int fromX, int fromY, int toX, int toY) {
  if (!Map.IsValid(toX, toY)) return false;
  if (Through) return true;
  bool sameLayerToo = false;
  if (fromX != kNoOrigin) {
    fromX = Map.WrapX(fromX);
    fromY = Map.WrapY(fromY);
    const int side = DirectionTo(fromX, fromY, toX, toY);
    // A tile-showing event below the hero whose own tile blocks this way
    // also stops at characters above it.
    sameLayerToo = Layer == 0 && CharSetName.empty() &&
                   !SideOpen(Map.UpperPassability(kUpperTileBase + CharSetIndex), side);
    if (!Map.Passable(fromX, fromY, Key, side)) return false;
  }
  toX = Map.WrapX(toX);
  toY = Map.WrapY(toY);
  for (int i = 0; i < Map.CharacterCount(); ++i) {
    TKelgCharacter& other = Map.CharacterAt(i);
    if (&other == this || other.X != toX || other.Y != toY) continue;
    other.Update();  // it may move away this very frame
    if (other.X == toX && other.Y == toY && CollidesWith(other, sameLayerToo)) return false;
  }
  return Map.Passable(toX, toY, Key, DirectionTo(toX, toY, fromX, fromY));
}

bool TKelgCharacter::CanMoveDiagonally(int direction) {
  const int dx = kDirectionDX[direction], dy = kDirectionDY[direction];
  return (CanMove(X, Y, X, Y + dy) && CanMove(X, Y + dy, X + dx, Y + dy)) ||
         (CanMove(X, Y, X + dx, Y) && CanMove(X + dx, Y, X + dx, Y + dy));
}

void TKelgCharacter::Move(int direction) {
  if (StepRemaining > 0) return;
  Direction = direction;
  UpdateFacing();
  if (direction < 0) return;
  if (direction > 7) {
    StepRemaining = kStepLength;
    return;
  }
  const int toX = X + kDirectionDX[direction], toY = Y + kDirectionDY[direction];
  const bool free = direction < 4 ? CanMove(X, Y, toX, toY) : CanMoveDiagonally(direction);
  if (!free) return;
  X = Map.WrapX(toX);
  Y = Map.WrapY(toY);
  StepRemaining = kStepLength;
}

void TKelgCharacter::Jump(int toX, int toY) {
  FaceTowards(toX, toY);
  if (toX != X || toY != Y) {
    Facing = Direction;
    if (!CanMove(kNoOrigin, 0, toX, toY)) return;
  }
  JumpFromX = Map.WrapX(toX) + X - toX;
  JumpFromY = Map.WrapY(toY) + Y - toY;
  Jumping = true;
  StepRemaining = kStepLength;
  X = Map.WrapX(toX);
  Y = Map.WrapY(toY);
}

void TKelgCharacter::SetGraphic(const std::string& name, int index) {
  if (!name.empty()) Map.CharSetGraphic.Load(name);
  CharSetName = name;
  CharSetIndex = std::clamp(index, 0, name.empty() ? kUpperTileCount - 1 : 7);
}

void TKelgCharacter::SetPosition(int mapId, int x, int y) {
  MapId = mapId;
  X = x;
  Y = y;
  StepRemaining = 0;
}

void TKelgCharacter::AdvanceStep(int amount) {
  StepRemaining -= amount;
  if (StepRemaining <= 0) {
    StepRemaining = 0;
    Jumping = false;
    if (RouteForced && ForcedRoutePos >= ForcedRoute.Count()) {
      ForcedRouteDone = true;
      ForcedRoutePos = 0;
      if (!ForcedRoute.Repeat) EndRoute();
    }
  }
  StopCount = 0;
}

void TKelgCharacter::Update() {
  if (!Active || Updated) return;
  Updated = true;
  if (StepRemaining == 0) DecideMove();
  if (FlashFrames > 0) --FlashFrames;
  FlashLevel -= FlashLevel / (FlashFrames + 1);
  const int speed = ClampSpeed(MoveSpeed);
  if (StepRemaining > 0) {
    AdvanceStep(Jumping ? kJumpStep[speed] : kWalkStep[speed]);
  } else if (RouteForced || (!Processing && (Map.MainScripterIdle() || Map.System().MessageEventsMove))) {
    ++StopCount;
  } else if (StopCount == 0) {
    StopCount = 1;
  }
  UpdateAnimation();
}

void TKelgCharacter::UpdateAnimation() {
  const int speed = ClampSpeed(MoveSpeed);
  bool counts = false;
  switch (AnimType) {
    case 0: case 2:
      counts = !Jumping && !(StopCount > 0 && Frame % 2 == 1 && AnimCount >= kAnimMoving[speed] - 1);
      break;
    case 1: case 3: counts = !Jumping; break;
    case 5: counts = true; break;
    default: break;
  }
  if (counts) ++AnimCount;
  if (AnimType <= 3) {
    if ((StopCount == 0 && AnimCount >= kAnimMoving[speed]) || (StopCount > 0 && AnimCount >= kAnimStanding[speed])) {
      Frame = (Frame + 1) % 4;
      AnimCount = 0;
    }
    if (Jumping || AnimPaused) {
      Frame = 1;
      AnimCount = 0;
    }
  } else if (AnimType == 5 && AnimCount >= kAnimSpin[speed]) {
    Facing = (Facing + 1) % 4;
    AnimCount = 0;
  }
}

void TKelgCharacter::SetFlash(int red, int green, int blue, double level, int frames) {
  FlashRed = red;
  FlashGreen = green;
  FlashBlue = blue;
  FlashLevel = level;
  FlashFrames = frames;
}

void TKelgCharacter::SetHidden(bool value) {
  Hidden = value;
  Through = RouteThrough;
}

// --- Drawing ---------------------------------------------------------------

void TKelgCharacter::Draw(TVantraBoard& board) {
  if (!Active) return;
  const TKelgScreen& screen = Map.Screen();
  const int x = ScreenX() + screen.ShakeX, y = ScreenY() + screen.ShakeY - JumpHeight();
  DrawAt(board, x, y);
  // A looping map narrower or lower than the view shows the sprite twice.
  const int mapWidth = Map.Width() * 16, mapHeight = Map.Height() * 16;
  const bool repeatX = Map.LoopsHorizontally() && Map.Width() <= 21;
  const bool repeatY = Map.LoopsVertically() && Map.Height() <= 16;
  if (repeatX) {
    DrawAt(board, x + mapWidth, y);
    if (repeatY) DrawAt(board, x + mapWidth, y + mapHeight);
  }
  if (repeatY) DrawAt(board, x, y + mapHeight);
}

void TKelgCharacter::DrawAt(TVantraBoard& board, int x, int y) {
  if (CharSetName.empty()) {
    TKelChipSetGraphic& chips = Map.ChipSetGraphic;
    if (chips.ChipSet == nullptr) return;
    chips.SetTransparency(Transparency);
    chips.DrawTile(board, x - 8, y - 16, Map.FrameCount(), kUpperTileBase + std::clamp(CharSetIndex, 0, 143), 16);
    chips.SetTransparency(0);
    return;
  }
  TKelCharSetGraphic& cache = Map.CharSetGraphic;
  int index = cache.IndexOf(CharSetName);
  if (index < 0) index = cache.Load(CharSetName);
  TVantraSheet& sheet = cache.SheetAt(index);
  sheet.OwnColor.SetFlash(std::clamp(FlashRed, 0, 31), std::clamp(FlashGreen, 0, 31), std::clamp(FlashBlue, 0, 31),
                          std::clamp(static_cast<int>(std::lround(FlashLevel)), 0, 32), true);
  Map.Screen().ApplyTo(sheet);
  cache.Transparency = Transparency;
  cache.DrawCharacter(board, x, y, BushDepth(), Frame, Facing, CharSetIndex, index);
}
