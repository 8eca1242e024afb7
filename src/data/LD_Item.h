#pragma once
// Item records: ordinary items, equipment, medicine, books, seeds, special
// and switch items.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_System.h"

enum TKelItemType : std::uint8_t {
  itOrdinary = 0,
  itWeapon = 1,
  itShield = 2,
  itArmor = 3,
  itHelmet = 4,
  itAccessory = 5,
  itMedicine = 6,
  itBook = 7,
  itSeed = 8,
  itSpecial = 9,
  itSwitch = 10,
};

class TKelItemItem : public TCatalogItem {
 public:
  std::string Description;
  std::uint8_t ItemType = 0;
  std::int32_t Price = 0;
  std::int32_t Uses = 1;
  std::int32_t AttackBonus = 0, DefenseBonus = 0, MindBonus = 0, AgilityBonus = 0;
  std::uint8_t TwoHanded = 0;
  std::int32_t AttackMpCost = 0;
  std::int32_t HitRate = 90;
  std::int32_t CriticalBonus = 0;
  std::int32_t Animation = 1;
  std::uint8_t FirstStrike = 0, DoubleAttack = 0, AttackAll = 0, IgnoreEvasion = 0;
  std::uint8_t PreventCritical = 0, RaiseEvasion = 0, HalfMpCost = 0, NoTerrainDamage = 0;
  std::uint8_t WholeParty = 0;
  std::int32_t HpPercent = 0, HpAmount = 0, MpPercent = 0, MpAmount = 0;
  std::uint8_t FieldOnly = 0, DeadOnly = 0;
  std::int32_t SeedMaxHp = 0, SeedMaxMp = 0, SeedAttack = 0, SeedDefense = 0, SeedMind = 0, SeedAgility = 0;
  std::uint8_t UseSkillMessage = 0;
  std::int32_t SkillId = 1;
  std::int32_t SwitchId = 1;
  std::uint8_t SwitchOnField = 1, SwitchInBattle = 0;
  std::int32_t HeroCount = 0;
  std::vector<std::uint8_t> HeroUsable;
  std::int32_t StateCount = 0;
  std::vector<std::uint8_t> States;
  std::int32_t AttribCount = 0;
  std::vector<std::uint8_t> Attribs;
  std::int32_t StateChance = 0;

  TKelItemItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  // Equipment slot 0..4 of types 1..5; -1 for other types.
  int EquipSlot() const;
  bool IsWeapon() const { return ItemType == itWeapon; }
  bool IsArmor() const { return ItemType >= itShield && ItemType <= itAccessory; }
  bool IsTwoHanded() const { return IsWeapon() && TwoHanded == 1; }
  // A hero beyond the table may use the item.
  bool UsableBy(int heroId) const { return TableEntry(HeroUsable, HeroCount, heroId, 1) == 1; }
  bool HasState(int stateId) const { return TableEntry(States, StateCount, stateId, 0) == 1; }
  bool HasAttrib(int attribId) const { return TableEntry(Attribs, AttribCount, attribId, 0) == 1; }
  void TrimTables(int stateCount, int attribCount);
};
using TKelItem = TCatalogOf<TKelItemItem>;
