#include "data/LD_DataBase.h"

std::vector<TKelDataBase::TTable> TKelDataBase::Tables() {
  return {
      {11, "KelPlayer", &KelPlayer, nullptr},
      {12, "KelSkill", &KelSkill, nullptr},
      {13, "KelItem", &KelItem, nullptr},
      {14, "KelMonster", &KelMonster, nullptr},
      {15, "KelMonGroup", &KelMonGroup, nullptr},
      {16, "KelGround", &KelGround, nullptr},
      {17, "KelAttrib", &KelAttrib, nullptr},
      {18, "KelStatus", &KelStatus, nullptr},
      {19, "KelAnimation", &KelAnimation, nullptr},
      {20, "KelChipSet", &KelChipSet, nullptr},
      {21, "KelVocabulary", nullptr, &KelVocabulary},
      {22, "KelSystem", nullptr, &KelSystem},
      {23, "KelSwitch", &KelSwitch, nullptr},
      {24, "KelVariable", &KelVariable, nullptr},
      {25, "KelCommonEvent", &KelCommonEvent, nullptr},
  };
}

void TKelDataBase::Reset() {
  for (auto& table : Tables()) {
    if (table.List != nullptr) {
      table.List->Clear();
      table.List->Get(1);
    } else {
      table.Record->Clear();
    }
  }
  UnknownChunks.clear();
  HasLoaded_ = false;
  LoadedSize_ = 0;
  LoadedTime_ = {};
}

void TKelDataBase::Load(const std::filesystem::path& gameFolder) { LoadFromFile(gameFolder / kDataBaseFileName); }

void TKelDataBase::LoadFromFile(const std::filesystem::path& fileName) {
  std::error_code error;
  auto size = std::filesystem::file_size(fileName, error);
  if (error) throw EKelDataError(fileName.string() + ": cannot open the file");
  auto time = std::filesystem::last_write_time(fileName, error);
  if (!HasLoaded_ || size != LoadedSize_ || time != LoadedTime_) {
    Reset();
    HasLoaded_ = true;
    LoadedSize_ = size;
    LoadedTime_ = time;
  }
  auto bytes = ReadWholeFile(fileName.string());
  LoadFromBytes(bytes, fileName.string());
}

void TKelDataBase::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName) {
  TStreamReader reader(bytes, fileName);
  LoadFromStream(reader);
}

void TKelDataBase::LoadFromStream(TStreamReader& stream) {
  ReadMagic(stream, kDataBaseMagic);
  auto tables = Tables();
  while (!stream.AtEnd()) {
    std::int32_t id = ReadBerNumber(stream);
    std::size_t lengthAt = stream.Position();
    std::int32_t length = ReadBerNumber(stream);
    if (length < 0 || static_cast<std::size_t>(length) > stream.Remaining())
      stream.FailAt("table " + std::to_string(id) + " length " + std::to_string(length) + " exceeds the " +
                        std::to_string(stream.Remaining()) + " bytes that remain",
                    lengthAt);
    TStreamReader payload = stream.TakeReader(static_cast<std::size_t>(length));
    bool known = false;
    for (auto& table : tables) {
      if (table.Id != id) continue;
      if (table.List != nullptr) table.List->LoadFromStream(payload);
      else table.Record->LoadFromStream(payload);
      known = true;
    }
    if (!known) {
      auto rest = payload.Take(payload.Size());
      UnknownChunks[id].assign(rest.begin(), rest.end());
    }
  }
}

std::vector<std::uint8_t> TKelDataBase::SaveToBytes() {
  TStreamWriter writer;
  WriteBerString(writer, kDataBaseMagic);
  auto writeChunk = [&writer](std::int32_t id, std::span<const std::uint8_t> payload) {
    WriteBerNumber(writer, id);
    WriteBerNumber(writer, static_cast<std::int32_t>(payload.size()));
    writer.WriteBytes(payload);
  };
  auto unknown = UnknownChunks.begin();
  for (auto& table : Tables()) {
    for (; unknown != UnknownChunks.end() && unknown->first < table.Id; ++unknown) writeChunk(unknown->first, unknown->second);
    if (unknown != UnknownChunks.end() && unknown->first == table.Id) ++unknown;
    TStreamWriter payload;
    if (table.List != nullptr) table.List->SaveToStream(payload);
    else table.Record->SaveToStream(payload);
    writeChunk(table.Id, payload.Bytes());
  }
  for (; unknown != UnknownChunks.end(); ++unknown) writeChunk(unknown->first, unknown->second);
  return writer.TakeBytes();
}

void TKelDataBase::SaveToFile(const std::filesystem::path& fileName) { WriteWholeFile(fileName.string(), SaveToBytes()); }

void TKelDataBase::PrepareEditorSave() {
  int states = KelStatus.Count();
  int attribs = KelAttrib.Count();
  for (int i = 0; i < KelPlayer.Count(); ++i) KelPlayer.ItemAt(i)->TrimTables(states, attribs);
  for (int i = 0; i < KelSkill.Count(); ++i) KelSkill.ItemAt(i)->TrimTables(states, attribs);
  for (int i = 0; i < KelItem.Count(); ++i) KelItem.ItemAt(i)->TrimTables(states, attribs);
  for (int i = 0; i < KelMonster.Count(); ++i) KelMonster.ItemAt(i)->TrimTables(states, attribs);
  ++KelSystem.SaveCount;
}
