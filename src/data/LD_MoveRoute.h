#pragma once
// Move routes: the commands a character walks by, stored as one encoded block.

#include <cstdint>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_EventScript.h"

enum TKelMoveCode : std::int32_t {
  mcSwitchOn = 32,
  mcSwitchOff = 33,
  mcChangeGraphic = 34,
  mcPlaySound = 35,
};

struct TKelMoveRouteItem {
  std::int32_t Code = 0;
  std::int32_t SwitchId = 0;
  std::string GraphicName;
  std::int32_t GraphicIndex = 0;
  std::string SoundName;
  std::int32_t SoundVolume = 0;
  std::int32_t SoundTempo = 0;
  std::int32_t SoundBalance = 0;
  bool operator==(const TKelMoveRouteItem&) const = default;
};

// Commands to the end of the data; an unknown code carries no parameters.
std::vector<TKelMoveRouteItem> DecodeMoveRoute(TStreamReader& stream);
void EncodeMoveRoute(TStreamWriter& stream, const std::vector<TKelMoveRouteItem>& commands);

class TKelMoveRoute : public TCatalogBaseItem {
 public:
  std::int32_t RouteSize = 0;
  std::vector<std::uint8_t> RouteData;
  std::uint8_t Repeat = 1;
  std::uint8_t Skippable = 0;
  std::vector<TKelMoveRouteItem> Commands;

  TKelMoveRoute() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void AfterLoad() override;
  void BeforeSave() override;

  // Replaces the commands from raw route bytes (the move command's parameters).
  void SetRouteData(const std::uint8_t* data, std::size_t size);
  int Count() const { return static_cast<int>(Commands.size()); }
  // Same number of commands with equal codes in order; parameters not compared.
  bool SameCommands(const TKelMoveRoute& other) const;

 private:
  TKelBlockOrigin RouteOrigin_;
};
