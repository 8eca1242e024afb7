#pragma once
// Map events: their pages with conditions, looks, movement and scripts.

#include <cstdint>
#include <string>

#include "data/Catalog.h"
#include "data/LD_EventScript.h"
#include "data/LD_MoveRoute.h"

enum TKelEventConditionFlag : std::uint8_t {
  ecSwitchA = 1,
  ecSwitchB = 2,
  ecVariable = 4,
  ecItem = 8,
  ecHero = 16,
  ecTimer = 32,
};

class TKelEventCondition : public TCatalogBaseItem {
 public:
  std::uint8_t Flags = 0;
  std::int32_t SwitchA = 1, SwitchB = 1, VariableId = 1, VariableValue = 0, ItemId = 1;
  std::int32_t HeroId = 1;
  std::int32_t TimerSeconds = 0;

  TKelEventCondition() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};

class TKelEventPageItem : public TKelBaseEventPageItem {
 public:
  TKelEventCondition Condition;
  std::string CharSetName;
  std::int32_t CharSetIndex = 0;
  std::uint8_t Direction = 2;
  std::int32_t Pattern = 1;
  std::uint8_t Translucent = 0;
  std::uint8_t MoveType = 0;
  std::int32_t MoveFrequency = 3;
  std::uint8_t Trigger = 0;
  std::uint8_t Layer = 0;
  std::uint8_t NoOverlap = 0;
  std::uint8_t AnimType = 0;
  std::int32_t MoveSpeed = 3;
  TKelMoveRoute MoveRoute;

  TKelEventPageItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelEventPage = TCatalogOf<TKelEventPageItem>;

class TKelEventItem : public TCatalogItem {
 public:
  std::int32_t X = 0;
  std::int32_t Y = 0;
  TKelEventPage Pages{"Invalid Event Page"};

  TKelEventItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};

class TKelEvent : public TCatalogOf<TKelEventItem> {
 public:
  TKelEvent() : TCatalogOf<TKelEventItem>("Invalid Event!") {}
};
