#include "world/LGD_Teleport.h"

#include <memory>
#include <vector>

#include "data/LD_MapTree.h"
#include "shell/KelProgram.h"
#include "state/LGD_System.h"
#include "world/GR_ChipSet.h"
#include "world/LGD_Map.h"
#include "world/LGD_Party.h"

void TKelgTeleportItem::DescribeField(int id, TCatalogVarData& v, bool /*loading*/) {
  switch (id) {
    case 1: v.Number("MapId", &MapId, 0); break;
    case 2: v.Number("X", &X, 0); break;
    case 3: v.Number("Y", &Y, 0); break;
    case 4: v.Byte("SwitchOn", &SwitchOn, 0); break;
    case 5: v.Number("SwitchId", &SwitchId, 0); break;
    default: break;
  }
}

void TKelgTeleportItem::Clear() {
  TCatalogBaseItem::Clear();
  MapId = X = Y = SwitchId = 0;
  SwitchOn = 0;
}

void TKelgTeleport::Reset() {
  Clear();
  Get(0);
}

void TKelgTeleport::LoadFromStream(TStreamReader& stream) {
  TCatalogOf<TKelgTeleportItem>::LoadFromStream(stream);
  Get(0);
}

TKelgTeleportItem& TKelgTeleport::EscapePoint() const { return EntryOf(0); }

namespace {
void Fill(TKelgTeleportItem& item, std::int32_t mapId, std::int32_t x, std::int32_t y, bool switchOn,
          std::int32_t switchId) {
  item.Clear();
  item.MapId = mapId;
  item.X = x;
  item.Y = y;
  item.SwitchOn = switchOn ? 1 : 0;
  item.SwitchId = switchId;
}
}  // namespace

void TKelgTeleport::SetEscapePoint(std::int32_t mapId, std::int32_t x, std::int32_t y, bool switchOn,
                                   std::int32_t switchId) {
  Fill(Get(0), mapId, x, y, switchOn, switchId);
}

void TKelgTeleport::SetDestination(std::int32_t mapId, std::int32_t x, std::int32_t y, bool switchOn,
                                   std::int32_t switchId) {
  if (mapId <= 0) return;  // key 0 is the escape entry, not a destination
  Fill(Get(mapId), mapId, x, y, switchOn, switchId);
}

void TKelgTeleport::RemoveDestination(std::int32_t mapId) {
  if (mapId <= 0 || Find(mapId) == nullptr) return;
  // Deleting from the list would renumber the keys after it: rebuild instead.
  std::vector<std::unique_ptr<TKelgTeleportItem>> kept;
  for (int i = 0; i < Count(); ++i) {
    const TKelgTeleportItem& item = *ItemAt(i);
    if (item.Key == mapId) continue;
    auto copy = std::make_unique<TKelgTeleportItem>();
    copy->Assign(item);
    copy->SetKey(item.Key);
    kept.push_back(std::move(copy));
  }
  Clear();
  for (const auto& item : kept) Get(item->Key).Assign(*item);
}

TKelgTeleportItem& TKelgTeleport::Destination(int index) const {
  return EntryAt(Find(0) != nullptr ? index + 1 : index);
}

TKelgTeleportItem& TKelgTeleport::EntryAt(int index) const {
  TKelgTeleportItem* item = ItemAt(index);
  if (item == nullptr) throw EKelAssertion("LGD_Teleport", __LINE__);
  return *item;
}

TKelgTeleportItem& TKelgTeleport::EntryOf(std::int32_t key) const {
  TKelgTeleportItem* item = Find(key);
  if (item == nullptr) throw EKelAssertion("LGD_Teleport", __LINE__);
  return *item;
}

void TeleportTo(TKelgParty& hero, const TKelgTeleportItem& item) {
  TKelgMap& map = hero.World();
  hero.LeaveVehicleNow();
  int mapId = item.MapId;
  if (const TKelMapTree* tree = map.Program().MapTree)
    if (const TKelMapTreeItem* entry = tree->Find(mapId); entry != nullptr && entry->NodeType == ntArea)
      mapId = entry->ParentId;
  hero.TransferTo(mapId, item.X, item.Y);
  hero.Direction = hero.Facing = 2;
  if (item.SwitchOn != 0) map.System().SetSwitch(item.SwitchId, 1);
  map.RefreshEvents();
}
