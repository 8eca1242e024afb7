#include "data/LD_Event.h"

void TKelEventCondition::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Fixed("Flags", &Flags, 1); break;
    case 2: v.Number("SwitchA", &SwitchA, 1); break;
    case 3: v.Number("SwitchB", &SwitchB, 1); break;
    case 4: v.Number("VariableId", &VariableId, 1); break;
    case 5: v.Number("VariableValue", &VariableValue, 0); break;
    case 6: v.Number("ItemId", &ItemId, 1); break;
    // Left out when 0 although Clear sets 1: a hero id of 0 reads back as 1.
    case 7: v.Number("HeroId", &HeroId, 0); break;
    case 8: v.Number("TimerSeconds", &TimerSeconds, 0); break;
    default: break;
  }
}

void TKelEventCondition::Clear() {
  TCatalogBaseItem::Clear();
  Flags = 0;
  SwitchA = SwitchB = VariableId = ItemId = HeroId = 1;
  VariableValue = 0;
  TimerSeconds = 0;
}

void TKelEventPageItem::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 2: v.Record("Condition", &Condition); break;
    case 21: v.String("CharSetName", &CharSetName, true); break;
    case 22: v.Number("CharSetIndex", &CharSetIndex, 0); break;
    case 23: v.Fixed("Direction", &Direction, 1); break;
    case 24: v.Number("Pattern", &Pattern, 1); break;
    case 25: v.Fixed("Translucent", &Translucent, 1); break;
    case 31: v.Fixed("MoveType", &MoveType, 1); break;
    case 32: v.Number("MoveFrequency", &MoveFrequency, 3); break;
    case 33: v.Fixed("Trigger", &Trigger, 1); break;
    case 34: v.Fixed("Layer", &Layer, 1); break;
    case 35: v.Fixed("NoOverlap", &NoOverlap, 1); break;
    case 36: v.Fixed("AnimType", &AnimType, 1); break;
    case 37: v.Number("MoveSpeed", &MoveSpeed, 3); break;
    case 41: v.Record("MoveRoute", &MoveRoute); break;
    case 51: DescribeScript(v, true, loading); break;
    case 52: DescribeScript(v, false, loading); break;
    default: break;
  }
}

void TKelEventPageItem::Clear() {
  TKelBaseEventPageItem::Clear();
  Condition.Clear();
  CharSetName.clear();
  CharSetIndex = 0;
  Direction = 2;
  Pattern = 1;
  Translucent = 0;
  MoveType = 0;
  MoveFrequency = 3;
  Trigger = 0;
  Layer = 0;
  NoOverlap = 0;
  AnimType = 0;
  MoveSpeed = 3;
  MoveRoute.Clear();
}

void TKelEventItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.Number("X", &X, 0); break;
    case 3: v.Number("Y", &Y, 0); break;
    case 5: v.List("Pages", &Pages); break;
    default: break;
  }
}

void TKelEventItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  X = Y = 0;
  Pages.Clear();
  Pages.Add();
}
