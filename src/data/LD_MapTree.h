#pragma once
// The map tree: every map with its place in the tree and its settings, the
// display order, and the start positions of the party and the vehicles.

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_System.h"

inline constexpr const char* kMapTreeMagic = "KelMapTree";

class TKelEncountItem : public TCatalogItem {
 public:
  std::int32_t TroopId = 1;

  TKelEncountItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};
using TKelEncount = TCatalogOf<TKelEncountItem>;

enum TKelMapNodeType : std::uint8_t { ntRoot = 0, ntMap = 1, ntArea = 2 };

class TKelMapTreeItem : public TCatalogItem {
 public:
  std::int32_t ParentId = 0;
  std::int32_t Depth = 0;
  std::uint8_t NodeType = 0;
  std::int32_t EditorScrollX = 0, EditorScrollY = 0;
  std::uint8_t Expanded = 0;
  std::uint8_t MusicType = 0;
  TKelMusic Music;
  std::uint8_t BackgroundType = 0;
  std::string BackgroundName;
  std::uint8_t TeleportAllowed = 0, EscapeAllowed = 0, SaveAllowed = 0;
  TKelEncount Encounters;
  std::int32_t EncounterSteps = 25;
  std::array<std::int32_t, 4> AreaRect{};  // left, top, right, bottom in tiles

  TKelMapTreeItem() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  // Whether the cell lies inside the area rectangle.
  bool AreaContains(std::int32_t x, std::int32_t y) const;
};

class TKelMapStartPosition : public TCatalogBaseItem {
 public:
  std::int32_t PartyMapId = 0, PartyX = 0, PartyY = 0;
  std::int32_t BoatMapId = 0, BoatX = 0, BoatY = 0;
  std::int32_t ShipMapId = 0, ShipX = 0, ShipY = 0;
  std::int32_t AirshipMapId = 0, AirshipX = 0, AirshipY = 0;

  TKelMapStartPosition() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
};

// `ItemAt` and `Find` of the tree's table accessors raise "Invalid Map" (as
// `At` and `ById`); the codec's nullable forms stay available.
class TKelMapTree : public TCatalogOf<TKelMapTreeItem> {
 public:
  TKelMapTree() : TCatalogOf<TKelMapTreeItem>("Invalid Map") {}

  std::vector<std::int32_t> Order;
  std::int32_t SelectedMap = 0;
  TKelMapStartPosition StartPosition;
  // Top-level bytes after the start record, kept so that a file is written back whole.
  std::vector<std::uint8_t> Trailing;

  // Deletes the temporary copies of the maps of the tree being replaced
  // (when a temporary folder is given), then reads "ZAR_RT.kmt".
  void Load(const std::filesystem::path& gameFolder, const std::filesystem::path& tempFolder = {});
  void LoadFromFile(const std::filesystem::path& fileName);
  void LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName);
  void ClearTree();
  std::vector<std::uint8_t> SaveToBytes();
  void SaveToFile(const std::filesystem::path& fileName);

  // The map, its parent, grandparent ... up to the root; the walk stops at a
  // missing map or at a map already visited (a chain that loops).
  std::vector<std::int32_t> Ancestors(std::int32_t mapId) const;
  bool ParentChainLoops(std::int32_t mapId) const;
};
