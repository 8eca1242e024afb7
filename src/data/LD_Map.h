#pragma once
// Map files: size, chip set, panorama, the two tile layers and the events.

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "data/Catalog.h"
#include "data/LD_Event.h"

inline constexpr const char* kMapMagic = "KelMapUnit";
inline constexpr std::int32_t kLowerLayerFill = 0;
inline constexpr std::int32_t kUpperLayerFill = 10000;
inline constexpr std::int32_t kDefaultMapWidth = 20;
inline constexpr std::int32_t kDefaultMapHeight = 15;

// One tile layer: 16-bit tile ids, row-major.
class TKelMapLayer {
 public:
  explicit TKelMapLayer(std::uint16_t fill) : Fill(fill) { Resize(kDefaultMapWidth, kDefaultMapHeight); }

  std::int32_t Width = 0;
  std::int32_t Height = 0;
  bool LoopX = false;
  bool LoopY = false;
  std::uint16_t Fill;
  std::vector<std::uint16_t> Tiles;

  // Keeps the old contents where they fit; the rest takes `Fill`.
  void Resize(std::int32_t width, std::int32_t height);
  // The tile at (x, y), brought into range along looping axes; -1 outside.
  std::int32_t GetTile(std::int32_t x, std::int32_t y) const;
  void SetTile(std::int32_t x, std::int32_t y, std::uint16_t tile);
};

// The map file's name for a map id ("Map0001.kmu").
std::string MapFileName(std::int32_t mapId);

class TKelBaseMapUnit : public TCatalogItem {
 public:
  void LoadFromFile(const std::filesystem::path& fileName);
  // The map file of `mapId` in the game folder; the key becomes the id.
  void LoadMap(const std::filesystem::path& gameFolder, std::int32_t mapId);
  void LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName);
  // Removes a stale temporary copy of the map ("ZAR_TEMP" in the temporary folder).
  void DeleteTempCopy(const std::filesystem::path& tempFolder, std::int32_t mapId);
  // Magic, then the record, exactly as it is (the save counter is not touched).
  void SaveToFile(const std::filesystem::path& fileName);
  std::vector<std::uint8_t> SaveToBytes();
};

class TKelMap : public TKelBaseMapUnit {
 public:
  std::int32_t ChipSetId = 1;
  std::int32_t Width = kDefaultMapWidth;
  std::int32_t Height = kDefaultMapHeight;
  std::uint8_t ScrollType = 0;
  std::uint8_t UsePanorama = 0;
  std::string PanoramaName;
  std::uint8_t PanoramaHScroll = 0, PanoramaVScroll = 0, PanoramaHAuto = 0;
  std::int32_t PanoramaHSpeed = 0;
  std::uint8_t PanoramaVAuto = 0;
  std::int32_t PanoramaVSpeed = 0;
  TKelMapLayer LowerLayer{kLowerLayerFill};
  TKelMapLayer UpperLayer{kUpperLayerFill};
  TKelEvent Events;
  std::int32_t SaveCount = 0;

  TKelMap() { Clear(); }
  void DescribeField(int id, TCatalogVarData& v, bool loading) override;
  void Clear() override;
  void LoadFromStream(TStreamReader& stream) override;
  void AfterLoad() override;
  void BeforeSave() override;

 private:
  // Sizes both layers to Width x Height, refusing a size that the bytes
  // being read could not hold.
  void SizeLayers();
  std::size_t LoadLimit_ = SIZE_MAX;
  const TStreamReader* LoadStream_ = nullptr;
};
