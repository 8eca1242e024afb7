// Heroes: levels and experience with learned skills, equipment rules,
// parameters, overrides, step damage, the saved form and the battle test.

#include "PartyFixture.h"

#include <algorithm>
#include <limits>

#include "common/Replay.h"
#include "data/StreamUtils.h"
#include "ui/GameMessageWindow.h"

namespace {

class Heroes : public PartyFixture {
protected:
  // Hero 1 learning skill 1 at level 1, 2 at 2, 3 at 4 and 4 at 6.
  void SetUpLearner() {
    TKelPlayerItem& record = Hero(1);
    const int levels[] = {1, 2, 4, 6};
    for (int i = 0; i < 4; ++i) {
      TKelPlayerLearningItem& learning = record.Learning.Add();
      learning.Level = levels[i];
      learning.SkillId = i + 1;
      Skill(i + 1);
    }
    db.KelVocabulary.SetText(123, "Level");
    db.KelVocabulary.SetText(36, " up!");
    db.KelVocabulary.SetText(37, " learned!");
    StartGame();
  }
  TKelgPlayerItem& hero(int id = 1) { return heroes.ById(id); }
  const TKelPlayerItem& record(int id = 1) { return db.KelPlayer.ById(id); }
};

TEST_F(Heroes, AddExpClimbsSeveralLevelsLearningAndAnnouncing) {
  SetUpLearner();
  EXPECT_EQ(hero().Level, 1);
  EXPECT_EQ(hero().Skills, (std::vector<std::int32_t>{1}));

  hero().AddExp(record().ExpForLevel(4) - 1, true);
  EXPECT_EQ(hero().Level, 3);
  hero().AddExp(1, true);
  EXPECT_EQ(hero().Level, 4);
  EXPECT_EQ(hero().Skills, (std::vector<std::int32_t>{1, 2, 3}));
  const std::vector<std::string> expected = {
      "Hero1= Level\x01" "3\x01 up!", "Skill2 learned!", "",
      "Hero1= Level\x01" "4\x01 up!", "Skill3 learned!", "",
  };
  EXPECT_EQ(messages.Lines, expected);

  messages.Lines.clear();
  hero().AddExp(record().ExpForLevel(7) - hero().Exp, false);
  EXPECT_EQ(hero().Level, 7);
  EXPECT_TRUE(hero().KnowsSkill(4));
  EXPECT_TRUE(messages.Lines.empty());
}

TEST_F(Heroes, MaximumLevelStopsLevelsButNotExperience) {
  SetUpLearner();
  db.KelPlayer.Get(1).MaxLevel = 3;
  hero().AddExp(std::numeric_limits<std::int64_t>::max(), false);
  EXPECT_EQ(hero().Level, 3);
  EXPECT_EQ(hero().Exp, 999999);
  hero().AddExp(std::numeric_limits<std::int64_t>::min(), false);
  EXPECT_EQ(hero().Exp, 0);
  EXPECT_EQ(hero().Level, 3);  // only losing experience lowers the level
}

TEST_F(Heroes, LosingExperienceLowersTheLevelAndKeepsTheSkills) {
  SetUpLearner();
  hero().RaiseLevel(5, false);
  EXPECT_EQ(hero().Level, 6);
  EXPECT_EQ(hero().Exp, record().ExpForLevel(6));
  hero().LoseExp(1);
  EXPECT_EQ(hero().Level, 5);
  EXPECT_TRUE(hero().KnowsSkill(4));
  hero().LowerLevel(std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(hero().Level, 1);
  EXPECT_EQ(hero().Exp, 0);
  EXPECT_EQ(hero().Skills.size(), 4u);

  // A huge level change ends at once and at the top.
  db.KelPlayer.Get(1).MaxLevel = 99;
  hero().RaiseLevel(std::numeric_limits<std::int64_t>::max(), false);
  EXPECT_EQ(hero().Level, record().EffectiveMaxLevel());
}

TEST_F(Heroes, HpAndMpFollowTheMaxima) {
  TKelPlayerItem& record = Hero(1);
  for (int level = 1; level <= kCurveLevels; ++level) {
    record.SetParameter(0, level, 10 * level);
    record.SetParameter(1, level, 5 * level);
  }
  StartGame();
  hero().RaiseLevel(4, false);
  EXPECT_EQ(hero().GetMaxHp(), 50);
  hero().FullRecovery();
  hero().LowerLevel(2);
  EXPECT_EQ(hero().HP, 30);
  EXPECT_EQ(hero().MP, 15);

  hero().AddParameterPlus(0, -5000);
  EXPECT_EQ(hero().Plus[0], -999);
  EXPECT_EQ(hero().GetMaxHp(), 1);
  EXPECT_EQ(hero().HP, 1);
  hero().AddParameterPlus(1, 5000);
  EXPECT_EQ(hero().GetMaxMp(), 999);
  hero().AddParameterPlus(2, 2000);
  EXPECT_EQ(hero().GetBaseAttack(), 999);
}

TEST_F(Heroes, ParametersAddCurveBonusesAndEquipment) {
  Hero(1, 20);
  TKelItemItem& sword = Item(1, itWeapon);
  sword.AttackBonus = 5;
  sword.AgilityBonus = -30;
  Item(2, itShield).DefenseBonus = 3;
  StartGame();
  hero().SetEquipment(0, 1);
  hero().SetEquipment(1, 2);
  hero().AddParameterPlus(4, 7);
  EXPECT_EQ(hero().GetBaseAttack(), 25);
  EXPECT_EQ(hero().GetBaseDefense(), 23);
  EXPECT_EQ(hero().GetBaseMind(), 27);
  EXPECT_EQ(hero().GetBaseAgility(), 1);
  EXPECT_EQ(hero().ParameterSum(), 25 + 23 + 27 + 1);
}

struct EquipCase {
  int slot;
  std::uint8_t type;
  bool twoWeapons, usable, allowed;
};

TEST_F(Heroes, WhatGoesInWhichSlot) {
  const EquipCase cases[] = {
      {0, itWeapon, false, true, true},    {0, itShield, false, true, false},
      {1, itShield, false, true, true},    {1, itWeapon, false, true, false},
      {1, itWeapon, true, true, true},     {1, itShield, true, true, false},
      {2, itArmor, false, true, true},     {3, itHelmet, false, true, true},
      {4, itAccessory, false, true, true}, {4, itMedicine, false, true, false},
      {0, itWeapon, false, false, false},
  };
  for (const EquipCase& c : cases) {
    TKelPlayerItem& record = Hero(1);
    record.TwoWeapons = c.twoWeapons ? 1 : 0;
    TKelItemItem& item = Item(1, c.type);
    item.HeroCount = 1;
    item.HeroUsable = {static_cast<std::uint8_t>(c.usable ? 1 : 0)};
    StartGame();
    EXPECT_EQ(hero().CanEquip(c.slot, 1), c.allowed) << "slot " << c.slot << " type " << int(c.type);
  }
  EXPECT_TRUE(hero().CanEquip(3, 0));
  EXPECT_FALSE(hero().CanEquip(3, 2));  // beyond the item table
  EXPECT_THROW(hero().CanEquip(5, 1), std::runtime_error);
  EXPECT_THROW(hero().SetEquipment(-1, 0), std::runtime_error);
}

TEST_F(Heroes, TwoHandedWeaponReturnsTheShieldAndBack) {
  Hero(1);
  Item(1, itWeapon).TwoHanded = 1;
  Item(2, itShield);
  Item(3, itWeapon);
  StartGame();
  party.AddMember(1);
  party.AddItem(1, 1);
  party.AddItem(3, 1);
  hero().SetEquipment(1, 2);

  hero().Equip(0, 1);
  EXPECT_EQ(hero().EquipmentAt(0), 1);
  EXPECT_EQ(hero().EquipmentAt(1), 0);
  EXPECT_EQ(party.ItemCount(2), 1);
  EXPECT_EQ(party.ItemCount(1), 0);
  EXPECT_EQ(party.EquippedCount(1), 1);
  EXPECT_TRUE(party.Possesses(1));

  hero().Equip(1, 2);  // the shield back: the two-handed weapon leaves
  EXPECT_EQ(hero().EquipmentAt(0), 0);
  EXPECT_EQ(party.ItemCount(1), 1);

  hero().Equip(0, 3);  // one-handed: the shield stays
  EXPECT_EQ(hero().EquipmentAt(1), 2);
  hero().Unequip(0);
  EXPECT_EQ(party.ItemCount(3), 1);

  // Set directly, the other hand is simply emptied.
  hero().SetEquipment(0, 1);
  EXPECT_EQ(hero().EquipmentAt(1), 0);
  EXPECT_EQ(party.ItemCount(2), 0);

  // Candidates: the empty choice and the weapons held.
  EXPECT_EQ(hero().CandidateCount(0), 3);
  EXPECT_EQ(hero().Candidate(0, 1), 3);
  EXPECT_EQ(hero().Candidate(0, 2), 0);
}

TEST_F(Heroes, TwoWeaponsAndWhatTheWeaponsAndArmourGive) {
  TKelPlayerItem& record = Hero(1);
  record.TwoWeapons = 1;
  record.UnarmedAnimation = 9;
  TKelItemItem& dagger = Item(1, itWeapon);
  dagger.HitRate = 70;
  dagger.CriticalBonus = 4;
  dagger.Animation = 3;
  dagger.AttackMpCost = 2;
  TKelItemItem& axe = Item(2, itWeapon);
  axe.HitRate = 95;
  axe.Animation = 5;
  axe.AttackMpCost = 3;
  axe.DoubleAttack = 1;
  StartGame();
  EXPECT_EQ(hero().GetHitRate(), 90);
  EXPECT_EQ(hero().AttackAnimation(), 9);
  hero().SetEquipment(0, 1);
  hero().SetEquipment(1, 2);
  EXPECT_EQ(hero().EquipmentAt(1), 2);
  EXPECT_EQ(hero().GetHitRate(), 95);
  EXPECT_DOUBLE_EQ(hero().GetCriticalRate(), 100.0 / 30 + 4);
  EXPECT_EQ(hero().GetAttackMpCost(), 5);
  EXPECT_TRUE(hero().AttacksTwice());
  EXPECT_EQ(hero().AttackAnimation(), 3);
  EXPECT_EQ(hero().SecondAttackAnimation(), 5);
  hero().SetEquipment(0, 0);
  EXPECT_EQ(hero().AttackAnimation(), 5);
  EXPECT_EQ(hero().SecondAttackAnimation(), 0);
}

TEST_F(Heroes, ArmourOfAnAttributeResistsItOneStepMore) {
  TKelPlayerItem& record = Hero(1);
  Attrib(1, 1);
  Attrib(2, 1);
  SetTable(record.AttribRanks, record.AttribRankCount, 2, 4, 2);
  TKelItemItem& robe = Item(1, itArmor);
  robe.AttribCount = 2;
  robe.Attribs = {1, 1};
  TKelItemItem& wand = Item(2, itWeapon);
  wand.AttribCount = 1;
  wand.Attribs = {1};
  StartGame();
  hero().SetEquipment(0, 2);
  EXPECT_EQ(hero().GetAttribRank(1), 2);  // a weapon does not resist
  EXPECT_TRUE(hero().AttackHasAttrib(1));
  hero().SetEquipment(2, 1);
  EXPECT_EQ(hero().GetAttribRank(1), 3);
  EXPECT_EQ(hero().GetAttribRank(2), 4);  // E stays E
  EXPECT_EQ(hero().AttribRate(1), 50);
}

TEST_F(Heroes, ClearedHeroTakesItsDatabaseStart) {
  TKelPlayerItem& record = Hero(1);
  record.InitialLevel = 3;
  record.InitialEquipment = {1, 2, 0, 0, 0};
  for (int level = 1; level <= kCurveLevels; ++level) record.SetParameter(0, level, 100 + level);
  TKelPlayerLearningItem& early = record.Learning.Add();
  early.Level = 3;
  early.SkillId = 7;
  TKelPlayerLearningItem& late = record.Learning.Add();
  late.Level = 4;
  late.SkillId = 2;
  Item(1, itWeapon);
  TKelItemItem& shield = Item(2, itShield);
  shield.HeroCount = 1;
  shield.HeroUsable = {0};
  StartGame();
  EXPECT_EQ(hero().Level, 3);
  EXPECT_EQ(hero().Exp, record.ExpForLevel(3));
  EXPECT_EQ(hero().HP, 103);
  EXPECT_EQ(hero().Skills, (std::vector<std::int32_t>{7}));
  EXPECT_EQ(hero().EquipmentAt(0), 1);
  EXPECT_EQ(hero().EquipmentAt(1), 0);  // not for this hero
}

TEST_F(Heroes, NameTitleAndGraphicOverrides) {
  TKelPlayerItem& record = Hero(1);
  record.Title = "Knight";
  record.CharSetName = "Hero";
  record.CharSetIndex = 2;
  StartGame();
  hero().SetName("Zed");
  EXPECT_EQ(hero().GetName(), "Zed");
  hero().SetName("Hero1");
  EXPECT_EQ(hero().NameOverride, kOverrideMarker);
  EXPECT_EQ(hero().GetName(), "Hero1");
  hero().SetTitle("Lord");
  EXPECT_EQ(hero().Title(), "Lord");

  hero().SetCharSet("Ghost", 1, true);
  EXPECT_EQ(hero().CharSetName(), "Ghost");
  EXPECT_EQ(hero().CharSetTransparencyValue(), 3);
  hero().SetCharSet("Hero", 2, false);
  EXPECT_TRUE(hero().CharSetOverride.empty());
  EXPECT_EQ(hero().CharSetIndex(), 2);

  db.KelVocabulary.SetText(107, "Skill");
  EXPECT_EQ(hero().SkillCommandName(), "Skill");
  record.HasSkillCommand = 1;
  record.SkillCommand = "Magic";
  EXPECT_EQ(hero().SkillCommandName(), "Magic");
}

TEST_F(Heroes, StepDamageHurtsWithoutKillingAndFlashes) {
  Hero(1);
  State(1);
  TKelStatusItem& poison = State(2);
  poison.StepHpInterval = 4;
  poison.StepHpAmount = 3;
  poison.StepMpInterval = 2;
  poison.StepMpAmount = 1;
  StartGame();
  party.AddMember(1);
  hero().AddState(2);
  party.StepCount = 7;
  party.ApplyStepDamage();
  EXPECT_EQ(hero().HP, 50);
  EXPECT_EQ(screen.FlashFrames, 0);
  party.StepCount = 8;
  party.ApplyStepDamage();
  EXPECT_EQ(hero().HP, 47);
  EXPECT_EQ(hero().MP, 49);
  EXPECT_EQ(screen.FlashRed, 31);
  EXPECT_EQ(screen.FlashGreen, 10);
  EXPECT_EQ(screen.FlashBlue, 6);
  EXPECT_EQ(screen.FlashFrames, 10);
  hero().HP = 2;
  party.ApplyStepDamage();
  EXPECT_EQ(hero().HP, 1);
}

TEST_F(Heroes, SkillWindowLines) {
  SetUpLearner();
  db.KelSkill.Get(1).MpCost = 60;
  db.KelSkill.Get(1).Description = "Burns";
  db.KelVocabulary.SetText(126, "Normal");
  system.SceneId = scMenu;
  EXPECT_EQ(heroes.SkillCount(1), 1);
  const TKelListEntry entry = heroes.SkillEntry(1, 0);
  EXPECT_EQ(entry.Name, "Skill1");
  EXPECT_EQ(entry.Number, 60);
  EXPECT_FALSE(entry.Usable);
  hero().HP = 12;
  const TKelHeroStatusLine line = heroes.StatusLine(1);
  EXPECT_EQ(line.Condition, "Normal");
  EXPECT_EQ(line.HPColor, 4);
  EXPECT_EQ(line.SPColor, 0);
  EXPECT_EQ(heroes.SkillCount(9), 0);
}

// ---- Saved form ----

TEST_F(Heroes, SaveRoundTripWithTheDatabaseNameAsMarker) {
  SetUpLearner();
  Item(1, itWeapon);
  State(1);
  State(2);
  hero().SetName("Hero1");
  hero().RaiseLevel(3, false);
  hero().SetEquipment(0, 1);
  hero().AddState(2);
  hero().HP = 17;
  hero().AddParameterPlus(3, -4);
  // The first chunk, the name, holds the one-byte marker.
  TStreamWriter one;
  hero().SaveToStream(one);
  ASSERT_GE(one.Bytes().size(), 3u);
  EXPECT_EQ(std::vector<std::uint8_t>(one.Bytes().begin(), one.Bytes().begin() + 3),
            (std::vector<std::uint8_t>{1, 1, 1}));

  TStreamWriter writer;
  heroes.SaveToStream(writer);
  const std::vector<std::uint8_t>& bytes = writer.Bytes();

  Hero(2);  // a hero the save does not know yet
  TKelgPlayer loaded(services);
  TStreamReader reader(bytes, "test");
  loaded.LoadFromStream(reader);
  ASSERT_EQ(loaded.Count(), 2);
  const TKelgPlayerItem& back = loaded.ById(1);
  EXPECT_EQ(back.GetName(), "Hero1");
  EXPECT_EQ(back.Level, 4);
  EXPECT_EQ(back.Skills, (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(back.EquipmentAt(0), 1);
  EXPECT_EQ(back.GetStateTurns(2), 1);
  EXPECT_EQ(back.HP, 17);
  EXPECT_EQ(back.Plus[3], -4);
  EXPECT_EQ(loaded.ById(2).Level, 1);
}

TEST_F(Heroes, ADamagedSaveIsBroughtBackWithinRange) {
  SetUpLearner();
  TStreamWriter file;
  WriteChunk(file, 31, Ber(2147483000));  // level
  WriteChunk(file, 32, Ber(5));           // experience
  WriteChunk(file, 51, Ber(1000));        // skills: a thousand in two bytes
  WriteChunk(file, 52, {3, 0});
  WriteChunk(file, 81, Ber(70000));       // state turns: none at all
  file.WriteByte(0);
  TKelgPlayerItem loaded(services);
  loaded.SetKey(1);
  TStreamReader reader(file.Bytes(), "test");
  loaded.LoadFromStream(reader);
  EXPECT_EQ(loaded.Level, kMaxLevelCap);
  EXPECT_EQ(loaded.Skills, (std::vector<std::int32_t>{3}));
  EXPECT_EQ(loaded.StateTurns.size(), 0u);
  loaded.LoseExp(0);  // walks down to the level of 5 points at once
  EXPECT_EQ(loaded.Level, 1);
}

// ---- Battle test ----

TEST_F(Heroes, BattleTestPartyStandsAtItsLevelsWithItsEquipmentAndBattleItems) {
  Hero(1);
  Hero(2);
  Hero(3).InitialLevel = 40;
  Item(1, itMedicine);
  Item(2, itMedicine).FieldOnly = 1;
  Item(3, itWeapon);
  TKelItemItem& shield = Item(4, itShield);
  shield.HeroCount = 3;
  shield.HeroUsable = {1, 0, 1};
  Item(5, itSwitch).SwitchInBattle = 1;
  TKelTestPlayer& test = db.KelSystem.TestParty;
  test.Clear();
  struct Entry { int hero, level, weapon, shield; };
  for (const Entry e : {Entry{3, 7, 3, 4}, Entry{2, 12, 3, 4}}) {
    TKelTestPlayerItem& item = test.Add();
    item.HeroId = e.hero;
    item.Level = e.level;
    item.Weapon = e.weapon;
    item.Shield = e.shield;
  }
  StartGame();
  party.AddMember(1);
  party.AddItem(3, 2);
  State(1);
  hero(2).AddState(1);
  system.SceneId = scBattle;

  party.SetupBattleTest();
  EXPECT_EQ(party.Members, (std::vector<std::int32_t>{3, 2}));
  EXPECT_EQ(hero(3).Level, 7);
  EXPECT_EQ(hero(2).Level, 12);
  EXPECT_EQ(hero(3).EquipmentAt(1), 4);
  EXPECT_EQ(hero(2).EquipmentAt(0), 3);
  EXPECT_EQ(hero(2).EquipmentAt(1), 0);  // the shield is not for hero 2
  EXPECT_FALSE(hero(2).HasState(1));
  EXPECT_EQ(hero(2).HP, hero(2).GetMaxHp());
  std::vector<std::int32_t> ids;
  for (int i = 0; i < party.ItemKinds(); ++i) ids.push_back(party.ItemIdAt(i));
  EXPECT_EQ(ids, (std::vector<std::int32_t>{1, 3, 5}));
  EXPECT_EQ(party.ItemCount(1), 99);
  EXPECT_EQ(party.ItemCount(3), 2);  // what was held before stays as it was
}

TEST(BattleTestRun, TheDemoPartyShowsInTheStateDump) {
  const ReplayRun run = Replay(100, "", {"BattleTest", "x", "Window", "1"});
  ASSERT_EQ(run.error, "");
  EXPECT_EQ(run.state["SceneId"], 2);
  const nlohmann::json& party = run.state["PartyInfo"];
  ASSERT_EQ(party["Members"].size(), 2u);
  const nlohmann::json& alex = party["Members"][0];
  EXPECT_EQ(alex["Id"], 1);
  EXPECT_EQ(alex["Name"], "Alex");
  EXPECT_EQ(alex["Level"], 5);
  EXPECT_EQ(alex["Equipment"], nlohmann::json({2, 0, 3, 0, 0}));
  EXPECT_EQ(alex["HP"], alex["MaxHp"]);
  EXPECT_EQ(party["Members"][1]["Level"], 5);
  EXPECT_EQ(party["Items"], nlohmann::json({{"1", 99}, {"4", 99}}));
  EXPECT_EQ(party["Gold"], 0);
}

}  // namespace

namespace {

TEST(PoolLines, ReachThePoolOnceItExists) {
  TKelMessagePool* program = nullptr;
  TKelgPoolLines lines(program);
  lines.AddLine("lost");
  TKelMessagePool pool;
  program = &pool;
  lines.AddLine("kept");
  ASSERT_EQ(pool.Count(), 1);
  EXPECT_EQ(pool.Take(), "kept");
}

}  // namespace
