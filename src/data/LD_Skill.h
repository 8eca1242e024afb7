#pragma once
// Skill records.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_System.h"

class TKelSkillItem : public TCatalogItem {
 public:
  std::string Description, UseMessage1, UseMessage2;
  std::int32_t FailureMessage = 0;
  std::uint8_t SkillType = 0;
  std::int32_t MpCost = 0;
  std::uint8_t Scope = 0;
  std::int32_t SwitchId = 1;
  std::int32_t Animation = 1;
  TKelSound Sound;
  std::uint8_t UsableOnField = 1;
  std::uint8_t UsableInBattle = 0;
  std::int32_t AttackInfluence = 0;
  std::int32_t MindInfluence = 3;
  std::int32_t Variance = 4;
  std::int32_t BasePower = 0;
  std::int32_t HitRate = 100;
  std::uint8_t AffectsHp = 0, AffectsMp = 0, AffectsAttack = 0, AffectsDefense = 0, AffectsMind = 0,
               AffectsAgility = 0, Absorb = 0, IgnoreDefense = 0;
  std::int32_t StateCount = 0;
  std::vector<std::uint8_t> States;
  std::int32_t AttribCount = 0;
  std::vector<std::uint8_t> Attribs;
  std::uint8_t AffectsAttribDefense = 0;

  TKelSkillItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  bool HasState(int stateId) const { return TableEntry(States, StateCount, stateId, 0) == 1; }
  bool HasAttrib(int attribId) const { return TableEntry(Attribs, AttribCount, attribId, 0) == 1; }
  void TrimTables(int stateCount, int attribCount);
};
using TKelSkill = TCatalogOf<TKelSkillItem>;
