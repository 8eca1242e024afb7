#pragma once
// Troops: their members, the terrain they are met on, and battle-event pages.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_EventScript.h"
#include "data/LD_System.h"

class TKelMonGroupMonsterItem : public TCatalogItem {
 public:
  std::int32_t MonsterId = 1;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::uint8_t Hidden = 0;

  TKelMonGroupMonsterItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelMonGroupMonster = TCatalogOf<TKelMonGroupMonsterItem>;

enum TKelBattleTriggerFlag : std::uint8_t {
  btSwitchA = 1,
  btSwitchB = 2,
  btVariable = 4,
  btTurn = 8,
  btFatigue = 16,
  btEnemyHp = 32,
  btHeroHp = 64,
};

class TKelBattleEventTrigger : public TCatalogBaseItem {
 public:
  std::uint8_t Flags = 0;
  std::int32_t SwitchA = 1, SwitchB = 1, VariableId = 1, VariableValue = 0;
  std::int32_t TurnA = 0, TurnB = 0;
  std::int32_t FatigueMin = 0, FatigueMax = 100;
  std::int32_t EnemyIndex = 0, EnemyHpMin = 0, EnemyHpMax = 100;
  std::int32_t HeroId = 1, HeroHpMin = 0, HeroHpMax = 100;

  TKelBattleEventTrigger() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};

class TKelBattleEventPageItem : public TKelBaseEventPageItem {
 public:
  TKelBattleEventTrigger Trigger;

  TKelBattleEventPageItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelBattleEventPage = TCatalogOf<TKelBattleEventPageItem>;

class TKelMonGroupItem : public TCatalogItem {
 public:
  TKelMonGroupMonster Members;
  std::int32_t TerrainCount = 0;
  std::vector<std::uint8_t> TerrainSet;
  TKelBattleEventPage Pages{"Invalid Event Page"};

  TKelMonGroupItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  // Terrain beyond the table allows the troop.
  bool TerrainAllowed(int terrainId) const { return TableEntry(TerrainSet, TerrainCount, terrainId, 1) == 1; }
};
using TKelMonGroup = TCatalogOf<TKelMonGroupItem>;
