#pragma once
// Which page of a map event is in force: the last one whose every set
// condition holds in the game as it stands.

class TKelEventCondition;
class TKelEventPageItem;
class TKelEventItem;
class TKelgSaveData;

// Condition flags of a page.
inline constexpr unsigned kConditionSwitchA = 0x01, kConditionSwitchB = 0x02, kConditionVariable = 0x04,
                          kConditionItem = 0x08, kConditionHero = 0x10, kConditionTimer = 0x20;

bool PageConditionsHold(const TKelEventCondition& condition, const TKelgSaveData& game);
// Nil when no page qualifies.
const TKelEventPageItem* QualifyingPage(const TKelEventItem& event, const TKelgSaveData& game);
// The page's number (from 1) within its event, 0 for nil.
int PageNumber(const TKelEventItem& event, const TKelEventPageItem* page);
