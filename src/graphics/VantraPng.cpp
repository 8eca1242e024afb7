#include "graphics/VantraPng.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "graphics/VantraSheet.h"

namespace {

const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
const char* const kInvalidPng = "Invalid PNG Image";
const char* const kUnsupportedPng = "Unsupported PNG Image";
constexpr std::size_t kIdatBufferSize = 65536;
// Deflate cannot expand data by more than about this factor, so a file whose
// image data is too short for its rows is refused before the picture is allocated.
constexpr std::uint64_t kMaxInflateRatio = 1032;

bool IsType(std::span<const std::uint8_t> type, const char* name) {
  return std::memcmp(type.data(), name, 4) == 0;
}

struct TInflater {
  z_stream Stream{};
  TInflater() {
    if (inflateInit(&Stream) != Z_OK) throw EVantraError(kMsgZlibError);
  }
  ~TInflater() { inflateEnd(&Stream); }
  TInflater(const TInflater&) = delete;
  TInflater& operator=(const TInflater&) = delete;
};

struct TDeflater {
  z_stream Stream{};
  TDeflater() {
    if (deflateInit(&Stream, Z_DEFAULT_COMPRESSION) != Z_OK) throw EVantraError(kMsgZlibError);
  }
  ~TDeflater() { deflateEnd(&Stream); }
  TDeflater(const TDeflater&) = delete;
  TDeflater& operator=(const TDeflater&) = delete;
};

int Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return a;
  if (pb <= pc) return b;
  return c;
}

// row and prior point past the filter byte; prior is all zeros for the first row.
void Unfilter(int filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t bytes, std::size_t bpp) {
  switch (filter) {
    case 1:
      for (std::size_t i = bpp; i < bytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - bpp]);
      break;
    case 2:
      for (std::size_t i = 0; i < bytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      break;
    case 3:
      for (std::size_t i = 0; i < bpp && i < bytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i] / 2);
      for (std::size_t i = bpp; i < bytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + (row[i - bpp] + prior[i]) / 2);
      break;
    case 4:
      for (std::size_t i = 0; i < bpp && i < bytes; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
      for (std::size_t i = bpp; i < bytes; ++i)
        row[i] = static_cast<std::uint8_t>(row[i] + Paeth(row[i - bpp], prior[i], prior[i - bpp]));
      break;
    default:  // 0, and unknown filters leave the row as it is
      break;
  }
}

// Sum of the IDAT lengths, walking the chunks as far as they are well formed.
std::uint64_t TotalImageData(std::span<const std::uint8_t> data) {
  std::uint64_t total = 0;
  std::size_t pos = 8;
  while (data.size() - pos >= 12) {
    const std::uint32_t length = (static_cast<std::uint32_t>(data[pos]) << 24) | (data[pos + 1] << 16) |
                                 (data[pos + 2] << 8) | data[pos + 3];
    if (std::memcmp(&data[pos + 4], "IDAT", 4) == 0) total += length;
    if (std::memcmp(&data[pos + 4], "IEND", 4) == 0 || length > data.size() - pos - 12) break;
    pos += 12 + static_cast<std::size_t>(length);
  }
  return total;
}

class TPngDecoder {
public:
  TPngDecoder(TVantraBitmap& bitmap, std::span<const std::uint8_t> data)
      : Bitmap(bitmap), Data(data), Reader(data, kInvalidPng) {}

  void Run() {
    auto signature = Reader.Take(8);
    if (std::memcmp(signature.data(), kSignature, 8) != 0) throw EVantraInvalidGraphic(kInvalidPng);
    for (;;) {
      const std::uint32_t length = Reader.U32BE();
      auto type = Reader.Take(4);
      if (IsType(type, "IEND")) {
        if (length != 0) throw EVantraInvalidGraphic(kInvalidPng);
        Reader.Skip(4);
        return;
      }
      auto body = Reader.Take(length);
      if (IsType(type, "IHDR"))
        ReadHeader(body);
      else if (IsType(type, "PLTE"))
        ReadPalette(body);
      else if (IsType(type, "IDAT"))
        ReadImageData(body);
      Reader.Skip(4);  // CRC, not checked
    }
  }

private:
  void ReadHeader(std::span<const std::uint8_t> body) {
    if (HaveHeader || body.size() != 13) throw EVantraInvalidGraphic(kInvalidPng);
    TVantraByteReader header(body, kInvalidPng);
    const std::uint32_t width = header.U32BE(), height = header.U32BE();
    const int bitDepth = header.U8(), colorType = header.U8();
    header.Skip(2);  // compression and filter method
    const int interlace = header.U8();
    if (bitDepth != 8 || (colorType != 2 && colorType != 3) || interlace != 0)
      throw EVantraInvalidGraphic(kUnsupportedPng);
    if (width == 0 || height == 0 || width > kMaxImageSide || height > kMaxImageSide)
      throw EVantraInvalidGraphic(kInvalidPng);
    BytesPerPixel = colorType == 2 ? 3 : 1;
    RowBytes = width * BytesPerPixel;
    const std::uint64_t rawSize = static_cast<std::uint64_t>(height) * (RowBytes + 1);
    if (rawSize > TotalImageData(Data) * kMaxInflateRatio + 64) throw EVantraInvalidGraphic(kInvalidPng);
    Bitmap.SetFormat(static_cast<int>(width), static_cast<int>(height), BytesPerPixel * 8);
    Bitmap.Palette.fill(TVantraRgb{});  // a file without PLTE has a black palette
    Current.assign(RowBytes + 1, 0);
    Prior.assign(RowBytes + 1, 0);
    HaveHeader = true;
  }

  void ReadPalette(std::span<const std::uint8_t> body) {
    if (!HaveHeader || body.size() > 768) throw EVantraInvalidGraphic(kInvalidPng);
    Bitmap.Palette.fill(TVantraRgb{});
    for (std::size_t i = 0; i + 3 <= body.size(); i += 3)
      Bitmap.Palette[i / 3] = TVantraRgb{body[i], body[i + 1], body[i + 2]};
  }

  // Inflates row by row; a chunk that ends inside a row must be followed by
  // another IDAT. Data after the last row (the end of the zlib stream) is ignored.
  void ReadImageData(std::span<const std::uint8_t> body) {
    if (!HaveHeader) throw EVantraInvalidGraphic(kInvalidPng);
    if (Row >= Bitmap.Height) return;
    z_stream& z = Inflater.Stream;
    z.next_in = const_cast<Bytef*>(body.data());
    z.avail_in = static_cast<uInt>(body.size());
    for (;;) {
      z.next_out = Current.data() + Filled;
      z.avail_out = static_cast<uInt>(Current.size() - Filled);
      const int result = inflate(&z, Z_NO_FLUSH);
      if (result != Z_OK && result != Z_STREAM_END && result != Z_BUF_ERROR) throw EVantraError(kMsgZlibError);
      Filled = Current.size() - z.avail_out;
      if (Filled == Current.size()) {
        FinishRow();
        if (Row >= Bitmap.Height) return;
        continue;
      }
      if (result == Z_STREAM_END) throw EVantraInvalidGraphic(kInvalidPng);
      if (z.avail_in > 0 || result == Z_OK) continue;
      if (Filled == 0) return;  // at a row boundary: resume at the next IDAT
      Reader.Skip(4);
      const std::uint32_t length = Reader.U32BE();
      if (!IsType(Reader.Take(4), "IDAT")) throw EVantraInvalidGraphic(kInvalidPng);
      auto next = Reader.Take(length);
      z.next_in = const_cast<Bytef*>(next.data());
      z.avail_in = static_cast<uInt>(next.size());
    }
  }

  void FinishRow() {
    Unfilter(Current[0], Current.data() + 1, Prior.data() + 1, RowBytes, BytesPerPixel);
    std::uint8_t* out = Bitmap.ScanLine(Row);
    if (BytesPerPixel == 1) {
      std::memcpy(out, Current.data() + 1, RowBytes);
    } else {
      for (std::size_t i = 0; i < RowBytes; i += 3) {
        out[i] = Current[i + 3];
        out[i + 1] = Current[i + 2];
        out[i + 2] = Current[i + 1];
      }
    }
    std::swap(Current, Prior);
    Filled = 0;
    ++Row;
  }

  TVantraBitmap& Bitmap;
  std::span<const std::uint8_t> Data;
  TVantraByteReader Reader;
  TInflater Inflater;
  bool HaveHeader = false;
  std::size_t BytesPerPixel = 1;
  std::size_t RowBytes = 0;
  std::vector<std::uint8_t> Current, Prior;
  std::size_t Filled = 0;
  int Row = 0;
};

void PutU32BE(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value >> 24));
  out.push_back(static_cast<std::uint8_t>(value >> 16));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
  out.push_back(static_cast<std::uint8_t>(value));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::uint8_t* body, std::size_t length) {
  PutU32BE(out, static_cast<std::uint32_t>(length));
  const std::size_t typeAt = out.size();
  out.insert(out.end(), type, type + 4);
  if (length > 0) out.insert(out.end(), body, body + length);
  PutU32BE(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(length + 4))));
}

}  // namespace

void ReadPng(TVantraBitmap& bitmap, std::span<const std::uint8_t> data) {
  TPngDecoder decoder(bitmap, data);
  decoder.Run();
}

std::vector<std::uint8_t> WritePng(const TVantraBitmap& bitmap) {
  if (bitmap.BitsPerPixel != 8 && bitmap.BitsPerPixel != 24) throw EVantraInvalidGraphic(kMsgInvalidImageFormat);
  const bool indexed = bitmap.BitsPerPixel == 8;
  std::vector<std::uint8_t> out(kSignature, kSignature + 8);

  std::uint8_t header[13] = {};
  for (int i = 0; i < 4; ++i) {
    header[i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(bitmap.Width) >> (24 - 8 * i));
    header[4 + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(bitmap.Height) >> (24 - 8 * i));
  }
  header[8] = 8;
  header[9] = indexed ? 3 : 2;
  PutChunk(out, "IHDR", header, sizeof header);

  if (indexed) {
    std::uint8_t palette[768];
    for (int i = 0; i < 256; ++i) {
      palette[3 * i] = bitmap.Palette[i].R;
      palette[3 * i + 1] = bitmap.Palette[i].G;
      palette[3 * i + 2] = bitmap.Palette[i].B;
    }
    PutChunk(out, "PLTE", palette, sizeof palette);
  }

  TDeflater deflater;
  z_stream& z = deflater.Stream;
  std::vector<std::uint8_t> buffer(kIdatBufferSize);
  z.next_out = buffer.data();
  z.avail_out = static_cast<uInt>(buffer.size());
  // Feeds input through deflate, writing each full buffer as one IDAT chunk.
  auto pump = [&](const std::uint8_t* input, std::size_t length, int flush) {
    z.next_in = const_cast<Bytef*>(input);
    z.avail_in = static_cast<uInt>(length);
    for (;;) {
      const int result = deflate(&z, flush);
      if (result == Z_STREAM_ERROR) throw EVantraError(kMsgZlibError);
      if (z.avail_out == 0) {
        PutChunk(out, "IDAT", buffer.data(), buffer.size());
        z.next_out = buffer.data();
        z.avail_out = static_cast<uInt>(buffer.size());
        continue;
      }
      if (flush == Z_FINISH ? result == Z_STREAM_END : z.avail_in == 0) break;
    }
  };

  std::vector<std::uint8_t> row(bitmap.RowBytes() + 1, 0);
  for (int y = 0; y < bitmap.Height; ++y) {
    const std::uint8_t* source = bitmap.ScanLine(y);
    if (indexed) {
      std::memcpy(row.data() + 1, source, bitmap.RowBytes());
    } else {
      for (std::size_t i = 0; i < bitmap.RowBytes(); i += 3) {
        row[i + 1] = source[i + 2];
        row[i + 2] = source[i + 1];
        row[i + 3] = source[i];
      }
    }
    pump(row.data(), row.size(), Z_NO_FLUSH);
  }
  pump(nullptr, 0, Z_FINISH);
  const std::size_t pending = buffer.size() - z.avail_out;
  if (pending > 0) PutChunk(out, "IDAT", buffer.data(), pending);
  PutChunk(out, "IEND", nullptr, 0);
  return out;
}

void WriteBoardPng(const TVantraBoard& board, const std::string& path) {
  TVantraBitmap bitmap;
  bitmap.SetFormat(board.GetWidth(), board.GetHeight(), 24);
  for (int y = 0; y < bitmap.Height; ++y) {
    const std::uint16_t* source = board.ScanLine(y);
    std::uint8_t* out = bitmap.ScanLine(y);
    for (int x = 0; x < bitmap.Width; ++x) {
      const int r5 = source[x] >> 11, g6 = (source[x] >> 5) & 63, b5 = source[x] & 31;
      out[3 * x] = static_cast<std::uint8_t>((b5 << 3) | (b5 >> 2));
      out[3 * x + 1] = static_cast<std::uint8_t>((g6 << 2) | (g6 >> 4));
      out[3 * x + 2] = static_cast<std::uint8_t>((r5 << 3) | (r5 >> 2));
    }
  }
  WriteFileBytes(path, WritePng(bitmap));
}
