#include "data/LD_Map.h"

#include <algorithm>
#include <cstdio>

void TKelMapLayer::Resize(std::int32_t width, std::int32_t height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  std::vector<std::uint16_t> tiles(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), Fill);
  for (std::int32_t y = 0; y < std::min(height, Height); ++y)
    for (std::int32_t x = 0; x < std::min(width, Width); ++x)
      tiles[static_cast<std::size_t>(y) * width + x] = Tiles[static_cast<std::size_t>(y) * Width + x];
  Tiles = std::move(tiles);
  Width = width;
  Height = height;
}

std::int32_t TKelMapLayer::GetTile(std::int32_t x, std::int32_t y) const {
  if (LoopX && Width > 0) x = ((x % Width) + Width) % Width;
  if (LoopY && Height > 0) y = ((y % Height) + Height) % Height;
  if (x < 0 || y < 0 || x >= Width || y >= Height) return -1;
  return Tiles[static_cast<std::size_t>(y) * Width + x];
}

void TKelMapLayer::SetTile(std::int32_t x, std::int32_t y, std::uint16_t tile) {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return;
  Tiles[static_cast<std::size_t>(y) * Width + x] = tile;
}

std::string MapFileName(std::int32_t mapId) {
  char name[32];
  std::snprintf(name, sizeof name, "Map%.4d.kmu", mapId);
  return name;
}

void TKelBaseMapUnit::LoadFromFile(const std::filesystem::path& fileName) {
  Clear();
  auto bytes = ReadWholeFile(fileName.string());
  LoadFromBytes(bytes, fileName.string());
}

void TKelBaseMapUnit::LoadFromBytes(std::span<const std::uint8_t> bytes, const std::string& fileName) {
  TStreamReader reader(bytes, fileName);
  ReadMagic(reader, kMapMagic);
  LoadFromStream(reader);
}

void TKelBaseMapUnit::LoadMap(const std::filesystem::path& gameFolder, std::int32_t mapId) {
  LoadFromFile(gameFolder / MapFileName(mapId));
  SetKey(mapId);
}

void TKelBaseMapUnit::DeleteTempCopy(const std::filesystem::path& tempFolder, std::int32_t mapId) {
  std::error_code ignored;
  std::filesystem::remove(tempFolder / "ZAR_TEMP" / MapFileName(mapId), ignored);
  SetKey(mapId);
}

std::vector<std::uint8_t> TKelBaseMapUnit::SaveToBytes() {
  TStreamWriter writer;
  WriteBerString(writer, kMapMagic);
  SaveToStream(writer);
  return writer.TakeBytes();
}

void TKelBaseMapUnit::SaveToFile(const std::filesystem::path& fileName) {
  WriteWholeFile(fileName.string(), SaveToBytes());
}

void TKelMap::DescribeField(int id, TCatalogVarData& v, bool loading) {
  switch (id) {
    case 1: v.Number("ChipSetId", &ChipSetId, 1); break;
    case 2: v.Number("Width", &Width, kDefaultMapWidth); break;
    case 3: v.Number("Height", &Height, kDefaultMapHeight); break;
    case 11: v.Fixed("ScrollType", &ScrollType, 1); break;
    case 31: v.Byte("UsePanorama", &UsePanorama, 0); break;
    case 32: v.String("PanoramaName", &PanoramaName, true); break;
    case 33: v.Byte("PanoramaHScroll", &PanoramaHScroll, 0); break;
    case 34: v.Byte("PanoramaVScroll", &PanoramaVScroll, 0); break;
    case 35: v.Byte("PanoramaHAuto", &PanoramaHAuto, 0); break;
    case 36: v.Number("PanoramaHSpeed", &PanoramaHSpeed, 0); break;
    case 37: v.Byte("PanoramaVAuto", &PanoramaVAuto, 0); break;
    case 38: v.Number("PanoramaVSpeed", &PanoramaVSpeed, 0); break;
    case 71:
    case 72: {
      // A layer chunk is read at the size Width and Height give; one of
      // another length is ignored.
      if (loading) SizeLayers();
      TKelMapLayer& layer = id == 71 ? LowerLayer : UpperLayer;
      v.Fixed(id == 71 ? "LowerLayer" : "UpperLayer", layer.Tiles.data(),
              static_cast<std::int32_t>(layer.Tiles.size() * 2), TCatalogElement::U16);
      break;
    }
    case 81: v.List("Events", &Events); break;
    case 91: v.Number("SaveCount", &SaveCount, 0); break;
    default: break;
  }
}

void TKelMap::Clear() {
  TKelBaseMapUnit::Clear();
  ChipSetId = 1;
  Width = kDefaultMapWidth;
  Height = kDefaultMapHeight;
  ScrollType = 0;
  UsePanorama = 0;
  PanoramaName.clear();
  PanoramaHScroll = PanoramaVScroll = PanoramaHAuto = PanoramaVAuto = 0;
  PanoramaHSpeed = PanoramaVSpeed = 0;
  LowerLayer.Tiles.clear();
  LowerLayer.Width = LowerLayer.Height = 0;
  LowerLayer.Resize(Width, Height);
  UpperLayer.Tiles.clear();
  UpperLayer.Width = UpperLayer.Height = 0;
  UpperLayer.Resize(Width, Height);
  Events.Clear();
  SaveCount = 0;
}

void TKelMap::LoadFromStream(TStreamReader& stream) {
  // A layer is never larger than the map record that would have to hold it.
  LoadLimit_ = std::max<std::size_t>(stream.Remaining(), kDefaultMapWidth * kDefaultMapHeight * 2);
  LoadStream_ = &stream;
  try {
    TKelBaseMapUnit::LoadFromStream(stream);
  } catch (...) {
    LoadLimit_ = SIZE_MAX;
    LoadStream_ = nullptr;
    throw;
  }
  LoadLimit_ = SIZE_MAX;
  LoadStream_ = nullptr;
}

void TKelMap::SizeLayers() {
  std::int64_t bytes = static_cast<std::int64_t>(Width) * Height * 2;
  bool fits = Width >= 1 && Height >= 1 && bytes <= INT32_MAX && static_cast<std::uint64_t>(bytes) <= LoadLimit_;
  if (!fits) {
    std::string problem = "map size " + std::to_string(Width) + " x " + std::to_string(Height) + " does not fit its layers";
    if (LoadStream_ != nullptr) LoadStream_->Fail(problem);
    throw EKelDataError(problem);
  }
  if (LowerLayer.Width != Width || LowerLayer.Height != Height) LowerLayer.Resize(Width, Height);
  if (UpperLayer.Width != Width || UpperLayer.Height != Height) UpperLayer.Resize(Width, Height);
}

void TKelMap::AfterLoad() {
  SizeLayers();
  bool loopX = ScrollType == 2 || ScrollType == 3;
  bool loopY = ScrollType == 1 || ScrollType == 3;
  LowerLayer.LoopX = UpperLayer.LoopX = loopX;
  LowerLayer.LoopY = UpperLayer.LoopY = loopY;
}

void TKelMap::BeforeSave() { SizeLayers(); }
