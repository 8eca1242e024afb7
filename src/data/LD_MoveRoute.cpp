#include "data/LD_MoveRoute.h"

std::vector<TKelMoveRouteItem> DecodeMoveRoute(TStreamReader& stream) {
  std::vector<TKelMoveRouteItem> commands;
  while (!stream.AtEnd()) {
    TKelMoveRouteItem& item = commands.emplace_back();
    item.Code = ReadBerNumber(stream);
    switch (item.Code) {
      case mcSwitchOn:
      case mcSwitchOff:
        item.SwitchId = ReadBerNumber(stream);
        break;
      case mcChangeGraphic:
        ReadBerString(stream, item.GraphicName);
        item.GraphicIndex = ReadBerNumber(stream);
        break;
      case mcPlaySound:
        ReadBerString(stream, item.SoundName);
        item.SoundVolume = ReadBerNumber(stream);
        item.SoundTempo = ReadBerNumber(stream);
        item.SoundBalance = ReadBerNumber(stream);
        break;
      default:
        break;
    }
  }
  return commands;
}

void EncodeMoveRoute(TStreamWriter& stream, const std::vector<TKelMoveRouteItem>& commands) {
  for (const auto& item : commands) {
    WriteBerNumber(stream, item.Code);
    switch (item.Code) {
      case mcSwitchOn:
      case mcSwitchOff:
        WriteBerNumber(stream, item.SwitchId);
        break;
      case mcChangeGraphic:
        WriteBerString(stream, item.GraphicName);
        WriteBerNumber(stream, item.GraphicIndex);
        break;
      case mcPlaySound:
        WriteBerString(stream, item.SoundName);
        WriteBerNumber(stream, item.SoundVolume);
        WriteBerNumber(stream, item.SoundTempo);
        WriteBerNumber(stream, item.SoundBalance);
        break;
      default:
        break;
    }
  }
}

void TKelMoveRoute::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 11: v.Number("RouteSize", &RouteSize, 0); v.Derived = true; break;
    case 12:
      v.Buffer("RouteData", &RouteData, TCatalogElement::Route);
      if (loading) RouteOrigin_.Remember(v);
      break;
    case 21: v.Byte("Repeat", &Repeat, 1); break;
    case 22: v.Byte("Skippable", &Skippable, 0); break;
    default: break;
  }
}

void TKelMoveRoute::Clear() {
  TCatalogBaseItem::Clear();
  RouteSize = 0;
  RouteData.clear();
  Repeat = 1;
  Skippable = 0;
  Commands.clear();
  RouteOrigin_ = {};
}

void TKelMoveRoute::AfterLoad() {
  TStreamReader reader(RouteData, RouteOrigin_.FileName, RouteOrigin_.FileOffset);
  Commands = DecodeMoveRoute(reader);
}

void TKelMoveRoute::BeforeSave() {
  TStreamWriter encoded;
  EncodeMoveRoute(encoded, Commands);
  RouteData = encoded.TakeBytes();
  RouteSize = static_cast<std::int32_t>(RouteData.size());
}

void TKelMoveRoute::SetRouteData(const std::uint8_t* data, std::size_t size) {
  RouteData.assign(data, data + size);
  RouteSize = static_cast<std::int32_t>(size);
  RouteOrigin_ = {};
  AfterLoad();
}

bool TKelMoveRoute::SameCommands(const TKelMoveRoute& other) const {
  if (Commands.size() != other.Commands.size()) return false;
  for (std::size_t i = 0; i < Commands.size(); ++i)
    if (Commands[i].Code != other.Commands[i].Code) return false;
  return true;
}
