#include "data/LD_Skill.h"

void TKelSkillItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.String("Description", &Description, true); break;
    case 3: v.String("UseMessage1", &UseMessage1, true); break;
    case 4: v.String("UseMessage2", &UseMessage2, true); break;
    case 7: v.Number("FailureMessage", &FailureMessage, 0); break;
    case 8: v.Fixed("SkillType", &SkillType, 1); break;
    case 11: v.Number("MpCost", &MpCost, 0); break;
    case 12: v.Fixed("Scope", &Scope, 1); break;
    case 13: v.Number("SwitchId", &SwitchId, 1); break;
    case 14: v.Number("Animation", &Animation, 1); break;
    case 16: v.Record("Sound", &Sound); break;
    case 18: v.Byte("UsableOnField", &UsableOnField, 1); break;
    case 19: v.Byte("UsableInBattle", &UsableInBattle, 0); break;
    case 21: v.Number("AttackInfluence", &AttackInfluence, 0); break;
    case 22: v.Number("MindInfluence", &MindInfluence, 3); break;
    case 23: v.Number("Variance", &Variance, 4); break;
    case 24: v.Number("BasePower", &BasePower, 0); break;
    case 25: v.Number("HitRate", &HitRate, 100); break;
    case 31: v.Byte("AffectsHp", &AffectsHp, 0); break;
    case 32: v.Byte("AffectsMp", &AffectsMp, 0); break;
    case 33: v.Byte("AffectsAttack", &AffectsAttack, 0); break;
    case 34: v.Byte("AffectsDefense", &AffectsDefense, 0); break;
    case 35: v.Byte("AffectsMind", &AffectsMind, 0); break;
    case 36: v.Byte("AffectsAgility", &AffectsAgility, 0); break;
    case 37: v.Byte("Absorb", &Absorb, 0); break;
    case 38: v.Byte("IgnoreDefense", &IgnoreDefense, 0); break;
    case 41: v.Number("StateCount", &StateCount, 0); break;
    case 42: v.Buffer("States", &States); break;
    case 43: v.Number("AttribCount", &AttribCount, 0); break;
    case 44: v.Buffer("Attribs", &Attribs); break;
    case 45: v.Byte("AffectsAttribDefense", &AffectsAttribDefense, 0); break;
    default: break;
  }
}

void TKelSkillItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  Description.clear();
  UseMessage1.clear();
  UseMessage2.clear();
  FailureMessage = 0;
  SkillType = 0;
  MpCost = 0;
  Scope = 0;
  SwitchId = 1;
  Animation = 1;
  Sound.Clear();
  UsableOnField = 1;
  UsableInBattle = 0;
  AttackInfluence = 0;
  MindInfluence = 3;
  Variance = 4;
  BasePower = 0;
  HitRate = 100;
  AffectsHp = AffectsMp = AffectsAttack = AffectsDefense = AffectsMind = AffectsAgility = Absorb = IgnoreDefense = 0;
  StateCount = 0;
  States.clear();
  AttribCount = 0;
  Attribs.clear();
  AffectsAttribDefense = 0;
}

void TKelSkillItem::TrimTables(int stateCount, int attribCount) {
  TrimTable(States, StateCount, 0, stateCount);
  TrimTable(Attribs, AttribCount, 0, attribCount);
}
