#pragma once
// Terrain kinds, attributes and states.

#include <cstdint>
#include <string>

#include "data/Catalog.h"

class TKelGroundItem : public TCatalogItem {
 public:
  std::int32_t StepDamage = 0;
  std::int32_t EncounterRate = 100;
  std::string BattleBackground;
  std::uint8_t BoatPass = 0, ShipPass = 0, AirshipPass = 1, AirshipLand = 1;
  std::uint8_t BushDepth = 0;

  TKelGroundItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelGround = TCatalogOf<TKelGroundItem>;

class TKelAttribItem : public TCatalogItem {
 public:
  std::uint8_t AttribKind = 0;
  std::int32_t RateA = 300, RateB = 200, RateC = 100, RateD = 50, RateE = 0;

  TKelAttribItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  // Percent of the effect at rank 0..4 (A..E); rank C outside.
  std::int32_t Rate(int rank) const;
};
using TKelAttrib = TCatalogOf<TKelAttribItem>;

class TKelStatusItem : public TCatalogItem {
 public:
  std::uint8_t Persistence = 0;
  std::int32_t Color = 6;
  std::int32_t Priority = 50;
  std::uint8_t Restriction = 0;
  std::int32_t ChanceA = 100, ChanceB = 80, ChanceC = 60, ChanceD = 30, ChanceE = 0;
  std::int32_t MinTurns = 0, RecoveryChance = 0, DamageRecovery = 0;
  std::uint8_t HalveAttack = 0, HalveDefense = 0, HalveMind = 0, HalveAgility = 0;
  std::int32_t HitRateLimit = 100;
  std::uint8_t LimitAttackSkills = 0;
  std::int32_t AttackSkillLimit = 0;
  std::uint8_t LimitMindSkills = 0;
  std::int32_t MindSkillLimit = 0;
  std::string HeroMessage, EnemyMessage, AlreadyMessage, ContinueMessage, RecoveryMessage;
  std::int32_t TurnHpPercent = 0, TurnHpAmount = 0, StepHpInterval = 0, StepHpAmount = 0;
  std::int32_t TurnMpPercent = 0, TurnMpAmount = 0, StepMpInterval = 0, StepMpAmount = 0;

  TKelStatusItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  // Percent chance to take hold at rank 0..4 (A..E); rank C outside.
  std::int32_t Chance(int rank) const;
};
using TKelStatus = TCatalogOf<TKelStatusItem>;
