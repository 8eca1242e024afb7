#include "graphics/VantraXyz.h"

#include <libdeflate.h>
#include <zlib.h>

#include <cstring>
#include <memory>

namespace {

const char* const kInvalidXyz = "Invalid XYZ Image";
constexpr std::size_t kPaletteBytes = 768;
constexpr int kMaxXyzSide = 65535;

struct TDecompressorFree {
  void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};

}  // namespace

void ReadXyz(TVantraBitmap& bitmap, std::span<const std::uint8_t> data) {
  TVantraByteReader reader(data, kInvalidXyz);
  if (std::memcmp(reader.Take(4).data(), "XYZ1", 4) != 0) throw EVantraInvalidGraphic(kInvalidXyz);
  const int width = reader.U16LE(), height = reader.U16LE();
  if (width > kMaxImageSide || height > kMaxImageSide) throw EVantraInvalidGraphic(kInvalidXyz);
  bitmap.SetFormat(width, height, 8);

  std::unique_ptr<libdeflate_decompressor, TDecompressorFree> decompressor(libdeflate_alloc_decompressor());
  if (!decompressor) throw EVantraError(kMsgZlibError);
  // A stream that ends early leaves zeros (index 0, black); one that is too
  // long or broken is an error, as a one-call inflate with finish reports it.
  std::vector<std::uint8_t> raw(kPaletteBytes + static_cast<std::size_t>(width) * height, 0);
  auto compressed = reader.Take(reader.Remaining());
  std::size_t produced = 0;
  const libdeflate_result result = libdeflate_zlib_decompress(decompressor.get(), compressed.data(),
                                                              compressed.size(), raw.data(), raw.size(), &produced);
  if (result != LIBDEFLATE_SUCCESS) throw EVantraError(kMsgZlibError);

  for (int i = 0; i < 256; ++i) bitmap.Palette[i] = TVantraRgb{raw[3 * i], raw[3 * i + 1], raw[3 * i + 2]};
  std::memcpy(bitmap.Pixels.data(), raw.data() + kPaletteBytes, raw.size() - kPaletteBytes);
}

std::vector<std::uint8_t> WriteXyz(const TVantraBitmap& bitmap) {
  if (bitmap.BitsPerPixel != 8 || bitmap.Width > kMaxXyzSide || bitmap.Height > kMaxXyzSide)
    throw EVantraInvalidGraphic(kMsgInvalidImageFormat);
  std::vector<std::uint8_t> raw(kPaletteBytes);
  for (int i = 0; i < 256; ++i) {
    raw[3 * i] = bitmap.Palette[i].R;
    raw[3 * i + 1] = bitmap.Palette[i].G;
    raw[3 * i + 2] = bitmap.Palette[i].B;
  }
  raw.insert(raw.end(), bitmap.Pixels.begin(), bitmap.Pixels.end());

  std::vector<std::uint8_t> out = {'X', 'Y', 'Z', '1',
                                   static_cast<std::uint8_t>(bitmap.Width), static_cast<std::uint8_t>(bitmap.Width >> 8),
                                   static_cast<std::uint8_t>(bitmap.Height), static_cast<std::uint8_t>(bitmap.Height >> 8)};
  uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
  out.resize(8 + compressedSize);
  if (compress2(out.data() + 8, &compressedSize, raw.data(), static_cast<uLong>(raw.size()), Z_DEFAULT_COMPRESSION) !=
      Z_OK)
    throw EVantraError(kMsgZlibError);
  out.resize(8 + compressedSize);
  return out;
}
