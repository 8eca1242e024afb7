#include "data/Catalog.h"

#include <algorithm>
#include <cstring>

void TCatalogVarData::Reset() { *this = TCatalogVarData(); }

void TCatalogVarData::SetBlock(TCatalogFieldKind kind, void* data, std::int32_t size) {
  Kind = kind;
  Data = data;
  Size = size;
  DefaultNumber = 2147483647;
}

void TCatalogVarData::SetNumber(std::int32_t* data, std::int32_t defaultValue) {
  Kind = fkNumber;
  Data = data;
  Size = 0;
  DefaultNumber = defaultValue;
}

void TCatalogVarData::SetByte(std::uint8_t* data, std::uint8_t defaultValue) {
  Kind = fkByte;
  Data = data;
  Size = 1;
  DefaultByte = defaultValue;
}

void TCatalogVarData::SetReal(double* data, double defaultValue) {
  Kind = fkReal;
  Data = data;
  Size = 8;
  DefaultReal = defaultValue;
}

void TCatalogVarData::SetString(std::string* data, bool emptyIsDefault) {
  Kind = fkString;
  Data = data;
  Size = 0;
  EmptyIsDefault = emptyIsDefault;
}

void TCatalogVarData::Number(const char* name, std::int32_t* data, std::int32_t defaultValue) {
  SetNumber(data, defaultValue);
  Name = name;
}

void TCatalogVarData::Byte(const char* name, std::uint8_t* data, std::uint8_t defaultValue) {
  SetByte(data, defaultValue);
  Name = name;
}

void TCatalogVarData::Real(const char* name, double* data, double defaultValue) {
  SetReal(data, defaultValue);
  Name = name;
}

void TCatalogVarData::String(const char* name, std::string* data, bool emptyIsDefault) {
  SetString(data, emptyIsDefault);
  Name = name;
}

void TCatalogVarData::Fixed(const char* name, void* data, std::int32_t size, TCatalogElement element) {
  SetBlock(fkFixed, data, size);
  Name = name;
  Element = element;
}

void TCatalogVarData::Buffer(const char* name, std::vector<std::uint8_t>* data, TCatalogElement element) {
  SetBlock(fkBuffer, data, static_cast<std::int32_t>(data->size()));
  Name = name;
  Element = element;
}

void TCatalogVarData::List(const char* name, TCatalog* list) {
  SetBlock(fkList, list, 0);
  Name = name;
}

void TCatalogVarData::Record(const char* name, TCatalogBaseItem* record) {
  SetBlock(fkRecord, record, 0);
  Name = name;
}

// ---------------------------------------------------------------------------

void TCatalogBaseItem::Clear() { UnknownChunks.clear(); }

void TCatalogBaseItem::Assign(const TCatalogBaseItem& source) {
  TStreamWriter copy;
  // Writing only reads the source, but shares the non-const field query.
  const_cast<TCatalogBaseItem&>(source).SaveToStream(copy);
  TStreamReader reader(copy.Bytes(), "(copy)");
  LoadFromStream(reader);
}

void TCatalogBaseItem::LoadFromStream(TStreamReader& stream) {
  Clear();
  ReadChunks(stream);
  AfterLoad();
}

void TCatalogBaseItem::SaveToStream(TStreamWriter& stream) {
  BeforeSave();
  WriteChunks(stream);
}

void TCatalogBaseItem::ReadChunks(TStreamReader& stream) {
  TCatalogVarData v;
  for (;;) {
    std::int32_t id = ReadBerNumber(stream);
    if (id == 0) return;
    std::size_t lengthAt = stream.Position();
    std::int32_t length = ReadBerNumber(stream);
    if (length < 0 || static_cast<std::size_t>(length) > stream.Remaining())
      stream.FailAt("chunk " + std::to_string(id) + " length " + std::to_string(length) + " exceeds the " +
                        std::to_string(stream.Remaining()) + " bytes that remain in its record",
                    lengthAt);
    TStreamReader payload = stream.TakeReader(static_cast<std::size_t>(length));

    v.Reset();
    v.ChunkLength = payload.Size();
    v.Source = &payload;
    DescribeField(id, v, true);
    switch (v.Kind) {
      case fkNumber:
        *static_cast<std::int32_t*>(v.Data) = ReadBerNumber(payload);
        break;
      case fkFixed:
      case fkByte:
      case fkReal:
        // A block of another size is left at its default.
        if (payload.Size() == static_cast<std::size_t>(v.Size)) payload.ReadBytes(v.Data, payload.Size());
        break;
      case fkBuffer: {
        auto bytes = payload.Take(payload.Size());
        static_cast<std::vector<std::uint8_t>*>(v.Data)->assign(bytes.begin(), bytes.end());
        break;
      }
      case fkString: {
        auto bytes = payload.Take(payload.Size());
        static_cast<std::string*>(v.Data)->assign(reinterpret_cast<const char*>(bytes.data()), bytes.size());
        break;
      }
      case fkList:
        static_cast<TCatalog*>(v.Data)->LoadFromStream(payload);
        break;
      case fkRecord:
        static_cast<TCatalogBaseItem*>(v.Data)->LoadFromStream(payload);
        break;
      case fkNone: {
        auto bytes = payload.Take(payload.Size());
        UnknownChunks[id].assign(bytes.begin(), bytes.end());
        break;
      }
    }
  }
}

namespace {

bool HoldsDefault(const TCatalogVarData& v) {
  switch (v.Kind) {
    case fkNumber: return *static_cast<const std::int32_t*>(v.Data) == v.DefaultNumber;
    case fkByte: return *static_cast<const std::uint8_t*>(v.Data) == v.DefaultByte;
    case fkReal: return *static_cast<const double*>(v.Data) == v.DefaultReal;
    case fkString: return v.EmptyIsDefault && static_cast<const std::string*>(v.Data)->empty();
    default: return false;
  }
}

void WriteChunk(TStreamWriter& stream, std::int32_t id, std::span<const std::uint8_t> payload) {
  WriteBerNumber(stream, id);
  WriteBerNumber(stream, static_cast<std::int32_t>(payload.size()));
  stream.WriteBytes(payload);
}

void WriteField(TStreamWriter& stream, int id, const TCatalogVarData& v) {
  switch (v.Kind) {
    case fkNumber:
      WriteBerNumber(stream, id);
      WriteBerNumber(stream, *static_cast<const std::int32_t*>(v.Data), true);
      break;
    case fkFixed:
    case fkByte:
    case fkReal:
      WriteChunk(stream, id, {static_cast<const std::uint8_t*>(v.Data), static_cast<std::size_t>(v.Size)});
      break;
    case fkBuffer:
      WriteChunk(stream, id, *static_cast<const std::vector<std::uint8_t>*>(v.Data));
      break;
    case fkString: {
      auto text = static_cast<const std::string*>(v.Data);
      WriteChunk(stream, id, {reinterpret_cast<const std::uint8_t*>(text->data()), text->size()});
      break;
    }
    case fkList: {
      TStreamWriter scratch;
      static_cast<TCatalog*>(v.Data)->SaveToStream(scratch);
      WriteChunk(stream, id, scratch.Bytes());
      break;
    }
    case fkRecord: {
      TStreamWriter scratch;
      static_cast<TCatalogBaseItem*>(v.Data)->SaveToStream(scratch);
      WriteChunk(stream, id, scratch.Bytes());
      break;
    }
    case fkNone:
      break;
  }
}

}  // namespace

void TCatalogBaseItem::WriteChunks(TStreamWriter& stream) {
  auto unknown = UnknownChunks.begin();
  auto writeUnknownBelow = [&](std::int64_t limit) {
    for (; unknown != UnknownChunks.end() && unknown->first < limit; ++unknown) WriteChunk(stream, unknown->first, unknown->second);
  };
  TCatalogVarData v;
  for (int id = 1; id <= kMaxFieldId; ++id) {
    writeUnknownBelow(id);
    v.Reset();
    DescribeField(id, v, false);
    if (v.Kind == fkNone) {
      if (unknown != UnknownChunks.end() && unknown->first == id) {
        WriteChunk(stream, id, unknown->second);
        ++unknown;
      }
      continue;
    }
    if (unknown != UnknownChunks.end() && unknown->first == id) ++unknown;  // a field owns this id
    if (!HoldsDefault(v)) WriteField(stream, id, v);
  }
  writeUnknownBelow(INT64_MAX);
  stream.WriteByte(0);
}

// ---------------------------------------------------------------------------

TCatalogItem* TCatalog::ItemAt(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return Items_[static_cast<std::size_t>(index)].get();
}

namespace {

// Items are always in ascending key order, so look-ups can bisect.
template <class Items>
auto LowerBound(Items& items, std::int32_t key) {
  return std::lower_bound(items.begin(), items.end(), key,
                          [](const std::unique_ptr<TCatalogItem>& item, std::int32_t wanted) { return item->Key < wanted; });
}

}  // namespace

TCatalogItem* TCatalog::Find(std::int32_t key) const {
  if (Items_.empty() || key > Items_.back()->Key) return nullptr;
  if (key >= 1 && key <= Count() && Items_[static_cast<std::size_t>(key - 1)]->Key == key)
    return Items_[static_cast<std::size_t>(key - 1)].get();
  auto it = LowerBound(Items_, key);
  return it != Items_.end() && (*it)->Key == key ? it->get() : nullptr;
}

TCatalogItem& TCatalog::Get(std::int32_t key) {
  if (Items_.empty() || key > Items_.back()->Key) {
    Items_.push_back(CreateItem(key));
    return *Items_.back();
  }
  if (TCatalogItem* item = Find(key)) return *item;
  return **Items_.insert(LowerBound(Items_, key), CreateItem(key));
}

TCatalogItem& TCatalog::Add() {
  std::int32_t key = Items_.empty() ? 1 : Items_.back()->Key + 1;
  Items_.push_back(CreateItem(key));
  return *Items_.back();
}

void TCatalog::Delete(std::int32_t key) {
  for (auto it = Items_.begin(); it != Items_.end(); ++it) {
    if ((*it)->Key != key) continue;
    it = Items_.erase(it);
    for (; it != Items_.end(); ++it) (*it)->SetKey((*it)->Key - 1);
    return;
  }
}

void TCatalog::Assign(const TCatalog& source) {
  Clear();
  for (const auto& item : source.Items_) Get(item->Key).Assign(*item);
}

void TCatalog::LoadFromStream(TStreamReader& stream) {
  Clear();
  std::size_t countAt = stream.Position();
  std::int32_t count = ReadBerNumber(stream);
  // Every item takes at least a key byte and a terminator byte.
  if (count < 0 || static_cast<std::size_t>(count) > stream.Remaining() / 2)
    stream.FailAt("list count " + std::to_string(count) + " exceeds the " + std::to_string(stream.Remaining()) +
                      " bytes that remain",
                  countAt);
  // Items are read in file order and sorted once: inserting each by key
  // would take quadratic time on a file listed backwards.
  std::vector<std::unique_ptr<TCatalogItem>> read;
  read.reserve(static_cast<std::size_t>(count));
  bool sorted = true;
  for (std::int32_t i = 0; i < count; ++i) {
    std::int32_t key = ReadBerNumber(stream);
    auto item = CreateItem(key);
    item->LoadFromStream(stream);
    sorted = sorted && (read.empty() || read.back()->Key < key);
    read.push_back(std::move(item));
  }
  if (!sorted) {
    std::stable_sort(read.begin(), read.end(), [](const auto& a, const auto& b) { return a->Key < b->Key; });
    // A key repeated in the file keeps only its last record.
    std::vector<std::unique_ptr<TCatalogItem>> unique;
    for (auto& item : read) {
      if (!unique.empty() && unique.back()->Key == item->Key) unique.back() = std::move(item);
      else unique.push_back(std::move(item));
    }
    read = std::move(unique);
  }
  Items_ = std::move(read);
}

void TCatalog::SaveToStream(TStreamWriter& stream) {
  WriteBerNumber(stream, Count());
  for (int i = 0; i < Count(); ++i) {
    WriteBerNumber(stream, ItemAt(i)->Key);
    SaveItem(i, stream);
  }
}
