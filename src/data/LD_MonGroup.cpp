#include "data/LD_MonGroup.h"

void TKelMonGroupMonsterItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Number("MonsterId", &MonsterId, 1); break;
    case 2: v.Number("X", &X, 0); break;
    case 3: v.Number("Y", &Y, 0); break;
    case 4: v.Byte("Hidden", &Hidden, 0); break;
    default: break;
  }
}

void TKelMonGroupMonsterItem::Clear() {
  TCatalogItem::Clear();
  MonsterId = 1;
  X = Y = 0;
  Hidden = 0;
}

void TKelBattleEventTrigger::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Fixed("Flags", &Flags, 1); break;
    case 2: v.Number("SwitchA", &SwitchA, 1); break;
    case 3: v.Number("SwitchB", &SwitchB, 1); break;
    case 4: v.Number("VariableId", &VariableId, 1); break;
    case 5: v.Number("VariableValue", &VariableValue, 0); break;
    case 6: v.Number("TurnA", &TurnA, 0); break;
    case 7: v.Number("TurnB", &TurnB, 0); break;
    case 8: v.Number("FatigueMin", &FatigueMin, 0); break;
    case 9: v.Number("FatigueMax", &FatigueMax, 100); break;
    case 10: v.Number("EnemyIndex", &EnemyIndex, 0); break;
    case 11: v.Number("EnemyHpMin", &EnemyHpMin, 0); break;
    case 12: v.Number("EnemyHpMax", &EnemyHpMax, 100); break;
    case 13: v.Number("HeroId", &HeroId, 1); break;
    case 14: v.Number("HeroHpMin", &HeroHpMin, 0); break;
    case 15: v.Number("HeroHpMax", &HeroHpMax, 100); break;
    default: break;
  }
}

void TKelBattleEventTrigger::Clear() {
  TCatalogBaseItem::Clear();
  Flags = 0;
  SwitchA = SwitchB = VariableId = 1;
  VariableValue = 0;
  TurnA = TurnB = 0;
  FatigueMin = 0;
  FatigueMax = 100;
  EnemyIndex = EnemyHpMin = 0;
  EnemyHpMax = 100;
  HeroId = 1;
  HeroHpMin = 0;
  HeroHpMax = 100;
}

void TKelBattleEventPageItem::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 2: v.Record("Trigger", &Trigger); break;
    case 11: DescribeScript(v, true, loading); break;
    case 12: DescribeScript(v, false, loading); break;
    default: break;
  }
}

void TKelBattleEventPageItem::Clear() {
  TKelBaseEventPageItem::Clear();
  Trigger.Clear();
}

void TKelMonGroupItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.List("Members", &Members); break;
    case 4: v.Number("TerrainCount", &TerrainCount, 0); break;
    case 5: v.Buffer("TerrainSet", &TerrainSet); break;
    case 11: v.List("Pages", &Pages); break;
    default: break;
  }
}

void TKelMonGroupItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  Members.Clear();
  TerrainCount = 0;
  TerrainSet.clear();
  Pages.Clear();
  Pages.Add();
}
