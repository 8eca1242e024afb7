// The party: members, inventory, gold, timer, counters, averages, item
// usability by scene, and its saved form.

#include "PartyFixture.h"

#include <cstdint>
#include <limits>


namespace {

class Party : public PartyFixture {
protected:
  void AddHeroes(int count) {
    for (int id = 1; id <= count; ++id) Hero(id);
    StartGame();
    for (int id = 1; id <= count; ++id) party.AddMember(id);
  }
  std::vector<std::int32_t> Inventory() const {
    std::vector<std::int32_t> ids;
    for (int i = 0; i < party.ItemKinds(); ++i) ids.push_back(party.ItemIdAt(i));
    return ids;
  }
};

TEST_F(Party, InventoryKeepsIdsAscendingAndCountsWithinNinetyNine) {
  party.AddItem(5, 60);
  party.AddItem(5, 50);
  EXPECT_EQ(party.ItemCount(5), 99);
  party.AddItem(9, 1);
  party.AddItem(2, 1);
  party.AddItem(7, std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(Inventory(), (std::vector<std::int32_t>{2, 5, 7, 9}));
  EXPECT_EQ(party.ItemCount(7), 99);

  party.AddItem(0, 5);
  party.AddItem(3, 0);
  party.AddItem(3, -4);
  party.RemoveItem(2, -1);
  party.RemoveItem(4, 1);
  EXPECT_EQ(Inventory(), (std::vector<std::int32_t>{2, 5, 7, 9}));

  party.RemoveItem(5, 200);
  EXPECT_EQ(Inventory(), (std::vector<std::int32_t>{2, 7, 9}));
  EXPECT_EQ(party.ItemIdAt(-1), 0);
  EXPECT_EQ(party.ItemCountAt(3), 0);
}

TEST_F(Party, ItemUsesAreSpentAndResetWhenOneLeaves) {
  Item(1, itMedicine).Uses = 3;
  Item(2, itMedicine).Uses = 0;
  party.AddItem(1, 3);
  party.AddItem(2, 1);
  for (int use = 0; use < 3; ++use) party.SpendItemUse(1);
  EXPECT_EQ(party.ItemCount(1), 2);
  EXPECT_EQ(party.ItemUsesAt(0), 0);

  party.SpendItemUse(1);
  party.SpendItemUse(1);
  EXPECT_EQ(party.ItemUsesAt(0), 2);
  party.RemoveItem(1, 1);  // sold
  EXPECT_EQ(party.ItemUsesAt(0), 0);
  for (int use = 0; use < 3; ++use) party.SpendItemUse(1);
  EXPECT_EQ(party.ItemCount(1), 0);

  for (int use = 0; use < 10; ++use) party.SpendItemUse(2);
  EXPECT_EQ(party.ItemCount(2), 1);  // never used up
  party.SpendItemUse(3);             // not held: nothing
}

TEST_F(Party, GoldStaysWithinItsRangeWhateverTheSign) {
  struct Step { bool add; std::int64_t amount; std::int32_t gold; };
  const Step steps[] = {
      {true, -5, 0},       {true, 500, 500},      {false, -100, 600},
      {false, 10000, 0},   {true, std::numeric_limits<std::int64_t>::max(), 999999},
      {true, 1, 999999},   {false, std::numeric_limits<std::int64_t>::min(), 999999},
      {false, 999999, 0},
  };
  for (const Step& step : steps) {
    if (step.add) party.AddGold(step.amount);
    else party.LoseGold(step.amount);
    EXPECT_EQ(party.Gold(), step.gold) << (step.add ? "add " : "lose ") << step.amount;
  }
}

TEST_F(Party, TimerCountsFramesAndStopsBelowOneSecond) {
  party.SetTimer(0);
  EXPECT_EQ(party.TimerFrames, 59);
  party.StartTimer(true, false);
  party.UpdateTimer();
  EXPECT_EQ(party.TimerRunning, 0);
  EXPECT_EQ(party.TimerVisible, 0);

  party.SetTimer(1);
  party.StartTimer(true, true);
  for (int frame = 1; frame < 60; ++frame) {
    EXPECT_FALSE(party.UpdateTimer());
    ASSERT_EQ(party.TimerRunning, 1) << frame;
  }
  EXPECT_TRUE(party.UpdateTimer());  // the shown seconds change from 1 to 0
  EXPECT_EQ(party.TimerFrames, 59);
  EXPECT_EQ(party.TimerRunning, 0);
  EXPECT_FALSE(party.UpdateTimer());

  party.SetTimer(std::numeric_limits<std::int64_t>::max());
  EXPECT_EQ(party.TimerFrames, 359999);
  party.SetTimer(-5);
  EXPECT_EQ(party.TimerFrames, 0);
}

TEST_F(Party, MembersUpToFourInOrder) {
  AddHeroes(5);
  EXPECT_EQ(party.MemberCount(), 4);
  EXPECT_FALSE(party.IsMember(5));
  party.AddMember(2);
  EXPECT_EQ(party.MemberCount(), 4);
  party.RemoveMember(2);
  EXPECT_EQ(party.MemberId(0), 1);
  EXPECT_EQ(party.MemberId(1), 3);
  EXPECT_EQ(party.Member(3), nullptr);
  party.AddMember(5);
  EXPECT_EQ(party.MemberId(3), 5);
  party.RemoveMember(1);
  EXPECT_THROW(party.AddMember(9), EKelInvalid);  // a place is free, but no hero 9
  EXPECT_EQ(party.MemberCount(), 3);
}

TEST_F(Party, AveragesAndFatigue) {
  EXPECT_EQ(party.AverageLevel(), 1);  // empty party
  EXPECT_EQ(party.AverageAgility(), 1);
  EXPECT_EQ(party.Fatigue(), 0);

  AddHeroes(2);
  heroes.ById(1).Level = 3;
  heroes.ById(2).Level = 6;
  EXPECT_EQ(party.AverageLevel(), 4);
  EXPECT_EQ(party.AverageAgility(), 50);
  EXPECT_EQ(party.Fatigue(), 0);

  for (int id = 1; id <= 2; ++id) {
    heroes.ById(id).HP = 25;
    heroes.ById(id).MP = 0;
  }
  EXPECT_EQ(party.Fatigue(), 67);  // 100 - trunc((0.5 x 2 + 0) x 100 / 3)
  heroes.ById(1).HP = heroes.ById(2).HP = 0;
  EXPECT_EQ(party.Fatigue(), 100);

  // Without any maximum MP the MP part counts against 1.
  for (int level = 1; level <= kCurveLevels; ++level) {
    db.KelPlayer.Get(1).SetParameter(1, level, 0);
    db.KelPlayer.Get(2).SetParameter(1, level, 0);
  }
  heroes.ById(1).HP = heroes.ById(2).HP = 50;
  EXPECT_EQ(party.Fatigue(), 34);  // 100 - trunc(200 / 3)
}

TEST_F(Party, TurnConditions) {
  struct Case { std::int32_t a, b, turn; bool holds; };
  for (const Case c : {Case{0, 3, 3, true}, Case{0, 3, 4, false}, Case{2, 1, 1, true}, Case{2, 1, 5, true},
                       Case{2, 1, 4, false}, Case{3, 5, 2, false}, Case{3, 5, 8, true}, Case{-1, 0, 0, false}}) {
    party.TurnCount = c.turn;
    EXPECT_EQ(party.TurnCondition(c.a, c.b), c.holds) << c.a << "x+" << c.b << " at " << c.turn;
  }
}

TEST_F(Party, ItemUsabilityBySceneKind) {
  AddHeroes(1);
  Item(1, itMedicine);
  Item(2, itMedicine).FieldOnly = 1;
  Item(3, itBook);
  Item(4, itSwitch).SwitchInBattle = 1;
  Item(5, itSpecial).SkillId = 1;  // teleport
  Item(6, itSpecial).SkillId = 2;  // escape
  Item(7, itSpecial).SkillId = 3;  // heal
  Item(8, itWeapon);
  Skill(1).SkillType = skTeleport;
  Skill(2).SkillType = skEscape;
  TKelSkillItem& heal = Skill(3);
  heal.Scope = ssOneAlly;
  heal.AffectsHp = 1;

  struct Case { std::uint8_t scene; std::vector<int> usable; };
  const Case cases[] = {
      {scMenu, {1, 2, 3, 4, 7}},
      {scBattle, {1, 4, 7}},
      {scField, {}},
  };
  for (const Case& c : cases) {
    system.SceneId = static_cast<TKelSceneId>(c.scene);
    std::vector<int> usable;
    for (int id = 0; id <= 8; ++id)
      if (party.CanUseItemNow(id)) usable.push_back(id);
    EXPECT_EQ(usable, c.usable) << "scene " << int(c.scene);
  }

  // Teleport and escape from the menu follow the destinations and permissions.
  system.SceneId = scMenu;
  teleport.SetDestination(4, 1, 2, false, 0);
  teleport.SetEscapePoint(3, 5, 5, false, 0);
  EXPECT_TRUE(party.CanUseItemNow(5));
  EXPECT_TRUE(party.CanUseItemNow(6));
  system.TeleportAllowed = 0;
  system.EscapeAllowed = 0;
  EXPECT_FALSE(party.CanUseItemNow(5));
  EXPECT_FALSE(party.CanUseItemNow(6));

  // Healing needs someone who may use the item and can act.
  State(1).Restriction = 1;
  heroes.ById(1).AddState(1);
  EXPECT_FALSE(party.CanUseItemNow(7));
}

TEST_F(Party, ItemWindowEntriesAskTheActor) {
  AddHeroes(2);
  TKelItemItem& potion = Item(1, itMedicine);
  TKelItemItem& charm = Item(2, itSeed);
  charm.HeroCount = 2;
  charm.HeroUsable = {1, 0};
  potion.Description = "Heals";
  party.AddItem(1, 3);
  party.AddItem(2, 1);
  system.SceneId = scMenu;
  const TKelListEntry entry = party.ItemEntry(0, 0);
  EXPECT_EQ(entry.Id, 1);
  EXPECT_EQ(entry.Name, "Item1");
  EXPECT_EQ(entry.Description, "Heals");
  EXPECT_EQ(entry.Number, 3);
  EXPECT_TRUE(entry.Usable);
  EXPECT_TRUE(party.ItemEntry(1, 1).Usable);
  EXPECT_FALSE(party.ItemEntry(1, 2).Usable);  // not for hero 2
  EXPECT_EQ(party.ItemEntry(5, 0).Id, 0);
}

// ---- Saved form ----

std::vector<std::uint8_t> Saved(TCatalogBaseItem& record) {
  TStreamWriter writer;
  record.SaveToStream(writer);
  return writer.Bytes();
}

void Load(TCatalogBaseItem& record, const std::vector<std::uint8_t>& bytes) {
  TStreamReader reader(bytes, "test");
  record.LoadFromStream(reader);
}

TEST_F(Party, SaveKeepsEverythingButTheVictories) {
  AddHeroes(3);
  party.RemoveMember(2);
  Item(2, itMedicine).Uses = 5;
  Item(4, itMedicine);
  party.AddItem(4, 7);
  party.AddItem(2, 99);
  party.SpendItemUse(2);
  party.AddGold(1234);
  party.SetTimer(100);
  party.StartTimer(true, true);
  party.CountBattle();
  party.CountVictory();
  party.CountDefeat();
  party.CountEscape();
  party.CountTurn();
  party.CountStep();

  TKelgPartyInfo loaded(services, nullptr);
  Load(loaded, Saved(party));
  EXPECT_EQ(loaded.Members, (std::vector<std::int32_t>{1, 3}));
  EXPECT_EQ(loaded.ItemIds, (std::vector<std::int32_t>{2, 4}));
  EXPECT_EQ(loaded.ItemCounts, (std::vector<std::int32_t>{99, 7}));
  EXPECT_EQ(loaded.ItemUses, (std::vector<std::int32_t>{1, 0}));
  EXPECT_EQ(loaded.Gold(), 1234);
  EXPECT_EQ(loaded.TimerFrames, 6059);
  EXPECT_EQ(loaded.TimerInBattle, 1);
  EXPECT_EQ(loaded.VictoryCount, 0);
  EXPECT_EQ(loaded.BattleCount + loaded.DefeatCount + loaded.EscapeCount, 3);
  EXPECT_EQ(loaded.TurnCount, 1);
  EXPECT_EQ(loaded.StepCount, 1);
}

TEST_F(Party, LoadingTrustsNoCountBeyondItsBuffer) {
  AddHeroes(1);
  TStreamWriter file;
  WriteChunk(file, 1, Ber(9));                  // nine members in two bytes
  WriteChunk(file, 2, {1, 0});
  WriteChunk(file, 11, Ber(50));                // fifty items in two entries
  WriteChunk(file, 12, {3, 0, 1, 0, 8, 0});     // a third id without a count
  WriteChunk(file, 13, {5, 200});               // uses missing altogether
  WriteChunk(file, 21, Ber(5000000));
  file.WriteByte(0);
  Load(party, file.Bytes());
  EXPECT_EQ(party.Members, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(party.ItemIds, (std::vector<std::int32_t>{1, 3}));
  EXPECT_EQ(party.ItemCounts, (std::vector<std::int32_t>{99, 5}));
  EXPECT_EQ(party.ItemUses, (std::vector<std::int32_t>{0, 0}));
  EXPECT_EQ(party.Gold(), 999999);
}

TEST_F(Party, TeleportListKeepsKeysAndTheEscapeEntry) {
  teleport.SetDestination(7, 1, 1, false, 0);
  teleport.SetDestination(3, 2, 2, true, 9);
  teleport.SetDestination(5, 3, 3, false, 0);
  teleport.SetDestination(3, 4, 4, false, 0);  // replaces
  ASSERT_EQ(teleport.DestinationCount(), 3);
  EXPECT_EQ(teleport.Destination(0).MapId, 3);
  EXPECT_EQ(teleport.Destination(0).X, 4);
  teleport.RemoveDestination(3);
  teleport.RemoveDestination(99);
  ASSERT_EQ(teleport.DestinationCount(), 2);
  EXPECT_EQ(teleport.Destination(0).Key, 5);
  EXPECT_EQ(teleport.Destination(1).Key, 7);
  EXPECT_THROW(teleport.Destination(2), std::runtime_error);

  // A saved list without the escape entry gets one back.
  TKelgTeleport other;
  other.Clear();
  other.Get(4).MapId = 4;
  TStreamWriter writer;
  other.SaveToStream(writer);
  TStreamReader reader(writer.Bytes(), "test");
  teleport.LoadFromStream(reader);
  EXPECT_EQ(teleport.EscapePoint().MapId, 0);
  EXPECT_EQ(teleport.DestinationCount(), 1);
}

}  // namespace
