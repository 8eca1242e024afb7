#include "JsonCodec.h"

#include <cstring>
#include <limits>

#include "data/LD_DataBase.h"
#include "data/LD_EventScript.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "data/LD_MoveRoute.h"

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

std::size_t ElementSize(TCatalogElement element) {
  switch (element) {
    case TCatalogElement::U16: return 2;
    case TCatalogElement::I32: return 4;
    default: return 1;
  }
}

[[noreturn]] void Fail(const std::string& where, const std::string& problem) { throw EJsonError(where + ": " + problem); }

std::int64_t Integer(const TJson& json, const std::string& where, std::int64_t low, std::int64_t high) {
  if (!json.is_number_integer()) Fail(where, "expected a whole number");
  std::int64_t value = json.is_number_unsigned() && json.get<std::uint64_t>() > static_cast<std::uint64_t>(INT64_MAX)
                           ? INT64_MAX
                           : json.get<std::int64_t>();
  if (value < low || value > high)
    Fail(where, std::to_string(value) + " is outside " + std::to_string(low) + ".." + std::to_string(high));
  return value;
}

std::int32_t Int32(const TJson& json, const std::string& where) {
  return static_cast<std::int32_t>(Integer(json, where, INT32_MIN, INT32_MAX));
}

std::int32_t KeyOf(const std::string& text, const std::string& where) {
  std::size_t used = 0;
  long long key = 0;
  try {
    key = std::stoll(text, &used);
  } catch (const std::exception&) {
    used = 0;
  }
  if (used != text.size() || text.empty() || key < INT32_MIN || key > INT32_MAX) Fail(where, "\"" + text + "\" is not an id");
  return static_cast<std::int32_t>(key);
}

const TJson& Member(const TJson& json, const char* name, const std::string& where) {
  auto it = json.find(name);
  if (it == json.end()) Fail(where, std::string("missing \"") + name + "\"");
  return *it;
}

}  // namespace

TJson TJsonCodec::TextToJson(const std::string& bytes) const {
  if (auto text = Text_.ToUtf8(bytes)) return *text;
  return TJson{{"bytes", ToHex(bytes.data(), bytes.size())}};
}

std::string TJsonCodec::TextFromJson(const TJson& json, const std::string& where) const {
  if (json.is_string()) {
    auto bytes = Text_.FromUtf8(json.get<std::string>());
    if (!bytes) Fail(where, "text does not convert to " + Text_.Encoding());
    return *bytes;
  }
  if (json.is_object() && json.size() == 1 && json.contains("bytes") && json["bytes"].is_string()) {
    auto bytes = FromHex(json["bytes"].get<std::string>());
    if (!bytes) Fail(where, "\"bytes\" is not hex");
    return *bytes;
  }
  Fail(where, "expected a string or {\"bytes\": hex}");
}

TJson TJsonCodec::BlockToJson(const std::uint8_t* data, std::size_t size, TCatalogElement element) const {
  if (element == TCatalogElement::Script) {
    TKelEventScriptList lines;
    TStreamReader reader({data, size}, "(script)");
    lines.LoadFromStream(reader);
    TJson json = TJson::array();
    for (const auto& line : lines.Lines())
      json.push_back({{"code", line.Code}, {"indent", line.Indent}, {"text", TextToJson(line.Text)}, {"params", line.Params}});
    return json;
  }
  if (element == TCatalogElement::Route) {
    TStreamReader reader({data, size}, "(route)");
    TJson json = TJson::array();
    for (const auto& item : DecodeMoveRoute(reader)) {
      TJson command = {{"Code", item.Code}};
      switch (item.Code) {
        case mcSwitchOn:
        case mcSwitchOff: command["SwitchId"] = item.SwitchId; break;
        case mcChangeGraphic:
          command["GraphicName"] = TextToJson(item.GraphicName);
          command["GraphicIndex"] = item.GraphicIndex;
          break;
        case mcPlaySound:
          command["SoundName"] = TextToJson(item.SoundName);
          command["SoundVolume"] = item.SoundVolume;
          command["SoundTempo"] = item.SoundTempo;
          command["SoundBalance"] = item.SoundBalance;
          break;
        default: break;
      }
      json.push_back(command);
    }
    return json;
  }
  std::size_t width = ElementSize(element);
  if (size % width != 0) return TJson{{"bytes", ToHex(data, size)}};
  TJson json = TJson::array();
  for (std::size_t at = 0; at < size; at += width) {
    if (element == TCatalogElement::U16) {
      std::uint16_t value;
      std::memcpy(&value, data + at, 2);
      json.push_back(value);
    } else if (element == TCatalogElement::I32) {
      std::int32_t value;
      std::memcpy(&value, data + at, 4);
      json.push_back(value);
    } else {
      json.push_back(data[at]);
    }
  }
  return json;
}

std::string TJsonCodec::BlockFromJson(const TJson& json, TCatalogElement element, const std::string& where) const {
  if (json.is_object()) return TextFromJson(json, where);  // {"bytes": hex}
  if (!json.is_array()) Fail(where, "expected an array");
  if (element == TCatalogElement::Script) {
    TKelEventScriptList lines;
    for (std::size_t i = 0; i < json.size(); ++i) {
      std::string at = where + "[" + std::to_string(i) + "]";
      const TJson& item = json[i];
      if (!item.is_object()) Fail(at, "expected a script line object");
      auto& line = lines.AddLine();
      line.Code = Int32(Member(item, "code", at), at + ".code");
      line.Indent = Int32(Member(item, "indent", at), at + ".indent");
      line.Text = TextFromJson(Member(item, "text", at), at + ".text");
      const TJson& params = Member(item, "params", at);
      if (!params.is_array()) Fail(at + ".params", "expected an array");
      for (const auto& param : params) line.Params.push_back(Int32(param, at + ".params"));
      if (item.size() != 4) Fail(at, "a script line has exactly code, indent, text and params");
    }
    TStreamWriter writer;
    lines.SaveToStream(writer);
    return {writer.Bytes().begin(), writer.Bytes().end()};
  }
  if (element == TCatalogElement::Route) {
    std::vector<TKelMoveRouteItem> commands;
    for (std::size_t i = 0; i < json.size(); ++i) {
      std::string at = where + "[" + std::to_string(i) + "]";
      const TJson& item = json[i];
      if (!item.is_object()) Fail(at, "expected a route command object");
      TKelMoveRouteItem& command = commands.emplace_back();
      command.Code = Int32(Member(item, "Code", at), at + ".Code");
      std::size_t members = 1;
      switch (command.Code) {
        case mcSwitchOn:
        case mcSwitchOff:
          command.SwitchId = Int32(Member(item, "SwitchId", at), at);
          members = 2;
          break;
        case mcChangeGraphic:
          command.GraphicName = TextFromJson(Member(item, "GraphicName", at), at + ".GraphicName");
          command.GraphicIndex = Int32(Member(item, "GraphicIndex", at), at);
          members = 3;
          break;
        case mcPlaySound:
          command.SoundName = TextFromJson(Member(item, "SoundName", at), at + ".SoundName");
          command.SoundVolume = Int32(Member(item, "SoundVolume", at), at);
          command.SoundTempo = Int32(Member(item, "SoundTempo", at), at);
          command.SoundBalance = Int32(Member(item, "SoundBalance", at), at);
          members = 5;
          break;
        default: break;
      }
      if (item.size() != members) Fail(at, "members that this command code does not take");
    }
    TStreamWriter writer;
    EncodeMoveRoute(writer, commands);
    return {writer.Bytes().begin(), writer.Bytes().end()};
  }
  std::string bytes;
  for (std::size_t i = 0; i < json.size(); ++i) {
    std::string at = where + "[" + std::to_string(i) + "]";
    if (element == TCatalogElement::U16) {
      auto value = static_cast<std::uint16_t>(Integer(json[i], at, 0, 65535));
      bytes.append(reinterpret_cast<const char*>(&value), 2);
    } else if (element == TCatalogElement::I32) {
      auto value = Int32(json[i], at);
      bytes.append(reinterpret_cast<const char*>(&value), 4);
    } else {
      bytes.push_back(static_cast<char>(Integer(json[i], at, 0, 255)));
    }
  }
  return bytes;
}

TJson TJsonCodec::FieldToJson(const TCatalogVarData& v) const {
  switch (v.Kind) {
    case fkNumber: return *static_cast<const std::int32_t*>(v.Data);
    case fkByte: return *static_cast<const std::uint8_t*>(v.Data);
    case fkReal: return *static_cast<const double*>(v.Data);
    case fkString: return TextToJson(*static_cast<const std::string*>(v.Data));
    case fkFixed:
      if (v.Size == 1 && v.Element == TCatalogElement::U8) return *static_cast<const std::uint8_t*>(v.Data);
      return BlockToJson(static_cast<const std::uint8_t*>(v.Data), static_cast<std::size_t>(v.Size), v.Element);
    case fkBuffer: {
      auto buffer = static_cast<const std::vector<std::uint8_t>*>(v.Data);
      return BlockToJson(buffer->data(), buffer->size(), v.Element);
    }
    case fkList: return ListToJson(*static_cast<TCatalog*>(v.Data));
    case fkRecord: return RecordToJson(*static_cast<TCatalogBaseItem*>(v.Data));
    case fkNone: break;
  }
  return nullptr;
}

void TJsonCodec::FieldFromJson(const TCatalogVarData& v, const TJson& json, const std::string& where) const {
  switch (v.Kind) {
    case fkNumber: *static_cast<std::int32_t*>(v.Data) = Int32(json, where); break;
    case fkByte: *static_cast<std::uint8_t*>(v.Data) = static_cast<std::uint8_t>(Integer(json, where, 0, 255)); break;
    case fkReal:
      if (!json.is_number()) Fail(where, "expected a number");
      *static_cast<double*>(v.Data) = json.get<double>();
      break;
    case fkString: *static_cast<std::string*>(v.Data) = TextFromJson(json, where); break;
    case fkFixed: {
      std::string bytes = v.Size == 1 && v.Element == TCatalogElement::U8 && json.is_number()
                              ? std::string(1, static_cast<char>(Integer(json, where, 0, 255)))
                              : BlockFromJson(json, v.Element, where);
      if (bytes.size() != static_cast<std::size_t>(v.Size))
        Fail(where, "holds " + std::to_string(bytes.size()) + " bytes where the field has " + std::to_string(v.Size));
      std::memcpy(v.Data, bytes.data(), bytes.size());
      break;
    }
    case fkBuffer: {
      std::string bytes = BlockFromJson(json, v.Element, where);
      static_cast<std::vector<std::uint8_t>*>(v.Data)->assign(bytes.begin(), bytes.end());
      break;
    }
    case fkList: ListFromJson(*static_cast<TCatalog*>(v.Data), json, where); break;
    case fkRecord: RecordFromJson(*static_cast<TCatalogBaseItem*>(v.Data), json, where); break;
    case fkNone: break;
  }
}

TJson TJsonCodec::RecordToJson(TCatalogBaseItem& record) const {
  record.BeforeSave();
  TJson json = TJson::object();
  TCatalogVarData v;
  for (int id = 1; id <= kMaxFieldId; ++id) {
    v.Reset();
    record.DescribeField(id, v, false);
    if (v.Kind == fkNone || v.Derived || HoldsDefault(v)) continue;
    json[v.Name] = FieldToJson(v);
  }
  if (!record.UnknownChunks.empty()) {
    TJson unknown = TJson::object();
    for (const auto& [id, bytes] : record.UnknownChunks) unknown[std::to_string(id)] = ToHex(bytes.data(), bytes.size());
    json["unknown"] = unknown;
  }
  return json;
}

void TJsonCodec::RecordFromJson(TCatalogBaseItem& record, const TJson& json, const std::string& where) const {
  if (!json.is_object()) Fail(where, "expected an object");
  record.Clear();
  std::size_t used = 0;
  TCatalogVarData v;
  for (int id = 1; id <= kMaxFieldId; ++id) {
    v.Reset();
    record.DescribeField(id, v, true);
    if (v.Kind == fkNone || v.Derived) continue;
    auto it = json.find(v.Name);
    if (it == json.end()) continue;
    FieldFromJson(v, *it, where + "." + v.Name);
    ++used;
  }
  if (auto it = json.find("unknown"); it != json.end()) {
    if (!it->is_object()) Fail(where + ".unknown", "expected an object of hex chunks");
    for (const auto& [key, hex] : it->items()) {
      std::int32_t id = KeyOf(key, where + ".unknown");
      v.Reset();
      if (id >= 1 && id <= kMaxFieldId) record.DescribeField(id, v, true);
      if (id == 0 || v.Kind != fkNone) Fail(where + ".unknown", "chunk " + key + " is not unknown");
      auto bytes = hex.is_string() ? FromHex(hex.get<std::string>()) : std::nullopt;
      if (!bytes) Fail(where + ".unknown." + key, "expected hex");
      record.UnknownChunks[id].assign(bytes->begin(), bytes->end());
    }
    ++used;
  }
  if (used != json.size()) {
    for (const auto& [name, value] : json.items()) {
      bool known = name == "unknown";
      for (int id = 1; id <= kMaxFieldId && !known; ++id) {
        v.Reset();
        record.DescribeField(id, v, true);
        known = v.Kind != fkNone && !v.Derived && name == v.Name;
      }
      if (!known) Fail(where, "no field is named \"" + name + "\"");
    }
  }
  record.AfterLoad();
}

TJson TJsonCodec::ListToJson(TCatalog& list) const {
  TJson json = TJson::object();
  for (int i = 0; i < list.Count(); ++i) {
    TCatalogItem* item = list.ItemAt(i);
    json[std::to_string(item->Key)] = RecordToJson(*item);
  }
  return json;
}

void TJsonCodec::ListFromJson(TCatalog& list, const TJson& json, const std::string& where) const {
  if (!json.is_object()) Fail(where, "expected an object keyed by id");
  list.Clear();
  for (const auto& [key, value] : json.items()) {
    std::int32_t id = KeyOf(key, where);
    RecordFromJson(list.Get(id), value, where + "." + key);
  }
}

std::string PeekMagic(const std::vector<std::uint8_t>& bytes) {
  TStreamReader reader(bytes, "");
  std::string magic;
  try {
    ReadBerString(reader, magic);
  } catch (const EKelDataError&) {
    return {};
  }
  return magic;
}

TJson TJsonCodec::FileToJson(const std::vector<std::uint8_t>& bytes, const std::string& fileName) const {
  std::string magic = PeekMagic(bytes);
  TJson json = {{"magic", magic}};
  if (magic == kDataBaseMagic) {
    TKelDataBase database;
    database.LoadFromBytes(bytes, fileName);
    for (auto& table : database.Tables())
      json[table.Name] = table.List != nullptr ? ListToJson(*table.List) : RecordToJson(*table.Record);
    if (!database.UnknownChunks.empty()) {
      TJson unknown = TJson::object();
      for (const auto& [id, chunk] : database.UnknownChunks) unknown[std::to_string(id)] = ToHex(chunk.data(), chunk.size());
      json["unknown"] = unknown;
    }
  } else if (magic == kMapTreeMagic) {
    TKelMapTree tree;
    tree.LoadFromBytes(bytes, fileName);
    json["Maps"] = ListToJson(tree);
    json["Order"] = tree.Order;
    json["SelectedMap"] = tree.SelectedMap;
    json["StartPosition"] = RecordToJson(tree.StartPosition);
    if (!tree.Trailing.empty()) json["trailing"] = ToHex(tree.Trailing.data(), tree.Trailing.size());
  } else if (magic == kMapMagic) {
    TKelMap map;
    map.LoadFromBytes(bytes, fileName);
    TJson record = RecordToJson(map);
    for (auto& [name, value] : record.items()) json[name] = value;
  } else {
    throw EKelDataError(fileName + ": " + kStreamReadError + " (not a database, map tree or map file) at byte 0");
  }
  return json;
}

std::vector<std::uint8_t> TJsonCodec::FileFromJson(const TJson& json) const {
  if (!json.is_object()) Fail("(top)", "expected an object");
  const TJson& magicJson = Member(json, "magic", "(top)");
  std::string magic = magicJson.is_string() ? magicJson.get<std::string>() : "";
  if (magic == kDataBaseMagic) {
    TKelDataBase database;
    std::size_t used = 1;
    for (auto& table : database.Tables()) {
      auto it = json.find(table.Name);
      if (it == json.end()) continue;
      if (table.List != nullptr) ListFromJson(*table.List, *it, table.Name);
      else RecordFromJson(*table.Record, *it, table.Name);
      ++used;
    }
    if (auto it = json.find("unknown"); it != json.end()) {
      for (const auto& [key, hex] : it->items()) {
        std::int32_t id = KeyOf(key, "unknown");
        auto bytes = hex.is_string() ? FromHex(hex.get<std::string>()) : std::nullopt;
        if (!bytes || (id >= 11 && id <= 25)) Fail("unknown." + key, "expected hex of a table id the game does not know");
        database.UnknownChunks[id].assign(bytes->begin(), bytes->end());
      }
      ++used;
    }
    if (used != json.size()) Fail("(top)", "members that are not tables of the database");
    return database.SaveToBytes();
  }
  if (magic == kMapTreeMagic) {
    TKelMapTree tree;
    ListFromJson(tree, Member(json, "Maps", "(top)"), "Maps");
    const TJson& order = Member(json, "Order", "(top)");
    if (!order.is_array()) Fail("Order", "expected an array");
    for (const auto& id : order) tree.Order.push_back(Int32(id, "Order"));
    tree.SelectedMap = Int32(Member(json, "SelectedMap", "(top)"), "SelectedMap");
    RecordFromJson(tree.StartPosition, Member(json, "StartPosition", "(top)"), "StartPosition");
    std::size_t expected = 5;
    if (auto it = json.find("trailing"); it != json.end()) {
      auto bytes = it->is_string() ? FromHex(it->get<std::string>()) : std::nullopt;
      if (!bytes) Fail("trailing", "expected hex");
      tree.Trailing.assign(bytes->begin(), bytes->end());
      ++expected;
    }
    if (json.size() != expected) Fail("(top)", "members that are not part of a map tree");
    return tree.SaveToBytes();
  }
  if (magic == kMapMagic) {
    TKelMap map;
    TJson record = json;
    record.erase("magic");
    RecordFromJson(map, record, "map");
    return map.SaveToBytes();
  }
  Fail("magic", "\"" + magic + "\" is not KelDataBase, KelMapTree or KelMapUnit");
}

namespace {

bool AllNumbers(const TJson& json) {
  for (const auto& value : json)
    if (!value.is_number()) return false;
  return true;
}

void Format(std::string& out, const TJson& json, int depth);

// Script lines and route commands: small flat objects, one per line.
bool IsFlat(const TJson& json) {
  if (!json.is_object()) return false;
  for (const auto& value : json)
    if (value.is_structured() && !(value.is_array() && AllNumbers(value)) && !(value.is_object() && value.contains("bytes")))
      return false;
  return true;
}

void Format(std::string& out, const TJson& json, int depth) {
  std::string pad(static_cast<std::size_t>(depth), ' ');
  if (IsFlat(json) && depth > 0 && !json.empty() && json.size() <= 8 && !json.contains("Name")) {
    out += "{";
    bool first = true;
    for (const auto& [name, value] : json.items()) {
      out += (first ? "" : ", ") + TJson(name).dump() + ": ";
      first = false;
      Format(out, value, depth + 1);
    }
    out += "}";
  } else if (json.is_object() && !json.empty()) {
    out += "{\n";
    bool first = true;
    for (const auto& [name, value] : json.items()) {
      if (!first) out += ",\n";
      first = false;
      out += pad + " " + TJson(name).dump() + ": ";
      Format(out, value, depth + 1);
    }
    out += "\n" + pad + "}";
  } else if (json.is_array() && !json.empty() && !AllNumbers(json)) {
    out += "[\n";
    for (std::size_t i = 0; i < json.size(); ++i) {
      if (i > 0) out += ",\n";
      out += pad + " ";
      Format(out, json[i], depth + 1);
    }
    out += "\n" + pad + "]";
  } else if (json.is_array() && !json.empty()) {
    // Numbers run on one line: layers and curves stay readable.
    out += "[";
    for (std::size_t i = 0; i < json.size(); ++i) out += (i > 0 ? ", " : "") + json[i].dump();
    out += "]";
  } else {
    out += json.dump();
  }
}

}  // namespace

std::string FormatJson(const TJson& json) {
  std::string out;
  Format(out, json, 0);
  return out + "\n";
}
