#include "data/LD_Player.h"

#include <algorithm>
#include <cmath>

#include "data/LD_System.h"

namespace {

constexpr std::array<std::uint16_t, kCurveLevels> kCurveA = {
    40,  43,  49,  55,  60,  66,  72,  79,  85,  92,  98,  105, 112, 120, 127, 135, 143,
    151, 160, 168, 177, 186, 195, 205, 215, 225, 236, 247, 258, 269, 281, 293, 305, 318,
    331, 345, 359, 373, 388, 404, 419, 436, 453, 471, 489, 508, 527, 547, 568, 600};
constexpr std::array<std::uint16_t, kCurveLevels> kCurveB = {
    15, 16, 18, 19, 20, 22, 23, 25, 26, 28, 30, 31, 33, 35,  37,  38,  40,  42,  44,  47,  49,  51,  53,  55,  58,
    60, 63, 65, 68, 71, 74, 77, 80, 83, 86, 89, 93, 96, 100, 103, 107, 111, 115, 119, 124, 128, 133, 138, 143, 150};
constexpr std::array<std::uint16_t, kCurveLevels> kCurveC = {
    20,  22,  25,  28,  31,  34,  37,  40,  43,  46,  50,  53,  57,  61,  64,  68,  72,
    76,  81,  85,  89,  94,  98,  103, 108, 113, 119, 124, 129, 135, 141, 147, 153, 160,
    166, 173, 180, 187, 194, 202, 210, 218, 227, 236, 245, 254, 264, 274, 284, 300};

}  // namespace

const std::array<std::uint16_t, kCurveLevels>& DefaultCurve(int parameter) {
  if (parameter <= 1) return kCurveA;
  if (parameter <= 3) return kCurveB;
  return kCurveC;
}

void TKelPlayerLearningItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Number("Level", &Level, 1); break;
    case 2: v.Number("SkillId", &SkillId, 1); break;
    default: break;
  }
}

void TKelPlayerLearningItem::Clear() {
  TCatalogItem::Clear();
  Level = 1;
  SkillId = 1;
}

void TKelPlayerItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("Title", &Title, true); break;
    case 3: v.String("CharSetName", &CharSetName, true); break;
    case 4: v.Number("CharSetIndex", &CharSetIndex, 0); break;
    case 5: v.Byte("CharSetTranslucent", &CharSetTranslucent, 0); break;
    case 7: v.Number("InitialLevel", &InitialLevel, 1); break;
    case 8: v.Number("MaxLevel", &MaxLevel, 50); break;
    case 9: v.Byte("CanCritical", &CanCritical, 1); break;
    case 10: v.Number("CriticalChance", &CriticalChance, 30); break;
    case 15: v.String("FaceName", &FaceName, true); break;
    case 16: v.Number("FaceIndex", &FaceIndex, 0); break;
    case 21: v.Byte("TwoWeapons", &TwoWeapons, 0); break;
    case 22: v.Byte("FixedEquipment", &FixedEquipment, 0); break;
    case 23: v.Byte("AutoBattle", &AutoBattle, 0); break;
    case 24: v.Byte("StrongDefense", &StrongDefense, 0); break;
    case 31: v.Fixed("Parameters", Parameters.data(), sizeof Parameters, TCatalogElement::U16); break;
    case 41: v.Number("ExpBase", &ExpBase, 30); break;
    case 42: v.Number("ExpIncrease", &ExpIncrease, 30); break;
    case 43: v.Number("ExpCorrection", &ExpCorrection, 0); break;
    case 51: v.Fixed("InitialEquipment", InitialEquipment.data(), sizeof InitialEquipment, TCatalogElement::U16); break;
    case 56: v.Number("UnarmedAnimation", &UnarmedAnimation, 1); break;
    case 63: v.List("Learning", &Learning); break;
    case 66: v.Byte("HasSkillCommand", &HasSkillCommand, 0); break;
    case 67: v.String("SkillCommand", &SkillCommand, true); break;
    case 71: v.Number("StateRankCount", &StateRankCount, 0); break;
    case 72: v.Buffer("StateRanks", &StateRanks); break;
    case 73: v.Number("AttribRankCount", &AttribRankCount, 0); break;
    case 74: v.Buffer("AttribRanks", &AttribRanks); break;
    default: break;
  }
}

void TKelPlayerItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  Title.clear();
  CharSetName.clear();
  CharSetIndex = 0;
  CharSetTranslucent = 0;
  InitialLevel = 1;
  MaxLevel = 50;
  CanCritical = 1;
  CriticalChance = 30;
  FaceName.clear();
  FaceIndex = 0;
  TwoWeapons = FixedEquipment = AutoBattle = StrongDefense = 0;
  for (int p = 0; p < kParameterCount; ++p)
    for (int level = 1; level <= kCurveLevels; ++level) SetParameter(p, level, DefaultCurve(p)[level - 1]);
  ExpBase = 30;
  ExpIncrease = 30;
  ExpCorrection = 0;
  InitialEquipment.fill(0);
  UnarmedAnimation = 1;
  Learning.Clear();
  HasSkillCommand = 0;
  SkillCommand.clear();
  StateRankCount = 0;
  StateRanks.clear();
  AttribRankCount = 0;
  AttribRanks.clear();
}

std::int32_t TKelPlayerItem::Parameter(int parameter, int level) const {
  if (parameter < 0 || parameter >= kParameterCount || level < 1 || level > kCurveLevels) return 0;
  return Parameters[static_cast<std::size_t>(parameter * kCurveLevels + level - 1)];
}

void TKelPlayerItem::SetParameter(int parameter, int level, std::int32_t value) {
  if (parameter < 0 || parameter >= kParameterCount || level < 1 || level > kCurveLevels) return;
  Parameters[static_cast<std::size_t>(parameter * kCurveLevels + level - 1)] = static_cast<std::uint16_t>(value);
}

std::int32_t TKelPlayerItem::InitialEquipmentAt(int slot) const {
  if (slot < 0 || slot >= kEquipmentSlots) return 0;
  return InitialEquipment[static_cast<std::size_t>(slot)];
}

std::uint8_t TKelPlayerItem::StateRank(int stateId) const {
  return RankEntry(StateRanks, StateRankCount, stateId, kDefaultHeroRank);
}

std::uint8_t TKelPlayerItem::AttribRank(int attribId) const {
  return RankEntry(AttribRanks, AttribRankCount, attribId, kDefaultHeroRank);
}

std::int32_t TKelPlayerItem::CriticalRate() const { return CriticalChance > 0 ? 100 / CriticalChance : 0; }

std::int32_t TKelPlayerItem::ExpForLevel(int level) const {
  if (level < 2) return 0;
  // Levels from a damaged file could make the walk run for billions of steps.
  level = std::min(level, kMaxLevelCap);
  double base = ExpBase;
  double growth = ExpIncrease * 0.01 + 1.5;
  double sum = 0;
  for (int step = 1; step < level; ++step) {
    sum = sum + ExpCorrection + std::trunc(base);
    base = base * growth;
    growth = (level * 0.002 + 0.8) * (growth - 1) + 1;
    if (sum > kExpLimit || std::isnan(sum)) return kExpLimit + 1;
  }
  // Below the limit a negative correction can still drive the sum down.
  return static_cast<std::int32_t>(std::max(sum, -2147483648.0));
}

std::int32_t TKelPlayerItem::EffectiveMaxLevel() const {
  for (int level = std::min(MaxLevel, kMaxLevelCap); level >= 1; --level)
    if (ExpForLevel(level) <= kExpLimit) return level;
  return 1;
}

void TKelPlayerItem::TrimTables(int stateCount, int attribCount) {
  TrimTable(StateRanks, StateRankCount, kDefaultHeroRank, stateCount);
  TrimTable(AttribRanks, AttribRankCount, kDefaultHeroRank, attribCount);
}
