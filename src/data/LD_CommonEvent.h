#pragma once
// Common events: scripts every map shares, started by themselves, run in
// parallel or called.

#include <cstdint>

#include "data/Catalog.h"
#include "data/LD_EventScript.h"

class TKelCommonEventItem : public TKelBaseEventPageItem {
 public:
  std::uint8_t Trigger = 0;
  std::uint8_t HasSwitch = 0;
  std::int32_t SwitchId = 1;

  TKelCommonEventItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelCommonEvent = TCatalogOf<TKelCommonEventItem>;
