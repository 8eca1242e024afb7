#include "LibpngHelpers.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <stdexcept>

namespace {

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

void NoFlush(png_structp) {}

struct TReadSource {
  const std::vector<std::uint8_t>* File;
  std::size_t Offset;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* source = static_cast<TReadSource*>(png_get_io_ptr(png));
  if (source->Offset + length > source->File->size()) png_error(png, "short file");
  std::memcpy(data, source->File->data() + source->Offset, length);
  source->Offset += length;
}

const std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

std::vector<std::uint8_t> EncodeWithLibpng(const TPngPicture& picture, const TLibpngOptions& options) {
  std::vector<std::uint8_t> out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng could not write");
  }
  png_set_write_fn(png, &out, AppendBytes, NoFlush);
  png_set_IHDR(png, info, picture.Width, picture.Height, 8, picture.ColorType == 3 ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  if (picture.ColorType == 3) {
    for (int i = 0; i < options.PaletteEntries; ++i)
      palette.push_back({picture.Palette[3 * i], picture.Palette[3 * i + 1], picture.Palette[3 * i + 2]});
    png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  }
  std::vector<png_byte> alpha(4, 128);
  if (options.WithTransparency) png_set_tRNS(png, info, alpha.data(), static_cast<int>(alpha.size()), nullptr);
  if (options.Filters != 0) png_set_filter(png, PNG_FILTER_TYPE_BASE, options.Filters);
  if (options.IdatSize != 0) png_set_compression_buffer_size(png, options.IdatSize);
  png_write_info(png, info);
  const std::size_t rowBytes = static_cast<std::size_t>(picture.Width) * (picture.ColorType == 3 ? 1 : 3);
  for (int y = 0; y < picture.Height; ++y)
    png_write_row(png, const_cast<png_bytep>(picture.Pixels.data() + rowBytes * y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TPngPicture DecodeWithLibpng(const std::vector<std::uint8_t>& file, bool ignoreCrc) {
  TPngPicture picture;
  TReadSource source{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    throw std::runtime_error("libpng could not read");
  }
  png_set_read_fn(png, &source, ReadBytes);
  if (ignoreCrc) png_set_crc_action(png, PNG_CRC_QUIET_USE, PNG_CRC_QUIET_USE);
  png_read_info(png, info);
  picture.Width = static_cast<int>(png_get_image_width(png, info));
  picture.Height = static_cast<int>(png_get_image_height(png, info));
  picture.ColorType = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE ? 3 : 2;
  png_colorp colors = nullptr;
  int count = 0;
  if (png_get_PLTE(png, info, &colors, &count) != 0)
    for (int i = 0; i < count; ++i) picture.Palette.insert(picture.Palette.end(), {colors[i].red, colors[i].green, colors[i].blue});
  const std::size_t rowBytes = png_get_rowbytes(png, info);
  picture.Pixels.resize(rowBytes * picture.Height);
  for (int y = 0; y < picture.Height; ++y) png_read_row(png, picture.Pixels.data() + rowBytes * y, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return picture;
}

TPngPicture MakeTestPicture(int width, int height, int colorType) {
  TPngPicture picture;
  picture.Width = width;
  picture.Height = height;
  picture.ColorType = colorType;
  for (int i = 0; i < 256; ++i)
    picture.Palette.insert(picture.Palette.end(),
                           {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i), static_cast<std::uint8_t>(i * 7)});
  const int channels = colorType == 3 ? 1 : 3;
  std::uint32_t noise = 12345;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width * channels; ++x) {
      noise = noise * 1103515245 + 12345;
      // Smooth areas with some noise: every filter wins somewhere.
      const int value = (x * 3 + y * 5) + ((x / 7 + y / 5) % 2 ? static_cast<int>((noise >> 16) & 15) : 0);
      picture.Pixels.push_back(static_cast<std::uint8_t>(value));
    }
  return picture;
}

std::vector<TPngChunk> SplitChunks(const std::vector<std::uint8_t>& file) {
  std::vector<TPngChunk> chunks;
  std::size_t pos = 8;
  while (pos + 12 <= file.size()) {
    const std::uint32_t length = (file[pos] << 24) | (file[pos + 1] << 16) | (file[pos + 2] << 8) | file[pos + 3];
    TPngChunk chunk;
    chunk.Type.assign(reinterpret_cast<const char*>(&file[pos + 4]), 4);
    chunk.Data.assign(file.begin() + static_cast<long>(pos + 8), file.begin() + static_cast<long>(pos + 8 + length));
    chunks.push_back(chunk);
    pos += 12 + length;
  }
  return chunks;
}

std::vector<std::uint8_t> JoinChunks(const std::vector<TPngChunk>& chunks) {
  std::vector<std::uint8_t> out(kSignature, kSignature + 8);
  for (const TPngChunk& chunk : chunks) {
    PutU32(out, static_cast<std::uint32_t>(chunk.Data.size()));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), chunk.Type.begin(), chunk.Type.end());
    out.insert(out.end(), chunk.Data.begin(), chunk.Data.end());
    PutU32(out, static_cast<std::uint32_t>(crc32(0, out.data() + typeAt, static_cast<uInt>(chunk.Data.size() + 4))));
  }
  return out;
}
