// Choices a battler makes or is allowed: the hero's automatic action, skill
// usability by scene, and what a battle leaves behind.

#include "PartyFixture.h"

namespace {

class Choices : public PartyFixture {
protected:
  // Heroes 1 and 2 in the party against one sturdy enemy.
  void SetUpBattle() {
    Hero(1);
    Hero(2);
    Enemy(1).Defense = 999;  // the hero's attack does no damage
    StartGame();
    party.AddMember(1);
    party.AddMember(2);
    Troop({1});
    system.SceneId = scBattle;
  }
  TKelgPlayerItem& hero(int id = 1) { return heroes.ById(id); }
  TKelSkillItem& Heal() {
    TKelSkillItem& heal = Skill(1);
    heal.Scope = ssOneAlly;
    heal.AffectsHp = 1;
    heal.BasePower = 49;
    return heal;
  }
};

TEST_F(Choices, AutomaticHeroHealsWhenHealingOutweighsTheAttack) {
  SetUpBattle();
  Heal();
  hero(1).LearnSkill(1);
  hero(2).HP = 1;
  // Heal on hero 2: 49 / 50 = 0.98 (+ draw); attack: 0 damage on the first
  // living enemy is 0.5, then draw / 100 + 0.5 x 1.5.
  random.Script({0, 0});
  hero(1).ChooseAction();
  EXPECT_EQ(hero(1).Action.Kind, akSkill);
  EXPECT_EQ(hero(1).Action.SkillId, 1);
  EXPECT_EQ(hero(1).Action.TargetKind, tkHero);
  EXPECT_EQ(hero(1).Action.TargetIndex, 1);

  random.Script({0, 99});  // the attack now weighs 1.74
  hero(1).ChooseAction();
  EXPECT_EQ(hero(1).Action.Kind, akBasic);
  EXPECT_EQ(hero(1).Action.TargetKind, tkEnemy);
  EXPECT_EQ(hero(1).Action.TargetIndex, 0);
}

TEST_F(Choices, AutomaticHeroAttacksTheWholeTroopWithSuchAWeapon) {
  SetUpBattle();
  Item(1, itWeapon).AttackAll = 1;
  hero(1).SetEquipment(0, 1);
  hero(1).ChooseAction();
  EXPECT_EQ(hero(1).Action.Kind, akBasic);
  EXPECT_EQ(hero(1).Action.TargetKind, tkTroop);
}

TEST_F(Choices, RandomAttackStatesPickTheirTargetsAtOnce) {
  SetUpBattle();
  Troop({1, 1, 1});
  State(1);
  State(2).Restriction = 2;
  State(3).Restriction = 3;
  State(4).Restriction = 1;
  random.Script({2});
  hero(1).AddState(2);  // in battle the action is chosen on the spot
  EXPECT_EQ(hero(1).Action.Kind, akBasic);
  EXPECT_EQ(hero(1).Action.TargetKind, tkEnemy);
  EXPECT_EQ(hero(1).Action.TargetIndex, 2);
  hero(1).RemoveState(2);
  EXPECT_EQ(hero(1).Action.Kind, akNone);

  random.Script({1});
  hero(2).AddState(3);
  EXPECT_EQ(hero(2).Action.TargetKind, tkHero);
  EXPECT_EQ(hero(2).Action.TargetIndex, 1);

  random.Script({2});
  troop.Monster(0).AddState(3);
  EXPECT_EQ(troop.Monster(0).Action.TargetKind, tkEnemy);
  EXPECT_EQ(troop.Monster(0).Action.TargetIndex, 2);

  troop.Monster(1).AddState(4);
  EXPECT_EQ(troop.Monster(1).Action.Kind, akNone);
  EXPECT_FALSE(troop.Monster(1).CanAct());
  EXPECT_TRUE(troop.Monster(1).IsIncapacitated());
}

TEST_F(Choices, ASkillThatCanNoLongerBePaidIsDropped) {
  SetUpBattle();
  TKelSkillItem& blast = Skill(1);
  blast.AttackInfluence = 8;
  TKelStatusItem& weak = State(2);
  weak.LimitAttackSkills = 1;
  weak.AttackSkillLimit = 5;
  hero(1).Action.Kind = akSkill;
  hero(1).Action.SkillId = 1;
  hero(1).Charged = 1;
  hero(1).AddState(2);
  EXPECT_EQ(hero(1).Action.Kind, akNone);
  EXPECT_EQ(hero(1).Charged, 0);
}

struct MenuSkillCase {
  const char* name;
  std::uint8_t type, scope;
  bool affectsHp, curesPersistent, curesPassing;
  bool usable;
};

TEST_F(Choices, SkillsUsableFromTheMenu) {
  SetUpBattle();
  system.SceneId = scMenu;
  State(1);
  State(2).Persistence = 1;
  State(3).Persistence = 0;
  teleport.SetDestination(4, 0, 0, false, 0);
  teleport.SetEscapePoint(2, 0, 0, false, 0);
  const MenuSkillCase cases[] = {
      {"teleport", skTeleport, ssSelf, false, false, false, true},
      {"escape", skEscape, ssSelf, false, false, false, true},
      {"switch", skSwitch, ssSelf, false, false, false, true},
      {"heal one ally", skNormal, ssOneAlly, true, false, false, true},
      {"fire on an enemy", skNormal, ssOneEnemy, true, false, false, false},
      {"cure a lasting state", skNormal, ssAllAllies, false, true, false, true},
      {"cure a battle state", skNormal, ssAllAllies, false, false, true, false},
      {"does nothing", skNormal, ssSelf, false, false, false, false},
  };
  for (const MenuSkillCase& c : cases) {
    TKelSkillItem& skill = Skill(1);
    skill.SkillType = c.type;
    skill.Scope = c.scope;
    skill.AffectsHp = c.affectsHp;
    skill.StateCount = 3;
    skill.States = {0, static_cast<std::uint8_t>(c.curesPersistent), static_cast<std::uint8_t>(c.curesPassing)};
    EXPECT_EQ(hero(1).CanUseSkill(1), c.usable) << c.name;
  }

  // Teleport needs a destination and the permission, switches their setting.
  TKelSkillItem& skill = Skill(1);
  skill.SkillType = skTeleport;
  teleport.RemoveDestination(4);
  EXPECT_FALSE(hero(1).CanUseSkill(1));
  skill.SkillType = skEscape;
  system.EscapeAllowed = 0;
  EXPECT_FALSE(hero(1).CanUseSkill(1));
  skill.SkillType = skSwitch;
  skill.UsableOnField = 0;
  EXPECT_FALSE(hero(1).CanUseSkill(1));
  system.SceneId = scBattle;
  skill.UsableInBattle = 1;
  EXPECT_TRUE(hero(1).CanUseSkill(1));
  system.SceneId = scField;
  EXPECT_FALSE(hero(1).CanUseSkill(1));
}

TEST_F(Choices, BattleEndLeavesOnlyLastingStates) {
  SetUpBattle();
  State(1).Persistence = 1;      // death stays
  State(2).Persistence = 0;      // ends with the battle
  TKelStatusItem& curse = State(3);
  curse.Persistence = 1;
  curse.RecoveryChance = 10;     // lasting, but it wears off
  TKelStatusItem& scar = State(4);
  scar.Persistence = 1;
  TKelgPlayerItem& h = hero(1);
  for (int state : {2, 3, 4}) h.AddState(state);
  h.ChangeBattleParameter(bpDefense, 10);
  Attrib(1, 0);
  h.RaiseAttribDefense(1);
  h.Charged = 1;
  h.EndBattleCleanup();
  EXPECT_FALSE(h.HasState(2));
  EXPECT_FALSE(h.HasState(3));
  EXPECT_TRUE(h.HasState(4));
  EXPECT_EQ(h.BattleDefense, 0);
  EXPECT_EQ(h.AttributeShift(1), 0);
  EXPECT_EQ(h.Charged, 0);
  EXPECT_EQ(h.Action.Kind, akNone);

  h.FullRecovery();
  EXPECT_FALSE(h.HasState(4));
  EXPECT_EQ(h.HP, h.GetMaxHp());
}

TEST_F(Choices, HeroesUseItemsTheyMayHoldInTheirHands) {
  SetUpBattle();
  TKelItemItem& herb = Item(1, itMedicine);
  herb.HeroCount = 1;
  herb.HeroUsable = {0};  // medicine is for everyone anyway
  TKelItemItem& charm = Item(2, itSwitch);
  charm.SwitchInBattle = 1;
  charm.HeroCount = 1;
  charm.HeroUsable = {0};
  EXPECT_TRUE(hero(1).CanUseItem(1));
  EXPECT_FALSE(hero(1).CanUseItem(2));
  EXPECT_TRUE(hero(2).CanUseItem(2));
  EXPECT_FALSE(hero(2).CanUseItem(0));
}

}  // namespace
