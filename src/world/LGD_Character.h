#pragma once
// Everything that walks on a map: position with a step in progress,
// direction and facing, speed and frequency, walking animation, jumps,
// collision, and the move-route executor.

#include <array>
#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_MoveRoute.h"

class TKelgMap;
class TVantraBoard;

inline constexpr int kStepLength = 256;
// The origin of CanMove that skips the leaving test (jumps).
inline constexpr int kNoOrigin = INT_MAX;

inline constexpr std::array<int, 7> kWalkStep{0, 4, 8, 16, 32, 64, 128};
inline constexpr std::array<int, 7> kJumpStep{0, 8, 12, 16, 24, 32, 64};
inline constexpr std::array<int, 7> kAnimMoving{0, 12, 10, 8, 6, 5, 4};
inline constexpr std::array<int, 7> kAnimStanding{0, 16, 12, 10, 8, 7, 6};
inline constexpr std::array<int, 7> kAnimSpin{0, 24, 16, 12, 8, 6, 4};
inline constexpr std::array<int, 9> kMoveWaitTable{0, 256, 128, 64, 32, 16, 8, 4, 0};

// Directions: 0 up, 1 right, 2 down, 3 left, then the diagonals clockwise
// from up-right. The cell offsets of each.
inline constexpr std::array<int, 8> kDirectionDX{0, 1, 0, -1, 1, 1, -1, -1};
inline constexpr std::array<int, 8> kDirectionDY{-1, 0, 1, 0, -1, 1, 1, -1};

int ClampSpeed(int speed);
int ClampFrequency(int frequency);

class TKelgCharacter : public TCatalogItem {
public:
  explicit TKelgCharacter(TKelgMap& map);
  // No chunks yet: characters are not written to save files so far.
  void DescribeField(int id, TCatalogVarData& v, bool loading) override {}
  void Clear() override;

  virtual bool IsOnScreen() const;
  virtual bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const;
  virtual bool CanMove(int fromX, int fromY, int toX, int toY);
  virtual void Move(int direction);
  virtual void AdvanceStep(int amount);
  virtual void UpdateAnimation();
  virtual void DecideMove() {}
  virtual void UpdateFacing();
  virtual void SetGraphic(const std::string& name, int index);
  virtual void SetPosition(int mapId, int x, int y);
  virtual void Update();
  virtual void Draw(TVantraBoard& board);

  int ScreenX() const;
  int ScreenY() const;
  int JumpHeight() const;
  int Terrain() const;
  int BushDepth() const;
  bool SameCellAs(const TKelgCharacter& vehicle) const;
  // The side of the first cell that faces the second: 0 south, 1 west, 2 east,
  // 3 north, 4 when both coordinates differ or the cells are the same.
  int DirectionTo(int x1, int y1, int x2, int y2) const;

  void FaceTowards(int x, int y);
  void TurnLeft();
  void TurnRight();
  void TurnAround();
  void TurnRandomly();
  void FaceRandom();
  void FaceHero();
  void FaceAwayFromHero();
  void Jump(int toX, int toY);

  void SetRoute(const std::vector<TKelMoveRouteItem>& commands, bool repeat, bool skippable, int frequency);
  void EndRoute();
  // Plays commands from position until one waits; position is the route's own counter.
  void RunRoute(const TKelMoveRoute& route, int& position, bool imposed);
  void SetFlash(int red, int green, int blue, double level, int frames);
  void SetHidden(bool value);
  // Brings every ranged field into its range (after loading or a script).
  void ClampFields();

  bool Active = true;
  int MapId = 0;
  int X = 0, Y = 0;
  int Direction = 2;
  int Facing = 2;
  int Frame = 1;
  int Transparency = 0;
  int StepRemaining = 0;
  int MoveFrequency = 2;
  int SavedFrequency = 2;
  int Layer = 1;
  bool NoOverlap = false;
  int AnimType = 0;
  bool FacingLocked = false;
  int MoveSpeed = 3;
  TKelMoveRoute ForcedRoute;
  bool RouteForced = false;
  int ForcedRoutePos = 0;
  bool ForcedRouteDone = false;
  bool Hidden = false;
  bool RouteThrough = false;
  bool AnimPaused = false;
  bool Through = false;
  int StopCount = 0;
  int AnimCount = 0;
  int MoveWait = 0;
  bool Jumping = false;
  int JumpFromX = 0, JumpFromY = 0;
  bool Processing = false;
  bool Flying = false;
  std::string CharSetName;
  int CharSetIndex = 0;
  bool Updated = false;
  int FlashRed = 100, FlashGreen = 100, FlashBlue = 100;
  double FlashLevel = 0;
  int FlashFrames = 0;

protected:
  TKelgMap& Map;

private:
  struct TRemembered {
    int Direction, Facing;
  };
  // One command at position; position moves as the command says. False
  // when the executor must stop for this frame.
  bool ExecuteMoveCommand(const TKelMoveRoute& route, int& position, TRemembered remembered);
  void RouteMove(const TKelMoveRoute& route, int& position, TRemembered remembered);
  void RouteTurn(int& position, void (TKelgCharacter::*turn)());
  // The jump block from its begin command; false when the route ends inside it.
  bool RouteJump(const TKelMoveRoute& route, int& position, TRemembered remembered);
  bool CanMoveDiagonally(int direction);
  void DrawAt(TVantraBoard& board, int x, int y);
};
