#include "data/LD_Item.h"

void TKelItemItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("Description", &Description, true); break;
    case 3: v.Fixed("ItemType", &ItemType, 1); break;
    case 5: v.Number("Price", &Price, 0); break;
    case 6: v.Number("Uses", &Uses, 1); break;
    case 11: v.Number("AttackBonus", &AttackBonus, 0); break;
    case 12: v.Number("DefenseBonus", &DefenseBonus, 0); break;
    case 13: v.Number("MindBonus", &MindBonus, 0); break;
    case 14: v.Number("AgilityBonus", &AgilityBonus, 0); break;
    case 15: v.Fixed("TwoHanded", &TwoHanded, 1); break;
    case 16: v.Number("AttackMpCost", &AttackMpCost, 0); break;
    case 17: v.Number("HitRate", &HitRate, 90); break;
    case 18: v.Number("CriticalBonus", &CriticalBonus, 0); break;
    case 20: v.Number("Animation", &Animation, 1); break;
    case 21: v.Byte("FirstStrike", &FirstStrike, 0); break;
    case 22: v.Byte("DoubleAttack", &DoubleAttack, 0); break;
    case 23: v.Byte("AttackAll", &AttackAll, 0); break;
    case 24: v.Byte("IgnoreEvasion", &IgnoreEvasion, 0); break;
    case 25: v.Byte("PreventCritical", &PreventCritical, 0); break;
    case 26: v.Byte("RaiseEvasion", &RaiseEvasion, 0); break;
    case 27: v.Byte("HalfMpCost", &HalfMpCost, 0); break;
    case 28: v.Byte("NoTerrainDamage", &NoTerrainDamage, 0); break;
    case 31: v.Fixed("WholeParty", &WholeParty, 1); break;
    case 32: v.Number("HpPercent", &HpPercent, 0); break;
    case 33: v.Number("HpAmount", &HpAmount, 0); break;
    case 34: v.Number("MpPercent", &MpPercent, 0); break;
    case 35: v.Number("MpAmount", &MpAmount, 0); break;
    case 37: v.Byte("FieldOnly", &FieldOnly, 0); break;
    case 38: v.Byte("DeadOnly", &DeadOnly, 0); break;
    case 41: v.Number("SeedMaxHp", &SeedMaxHp, 0); break;
    case 42: v.Number("SeedMaxMp", &SeedMaxMp, 0); break;
    case 43: v.Number("SeedAttack", &SeedAttack, 0); break;
    case 44: v.Number("SeedDefense", &SeedDefense, 0); break;
    case 45: v.Number("SeedMind", &SeedMind, 0); break;
    case 46: v.Number("SeedAgility", &SeedAgility, 0); break;
    case 51: v.Fixed("UseSkillMessage", &UseSkillMessage, 1); break;
    case 53: v.Number("SkillId", &SkillId, 1); break;
    case 55: v.Number("SwitchId", &SwitchId, 1); break;
    case 57: v.Byte("SwitchOnField", &SwitchOnField, 1); break;
    case 58: v.Byte("SwitchInBattle", &SwitchInBattle, 0); break;
    case 61: v.Number("HeroCount", &HeroCount, 0); break;
    case 62: v.Buffer("HeroUsable", &HeroUsable); break;
    case 63: v.Number("StateCount", &StateCount, 0); break;
    case 64: v.Buffer("States", &States); break;
    case 65: v.Number("AttribCount", &AttribCount, 0); break;
    case 66: v.Buffer("Attribs", &Attribs); break;
    case 67: v.Number("StateChance", &StateChance, 0); break;
    default: break;
  }
}

void TKelItemItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  Description.clear();
  ItemType = 0;
  Price = 0;
  Uses = 1;
  AttackBonus = DefenseBonus = MindBonus = AgilityBonus = 0;
  TwoHanded = 0;
  AttackMpCost = 0;
  HitRate = 90;
  CriticalBonus = 0;
  Animation = 1;
  FirstStrike = DoubleAttack = AttackAll = IgnoreEvasion = 0;
  PreventCritical = RaiseEvasion = HalfMpCost = NoTerrainDamage = 0;
  WholeParty = 0;
  HpPercent = HpAmount = MpPercent = MpAmount = 0;
  FieldOnly = DeadOnly = 0;
  SeedMaxHp = SeedMaxMp = SeedAttack = SeedDefense = SeedMind = SeedAgility = 0;
  UseSkillMessage = 0;
  SkillId = 1;
  SwitchId = 1;
  SwitchOnField = 1;
  SwitchInBattle = 0;
  HeroCount = 0;
  HeroUsable.clear();
  StateCount = 0;
  States.clear();
  AttribCount = 0;
  Attribs.clear();
  StateChance = 0;
}

int TKelItemItem::EquipSlot() const {
  if (ItemType >= itWeapon && ItemType <= itAccessory) return ItemType - itWeapon;
  return -1;
}

void TKelItemItem::TrimTables(int stateCount, int attribCount) {
  TrimTable(States, StateCount, 0, stateCount);
  TrimTable(Attribs, AttribCount, 0, attribCount);
}
