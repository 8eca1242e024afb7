#include "world/LGD_EventPages.h"

#include "data/LD_Event.h"
#include "state/LGD_SaveData.h"

bool PageConditionsHold(const TKelEventCondition& c, const TKelgSaveData& game) {
  const TKelgSystem& system = game.System;
  if ((c.Flags & kConditionSwitchA) && system.Switch(c.SwitchA) == 0) return false;
  if ((c.Flags & kConditionSwitchB) && system.Switch(c.SwitchB) == 0) return false;
  if ((c.Flags & kConditionVariable) && system.Variable(c.VariableId) < c.VariableValue) return false;
  if ((c.Flags & kConditionItem) && !game.PartyInfo.Possesses(c.ItemId)) return false;
  if ((c.Flags & kConditionHero) && !game.PartyInfo.IsMember(c.HeroId)) return false;
  if ((c.Flags & kConditionTimer) && game.PartyInfo.TimerSeconds() > c.TimerSeconds) return false;
  return true;
}

const TKelEventPageItem* QualifyingPage(const TKelEventItem& event, const TKelgSaveData& game) {
  for (int i = event.Pages.Count() - 1; i >= 0; --i) {
    const TKelEventPageItem* page = event.Pages.ItemAt(i);
    if (page != nullptr && PageConditionsHold(page->Condition, game)) return page;
  }
  return nullptr;
}

int PageNumber(const TKelEventItem& event, const TKelEventPageItem* page) {
  for (int i = 0; i < event.Pages.Count(); ++i)
    if (event.Pages.ItemAt(i) == page) return i + 1;
  return 0;
}
