#pragma once
// Hero records: looks, level range, parameter curves, experience curve,
// starting equipment, skills learned by level and resistances.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"

inline constexpr int kParameterCount = 6;
inline constexpr int kCurveLevels = 50;
inline constexpr int kEquipmentSlots = 5;
inline constexpr std::uint8_t kDefaultHeroRank = 2;
inline constexpr std::int32_t kExpLimit = 999999;
inline constexpr int kMaxLevelCap = 9999;

class TKelPlayerLearningItem : public TCatalogItem {
 public:
  std::int32_t Level = 1;
  std::int32_t SkillId = 1;

  TKelPlayerLearningItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelPlayerLearning = TCatalogOf<TKelPlayerLearningItem>;

class TKelPlayerItem : public TCatalogItem {
 public:
  std::string Title;
  std::string CharSetName;
  std::int32_t CharSetIndex = 0;
  std::uint8_t CharSetTranslucent = 0;
  std::int32_t InitialLevel = 1;
  std::int32_t MaxLevel = 50;
  std::uint8_t CanCritical = 1;
  std::int32_t CriticalChance = 30;
  std::string FaceName;
  std::int32_t FaceIndex = 0;
  std::uint8_t TwoWeapons = 0;
  std::uint8_t FixedEquipment = 0;
  std::uint8_t AutoBattle = 0;
  std::uint8_t StrongDefense = 0;
  std::array<std::uint16_t, kParameterCount * kCurveLevels> Parameters{};
  std::int32_t ExpBase = 30;
  std::int32_t ExpIncrease = 30;
  std::int32_t ExpCorrection = 0;
  std::array<std::uint16_t, kEquipmentSlots> InitialEquipment{};
  std::int32_t UnarmedAnimation = 1;
  TKelPlayerLearning Learning;
  std::uint8_t HasSkillCommand = 0;
  std::string SkillCommand;
  std::int32_t StateRankCount = 0;
  std::vector<std::uint8_t> StateRanks;
  std::int32_t AttribRankCount = 0;
  std::vector<std::uint8_t> AttribRanks;

  TKelPlayerItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;

  // Parameter p (0..5) at level 1..50; 0 outside.
  std::int32_t Parameter(int parameter, int level) const;
  void SetParameter(int parameter, int level, std::int32_t value);
  std::int32_t InitialEquipmentAt(int slot) const;
  std::uint8_t StateRank(int stateId) const;
  std::uint8_t AttribRank(int attribId) const;
  // The base critical rate in percent; 0 when the chance is not positive.
  std::int32_t CriticalRate() const;
  // Experience needed to reach `level`; saturates at 1000000.
  std::int32_t ExpForLevel(int level) const;
  std::int32_t EffectiveMaxLevel() const;
  // An editor's tidying before it saves: rank tables cut after their last
  // entry that is not rank C, and to the size of the state and attribute tables.
  void TrimTables(int stateCount, int attribCount);
};
using TKelPlayer = TCatalogOf<TKelPlayerItem>;

// The default curve of each parameter, level 1..50.
const std::array<std::uint16_t, kCurveLevels>& DefaultCurve(int parameter);
