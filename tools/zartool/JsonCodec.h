#pragma once
// Records, lists and whole data files as JSON, driven by each record's field
// table: the member names are the fields' names, the values follow the kinds.

#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "TextCodec.h"
#include "data/Catalog.h"

using TJson = nlohmann::ordered_json;

// A JSON document that does not describe a valid file; names the place.
class EJsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TJsonCodec {
 public:
  explicit TJsonCodec(const TTextCodec& text) : Text_(text) {}

  TJson RecordToJson(TCatalogBaseItem& record) const;
  TJson ListToJson(TCatalog& list) const;
  void RecordFromJson(TCatalogBaseItem& record, const TJson& json, const std::string& where) const;
  void ListFromJson(TCatalog& list, const TJson& json, const std::string& where) const;

  // Whole files, kind found by the magic (dump) or the "magic" member (pack).
  TJson FileToJson(const std::vector<std::uint8_t>& bytes, const std::string& fileName) const;
  std::vector<std::uint8_t> FileFromJson(const TJson& json) const;

  TJson TextToJson(const std::string& bytes) const;
  std::string TextFromJson(const TJson& json, const std::string& where) const;

 private:
  TJson FieldToJson(const TCatalogVarData& v) const;
  void FieldFromJson(const TCatalogVarData& v, const TJson& json, const std::string& where) const;
  TJson BlockToJson(const std::uint8_t* data, std::size_t size, TCatalogElement element) const;
  std::string BlockFromJson(const TJson& json, TCatalogElement element, const std::string& where) const;
  const TTextCodec& Text_;
};

// Indented JSON with arrays of numbers kept on one line.
std::string FormatJson(const TJson& json);

// The magic string at the start of a data file, empty when there is none.
std::string PeekMagic(const std::vector<std::uint8_t>& bytes);
