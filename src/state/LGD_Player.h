#pragma once
// The run-time heroes: one per hero of the database, member of the party or
// not, with level and experience, learned skills, equipment, permanent
// parameter changes and the name, title and graphics that scripts may change.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "battle/LGD_Unit.h"
#include "data/LD_Player.h"
#include "ui/GameWindows.h"

class TKelItemItem;
class TKelMessagePool;

// Stands for "the database's value" in the name and title overrides.
inline const std::string kOverrideMarker = "\x01";
inline constexpr int kParameterPlusLimit = 999;

class TKelgPlayerItem : public TKelgUnitItem {
public:
  explicit TKelgPlayerItem(TKelgUnitServices& services) : TKelgUnitItem(services) {}

  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  // The hero of a new game: its database level, skills and equipment.
  void Clear() override;
  void AfterLoad() override;
  void BeforeSave() override;

  const TKelPlayerItem& Record() const;

  // ---- Battler answers ----
  std::string GetName() const override;
  std::int32_t GetMaxHp() const override;
  std::int32_t GetMaxMp() const override;
  std::int32_t GetBaseAttack() const override { return BaseParameter(2); }
  std::int32_t GetBaseDefense() const override { return BaseParameter(3); }
  std::int32_t GetBaseMind() const override { return BaseParameter(4); }
  std::int32_t GetBaseAgility() const override { return BaseParameter(5); }
  int GetAttribRank(int attribId) const override;
  int GetStateRank(int stateId) const override;
  bool AttackHasAttrib(int attribId) const override;
  std::int32_t AttackStateChance(int stateId) const override;
  std::int32_t StateProtection(int stateId) const override;
  double GetCriticalRate() const override;
  std::int32_t GetHitRate() const override;
  bool HasStrongDefense() const override { return Record().StrongDefense != 0; }
  bool AttacksFirst() const override;
  bool AttacksTwice() const override;
  bool AttacksAll() const override;
  bool IgnoresEvasion() const override;
  bool PreventsCritical() const override;
  bool HasRaisedEvasion() const override;
  bool HasHalfMpCost() const override;
  bool HasNoTerrainDamage() const override;
  std::int32_t GetAttackMpCost() const override;
  bool IsSameSide(const TKelgUnitItem& other) const override { return other.IsHero(); }
  bool IsHero() const override { return true; }
  bool IsEnemy() const override { return false; }
  bool CanUseItem(int itemId) const override;
  void ChooseAction() override;

  // ---- Name, title and graphics ----
  void SetName(const std::string& name);
  void SetTitle(const std::string& title);
  std::string Title() const;
  std::string CharSetName() const;
  std::int32_t CharSetIndex() const;
  std::int32_t CharSetTransparencyValue() const;
  void SetCharSet(const std::string& name, std::int32_t index, bool translucent);
  std::string FaceName() const;
  std::int32_t FaceIndex() const;
  void SetFace(const std::string& name, std::int32_t index);
  std::string SkillCommandName() const;

  // ---- Level and experience ----
  std::int32_t ExpForNextLevel() const;
  void AddExp(std::int64_t amount, bool showMessages);
  void LoseExp(std::int64_t amount);
  void RaiseLevel(std::int64_t levels, bool showMessages);
  void LowerLevel(std::int64_t levels);
  // p 0..5: MaxHpPlus .. AgilityPlus; HP and MP follow the new maxima.
  void AddParameterPlus(int parameter, std::int32_t amount);

  // ---- Skills ----
  int SkillCount() const { return static_cast<int>(Skills.size()); }
  std::int32_t SkillAt(int index) const;
  void LearnSkill(std::int32_t skillId);
  void ForgetSkill(std::int32_t skillId);
  bool KnowsSkill(std::int32_t skillId) const;

  // ---- Equipment ----
  std::int32_t EquipmentAt(int slot) const;
  bool IsEquipped(std::int32_t itemId) const;
  bool CanEquip(int slot, std::int32_t itemId) const;
  // Swaps with the inventory.
  void Equip(int slot, std::int32_t itemId);
  void Unequip(int slot) { Equip(slot, 0); }
  // Sets the slot without touching the inventory.
  void SetEquipment(int slot, std::int32_t itemId);
  int CandidateCount(int slot) const;
  std::int32_t Candidate(int slot, int index) const;
  std::int32_t ParameterSum() const { return GetAttack() + GetDefense() + GetMind() + GetAgility(); }
  std::int32_t AttackAnimation() const;
  std::int32_t SecondAttackAnimation() const;

  bool TwoWeapons() const { return Record().TwoWeapons != 0; }
  bool FixedEquipment() const { return Record().FixedEquipment != 0; }
  bool AutoBattle() const { return Record().AutoBattle != 0; }

  // Damage of its states for the party's step count.
  void ApplyStepDamage(std::int32_t stepCount);

  // The hero for the state dump.
  void DumpState(nlohmann::json& hero) const;

  // ---- Automatic action choice (values in double precision) ----
  double SkillValue(const TKelSkillItem& skill) const;
  double SkillTargetValue(const TKelSkillItem& skill, const TKelgUnitItem& target) const;
  double AttackTargetValue(const TKelgUnitItem& target) const;
  double AttackValue() const;

  std::string NameOverride, TitleOverride;
  std::string CharSetOverride;
  std::int32_t CharSetIndexOverride = 0;
  std::int32_t CharSetTransparency = 0;
  std::string FaceOverride;
  std::int32_t FaceIndexOverride = 0;
  std::int32_t Level = 1;
  std::int32_t Exp = 0;
  // MaxHpPlus, MaxMpPlus, AttackPlus, DefensePlus, MindPlus, AgilityPlus.
  std::array<std::int32_t, kParameterCount> Plus{};
  std::vector<std::int32_t> Skills;  // ascending
  std::array<std::uint16_t, kEquipmentSlots> Equipment{};

private:
  std::int32_t Curve(int parameter) const;
  std::int32_t BaseParameter(int parameter) const;
  // The item of a slot when it is of a kind that slot gives its values for:
  // weapons in the hands, armour anywhere.
  const TKelItemItem* WeaponIn(int slot) const;
  const TKelItemItem* ArmorIn(int slot) const;
  const TKelItemItem* ItemIn(int slot) const;
  template <class Test>
  bool AnyWeapon(Test test) const;
  template <class Test>
  bool AnyArmor(Test test) const;
  void ApplyTwoHandedRule(int slot, bool throughInventory);
  void AddLine(const std::string& line) const;
  void CheckSlot(int slot, int line) const;
  std::int32_t EffectiveMaxLevel() const;

  // The codec's view of the counted buffers.
  std::int32_t SkillCountField = 0;
  std::vector<std::uint8_t> SkillBytes;
  std::int32_t StateCountField = 0;
  std::vector<std::uint8_t> StateBytes;
};

// The program's message pool as the heroes' message sink: it follows the
// program's pointer, so it works once the pool exists and drops lines before.
class TKelgPoolLines : public TKelMessageSink {
public:
  explicit TKelgPoolLines(TKelMessagePool* const& pool) : Pool(pool) {}
  void AddLine(const std::string& line) override;

private:
  TKelMessagePool* const& Pool;
};

// Every hero of the database, keyed by hero id.
class TKelgPlayer : public TCatalog, public TKelSkillSource {
public:
  explicit TKelgPlayer(TKelgUnitServices& services) : Services(services) {}

  TKelgPlayerItem* ItemAt(int index) const { return static_cast<TKelgPlayerItem*>(TCatalog::ItemAt(index)); }
  TKelgPlayerItem* Find(std::int32_t key) const { return static_cast<TKelgPlayerItem*>(TCatalog::Find(key)); }
  // Raises "Invalid Hero" for a hero that does not exist.
  TKelgPlayerItem& ById(std::int32_t key) const;

  // One cleared hero per database hero.
  void Reset();
  // Heroes the save lacks are added cleared.
  void LoadFromStream(TStreamReader& stream) override;

  // The skill windows' view.
  int SkillCount(int actor) const override;
  TKelListEntry SkillEntry(int actor, int index) const override;
  bool PaysHalfSkillCost(int actor) const override;
  TKelHeroStatusLine StatusLine(int actor) const override;

protected:
  std::unique_ptr<TCatalogItem> CreateItem(std::int32_t key) const override;

private:
  void EnsureDataBaseHeroes();
  TKelgUnitServices& Services;
};

// Colour of HP and MP figures: 5 when out, 4 when low, else 0.
int HpColor(std::int32_t hp, std::int32_t maxHp);
int MpColor(std::int32_t mp, std::int32_t maxMp);
