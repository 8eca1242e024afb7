#include "data/LD_Ground.h"

void TKelGroundItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.Number("StepDamage", &StepDamage, 0); break;
    case 3: v.Number("EncounterRate", &EncounterRate, 100); break;
    case 4: v.String("BattleBackground", &BattleBackground, true); break;
    case 5: v.Byte("BoatPass", &BoatPass, 0); break;
    case 6: v.Byte("ShipPass", &ShipPass, 0); break;
    case 7: v.Byte("AirshipPass", &AirshipPass, 1); break;
    case 9: v.Byte("AirshipLand", &AirshipLand, 1); break;
    case 11: v.Fixed("BushDepth", &BushDepth, 1); break;
    default: break;
  }
}

void TKelGroundItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  StepDamage = 0;
  EncounterRate = 100;
  BattleBackground.clear();
  BoatPass = ShipPass = 0;
  AirshipPass = AirshipLand = 1;
  BushDepth = 0;
}

void TKelAttribItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.Fixed("AttribKind", &AttribKind, 1); break;
    case 11: v.Number("RateA", &RateA, 300); break;
    case 12: v.Number("RateB", &RateB, 200); break;
    case 13: v.Number("RateC", &RateC, 100); break;
    case 14: v.Number("RateD", &RateD, 50); break;
    case 15: v.Number("RateE", &RateE, 0); break;
    default: break;
  }
}

void TKelAttribItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  AttribKind = 0;
  RateA = 300;
  RateB = 200;
  RateC = 100;
  RateD = 50;
  RateE = 0;
}

std::int32_t TKelAttribItem::Rate(int rank) const {
  switch (rank) {
    case 0: return RateA;
    case 1: return RateB;
    case 3: return RateD;
    case 4: return RateE;
    default: return RateC;
  }
}

void TKelStatusItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.Fixed("Persistence", &Persistence, 1); break;
    case 3: v.Number("Color", &Color, 6); break;
    case 4: v.Number("Priority", &Priority, 50); break;
    case 5: v.Fixed("Restriction", &Restriction, 1); break;
    case 11: v.Number("ChanceA", &ChanceA, 100); break;
    case 12: v.Number("ChanceB", &ChanceB, 80); break;
    case 13: v.Number("ChanceC", &ChanceC, 60); break;
    case 14: v.Number("ChanceD", &ChanceD, 30); break;
    case 15: v.Number("ChanceE", &ChanceE, 0); break;
    case 21: v.Number("MinTurns", &MinTurns, 0); break;
    case 22: v.Number("RecoveryChance", &RecoveryChance, 0); break;
    case 23: v.Number("DamageRecovery", &DamageRecovery, 0); break;
    case 31: v.Byte("HalveAttack", &HalveAttack, 0); break;
    case 32: v.Byte("HalveDefense", &HalveDefense, 0); break;
    case 33: v.Byte("HalveMind", &HalveMind, 0); break;
    case 34: v.Byte("HalveAgility", &HalveAgility, 0); break;
    case 35: v.Number("HitRateLimit", &HitRateLimit, 100); break;
    case 41: v.Byte("LimitAttackSkills", &LimitAttackSkills, 0); break;
    case 42: v.Number("AttackSkillLimit", &AttackSkillLimit, 0); break;
    case 43: v.Byte("LimitMindSkills", &LimitMindSkills, 0); break;
    case 44: v.Number("MindSkillLimit", &MindSkillLimit, 0); break;
    case 51: v.String("HeroMessage", &HeroMessage, true); break;
    case 52: v.String("EnemyMessage", &EnemyMessage, true); break;
    case 53: v.String("AlreadyMessage", &AlreadyMessage, true); break;
    case 54: v.String("ContinueMessage", &ContinueMessage, true); break;
    case 55: v.String("RecoveryMessage", &RecoveryMessage, true); break;
    case 61: v.Number("TurnHpPercent", &TurnHpPercent, 0); break;
    case 62: v.Number("TurnHpAmount", &TurnHpAmount, 0); break;
    case 63: v.Number("StepHpInterval", &StepHpInterval, 0); break;
    case 64: v.Number("StepHpAmount", &StepHpAmount, 0); break;
    case 65: v.Number("TurnMpPercent", &TurnMpPercent, 0); break;
    case 66: v.Number("TurnMpAmount", &TurnMpAmount, 0); break;
    case 67: v.Number("StepMpInterval", &StepMpInterval, 0); break;
    case 68: v.Number("StepMpAmount", &StepMpAmount, 0); break;
    default: break;
  }
}

void TKelStatusItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  Persistence = 0;
  Color = 6;
  Priority = 50;
  Restriction = 0;
  ChanceA = 100;
  ChanceB = 80;
  ChanceC = 60;
  ChanceD = 30;
  ChanceE = 0;
  MinTurns = RecoveryChance = DamageRecovery = 0;
  HalveAttack = HalveDefense = HalveMind = HalveAgility = 0;
  HitRateLimit = 100;
  LimitAttackSkills = 0;
  AttackSkillLimit = 0;
  LimitMindSkills = 0;
  MindSkillLimit = 0;
  HeroMessage.clear();
  EnemyMessage.clear();
  AlreadyMessage.clear();
  ContinueMessage.clear();
  RecoveryMessage.clear();
  TurnHpPercent = TurnHpAmount = StepHpInterval = StepHpAmount = 0;
  TurnMpPercent = TurnMpAmount = StepMpInterval = StepMpAmount = 0;
}

std::int32_t TKelStatusItem::Chance(int rank) const {
  switch (rank) {
    case 0: return ChanceA;
    case 1: return ChanceB;
    case 3: return ChanceD;
    case 4: return ChanceE;
    default: return ChanceC;
  }
}
