#pragma once
// The game system state: which scene runs, the frame counter, switches and
// variables, message options and face, the music playing and remembered, the
// game-time overrides of the database's settings, permissions and counters.
// The only place that turns music and sound records into sound calls.

#include <array>
#include <memory>
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "data/Catalog.h"
#include "data/LD_System.h"
#include "ui/GameWindows.h"
#include "ui/GR_System.h"

class TKelDataBase;
class TVantraDraw;
struct AssetFolders;

enum TKelSceneId : std::uint8_t {
  scField, scMenu, scBattle, scShop, scName, scSaveFile, scTitle, scGameOver, scDebug,
};
inline constexpr int kSceneCount = 9;

// The twelve system sounds, in the database's order.
enum TKelSystemSound : std::uint8_t {
  ssCursor, ssDecision, ssCancel, ssBuzzer, ssBattleStart, ssEscape, ssEnemyAttack, ssEnemyDamage, ssHeroDamage,
  ssEvasion, ssEnemyDeath, ssItem,
};
inline constexpr int kSystemSoundCount = 12;

// The six transitions, in the database's order.
enum TKelTransitionSlot : std::uint8_t {
  tsTeleportErase, tsTeleportShow, tsBattleStartErase, tsBattleStartShow, tsBattleEndErase, tsBattleEndShow,
};
inline constexpr int kTransitionSlotCount = 6;
inline constexpr std::uint8_t kNoTransitionOverride = 255;

// Switch and variable ids beyond this are ignored: no script can make the
// game allocate without bound.
inline constexpr std::int32_t kMaxSwitchId = 99999;

class TKelgSystem : public TCatalogBaseItem, public TKelCursorSound {
public:
  // The music slots whose database records a script may override.
  enum TMusicSlot : std::uint8_t { msTitle, msBattle, msVictory, msInn, msBoat, msShip, msAirship, msGameOver };
  static constexpr int kMusicSlotCount = 8;

  TKelgSystem(const TKelDataBase& dataBase, const AssetFolders& folders, TVantraDraw* draw);

  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  // The state of a new game; the four system sounds reserved again.
  void Clear() override;
  void AfterLoad() override;
  void BeforeSave() override;

  std::uint8_t Switch(std::int32_t id) const;
  void SetSwitch(std::int32_t id, std::uint8_t value);
  std::int32_t Variable(std::int32_t id) const;
  void SetVariable(std::int32_t id, std::int32_t value);
  std::int32_t SwitchCount() const { return static_cast<std::int32_t>(Switches.size()); }
  std::int32_t VariableCount() const { return static_cast<std::int32_t>(Variables.size()); }

  void PlayMusic(const TKelMusic& music, bool force);
  void FadeOutMusic(int milliseconds);
  void StopMusic();
  void PlaySound(const TKelSound& sound);
  void PlaySystemSound(TKelSystemSound slot) { PlaySound(SystemSound(slot)); }
  void PlayCursorSound() override { PlaySystemSound(ssCursor); }

  const TKelMusic& Music(TMusicSlot slot) const;
  void SetMusic(TMusicSlot slot, const TKelMusic& music);
  const TKelSound& SystemSound(TKelSystemSound slot) const;
  void SetSystemSound(TKelSystemSound slot, const TKelSound& sound);
  void ReserveSystemSounds();

  std::uint8_t Transition(TKelTransitionSlot slot) const;
  void SetTransition(TKelTransitionSlot slot, std::uint8_t kind);

  std::string SystemGraphicName() const;
  std::int32_t EffectiveWindowTiled() const;
  std::int32_t EffectiveFontKind() const;
  void SetSystemGraphic(const std::string& name, std::int32_t tiled, std::int32_t font);
  // Loads the effective system graphic and takes its tiled mode and font.
  void RefreshSystemGraphic();
  TKelSystemGraphic& Graphic() { return *SystemGraphic; }

  // Scene, frame counter, switches, variables and music for the state dump.
  void DumpState(nlohmann::json& state) const;

  // The face cell of FaceName into FaceSheet (mirrored when FaceFlipped);
  // without a name the sheet is emptied.
  void RefreshFace();
  TVantraSheet FaceSheet{48, 48};

  bool FaceShown() const { return !FaceName.empty() && EventMessage != 0; }

  // The path of a music or sound name, empty when no file has it.
  std::string MusicPath(const std::string& name) const;
  std::string SoundPath(const std::string& name) const;

  TKelSceneId SceneId = scField;
  std::int32_t FrameCount = 0;
  std::string SystemName;
  std::int32_t WindowTiled = 0;
  std::int32_t FontKind = 0;
  std::vector<std::uint8_t> Switches;
  std::vector<std::int32_t> Variables;
  std::int32_t MessageTransparent = 0;
  std::int32_t MessagePosition = 2;
  std::uint8_t MessageAutoPosition = 1;
  std::uint8_t MessageEventsMove = 0;
  std::string FaceName;
  std::int32_t FaceIndex = 0;
  std::int32_t FaceRight = 0;
  std::uint8_t FaceFlipped = 0;
  std::uint8_t EventMessage = 0;
  std::uint8_t MusicStopped = 0;
  std::array<TKelMusic, kMusicSlotCount> MusicOverrides;
  TKelMusic CurrentMusic;
  TKelMusic VehicleReturnMusic;
  TKelMusic BattleReturnMusic;
  TKelMusic MemorizedMusic;
  std::array<TKelSound, kSystemSoundCount> SoundOverrides;
  std::array<std::uint8_t, kTransitionSlotCount> Transitions{};
  std::uint8_t TeleportAllowed = 1;
  std::uint8_t EscapeAllowed = 1;
  std::uint8_t SaveAllowed = 1;
  std::uint8_t MenuAllowed = 1;
  std::string BattleBackground;
  std::int32_t SaveCount = 0;
  std::int32_t LastSaveSlot = 1;

private:
  const TKelMusic& DataBaseMusic(TMusicSlot slot) const;
  const TKelSound& DataBaseSound(TKelSystemSound slot) const;
  std::uint8_t DataBaseTransition(TKelTransitionSlot slot) const;

  const TKelDataBase& DataBase;
  const AssetFolders& Folders;
  TVantraDraw* Draw;
  std::unique_ptr<TKelSystemGraphic> SystemGraphic;
  // The codec's view of the counted buffers.
  std::int32_t SwitchCountField = 0;
  std::int32_t VariableCountField = 0;
  std::vector<std::uint8_t> VariableBytes;
};
