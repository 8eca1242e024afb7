#pragma once
// The destinations of teleport skills, keyed by map id, and the escape
// destination under key 0, which always exists.

#include <cstdint>

#include "data/Catalog.h"

class TKelgTeleportItem : public TCatalogItem {
public:
  std::int32_t MapId = 0;
  std::int32_t X = 0;
  std::int32_t Y = 0;
  std::uint8_t SwitchOn = 0;
  std::int32_t SwitchId = 0;

  TKelgTeleportItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};

class TKelgTeleport : public TCatalogOf<TKelgTeleportItem> {
public:
  TKelgTeleport() { Reset(); }

  // Empty but for the escape entry.
  void Reset();
  void LoadFromStream(TStreamReader& stream) override;

  TKelgTeleportItem& EscapePoint() const;
  void SetEscapePoint(std::int32_t mapId, std::int32_t x, std::int32_t y, bool switchOn, std::int32_t switchId);
  // Creates or replaces the entry of the map.
  void SetDestination(std::int32_t mapId, std::int32_t x, std::int32_t y, bool switchOn, std::int32_t switchId);
  // Every other entry keeps its key.
  void RemoveDestination(std::int32_t mapId);
  int DestinationCount() const { return Count() - 1; }
  // The n-th teleport destination (0-based, key order, the escape entry left out).
  TKelgTeleportItem& Destination(int index) const;
  // Entries that must exist: a missing one is an internal error.
  TKelgTeleportItem& EntryAt(int index) const;
  TKelgTeleportItem& EntryOf(std::int32_t key) const;
};

class TKelgParty;

// Takes the hero to a teleport or escape destination: off any vehicle, onto
// the parent map when the destination is an area, facing down, with the
// destination's switch turned on and the events' pages chosen again.
void TeleportTo(TKelgParty& hero, const TKelgTeleportItem& item);
