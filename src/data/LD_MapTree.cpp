#include "data/LD_MapTree.h"

#include <algorithm>
#include <unordered_set>

#include "data/LD_Map.h"

void TKelEncountItem::DescribeField(int id, TCatalogVarData& v, bool) {
  // Default 0 in the file although Clear sets 1, as in the files authors have.
  if (id == 1) v.Number("TroopId", &TroopId, 0);
}

void TKelEncountItem::Clear() {
  TCatalogItem::Clear();
  TroopId = 1;
}

void TKelMapTreeItem::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.String("Name", &Name, true); break;
    case 2: v.Number("ParentId", &ParentId, 0); break;
    case 3: v.Number("Depth", &Depth, 0); break;
    case 4: v.Fixed("NodeType", &NodeType, 1); break;
    case 5: v.Number("EditorScrollX", &EditorScrollX, 0); break;
    case 6: v.Number("EditorScrollY", &EditorScrollY, 0); break;
    case 7: v.Byte("Expanded", &Expanded, 0); break;
    case 11: v.Fixed("MusicType", &MusicType, 1); break;
    case 12: v.Record("Music", &Music); break;
    case 21: v.Fixed("BackgroundType", &BackgroundType, 1); break;
    case 22: v.String("BackgroundName", &BackgroundName, true); break;
    case 31: v.Fixed("TeleportAllowed", &TeleportAllowed, 1); break;
    case 32: v.Fixed("EscapeAllowed", &EscapeAllowed, 1); break;
    case 33: v.Fixed("SaveAllowed", &SaveAllowed, 1); break;
    case 41: v.List("Encounters", &Encounters); break;
    case 44: v.Number("EncounterSteps", &EncounterSteps, 25); break;
    case 51: v.Fixed("AreaRect", AreaRect.data(), sizeof AreaRect, TCatalogElement::I32); break;
    default: break;
  }
}

void TKelMapTreeItem::Clear() {
  TCatalogItem::Clear();
  Name.clear();
  ParentId = Depth = 0;
  NodeType = 0;
  EditorScrollX = EditorScrollY = 0;
  Expanded = 0;
  MusicType = 0;
  Music.Clear();
  BackgroundType = 0;
  BackgroundName.clear();
  TeleportAllowed = EscapeAllowed = SaveAllowed = 0;
  Encounters.Clear();
  EncounterSteps = 25;
  AreaRect.fill(0);
}

bool TKelMapTreeItem::AreaContains(std::int32_t x, std::int32_t y) const {
  return AreaRect[0] <= x && x < AreaRect[2] && AreaRect[1] <= y && y < AreaRect[3];
}

void TKelMapStartPosition::DescribeField(int id, TCatalogVarData& v, bool) {
  switch (id) {
    case 1: v.Number("PartyMapId", &PartyMapId, 0); break;
    case 2: v.Number("PartyX", &PartyX, 0); break;
    case 3: v.Number("PartyY", &PartyY, 0); break;
    case 11: v.Number("BoatMapId", &BoatMapId, 0); break;
    case 12: v.Number("BoatX", &BoatX, 0); break;
    case 13: v.Number("BoatY", &BoatY, 0); break;
    case 21: v.Number("ShipMapId", &ShipMapId, 0); break;
    case 22: v.Number("ShipX", &ShipX, 0); break;
    case 23: v.Number("ShipY", &ShipY, 0); break;
    case 31: v.Number("AirshipMapId", &AirshipMapId, 0); break;
    case 32: v.Number("AirshipX", &AirshipX, 0); break;
    case 33: v.Number("AirshipY", &AirshipY, 0); break;
    default: break;
  }
}

void TKelMapStartPosition::Clear() {
  TCatalogBaseItem::Clear();
  PartyMapId = PartyX = PartyY = 0;
  BoatMapId = BoatX = BoatY = 0;
  ShipMapId = ShipX = ShipY = 0;
  AirshipMapId = AirshipX = AirshipY = 0;
}

void TKelMapTree::ClearTree() {
  Clear();
  Order.clear();
  SelectedMap = 0;
  StartPosition.Clear();
  Trailing.clear();
}

void TKelMapTree::Load(const std::filesystem::path& gameFolder, const std::filesystem::path& tempFolder) {
  if (!tempFolder.empty()) {
    TKelMap scratch;
    for (int i = 0; i < Count(); ++i) scratch.DeleteTempCopy(tempFolder, TCatalog::ItemAt(i)->Key);
  }
  LoadFromFile(gameFolder / "ZAR_RT.kmt");
}

void TKelMapTree::LoadFromFile(const std::filesystem::path& fileName) {
  auto bytes = ReadWholeFile(fileName.string());
  LoadFromBytes(bytes, fileName.string());
}

void TKelMapTree::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName) {
  ClearTree();
  try {
    TStreamReader reader(bytes, fileName);
    ReadMagic(reader, kMapTreeMagic);
    LoadFromStream(reader);
    std::size_t countAt = reader.Position();
    std::int32_t count = ReadBerNumber(reader);
    if (count < 0 || static_cast<std::size_t>(count) > reader.Remaining())
      reader.FailAt("tree order count " + std::to_string(count) + " exceeds the " +
                        std::to_string(reader.Remaining()) + " bytes that remain",
                    countAt);
    Order.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
      std::size_t entryAt = reader.Position();
      std::int32_t mapId = ReadBerNumber(reader);
      if (TCatalogOf::Find(mapId) == nullptr) reader.FailAt("Invalid Map " + std::to_string(mapId) + " in the tree order", entryAt);
      Order.push_back(mapId);
    }
    SelectedMap = ReadBerNumber(reader);
    StartPosition.LoadFromStream(reader);
    auto rest = reader.Take(reader.Remaining());
    Trailing.assign(rest.begin(), rest.end());
  } catch (...) {
    ClearTree();
    throw;
  }
}

std::vector<std::uint8_t> TKelMapTree::SaveToBytes() {
  TStreamWriter writer;
  WriteBerString(writer, kMapTreeMagic);
  SaveToStream(writer);
  WriteBerNumber(writer, static_cast<std::int32_t>(Order.size()));
  for (auto mapId : Order) WriteBerNumber(writer, mapId);
  WriteBerNumber(writer, SelectedMap);
  StartPosition.SaveToStream(writer);
  writer.WriteBytes(Trailing);
  return writer.TakeBytes();
}

void TKelMapTree::SaveToFile(const std::filesystem::path& fileName) { WriteWholeFile(fileName.string(), SaveToBytes()); }

std::vector<std::int32_t> TKelMapTree::Ancestors(std::int32_t mapId) const {
  std::vector<std::int32_t> chain;
  std::unordered_set<std::int32_t> seen;
  for (const TKelMapTreeItem* item = Find(mapId); item != nullptr; item = Find(item->ParentId)) {
    if (!seen.insert(item->Key).second) break;
    chain.push_back(item->Key);
    if (item->ParentId == 0) break;
  }
  return chain;
}

bool TKelMapTree::ParentChainLoops(std::int32_t mapId) const {
  std::unordered_set<std::int32_t> seen;
  for (const TKelMapTreeItem* item = Find(mapId); item != nullptr; item = Find(item->ParentId)) {
    if (!seen.insert(item->Key).second) return true;
    if (item->ParentId == 0) return false;
  }
  return false;
}
