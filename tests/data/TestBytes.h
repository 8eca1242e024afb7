#pragma once
// Small helpers shared by the data tests: bytes from hex, records to bytes.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "data/Catalog.h"

inline std::vector<std::uint8_t> Hex(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  std::istringstream in(text);
  std::string byte;
  while (in >> byte) bytes.push_back(static_cast<std::uint8_t>(std::stoul(byte, nullptr, 16)));
  return bytes;
}

inline std::vector<std::uint8_t> Encode(TCatalogBaseItem& record) {
  TStreamWriter writer;
  record.SaveToStream(writer);
  return writer.TakeBytes();
}

inline std::vector<std::uint8_t> Encode(TCatalog& list) {
  TStreamWriter writer;
  list.SaveToStream(writer);
  return writer.TakeBytes();
}

template <class Record>
void Decode(Record& record, const std::vector<std::uint8_t>& bytes) {
  TStreamReader reader(bytes, "test.bin");
  record.LoadFromStream(reader);
}
