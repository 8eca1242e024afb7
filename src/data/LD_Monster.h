#pragma once
// Enemy records and their action patterns.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_System.h"

inline constexpr std::uint8_t kDefaultEnemyStateRank = 1;
inline constexpr std::uint8_t kDefaultEnemyAttribRank = 2;

class TKelMonsterActItem : public TCatalogItem {
 public:
  std::uint8_t ActKind = 0;
  std::uint8_t BasicAction = 0;
  std::int32_t SkillId = 1;
  std::int32_t TransformInto = 1;
  std::uint8_t Condition = 0;
  std::int32_t ConditionA = 0;
  std::int32_t ConditionB = 0;
  std::int32_t ConditionSwitch = 1;
  std::uint8_t SwitchOnAfter = 0;
  std::int32_t SwitchOnId = 1;
  std::uint8_t SwitchOffAfter = 0;
  std::int32_t SwitchOffId = 1;
  std::int32_t Rating = 50;

  TKelMonsterActItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelMonsterAct = TCatalogOf<TKelMonsterActItem>;

// A turn condition with multiplier a and offset b.
bool TurnConditionHolds(std::int32_t a, std::int32_t b, std::int32_t turn);

class TKelMonsterItem : public TCatalogItem {
 public:
  std::string GraphicName;
  std::int32_t Hue = 0;
  std::int32_t MaxHp = 10, MaxMp = 10, Attack = 10, Defense = 10, Mind = 10, Agility = 10;
  std::uint8_t Translucent = 0;
  std::int32_t Exp = 0, Gold = 0, DropItem = 0, DropChance = 100;
  std::uint8_t CanCritical = 0;
  std::int32_t CriticalChance = 30;
  std::uint8_t OftenMisses = 0;
  std::uint8_t ExtraFlag = 0;
  std::int32_t StateRankCount = 0;
  std::vector<std::uint8_t> StateRanks;
  std::int32_t AttribRankCount = 0;
  std::vector<std::uint8_t> AttribRanks;
  TKelMonsterAct Actions;

  TKelMonsterItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  std::uint8_t StateRank(int stateId) const {
    return RankEntry(StateRanks, StateRankCount, stateId, kDefaultEnemyStateRank);
  }
  std::uint8_t AttribRank(int attribId) const {
    return RankEntry(AttribRanks, AttribRankCount, attribId, kDefaultEnemyAttribRank);
  }
  // The critical rate in percent; 0 when the chance is not positive.
  std::int32_t CriticalRate() const { return CriticalChance > 0 ? 100 / CriticalChance : 0; }
  void TrimTables(int stateCount, int attribCount);
};
using TKelMonster = TCatalogOf<TKelMonsterItem>;
