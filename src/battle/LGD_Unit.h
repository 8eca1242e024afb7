#pragma once
// The battler base shared by heroes and enemies: HP and MP, parameters with
// their battle changes, attribute shifts, states with priority and
// restrictions, and the arithmetic of attacks and skills on one target.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/Catalog.h"

class TKelDataBase;
class TKelRandom;
class TKelgSystem;
class TKelgScreen;
class TKelgPartyInfo;
class TKelgPlayer;
class TKelgMonster;
class TKelgTeleport;
class TKelgCharacter;
class TKelSkillItem;
class TKelItemItem;
class TKelStatusItem;
struct AssetFolders;

// Where the lines of level-ups and learned skills go (the message pool).
class TKelMessageSink {
public:
  virtual ~TKelMessageSink() = default;
  virtual void AddLine(const std::string& line) = 0;
};

// What battlers read and change of the rest of the game. Filled once by the
// owner of the run-time objects; the optional parts may stay nil in tests.
struct TKelgUnitServices {
  const TKelDataBase* DataBase = nullptr;
  TKelRandom* Random = nullptr;
  TKelgSystem* System = nullptr;
  TKelgPartyInfo* Party = nullptr;
  TKelgPlayer* Heroes = nullptr;
  TKelgMonster* Troop = nullptr;
  TKelgTeleport* Teleport = nullptr;
  const TKelgCharacter* MapHero = nullptr;  // for its Flying flag
  TKelgScreen* Screen = nullptr;            // step damage flashes it
  TKelMessageSink* Messages = nullptr;
  const AssetFolders* Folders = nullptr;  // enemy sprites
};

enum TKelgActKind : std::uint8_t { akBasic, akSkill, akTransform, akItem, akNone, akAuto };
enum TKelgBasicAction : std::uint8_t {
  baAttack, baDoubleAttack, baDefend, baObserve, baCharge, baSelfDestruct, baEscape, baNothing,
};
enum TKelgTargetKind : std::uint8_t { tkNone, tkHero, tkParty, tkEnemy, tkTroop };

enum TKelgSkillType : std::uint8_t { skNormal, skTeleport, skEscape, skSwitch };
enum TKelgSkillScope : std::uint8_t { ssOneEnemy, ssAllEnemies, ssSelf, ssOneAlly, ssAllAllies };

inline constexpr int kDeathState = 1;
inline constexpr int kRankCount = 5;

// A battler's action for the current turn.
struct TKelgUnitActItem {
  std::uint8_t Kind = akNone;
  std::uint8_t Basic = baAttack;
  std::int32_t SkillId = 0;
  std::int32_t TransformTo = 0;
  std::int32_t ItemId = 0;
  std::int32_t SkillTopRow = 0;
  std::int32_t SwitchOn = 0;
  std::int32_t SwitchOff = 0;
  std::uint8_t TargetKind = tkNone;
  std::int32_t TargetIndex = 0;

  void Reset() { *this = TKelgUnitActItem(); }
};

// What a battler's turn did with its states, for the battle scene's messages.
struct TKelgTurnEffect {
  int RecoveredTopState = 0;  // the top state recovered at the start of the turn
  int ContinuingTopState = 0;  // the top state still afflicted, when it has a continue message
};

enum TKelgParameter : std::uint8_t { bpAttack = 2, bpDefense = 3, bpMind = 4, bpAgility = 5 };

class TKelgUnitItem : public TCatalogItem {
public:
  explicit TKelgUnitItem(TKelgUnitServices& services) : Services(services) {}

  void Clear() override;

  // ---- Answered by heroes and enemies ----
  virtual std::string GetName() const = 0;
  virtual std::int32_t GetMaxHp() const = 0;
  virtual std::int32_t GetMaxMp() const = 0;
  virtual std::int32_t GetBaseAttack() const = 0;
  virtual std::int32_t GetBaseDefense() const = 0;
  virtual std::int32_t GetBaseMind() const = 0;
  virtual std::int32_t GetBaseAgility() const = 0;
  virtual int GetAttribRank(int attribId) const = 0;
  virtual int GetStateRank(int stateId) const = 0;
  virtual bool AttackHasAttrib(int /*attribId*/) const { return false; }
  virtual std::int32_t AttackStateChance(int /*stateId*/) const { return 0; }
  virtual std::int32_t StateProtection(int /*stateId*/) const { return 0; }
  virtual double GetCriticalRate() const = 0;
  virtual std::int32_t GetHitRate() const = 0;
  virtual bool HasStrongDefense() const { return false; }
  virtual bool AttacksFirst() const { return false; }
  virtual bool AttacksTwice() const { return false; }
  virtual bool AttacksAll() const { return false; }
  virtual bool IgnoresEvasion() const { return false; }
  virtual bool PreventsCritical() const { return false; }
  virtual bool HasRaisedEvasion() const { return false; }
  virtual bool HasHalfMpCost() const { return false; }
  virtual bool HasNoTerrainDamage() const { return false; }
  virtual std::int32_t GetAttackMpCost() const { return 0; }
  virtual bool IsSameSide(const TKelgUnitItem& other) const = 0;
  virtual bool IsHero() const = 0;
  virtual bool IsEnemy() const = 0;
  virtual bool CanUseItem(int /*itemId*/) const { return false; }
  virtual bool CanUseSkill(int skillId) const;
  virtual void ChooseAction() = 0;

  // ---- HP, MP and parameters ----
  // Nothing for a dead battler; else HP moves within 1..max. Result: the change.
  std::int32_t AddHp(std::int32_t amount);
  // HP lost; reaching 0 kills with mayKill, else leaves 1 HP.
  std::int32_t TakeDamage(std::int32_t amount, bool mayKill);
  std::int32_t AddMp(std::int32_t amount);
  std::int32_t LoseMp(std::int32_t amount);
  // HP and MP cut to the current maxima.
  void CutToMaxima();
  // Battle change of parameter 2..5 within -(base div 2)..base; result the change made.
  std::int32_t ChangeBattleParameter(int parameter, std::int32_t delta);
  std::int32_t GetAttack() const;
  std::int32_t GetDefense() const;
  std::int32_t GetMind() const;
  std::int32_t GetAgility() const;
  // Percent of maximum; 0 for a maximum of 0.
  std::int32_t HpPercent() const;
  std::int32_t MpPercent() const;

  // ---- Attributes ----
  int AttributeShift(int attribId) const;
  // Rank plus shift: raising the defence moves towards E.
  int GetEffectiveAttribRank(int attribId) const;
  bool LowerAttribDefense(int attribId);
  bool RaiseAttribDefense(int attribId);
  // Percent of an effect of that attribute on this battler.
  std::int32_t AttribRate(int attribId) const;

  // ---- States ----
  int GetStateTurns(int stateId) const;
  bool HasState(int stateId) const { return GetStateTurns(stateId) > 0; }
  void AddState(int stateId);
  void RemoveState(int stateId);
  // The afflicted state of the highest priority (higher number on ties), 0 if none.
  int GetTopState() const;
  std::int32_t GetHitRateFactor() const;
  void FullRecovery();
  void EndBattleCleanup();
  // Recovery chances, turn counts and turn damage at the start of its turn.
  TKelgTurnEffect ApplyTurnEffects();
  // Each afflicted state may recover after damage; the states recovered.
  std::vector<int> RecoverByDamage();

  bool IsAlive() const { return Present != 0 && HP > 0; }
  bool CanAct() const;
  bool AttacksEnemiesRandomly() const;
  bool AttacksAlliesRandomly() const;
  bool AttacksRandomly() const { return AttacksEnemiesRandomly() || AttacksAlliesRandomly(); }
  bool ActsNormally() const { return CanAct() && !AttacksRandomly(); }
  bool IsIncapacitated() const;

  void RollInitiative();

  // ---- Effects on a target ----
  // Normal attack damage before critical, charge and variance.
  std::int32_t AttackDamage(const TKelgUnitItem& target) const;
  // The effect of a skill used by this battler on the target, variance drawn.
  std::int32_t SkillEffectValue(const TKelSkillItem& skill, const TKelgUnitItem& target) const;
  // Whether a skill would do anything for this battler.
  bool SkillIsUseful(const TKelSkillItem& skill) const;
  // MP a skill costs this battler.
  std::int32_t SkillCost(const TKelSkillItem& skill) const;

  std::uint8_t Present = 1;
  TKelgUnitActItem Action;
  std::int32_t HP = 0, MP = 0;
  std::int32_t BattleAttack = 0, BattleDefense = 0, BattleMind = 0, BattleAgility = 0;
  // Per attribute (index id - 1) the shift plus one.
  std::vector<std::uint16_t> AttributeShifts;
  // Per state (index id - 1) the turns afflicted; 0 is not afflicted.
  std::vector<std::uint16_t> StateTurns;
  std::int32_t Initiative = 0;
  std::uint8_t Charged = 0;

  TKelgUnitServices& Services;

protected:
  const TKelDataBase& DataBase() const { return *Services.DataBase; }
  bool InBattle() const;
  bool InMenu() const;
  // Whether any afflicted state satisfies the test.
  bool AnyState(const std::function<bool(const TKelStatusItem&)>& test) const;
  void GrowStates();
  void GrowAttributes();

private:
  std::int32_t Effective(std::int32_t base, std::int32_t change, std::uint8_t TKelStatusItem::*halve) const;
  std::int32_t& BattleChange(int parameter);
  std::int32_t BaseParameter(int parameter) const;
};

// The value after the physical and then the magical attribute rate: for
// each kind, the largest of the target's rates over the attributes `carries`
// reports, when there is any.
std::int32_t ApplyAttribRates(const TKelDataBase& dataBase, const TKelgUnitItem& target, std::int32_t value,
                              const std::function<bool(int attribId)>& carries);
