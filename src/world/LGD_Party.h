#pragma once
// The hero on the map: walking by the direction keys, the action key and the
// touch triggers that start events, terrain damage, random encounters, the
// camera that follows or pans, and entering another map.

#include <string>

#include "data/LD_System.h"
#include "world/LGD_Character.h"

class TKelMapTree;
class TKelFieldScene;
class TKelgShip;

// The hero's offset from the view's top-left corner: tile column 9, row 7.
inline constexpr int kCameraHomeX = 2304;
inline constexpr int kCameraHomeY = 1792;
inline constexpr int kHeroSpeed = 4;

// The settings a map takes from itself or the nearest parent that sets them.
struct TKelMapSettings {
  int MusicType = 0;  // 0 none found, 1 keep playing, 2 play Music
  const TKelMusic* Music = nullptr;  // inside the tree
  // -1 when no map of the chain decides, else 0 or 1.
  int TeleportAllowed = -1, EscapeAllowed = -1, SaveAllowed = -1;
  int BackgroundType = 0;  // 0 none found, 1 terrain backdrops, 2 BackgroundName
  std::string BackgroundName;
};

// Walks from the map up the tree. The walk stops at the root, at a missing
// entry, or after as many steps as the tree has entries, so that a damaged
// tree with a cycle cannot hang the game.
TKelMapSettings InheritedMapSettings(const TKelMapTree& tree, int mapId);

// The per-mille threshold random(1000) must stay below for a battle, after
// adding a step of this rate to the count.
double EncounterThreshold(int encounterCount, int encounterSteps, int rate);

class TKelgParty : public TKelgCharacter {
public:
  explicit TKelgParty(TKelgMap& map);
  void Clear() override;
  bool CollidesWith(const TKelgCharacter& other, bool sameLayerToo) const override;
  bool CanMove(int fromX, int fromY, int toX, int toY) override;
  void Move(int direction) override;
  void AdvanceStep(int amount) override;
  void DecideMove() override;
  void SetGraphic(const std::string& name, int index) override;
  // Same map: the view is centred on the new cell. A new map number only
  // moves the hero; TransferTo enters the map.
  void SetPosition(int mapId, int x, int y) override;
  // Moves the hero, entering the map when it is another one.
  void TransferTo(int mapId, int x, int y);
  // Music, permissions and battle backdrop from the map tree for the hero's map.
  void EnterMapSettings();
  void Update() override;
  void Draw(TVantraBoard& board) override;

  void ResetAnimation();
  // Looks of the first party member (none with an empty party).
  void RefreshGraphic();
  // Starts the events under the hero whose page has this trigger.
  void TouchHere(int trigger, bool byKey);
  // Starts the events in front of the hero; the action key reaches across
  // up to three counter cells.
  void TouchFront(int trigger, bool byKey);

  // Boards the vehicle in front or under the hero, or leaves the ridden one;
  // false when refused.
  bool BoardOrLeave();
  void LeaveVehicleNow();
  // A take-off or landing advanced this frame.
  bool AirshipStep();
  bool CanLand() const;
  // The vehicle being ridden; nil on foot.
  TKelgShip* RiddenVehicle() const;

  void CheckEncounter();
  // False when no troop may appear here.
  bool StartEncounter();

  // Direction 0..3 moves the view up, right, down, left; speed 1..6.
  void Pan(int direction, int tiles, int speed);
  void PanBack(int speed);
  int PanFramesLeft() const;
  void SetCameraX(int value);
  void SetCameraY(int value);

  // The field scene, nil when the program has none.
  TKelFieldScene* Field() const;
  TKelgMap& World() const { return Map; }

  bool Boarding = false;
  bool Aboard = false;
  int VehicleType = 0;  // 0 on foot, 1 boat, 2 ship, 3 airship
  bool Leaving = false;
  int SavedSpeed = kHeroSpeed;
  bool MenuCalled = false;
  bool CameraFollows = true;
  int CameraX = kCameraHomeX, CameraY = kCameraHomeY;
  int CameraTargetX = kCameraHomeX, CameraTargetY = kCameraHomeY;
  int CameraPanSpeed = 16;
  int EncounterCount = 0;
  bool EncounterPending = false;
  int MapSaveCount = 0;
  int DatabaseSaveCount = 0;

private:
  bool EventsWaitingToStart() const;
  // Starts the events of one cell; true when one was started.
  bool StartEventsAt(int x, int y, int trigger, bool byKey, bool onHeroLayer);
  void ApplyTerrainDamage();
  void UpdateCameraPan();
  void FollowWithCamera(int amount);
  void PlayReturnMusic();
  bool BoardOnFoot();
  bool LeaveBoat();
};
