#include "data/LD_CommonEvent.h"

void TKelCommonEventItem::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 11: v.Fixed("Trigger", &Trigger, 1); break;
    case 12: v.Byte("HasSwitch", &HasSwitch, 0); break;
    case 13: v.Number("SwitchId", &SwitchId, 1); break;
    case 21: DescribeScript(v, true, loading); break;
    case 22: DescribeScript(v, false, loading); break;
    default: break;
  }
}

void TKelCommonEventItem::Clear() {
  TKelBaseEventPageItem::Clear();
  Name.clear();
  Trigger = 0;
  HasSwitch = 0;
  SwitchId = 1;
}
