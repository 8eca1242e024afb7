#include "graphics/VantraBmp.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint32_t kRgb = 0, kRle8 = 1;
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::uint32_t kCoreHeaderBytes = 12, kInfoHeaderBytes = 40;

[[noreturn]] void Invalid() { throw EVantraInvalidGraphic(kMsgInvalidImageFormat); }

std::size_t PaddedRowBytes(int width, int bitsPerPixel) {
  return ((static_cast<std::size_t>(width) * bitsPerPixel + 31) / 32) * 4;
}

// Rows in the file run bottom-up unless the height is negative.
int PictureRow(int fileRow, int height, bool topDown) { return topDown ? fileRow : height - 1 - fileRow; }

void ReadUncompressed(TVantraBitmap& bitmap, std::span<const std::uint8_t> pixels, bool topDown) {
  const std::size_t stride = PaddedRowBytes(bitmap.Width, bitmap.BitsPerPixel);
  if (stride * bitmap.Height > pixels.size()) Invalid();
  for (int row = 0; row < bitmap.Height; ++row)
    std::memcpy(bitmap.ScanLine(PictureRow(row, bitmap.Height, topDown)), pixels.data() + stride * row,
                bitmap.RowBytes());
}

// Runs, literal groups and deltas that would leave the picture are refused;
// data that ends without the end marker leaves the rest at index 0.
void ReadRle8(TVantraBitmap& bitmap, std::span<const std::uint8_t> pixels, bool topDown) {
  TVantraByteReader reader(pixels, kMsgInvalidImageFormat);
  int x = 0, row = 0;
  auto put = [&](std::uint8_t value) { bitmap.ScanLine(PictureRow(row, bitmap.Height, topDown))[x++] = value; };
  while (reader.Remaining() >= 2) {
    const int count = reader.U8(), value = reader.U8();
    if (count > 0) {
      if (row >= bitmap.Height || x + count > bitmap.Width) Invalid();
      for (int i = 0; i < count; ++i) put(static_cast<std::uint8_t>(value));
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      return;
    } else if (value == 2) {
      x += reader.U8();
      row += reader.U8();
      if (x > bitmap.Width || row > bitmap.Height) Invalid();
    } else {
      if (row >= bitmap.Height || x + value > bitmap.Width) Invalid();
      auto literal = reader.Take(static_cast<std::size_t>(value));
      for (std::uint8_t byte : literal) put(byte);
      if (value & 1) reader.Skip(1);
    }
  }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

}  // namespace

void ReadBmp(TVantraBitmap& bitmap, std::span<const std::uint8_t> data) {
  TVantraByteReader reader(data, kMsgInvalidImageFormat);
  auto magic = reader.Take(2);
  if (magic[0] != 'B' || magic[1] != 'M') Invalid();
  reader.Skip(8);
  const std::uint32_t pixelOffset = reader.U32LE();

  const std::uint32_t headerBytes = reader.U32LE();
  int width = 0, height = 0, bitsPerPixel = 0;
  std::uint32_t compression = kRgb, colorsUsed = 0;
  if (headerBytes == kCoreHeaderBytes) {
    width = reader.U16LE();
    height = reader.U16LE();
    reader.Skip(2);
    bitsPerPixel = reader.U16LE();
  } else if (headerBytes >= kInfoHeaderBytes) {
    width = static_cast<std::int32_t>(reader.U32LE());
    height = static_cast<std::int32_t>(reader.U32LE());
    reader.Skip(2);
    bitsPerPixel = reader.U16LE();
    compression = reader.U32LE();
    reader.Skip(12);
    colorsUsed = reader.U32LE();
    reader.Skip(headerBytes - 36);  // colours important and any newer fields
  } else {
    Invalid();
  }
  const bool topDown = height < 0;
  height = std::abs(height);
  if (width <= 0 || height <= 0 || width > kMaxImageSide || height > kMaxImageSide) Invalid();
  const bool indexed = bitsPerPixel == 8 && (compression == kRgb || compression == kRle8);
  const bool truecolour = bitsPerPixel == 24 && compression == kRgb;
  if (!indexed && !truecolour) Invalid();
  if (topDown && compression == kRle8) Invalid();

  if (pixelOffset > data.size()) Invalid();
  auto pixels = data.subspan(pixelOffset);
  if (truecolour) {
    if (PaddedRowBytes(width, 24) * height > pixels.size()) Invalid();
    bitmap.SetFormat(width, height, 24);
    ReadUncompressed(bitmap, pixels, topDown);
    return;
  }

  const std::size_t entryBytes = headerBytes == kCoreHeaderBytes ? 3 : 4;
  const std::uint32_t entries = colorsUsed == 0 || colorsUsed > 256 ? 256 : colorsUsed;
  // Some writers give fewer palette entries than they claim; take what is there.
  const std::size_t available = pixelOffset > reader.Position() ? (pixelOffset - reader.Position()) / entryBytes : 0;
  bitmap.Palette.fill(TVantraRgb{});
  for (std::uint32_t i = 0; i < entries && i < available; ++i) {
    auto entry = reader.Take(entryBytes);
    bitmap.Palette[i] = TVantraRgb{entry[2], entry[1], entry[0]};
  }
  if (compression == kRgb && PaddedRowBytes(width, 8) * height > pixels.size()) Invalid();
  bitmap.SetFormat(width, height, 8);
  if (compression == kRgb)
    ReadUncompressed(bitmap, pixels, topDown);
  else
    ReadRle8(bitmap, pixels, topDown);
}

std::vector<std::uint8_t> WriteBmp(const TVantraBitmap& bitmap) {
  if (bitmap.BitsPerPixel != 8) throw EVantraInvalidGraphic(kMsgInvalidImageFormat);
  const std::size_t stride = PaddedRowBytes(bitmap.Width, 8);
  const std::uint32_t pixelOffset = kFileHeaderBytes + kInfoHeaderBytes + 256 * 4;
  const std::uint32_t fileSize = pixelOffset + static_cast<std::uint32_t>(stride * bitmap.Height);
  std::vector<std::uint8_t> out;
  out.reserve(fileSize);
  out.push_back('B');
  out.push_back('M');
  PutU32(out, fileSize);
  PutU32(out, 0);
  PutU32(out, pixelOffset);
  PutU32(out, kInfoHeaderBytes);
  PutU32(out, static_cast<std::uint32_t>(bitmap.Width));
  PutU32(out, static_cast<std::uint32_t>(bitmap.Height));
  PutU16(out, 1);
  PutU16(out, 8);
  PutU32(out, kRgb);
  PutU32(out, static_cast<std::uint32_t>(stride * bitmap.Height));
  PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 2835);
  PutU32(out, 256);
  PutU32(out, 0);
  for (const TVantraRgb& entry : bitmap.Palette) {
    out.push_back(entry.B);
    out.push_back(entry.G);
    out.push_back(entry.R);
    out.push_back(0);
  }
  for (int row = bitmap.Height - 1; row >= 0; --row) {
    const std::uint8_t* line = bitmap.ScanLine(row);
    out.insert(out.end(), line, line + bitmap.RowBytes());
    out.insert(out.end(), stride - bitmap.RowBytes(), 0);
  }
  return out;
}
