// The arithmetic of battle with scripted random numbers at the edges.

#include "PartyFixture.h"

#include "battle/LGD_BattleRules.h"

namespace {

class BattleRules : public PartyFixture {
protected:
  // Hero 1 with every parameter `heroValue` in the party, and a troop of enemy 1.
  void SetUpSides(int heroValue, int enemyValue) {
    Hero(1, heroValue);
    Enemy(1, enemyValue);
    StartGame();
    party.AddMember(1);
    Troop({1});
    system.SceneId = scBattle;
  }
  TKelgPlayerItem& hero() { return heroes.ById(1); }
  TKelgMonsterItem& enemy(int index = 0) { return troop.Monster(index); }
};

// ---- Hit and critical ----

struct MissCase {
  const char* name;
  int attackerAgility, targetAgility;
  bool targetEvasionArmour, targetStunned, attackerOftenMisses;
  double miss;
};

TEST_F(BattleRules, MissPercentOfAnEnemyAttackOnAHero) {
  const MissCase cases[] = {
      {"equal agility", 50, 50, false, false, false, 10},
      {"target twice as quick", 50, 100, false, false, false, 15},
      {"target half as quick", 100, 50, false, false, false, 7.5},
      {"raised evasion", 50, 50, true, false, false, 35},
      {"often misses", 50, 50, false, false, true, 30},
      {"target cannot act", 50, 100, true, true, false, 0},
  };
  for (const MissCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUpSides(c.targetAgility, c.attackerAgility);
    db.KelMonster.Get(1).OftenMisses = c.attackerOftenMisses ? 1 : 0;
    Item(1, itArmor).RaiseEvasion = c.targetEvasionArmour ? 1 : 0;
    hero().SetEquipment(2, 1);
    State(1).Restriction = 1;
    if (c.targetStunned) hero().AddState(1);
    EXPECT_DOUBLE_EQ(AttackMissPercent(enemy(), hero()), c.miss);
  }
}

TEST_F(BattleRules, UnarmedHeroMissesTenPercentAndTheDrawDecidesAtTheEdge) {
  SetUpSides(50, 50);
  EXPECT_DOUBLE_EQ(AttackMissPercent(hero(), enemy()), 10);
  random.Script({999, 1000});
  EXPECT_FALSE(AttackHits(hero(), enemy(), random));
  EXPECT_TRUE(AttackHits(hero(), enemy(), random));

  Item(1, itWeapon).HitRate = 80;
  hero().SetEquipment(0, 1);
  EXPECT_DOUBLE_EQ(AttackMissPercent(hero(), enemy()), 20);
}

TEST_F(BattleRules, HalvedAgilityOfZeroDoesNotDivideByZero) {
  SetUpSides(2, 1);
  State(1).HalveAgility = 1;
  enemy().AddState(1);
  ASSERT_EQ(enemy().GetAgility(), 0);
  // Counted as 1: the hero at agility 2 evades as if twice as quick.
  EXPECT_DOUBLE_EQ(AttackMissPercent(enemy(), hero()), 15);
}

TEST_F(BattleRules, HitRateLimitOfAStateLowersTheHitRate) {
  SetUpSides(50, 50);
  State(1).HitRateLimit = 50;
  hero().AddState(1);
  EXPECT_DOUBLE_EQ(AttackMissPercent(hero(), enemy()), 55);  // 100 - 90 * 50 div 100
}

TEST_F(BattleRules, CriticalChanceThirtyHitsThreeHundredThirtyFourOfTenThousand) {
  SetUpSides(50, 50);
  db.KelPlayer.Get(1).CriticalChance = 30;
  std::vector<int> all(10000);
  for (int i = 0; i < 10000; ++i) all[static_cast<std::size_t>(i)] = i;
  random.Script(all);
  int criticals = 0;
  for (int i = 0; i < 10000; ++i) criticals += IsCriticalHit(hero(), enemy(), random) ? 1 : 0;
  EXPECT_EQ(criticals, 334);
}

TEST_F(BattleRules, NoCriticalWithoutChanceOnOwnSideOrAgainstProtection) {
  SetUpSides(50, 50);
  db.KelPlayer.Get(1).CriticalChance = 0;
  random.Script({0});
  EXPECT_FALSE(IsCriticalHit(hero(), enemy(), random));

  db.KelPlayer.Get(1).CriticalChance = 1;
  EXPECT_DOUBLE_EQ(CriticalPercent(hero(), enemy()), 100);
  Hero(2);
  heroes.Reset();
  EXPECT_DOUBLE_EQ(CriticalPercent(heroes.ById(1), heroes.ById(2)), 0);

  db.KelMonster.Get(1).CanCritical = 1;
  db.KelMonster.Get(1).CriticalChance = 4;
  EXPECT_DOUBLE_EQ(CriticalPercent(enemy(), heroes.ById(1)), 25);
  Item(1, itHelmet).PreventCritical = 1;
  heroes.ById(1).SetEquipment(3, 1);
  EXPECT_DOUBLE_EQ(CriticalPercent(enemy(), heroes.ById(1)), 0);
}

// ---- Damage ----

TEST_F(BattleRules, AttackDamageWithVarianceBoundsCriticalAndCharge) {
  SetUpSides(100, 40);
  EXPECT_EQ(hero().AttackDamage(enemy()), 40);  // 100 div 2 - 40 div 4

  random.Script({0, 16});
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), false, random), 32);
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), false, random), 48);

  random.Script({0, 48});
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), true, random), 96);
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), true, random), 144);

  hero().Charged = 1;
  random.Script({32});
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), false, random), 96);  // 80 + 32 - 16
  EXPECT_EQ(hero().Charged, 0);
}

TEST_F(BattleRules, DefenceAboveAttackGivesNoDamageButTheVarianceStillDraws) {
  SetUpSides(10, 200);
  EXPECT_EQ(hero().AttackDamage(enemy()), 0);
  random.Script({1});
  EXPECT_EQ(FinalAttackDamage(hero(), enemy(), false, random), 1);  // K = 1: 0 + 1 - 0
}

TEST_F(BattleRules, AttributeRatesByRankAndShift) {
  SetUpSides(100, 40);  // 40 before the rate
  Attrib(1, 0);
  Item(1, itWeapon).AttribCount = 1;
  db.KelItem.Get(1).Attribs = {1};
  hero().SetEquipment(0, 1);
  TKelMonsterItem& record = db.KelMonster.Get(1);
  const int expected[] = {80, 60, 40, 20, 0};
  for (int rank = 0; rank < 5; ++rank) {
    SetTable(record.AttribRanks, record.AttribRankCount, 1, static_cast<std::uint8_t>(rank), 2);
    EXPECT_EQ(hero().AttackDamage(enemy()), expected[rank]) << "rank " << rank;
  }
  SetTable(record.AttribRanks, record.AttribRankCount, 1, 9, 2);  // not a rank: C
  EXPECT_EQ(hero().AttackDamage(enemy()), 40);

  // From C, raising the defence moves towards E, lowering towards A, one step each way.
  SetTable(record.AttribRanks, record.AttribRankCount, 1, 2, 2);
  EXPECT_TRUE(enemy().RaiseAttribDefense(1));
  EXPECT_EQ(enemy().GetEffectiveAttribRank(1), 3);
  EXPECT_EQ(hero().AttackDamage(enemy()), 20);
  EXPECT_FALSE(enemy().RaiseAttribDefense(1));
  EXPECT_TRUE(enemy().LowerAttribDefense(1));
  EXPECT_TRUE(enemy().LowerAttribDefense(1));
  EXPECT_EQ(hero().AttackDamage(enemy()), 60);
  EXPECT_FALSE(enemy().LowerAttribDefense(1));
  enemy().EndBattleCleanup();
  EXPECT_EQ(enemy().GetEffectiveAttribRank(1), 2);

  // The ends of the scale cannot be passed.
  SetTable(record.AttribRanks, record.AttribRankCount, 1, 4, 2);
  EXPECT_FALSE(enemy().RaiseAttribDefense(1));
  SetTable(record.AttribRanks, record.AttribRankCount, 1, 0, 2);
  EXPECT_FALSE(enemy().LowerAttribDefense(1));
}

TEST_F(BattleRules, PhysicalTakesTheLargestRateAndMagicalMultipliesAfter) {
  SetUpSides(100, 40);
  Attrib(1, 0, {100, 100, 50, 100, 100});
  Attrib(2, 0, {100, 100, 150, 100, 100});
  Attrib(3, 1, {100, 100, 200, 100, 100});
  TKelItemItem& weapon = Item(1, itWeapon);
  weapon.AttribCount = 3;
  weapon.Attribs = {1, 1, 1};
  hero().SetEquipment(0, 1);
  EXPECT_EQ(hero().AttackDamage(enemy()), 120);  // 40 x 150 % x 200 %
}

struct SkillCase {
  const char* name;
  int basePower, attackInfluence, mindInfluence;
  std::uint8_t scope, ignoreDefense;
  int variance, draw, expected;
};

TEST_F(BattleRules, SkillEffectValues) {
  const SkillCase cases[] = {
      {"base power only", 10, 0, 0, ssOneEnemy, 0, 0, 0, 10},
      {"attack influence less defence", 10, 10, 0, ssOneEnemy, 0, 0, 0, 25},    // 10 + 20 - 5
      {"mind influence less mind", 10, 0, 8, ssOneEnemy, 0, 0, 0, 16},          // 10 + 8 - 2
      {"defence ignored", 10, 10, 0, ssOneEnemy, 1, 0, 0, 30},
      {"ally scope: no defence", 10, 10, 0, ssOneAlly, 0, 0, 0, 30},
      {"never below zero", 0, 1, 0, ssAllEnemies, 0, 0, 0, 0},
      {"variance low end", 10, 10, 0, ssOneEnemy, 0, 4, 0, 20},                 // K = 10
      {"variance high end", 10, 10, 0, ssOneEnemy, 0, 4, 10, 30},
  };
  for (const SkillCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetUpSides(40, 20);
    if (std::string(c.name) == "never below zero") db.KelMonster.Get(1).Defense = 900;
    TKelSkillItem& skill = Skill(1);
    skill.BasePower = c.basePower;
    skill.AttackInfluence = c.attackInfluence;
    skill.MindInfluence = c.mindInfluence;
    skill.Scope = c.scope;
    skill.IgnoreDefense = c.ignoreDefense;
    skill.Variance = c.variance;
    if (c.variance > 0) random.Script({c.draw});
    EXPECT_EQ(hero().SkillEffectValue(skill, enemy()), c.expected);
  }
}

TEST_F(BattleRules, EvasionSkillsAreDodgedLikeAttacks) {
  SetUpSides(50, 100);  // the enemy is twice as quick
  TKelSkillItem& skill = Skill(1);
  skill.HitRate = 90;
  EXPECT_EQ(SkillHitChance(skill, hero(), enemy()), 90);
  skill.FailureMessage = 3;
  EXPECT_EQ(SkillHitChance(skill, hero(), enemy()), 85);  // miss 15
  skill.HitRate = 95;
  EXPECT_EQ(SkillHitChance(skill, hero(), enemy()), 93);  // miss 7.5 truncated to 7
  skill.Scope = ssOneAlly;
  EXPECT_EQ(SkillHitChance(skill, hero(), enemy()), 95);
}

// ---- States ----

TEST_F(BattleRules, StateInflictionByRankAndProtection) {
  SetUpSides(50, 50);
  TKelStatusItem& state = State(2);
  state.ChanceA = 100, state.ChanceB = 80, state.ChanceC = 60, state.ChanceD = 30, state.ChanceE = 0;
  State(1);
  TKelMonsterItem& record = db.KelMonster.Get(1);
  struct Case { int rank, succeedsBelow; };
  for (const Case c : {Case{0, 100}, Case{1, 80}, Case{2, 60}, Case{3, 30}, Case{4, 0}}) {
    SCOPED_TRACE(c.rank);
    SetTable(record.StateRanks, record.StateRankCount, 2, static_cast<std::uint8_t>(c.rank), 1);
    enemy().RemoveState(2);
    if (c.succeedsBelow < 100) {
      random.Script({c.succeedsBelow});
      EXPECT_FALSE(TryInflictState(enemy(), 2, 100, random));
    }
    if (c.succeedsBelow > 0) {
      random.Script({c.succeedsBelow - 1});
      EXPECT_TRUE(TryInflictState(enemy(), 2, 100, random));
    }
  }
  // Already afflicted: nothing is drawn.
  enemy().AddState(2);
  random.Script({0});
  EXPECT_FALSE(TryInflictState(enemy(), 2, 100, random));
  EXPECT_TRUE(random.HasScripted());
  random.Next(100);

  // Armour protection halves the chance of a hero at rank A.
  TKelPlayerItem& heroRecord = db.KelPlayer.Get(1);
  SetTable(heroRecord.StateRanks, heroRecord.StateRankCount, 2, 0, 2);
  TKelItemItem& armour = Item(1, itArmor);
  armour.StateCount = 2;
  armour.States = {0, 1};
  armour.StateChance = 50;
  hero().SetEquipment(2, 1);
  random.Script({50, 49});
  EXPECT_FALSE(TryInflictState(hero(), 2, 100, random));
  EXPECT_TRUE(TryInflictState(hero(), 2, 100, random));
}

TEST_F(BattleRules, WeaponStatesFollowASurvivingHit) {
  SetUpSides(50, 50);
  State(1);
  State(2).ChanceC = 100;
  TKelItemItem& weapon = Item(1, itWeapon);
  weapon.StateCount = 2;
  weapon.States = {0, 1};
  weapon.StateChance = 40;
  hero().SetEquipment(0, 1);
  SetTable(db.KelMonster.Get(1).StateRanks, db.KelMonster.Get(1).StateRankCount, 2, 2, 1);
  random.Script({39});
  InflictAttackStates(hero(), enemy(), random);
  EXPECT_TRUE(enemy().HasState(2));

  enemy().RemoveState(2);
  enemy().HP = 0;
  random.Script({0});
  InflictAttackStates(hero(), enemy(), random);
  EXPECT_FALSE(enemy().HasState(2));
}

TEST_F(BattleRules, AStateTenPrioritiesAboveRemovesTheLowerOnes) {
  SetUpSides(50, 50);
  State(1, 100);
  State(2, 70);
  State(3, 80);
  State(4, 75);
  enemy().AddState(2);
  enemy().AddState(4);
  enemy().AddState(3);
  EXPECT_FALSE(enemy().HasState(2));
  EXPECT_TRUE(enemy().HasState(4));
  EXPECT_EQ(enemy().GetTopState(), 3);
  // A state far below the others does not even stay.
  State(5, 60);
  enemy().AddState(5);
  EXPECT_FALSE(enemy().HasState(5));
  // Death clears everything ten below it, and its removal leaves 1 HP.
  enemy().AddState(1);
  EXPECT_EQ(enemy().HP, 0);
  EXPECT_FALSE(enemy().HasState(3));
  enemy().RemoveState(1);
  EXPECT_EQ(enemy().HP, 1);
}

TEST_F(BattleRules, TopStateOnEqualPriorityIsTheHigherNumber) {
  SetUpSides(50, 50);
  State(1, 50);
  State(2, 50);
  enemy().AddState(2);
  enemy().AddState(1);
  EXPECT_EQ(enemy().GetTopState(), 2);
}

TEST_F(BattleRules, TurnEffectsRecoverAfterTheMinimumTurnsAndHurtWithoutKilling) {
  SetUpSides(50, 50);
  TKelStatusItem& state = State(1);
  state.MinTurns = 2;
  state.RecoveryChance = 100;
  state.ContinueMessage = "still asleep";
  enemy().AddState(1);
  for (int turn = 1; turn <= 2; ++turn) {
    const TKelgTurnEffect effect = enemy().ApplyTurnEffects();
    EXPECT_TRUE(enemy().HasState(1)) << "turn " << turn;
    EXPECT_EQ(effect.ContinuingTopState, 1);
  }
  EXPECT_FALSE(random.HasScripted());
  random.Script({99});
  const TKelgTurnEffect third = enemy().ApplyTurnEffects();
  EXPECT_FALSE(enemy().HasState(1));
  EXPECT_EQ(third.RecoveredTopState, 1);

  TKelStatusItem& poison = State(2);
  poison.TurnHpPercent = 10;
  poison.TurnHpAmount = 5;
  poison.TurnMpAmount = -7;
  enemy().AddState(2);
  enemy().HP = 30;
  enemy().MP = 10;
  enemy().ApplyTurnEffects();
  EXPECT_EQ(enemy().HP, 20);  // 50 x 10 % + 5
  EXPECT_EQ(enemy().MP, 17);  // a negative loss heals
  enemy().HP = 3;
  enemy().ApplyTurnEffects();
  EXPECT_EQ(enemy().HP, 1);
  EXPECT_EQ(enemy().GetStateTurns(2), 3);
}

TEST_F(BattleRules, SkillLimitsOfStatesAndHalfCost) {
  SetUpSides(50, 50);
  TKelStatusItem& state = State(1);
  state.LimitAttackSkills = 1;
  state.AttackSkillLimit = 5;
  Skill(1).AttackInfluence = 5;
  Skill(2).AttackInfluence = 4;
  hero().AddState(1);
  EXPECT_FALSE(hero().CanUseSkill(1));
  EXPECT_TRUE(hero().CanUseSkill(2));

  Skill(3).MpCost = 51;
  EXPECT_FALSE(hero().CanUseSkill(3));
  Item(1, itAccessory).HalfMpCost = 1;
  hero().SetEquipment(4, 1);
  EXPECT_TRUE(hero().CanUseSkill(3));  // (51 + 1) div 2
  EXPECT_FALSE(hero().CanUseSkill(0));
}

TEST_F(BattleRules, WeaponAttributeSkillsNeedTheWeapon) {
  SetUpSides(50, 50);
  Attrib(1, 0);
  TKelSkillItem& skill = Skill(1);
  skill.AttribCount = 1;
  skill.Attribs = {1};
  EXPECT_FALSE(hero().CanUseSkill(1));
  TKelItemItem& sword = Item(1, itWeapon);
  sword.AttribCount = 1;
  sword.Attribs = {1};
  hero().SetEquipment(0, 1);
  EXPECT_TRUE(hero().CanUseSkill(1));
  EXPECT_TRUE(enemy().CanUseSkill(1));  // enemies have no weapons to need
}

TEST_F(BattleRules, HitPointsMagicPointsAndBattleChanges) {
  SetUpSides(50, 0);
  EXPECT_EQ(enemy().HpPercent(), 0);  // a maximum of 0 reads as 0 %
  EXPECT_EQ(enemy().MpPercent(), 0);

  TKelgPlayerItem& h = hero();
  h.HP = 10;
  EXPECT_EQ(h.TakeDamage(30, false), 9);
  EXPECT_EQ(h.HP, 1);
  State(1);
  EXPECT_EQ(h.TakeDamage(30, true), 1);
  EXPECT_TRUE(h.HasState(1));
  EXPECT_EQ(h.AddHp(100), 0);  // the dead are not healed
  h.RemoveState(1);
  EXPECT_EQ(h.AddHp(1000), 49);

  EXPECT_EQ(h.ChangeBattleParameter(bpAttack, 80), 50);
  EXPECT_EQ(h.GetAttack(), 100);
  EXPECT_EQ(h.ChangeBattleParameter(bpAttack, -500), -75);
  EXPECT_EQ(h.GetAttack(), 25);
}

TEST_F(BattleRules, InitiativeAddsAgilityAndFirstStrike) {
  SetUpSides(40, 40);
  random.Script({12});
  hero().RollInitiative();
  EXPECT_EQ(hero().Initiative, 52);  // random(40 div 4 + 3) at its top
  Item(1, itWeapon).FirstStrike = 1;
  hero().SetEquipment(0, 1);
  hero().Action.Kind = akBasic;
  hero().Action.Basic = baAttack;
  random.Script({0});
  hero().RollInitiative();
  EXPECT_EQ(hero().Initiative, 40 + 9999);
}

// ---- Escape ----

TEST(EscapeChance, FromTheAverageAgilities) {
  struct Case { int troop, party, chance; };
  for (const Case c : {Case{50, 50, 50}, Case{100, 50, 0}, Case{25, 50, 100}, Case{60, 50, 30},
                       Case{101, 200, 100}, Case{103, 200, 98}, Case{50, 0, 0}}) {
    EXPECT_EQ(EscapeChance(c.troop, c.party), c.chance) << c.troop << " / " << c.party;
  }
}

// ---- Enemies ----

TEST_F(BattleRules, EnemyActionsWeighWithinNineOfTheBest) {
  SetUpSides(50, 50);
  TKelMonsterItem& record = db.KelMonster.Get(1);
  struct Act { std::uint8_t basic; int rating; };
  for (const Act act : {Act{baDefend, 9}, Act{baObserve, 5}, Act{baNothing, 1}, Act{baCharge, 0}}) {
    TKelMonsterActItem& item = record.Actions.Add();
    item.BasicAction = act.basic;
    item.Rating = act.rating;
  }
  // Weights 10, 6 and 2: draws 0..9, 10..15 and 16..17.
  struct Draw { int value; std::uint8_t basic; };
  for (const Draw d : {Draw{0, baDefend}, Draw{9, baDefend}, Draw{10, baObserve}, Draw{15, baObserve},
                       Draw{16, baNothing}, Draw{17, baNothing}, Draw{99, baNothing}}) {
    random.Script({d.value});
    enemy().ChooseAction();
    EXPECT_EQ(enemy().Action.Kind, akBasic);
    EXPECT_EQ(enemy().Action.Basic, d.basic) << "draw " << d.value;
  }

  // A condition that fails, or a skill it cannot pay for, weighs nothing.
  record.Actions.ItemAt(0)->Condition = 1;
  record.Actions.ItemAt(0)->ConditionSwitch = 3;
  record.Actions.ItemAt(1)->ActKind = 1;
  record.Actions.ItemAt(1)->SkillId = 1;
  Skill(1).MpCost = 99;
  random.Script({0});
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.Basic, baNothing);
  system.SetSwitch(3, 1);
  random.Script({0});
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.Basic, baDefend);
}

TEST_F(BattleRules, EnemyAttackPicksALivingHeroOrNothing) {
  SetUpSides(50, 50);
  Hero(2);
  heroes.Reset();
  party.AddMember(2);
  State(1);
  TKelMonsterActItem& attack = db.KelMonster.Get(1).Actions.Add();
  attack.BasicAction = baAttack;
  heroes.ById(1).AddState(1);
  random.Script({0, 0, 0, 1});  // the action, then targets until a living one
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.TargetKind, tkHero);
  EXPECT_EQ(enemy().Action.TargetIndex, 1);

  heroes.ById(2).AddState(1);
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.Kind, akNone);
  enemy().Charged = 1;
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.Kind, akNone);
}

TEST_F(BattleRules, EnemyHealsOnlyWhenSomeoneNeedsIt) {
  SetUpSides(50, 50);
  TKelSkillItem& heal = Skill(1);
  heal.Scope = ssOneAlly;
  State(1);
  TKelMonsterActItem& act = db.KelMonster.Get(1).Actions.Add();
  act.ActKind = 1;
  act.SkillId = 1;
  Troop({1, 1});
  enemy().ChooseAction();
  EXPECT_EQ(enemy().Action.Kind, akNone);  // the skill changes nothing for anyone

  heal.AffectsHp = 1;
  enemy(0).AddState(1);  // the dead are no use to heal
  random.Script({0, 0, 0, 1});
  enemy(1).ChooseAction();
  EXPECT_EQ(enemy(1).Action.Kind, akSkill);
  EXPECT_EQ(enemy(1).Action.TargetKind, tkEnemy);
  EXPECT_EQ(enemy(1).Action.TargetIndex, 1);
}

TEST_F(BattleRules, TransformationCutsHpRaisesMpAndFlashes) {
  SetUpSides(50, 100);
  TKelMonsterItem& small = Enemy(2, 50);
  small.MaxMp = 80;
  enemy().MP = 10;
  enemy().Transform(2);
  EXPECT_EQ(enemy().HP, 50);
  EXPECT_EQ(enemy().MP, 80);
  EXPECT_EQ(enemy().FlashFrames, 20);
  enemy().UpdateEffects();
  EXPECT_EQ(enemy().FlashFrames, 19);
  EXPECT_DOUBLE_EQ(enemy().FlashStrength, 31 - 31 / 20.0);
  EXPECT_THROW(enemy().Transform(9), EKelInvalid);
}

TEST_F(BattleRules, TroopSetupHidesMembersAndOrdersTheDrawing) {
  Enemy(1);
  StartGame();
  TKelMonGroupItem& group = db.KelMonGroup.Get(1);
  for (int y : {120, 100, 120}) {
    TKelMonGroupMonsterItem& member = group.Members.Add();
    member.Y = y;
  }
  group.Members.ItemAt(1)->Hidden = 1;
  troop.SetupTroop(1);
  EXPECT_EQ(troop.LivingCount(), 2);
  EXPECT_EQ(troop.Monster(1).Present, 0);
  EXPECT_THROW(troop.Monster(3), EKelInvalid);

  troop.Monster(0).StartBurst();
  const std::vector<TMonsterOrder> order = troop.DrawOrder();
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0].Index, 2);  // bursting ones come last
  EXPECT_EQ(order[1].Index, 0);
}

}  // namespace
