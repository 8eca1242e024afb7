#include "data/LD_Monster.h"

void TKelMonsterActItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Fixed("ActKind", &ActKind, 1); break;
    case 2: v.Fixed("BasicAction", &BasicAction, 1); break;
    case 3: v.Number("SkillId", &SkillId, 1); break;
    case 4: v.Number("TransformInto", &TransformInto, 1); break;
    case 5: v.Fixed("Condition", &Condition, 1); break;
    case 6: v.Number("ConditionA", &ConditionA, 0); break;
    case 7: v.Number("ConditionB", &ConditionB, 0); break;
    case 8: v.Number("ConditionSwitch", &ConditionSwitch, 1); break;
    case 9: v.Byte("SwitchOnAfter", &SwitchOnAfter, 0); break;
    case 10: v.Number("SwitchOnId", &SwitchOnId, 1); break;
    case 11: v.Byte("SwitchOffAfter", &SwitchOffAfter, 0); break;
    case 12: v.Number("SwitchOffId", &SwitchOffId, 1); break;
    case 13: v.Number("Rating", &Rating, 50); break;
    default: break;
  }
}

void TKelMonsterActItem::Clear() {
  TCatalogItem::Clear();
  ActKind = BasicAction = Condition = 0;
  SkillId = TransformInto = ConditionSwitch = 1;
  ConditionA = ConditionB = 0;
  SwitchOnAfter = SwitchOffAfter = 0;
  SwitchOnId = SwitchOffId = 1;
  Rating = 50;
}

bool TurnConditionHolds(std::int32_t a, std::int32_t b, std::int32_t turn) {
  if (a == 0) return turn == b;
  // 64-bit remainders: b mod a with a = -1 would trap in 32 bits.
  return a > 0 && turn >= b && static_cast<std::int64_t>(turn) % a == static_cast<std::int64_t>(b) % a;
}

void TKelMonsterItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("GraphicName", &GraphicName, true); break;
    case 3: v.Number("Hue", &Hue, 0); break;
    case 4: v.Number("MaxHp", &MaxHp, 10); break;
    case 5: v.Number("MaxMp", &MaxMp, 10); break;
    case 6: v.Number("Attack", &Attack, 10); break;
    case 7: v.Number("Defense", &Defense, 10); break;
    case 8: v.Number("Mind", &Mind, 10); break;
    case 9: v.Number("Agility", &Agility, 10); break;
    case 10: v.Byte("Translucent", &Translucent, 0); break;
    case 11: v.Number("Exp", &Exp, 0); break;
    case 12: v.Number("Gold", &Gold, 0); break;
    case 13: v.Number("DropItem", &DropItem, 0); break;
    case 14: v.Number("DropChance", &DropChance, 100); break;
    case 21: v.Byte("CanCritical", &CanCritical, 0); break;
    case 22: v.Number("CriticalChance", &CriticalChance, 30); break;
    case 26: v.Byte("OftenMisses", &OftenMisses, 0); break;
    case 28: v.Byte("ExtraFlag", &ExtraFlag, 0); break;
    case 31: v.Number("StateRankCount", &StateRankCount, 0); break;
    case 32: v.Buffer("StateRanks", &StateRanks); break;
    case 33: v.Number("AttribRankCount", &AttribRankCount, 0); break;
    case 34: v.Buffer("AttribRanks", &AttribRanks); break;
    case 42: v.List("Actions", &Actions); break;
    default: break;
  }
}

void TKelMonsterItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  GraphicName.clear();
  Hue = 0;
  MaxHp = MaxMp = Attack = Defense = Mind = Agility = 10;
  Translucent = 0;
  Exp = Gold = DropItem = 0;
  DropChance = 100;
  CanCritical = 0;
  CriticalChance = 30;
  OftenMisses = 0;
  ExtraFlag = 0;
  StateRankCount = 0;
  StateRanks.clear();
  AttribRankCount = 0;
  AttribRanks.clear();
  Actions.Clear();
  Actions.Add();
}

void TKelMonsterItem::TrimTables(int stateCount, int attribCount) {
  TrimTable(StateRanks, StateRankCount, kDefaultEnemyStateRank, stateCount);
  TrimTable(AttribRanks, AttribRankCount, kDefaultEnemyAttribRank, attribCount);
}
