#include "graphics/VantraImage.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "graphics/VantraBmp.h"
#include "graphics/VantraPng.h"
#include "graphics/VantraXyz.h"

const char* const kMsgBitmapEmpty =
    "\x83\x72\x83\x62\x83\x67\x83\x7D\x83\x62\x83\x76\x82\xAA\x8B\xF3\x82\xC5\x82\xB7";
const char* const kMsgInvalidImageFormat =
    "\x89\xE6\x91\x9C\x83\x74\x83\x48\x81\x5B\x83\x7D\x83\x62\x83\x67\x82\xAA\x95\x73\x90\xB3"
    "\x82\xC5\x82\xB7";
const char* const kMsgZlibError = "Zlib Error";

void TVantraBitmap::SetFormat(int width, int height, int bitsPerPixel) {
  Width = width;
  Height = height;
  BitsPerPixel = bitsPerPixel;
  Pixels.assign(RowBytes() * static_cast<std::size_t>(height), 0);
}

std::span<const std::uint8_t> TVantraByteReader::Take(std::size_t count) {
  if (count > Remaining()) throw EVantraInvalidGraphic(ShortMessage);
  auto part = Data.subspan(Offset, count);
  Offset += count;
  return part;
}

std::uint16_t TVantraByteReader::U16LE() {
  auto b = Take(2);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}

std::uint32_t TVantraByteReader::U32LE() {
  auto b = Take(4);
  return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::uint32_t TVantraByteReader::U32BE() {
  auto b = Take(4);
  return (static_cast<std::uint32_t>(b[0]) << 24) | (b[1] << 16) | (b[2] << 8) | b[3];
}

std::vector<std::uint8_t> ReadFileBytes(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EVantraError("Cannot open file \"" + fileName + "\"");
  std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EVantraError("Cannot read file \"" + fileName + "\"");
  return bytes;
}

void WriteFileBytes(const std::string& fileName, std::span<const std::uint8_t> data) {
  std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
  if (!out) throw EVantraError("Cannot create file \"" + fileName + "\"");
  out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  if (!out) throw EVantraError("Cannot write file \"" + fileName + "\"");
}

void LoadImageData(TVantraBitmap& bitmap, std::span<const std::uint8_t> data) {
  static const std::uint8_t kPngStart[4] = {0x89, 'P', 'N', 'G'};
  if (data.size() >= 4 && std::memcmp(data.data(), kPngStart, 4) == 0)
    ReadPng(bitmap, data);
  else if (data.size() >= 4 && std::memcmp(data.data(), "XYZ1", 4) == 0)
    ReadXyz(bitmap, data);
  else
    ReadBmp(bitmap, data);
  if (bitmap.Empty()) throw EVantraInvalidGraphic(kMsgBitmapEmpty);
}

void LoadImageFile(TVantraBitmap& bitmap, const std::string& fileName) {
  LoadImageData(bitmap, ReadFileBytes(fileName));
}
