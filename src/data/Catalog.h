#pragma once
// The chunk codec. A record says once, in `DescribeField`, which chunk id is
// which field; the generic reader and writer here (and the data tool's JSON)
// follow from that one table.

#include <bit>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "data/StreamUtils.h"

static_assert(std::endian::native == std::endian::little, "fixed blocks are stored as they lie in memory");

enum TCatalogFieldKind : std::uint8_t {
  fkNumber = 0,
  fkFixed = 1,
  fkBuffer = 2,
  fkString = 3,
  fkList = 4,
  fkRecord = 5,
  fkByte = 6,
  fkReal = 7,
  fkNone = 8,
};

// How the bytes of a block are shown outside the codec (the data tool).
enum class TCatalogElement : std::uint8_t { U8, U16, I32, Script, Route };

class TCatalog;
class TCatalogBaseItem;

// One field's descriptor, filled by `DescribeField` for one chunk id.
struct TCatalogVarData {
  TCatalogFieldKind Kind = fkNone;
  void* Data = nullptr;
  std::int32_t Size = 0;
  std::int32_t DefaultNumber = 0;
  std::uint8_t DefaultByte = 0;
  double DefaultReal = 0;
  bool EmptyIsDefault = false;
  // The field's member name, also its name in the data tool's JSON.
  const char* Name = "";
  TCatalogElement Element = TCatalogElement::U8;
  // Recomputed from another field before writing (script and route sizes).
  bool Derived = false;
  // While loading: the payload of the chunk being read (its length and its
  // place in the file, for records that decode a block afterwards).
  std::size_t ChunkLength = 0;
  const TStreamReader* Source = nullptr;

  void Reset();
  void SetBlock(TCatalogFieldKind kind, void* data, std::int32_t size);
  void SetNumber(std::int32_t* data, std::int32_t defaultValue);
  void SetByte(std::uint8_t* data, std::uint8_t defaultValue);
  void SetReal(double* data, double defaultValue);
  void SetString(std::string* data, bool emptyIsDefault);

  // The same, with the field's name; the blocks also say how they are shown.
  void Number(const char* name, std::int32_t* data, std::int32_t defaultValue);
  void Byte(const char* name, std::uint8_t* data, std::uint8_t defaultValue);
  void Real(const char* name, double* data, double defaultValue);
  void String(const char* name, std::string* data, bool emptyIsDefault);
  void Fixed(const char* name, void* data, std::int32_t size, TCatalogElement element = TCatalogElement::U8);
  void Buffer(const char* name, std::vector<std::uint8_t>* data, TCatalogElement element = TCatalogElement::U8);
  void List(const char* name, TCatalog* list);
  void Record(const char* name, TCatalogBaseItem* record);
};

inline constexpr int kMaxFieldId = 999;

class TCatalogBaseItem {
 public:
  TCatalogBaseItem() = default;
  TCatalogBaseItem(const TCatalogBaseItem&) = delete;
  TCatalogBaseItem& operator=(const TCatalogBaseItem&) = delete;
  virtual ~TCatalogBaseItem() = default;

  virtual void DescribeField(int id, TCatalogVarData& v, bool loading) = 0;
  virtual void Clear();
  // Deep copy through the encoding.
  void Assign(const TCatalogBaseItem& source);
  virtual void LoadFromStream(TStreamReader& stream);
  virtual void SaveToStream(TStreamWriter& stream);

  // Hooks around the generic pass: build the parsed form of raw fields after
  // reading, and encode it back before writing.
  virtual void AfterLoad() {}
  virtual void BeforeSave() {}

  // Chunks no field claims, kept by id so that they are written back in place.
  std::map<std::int32_t, std::vector<std::uint8_t>> UnknownChunks;

 protected:
  void ReadChunks(TStreamReader& stream);
  void WriteChunks(TStreamWriter& stream);
};

class TCatalogItem : public TCatalogBaseItem {
 public:
  std::int32_t Key = 0;
  std::string Name;

  virtual void SetKey(std::int32_t key) { Key = key; }
};

class TCatalog {
 public:
  TCatalog() = default;
  TCatalog(const TCatalog&) = delete;
  TCatalog& operator=(const TCatalog&) = delete;
  virtual ~TCatalog() = default;

  void Clear() { Items_.clear(); }
  int Count() const { return static_cast<int>(Items_.size()); }
  // Nil when the index is outside the list.
  TCatalogItem* ItemAt(int index) const;
  TCatalogItem* Find(std::int32_t key) const;
  // The item with that key, created in key order when missing.
  TCatalogItem& Get(std::int32_t key);
  TCatalogItem& Add();
  // Removes the item and closes the gap: later keys drop by one.
  void Delete(std::int32_t key);

  virtual void LoadItem(int index, TStreamReader& stream) { ItemAt(index)->LoadFromStream(stream); }
  virtual void SaveItem(int index, TStreamWriter& stream) { ItemAt(index)->SaveToStream(stream); }
  void Assign(const TCatalog& source);
  virtual void LoadFromStream(TStreamReader& stream);
  virtual void SaveToStream(TStreamWriter& stream);

 protected:
  virtual std::unique_ptr<TCatalogItem> CreateItem(std::int32_t key) const = 0;

 private:
  std::vector<std::unique_ptr<TCatalogItem>> Items_;
};

// A keyed list of one record class. `At` and `ById` are the tables'
// accessors: a missing entry raises the table's own message.
template <class Item>
class TCatalogOf : public TCatalog {
 public:
  explicit TCatalogOf(const char* invalidMessage = "Invalid Entry") : InvalidMessage_(invalidMessage) {}

  Item* ItemAt(int index) const { return static_cast<Item*>(TCatalog::ItemAt(index)); }
  Item* Find(std::int32_t key) const { return static_cast<Item*>(TCatalog::Find(key)); }
  Item& Get(std::int32_t key) { return static_cast<Item&>(TCatalog::Get(key)); }
  Item& Add() { return static_cast<Item&>(TCatalog::Add()); }

  Item& At(int index) const {
    Item* item = index >= 0 ? ItemAt(index) : nullptr;
    if (item == nullptr) throw EKelInvalid(InvalidMessage_);
    return *item;
  }
  Item& ById(std::int32_t key) const {
    Item* item = Find(key);
    if (item == nullptr) throw EKelInvalid(InvalidMessage_);
    return *item;
  }
  const char* InvalidMessage() const { return InvalidMessage_; }

 protected:
  std::unique_ptr<TCatalogItem> CreateItem(std::int32_t key) const override {
    auto item = std::make_unique<Item>();
    item->SetKey(key);
    return item;
  }

 private:
  const char* InvalidMessage_;
};
