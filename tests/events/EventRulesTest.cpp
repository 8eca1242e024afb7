#include <gtest/gtest.h>

#include "common/Replay.h"
#include "data/LD_Event.h"
#include "state/LGD_SaveData.h"
#include "world/LGD_EventPages.h"
#include "world/LGD_MapEvent.h"
#include "world/LGD_Party.h"

namespace {

// The game state of the demo right after start-up, to set conditions in.
class EventRules : public ::testing::Test {
protected:
  void SetUp() override {
    game = &demo.Game();
    game->PartyInfo.NewGame();
    event.Pages.Clear();  // a new event comes with one page
  }

  // Page n of the event needs what its flags say.
  void AddPage(std::uint8_t flags) {
    TKelEventPageItem& page = event.Pages.Get(event.Pages.Count() + 1);
    page.Condition.Flags = flags;
    page.Condition.SwitchA = 1;
    page.Condition.SwitchB = 2;
    page.Condition.VariableId = 3;
    page.Condition.VariableValue = 5;
    page.Condition.ItemId = 1;
    page.Condition.HeroId = 2;
    page.Condition.TimerSeconds = 10;
  }
  int Selected() { return PageNumber(event, QualifyingPage(event, *game)); }

  DemoProgram demo;
  TKelgSaveData* game = nullptr;
  TKelEventItem event;
};

TEST_F(EventRules, TheLastPageWhoseConditionsHoldWins) {
  AddPage(0);
  AddPage(kConditionSwitchA);
  AddPage(kConditionSwitchA | kConditionSwitchB);
  AddPage(kConditionVariable);
  EXPECT_EQ(Selected(), 1);
  game->System.SetSwitch(1, 1);
  EXPECT_EQ(Selected(), 2);
  game->System.SetSwitch(2, 1);
  EXPECT_EQ(Selected(), 3);
  game->System.SetVariable(3, 4);
  EXPECT_EQ(Selected(), 3);  // 4 is below 5
  game->System.SetVariable(3, 5);
  EXPECT_EQ(Selected(), 4);
}

TEST_F(EventRules, ItemHeroAndTimerConditions) {
  AddPage(kConditionItem);
  EXPECT_EQ(Selected(), 0);  // no page: the event is neither drawn nor touched
  game->PartyInfo.AddItem(1, 1);
  EXPECT_EQ(Selected(), 1);

  event.Pages.Clear();
  AddPage(kConditionHero);
  ASSERT_TRUE(game->PartyInfo.IsMember(2));  // the demo starts with heroes 1 and 2
  EXPECT_EQ(Selected(), 1);
  game->PartyInfo.RemoveMember(2);
  EXPECT_EQ(Selected(), 0);

  event.Pages.Clear();
  AddPage(kConditionTimer);
  game->PartyInfo.SetTimer(600);
  EXPECT_EQ(Selected(), 0);  // ten minutes left
  game->PartyInfo.SetTimer(10);
  EXPECT_EQ(Selected(), 1);
}

}  // namespace

namespace {

// The town's shopkeeper stands behind a counter: the action key reaches him
// across it, and only across counters.
TEST_F(EventRules, TheActionKeyReachesAcrossACounter) {
  struct Case {
    int heroY;
    bool reached;
  };
  const Case cases[] = {{15, true}, {16, false}};
  for (const Case& c : cases) {
    TKelgParty& hero = game->Party;
    hero.SetPosition(3, 6, c.heroY);
    game->Map.LoadMap(true);
    hero.Direction = hero.Facing = 0;  // up, towards the counter
    auto& shopkeeper = static_cast<TKelgMapEvent&>(*game->Map.Events[2]);
    ASSERT_EQ(shopkeeper.Source.Name, "Shopkeeper");
    hero.TouchFront(etActionKey, true);
    EXPECT_EQ(shopkeeper.StartPending, c.reached) << c.heroY;
    EXPECT_EQ(shopkeeper.StartedByKey, c.reached) << c.heroY;
  }
}

}  // namespace
