#pragma once
// The system record: start party, vehicles, title and game-over pictures,
// music and sound settings, transitions, the battle-test party; and the
// music and sound records passed around the game.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"

inline constexpr const char* kNoSound = "(OFF)";

class TKelMusic : public TCatalogBaseItem {
 public:
  std::string Name;
  std::int32_t FadeIn = 0;
  std::int32_t Volume = 100;
  std::int32_t Tempo = 100;
  std::int32_t Balance = 50;

  TKelMusic() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void AssignFields(const TKelMusic& source);
  bool operator==(const TKelMusic& other) const;
};

class TKelSound : public TCatalogBaseItem {
 public:
  std::string Name;
  std::int32_t Volume = 100;
  std::int32_t Tempo = 100;
  std::int32_t Balance = 50;

  TKelSound() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void AssignFields(const TKelSound& source);
  bool operator==(const TKelSound& other) const;
};

class TKelTestPlayerItem : public TCatalogItem {
 public:
  std::int32_t HeroId = 1;
  std::int32_t Level = 1;
  std::int32_t Weapon = 0;
  std::int32_t Shield = 0;
  std::int32_t Armor = 0;
  std::int32_t Helmet = 0;
  std::int32_t Accessory = 0;

  TKelTestPlayerItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void AfterLoad() override;
  // Slots 0..4: weapon, shield, armour, helmet, accessory; 0 outside.
  std::int32_t EquipmentAt(int slot) const;
};

using TKelTestPlayer = TCatalogOf<TKelTestPlayerItem>;

class TKelSystem : public TCatalogBaseItem {
 public:
  std::string BoatName, ShipName, AirshipName;
  std::int32_t BoatIndex = 0, ShipIndex = 0, AirshipIndex = 0;
  std::string TitleName, GameOverName, SystemName;
  std::int32_t PartyCount = 1;
  std::vector<std::uint8_t> Party;  // 16-bit hero ids
  TKelMusic TitleMusic, BattleMusic, VictoryMusic, InnMusic, BoatMusic, ShipMusic, AirshipMusic, GameOverMusic;
  TKelSound CursorSound, DecisionSound, CancelSound, BuzzerSound, BattleStartSound, EscapeSound, EnemyAttackSound,
      EnemyDamageSound, HeroDamageSound, EvasionSound, EnemyDeathSound, ItemSound;
  std::uint8_t TeleportErase = 0, TeleportShow = 0, BattleStartErase = 0, BattleStartShow = 0, BattleEndErase = 0,
               BattleEndShow = 0;
  std::int32_t WindowTiled = 0;
  std::int32_t FontKind = 0;
  std::int32_t TestCondition = 1;
  std::uint8_t TestFlag = 1;
  std::string TestBackground;
  TKelTestPlayer TestParty;
  std::int32_t SaveCount = 0;

  TKelSystem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  // The hero id at a 0-based place of the start party, 0 outside the party
  // (bounded by both `PartyCount` and the real buffer).
  std::int32_t PartyMember(int index) const;
  int PartySize() const;
  void SetParty(const std::vector<std::int32_t>& heroIds);
};

// Names of switches and variables (for the debug screen).
class TKelSwitchItem : public TCatalogItem {
 public:
  TKelSwitchItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
};
using TKelSwitch = TCatalogOf<TKelSwitchItem>;

class TKelVariableItem : public TCatalogItem {
 public:
  TKelVariableItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
};
using TKelVariable = TCatalogOf<TKelVariableItem>;

// Reads entry i (from 1) of a byte table bounded by both its count and its
// real buffer; `defaultValue` outside. Shared by every set and rank table.
std::uint8_t TableEntry(const std::vector<std::uint8_t>& table, std::int32_t count, int index, std::uint8_t defaultValue);
// A rank table entry: bytes above 4 are not ranks and read as the default.
std::uint8_t RankEntry(const std::vector<std::uint8_t>& table, std::int32_t count, int index, std::uint8_t defaultRank);
// Cuts a set or rank table after its last entry that is not `defaultValue`
// and to at most `limit` entries; the count follows.
void TrimTable(std::vector<std::uint8_t>& table, std::int32_t& count, std::uint8_t defaultValue, int limit);
