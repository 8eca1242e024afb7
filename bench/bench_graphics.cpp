// Picture speed: sheet drawing in each pixel mode beside pixman compositing
// the same indexed picture onto r5g6b5, turned and waved drawing, and PNG
// decoding beside libpng.

#include <benchmark/benchmark.h>
#include <pixman.h>
#include <png.h>

#include <cstring>
#include <memory>
#include <vector>

#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"
#include "graphics/VantraSheet.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

// A picture like a game's: areas of flat colour, gradients and index 0 holes.
void PaintPicture(TVantraSheet& sheet) {
  for (int i = 0; i < 256; ++i)
    sheet.SetPaletteEntry(i, static_cast<std::uint8_t>(i * 3), static_cast<std::uint8_t>(255 - i),
                          static_cast<std::uint8_t>(i * 7));
  std::uint32_t noise = 99;
  for (int y = 0; y < sheet.GetHeight(); ++y)
    for (int x = 0; x < sheet.GetWidth(); ++x) {
      noise = noise * 1664525 + 1013904223;
      int index = ((x / 16 + y / 16) % 3 == 0) ? 0 : (x + y) / 3 % 256;
      if ((noise >> 28) == 0) index = static_cast<int>(noise >> 20) & 255;
      sheet.ScanLine(y)[x] = static_cast<std::uint8_t>(index);
    }
  sheet.BuildColorTable();
}

enum TMode { kOpaque, kTransparent, kBlended };

void BM_SheetDraw(benchmark::State& state) {
  TVantraSheet sheet(kWidth, kHeight);
  PaintPicture(sheet);
  sheet.Transparent = state.range(0) == kTransparent;
  sheet.Opacity = state.range(0) == kBlended ? 160 : 255;
  TVantraBoard board(kWidth, kHeight);
  for (auto _ : state) {
    board.Draw(0, 0, sheet.GetBounds(), sheet);
    benchmark::DoNotOptimize(board.ScanLine(0));
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_SheetDraw)->Arg(kOpaque)->Arg(kTransparent)->Arg(kBlended)->ArgName("mode");

// The same picture through pixman: SRC for opaque, OVER with a constant mask
// for blended.
void BM_PixmanComposite(benchmark::State& state) {
  TVantraSheet sheet(kWidth, kHeight);
  PaintPicture(sheet);
  auto indexed = std::make_unique<pixman_indexed_t>();
  std::memset(indexed.get(), 0, sizeof(pixman_indexed_t));
  for (int i = 0; i < 256; ++i)
    indexed->rgba[i] = 0xFF000000u | (sheet.Palette[i].R << 16) | (sheet.Palette[i].G << 8) | sheet.Palette[i].B;
  std::vector<std::uint32_t> sourceBits(kWidth * kHeight / 4);
  std::memcpy(sourceBits.data(), sheet.ScanLine(0), kWidth * kHeight);
  std::vector<std::uint32_t> destBits(kWidth * kHeight / 2);
  pixman_image_t* source = pixman_image_create_bits(PIXMAN_c8, kWidth, kHeight, sourceBits.data(), kWidth);
  pixman_image_set_indexed(source, indexed.get());
  pixman_image_t* dest = pixman_image_create_bits(PIXMAN_r5g6b5, kWidth, kHeight, destBits.data(), kWidth * 2);
  const bool blended = state.range(0) == kBlended;
  const pixman_color_t maskColor = {0, 0, 0, static_cast<std::uint16_t>(161 * 257)};
  pixman_image_t* mask = blended ? pixman_image_create_solid_fill(&maskColor) : nullptr;
  const pixman_op_t op = blended ? PIXMAN_OP_OVER : PIXMAN_OP_SRC;
  for (auto _ : state) {
    pixman_image_composite32(op, source, mask, dest, 0, 0, 0, 0, 0, 0, kWidth, kHeight);
    benchmark::DoNotOptimize(destBits.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  if (mask) pixman_image_unref(mask);
  pixman_image_unref(dest);
  pixman_image_unref(source);
}
BENCHMARK(BM_PixmanComposite)->Arg(kOpaque)->Arg(kBlended)->ArgName("mode");

void BM_DrawRotate(benchmark::State& state) {
  TVantraSheet sheet(160, 120);
  PaintPicture(sheet);
  sheet.Transparent = true;
  TVantraBoard board(kWidth, kHeight);
  std::uint8_t angle = 0;
  for (auto _ : state) {
    board.DrawRotate(160, 120, 1.5, angle += 7, 80, 60, sheet.GetBounds(), sheet);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawRotate);

void BM_DrawWave(benchmark::State& state) {
  TVantraSheet sheet(160, 120);
  PaintPicture(sheet);
  sheet.Transparent = true;
  TVantraBoard board(kWidth, kHeight);
  std::uint8_t phase = 0;
  for (auto _ : state) {
    board.DrawWave(160, 120, 1.5, phase += 5, 32, 16, 80, 60, sheet.GetBounds(), sheet);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawWave);

void AppendBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}

// An 8-bit 320 x 240 PNG as a common encoder writes it (adaptive filters).
const std::vector<std::uint8_t>& TestPng() {
  static const std::vector<std::uint8_t> file = [] {
    TVantraSheet sheet(kWidth, kHeight);
    PaintPicture(sheet);
    std::vector<std::uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_write_fn(png, &out, AppendBytes, nullptr);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    std::vector<png_color> palette(256);
    for (int i = 0; i < 256; ++i) palette[i] = {sheet.Palette[i].R, sheet.Palette[i].G, sheet.Palette[i].B};
    png_set_PLTE(png, info, palette.data(), 256);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y) png_write_row(png, sheet.ScanLine(y));
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
  }();
  return file;
}

void BM_DecodePng(benchmark::State& state) {
  const auto& file = TestPng();
  for (auto _ : state) {
    TVantraBitmap bitmap;
    ReadPng(bitmap, file);
    benchmark::DoNotOptimize(bitmap.Pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_DecodePng);

struct TMemorySource {
  const std::vector<std::uint8_t>* File;
  std::size_t Offset;
};

void ReadBytes(png_structp png, png_bytep data, png_size_t length) {
  auto* source = static_cast<TMemorySource*>(png_get_io_ptr(png));
  std::memcpy(data, source->File->data() + source->Offset, length);
  source->Offset += length;
}

void BM_DecodePngLibpng(benchmark::State& state) {
  const auto& file = TestPng();
  std::vector<std::uint8_t> pixels(kWidth * kHeight);
  for (auto _ : state) {
    TMemorySource source{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_set_read_fn(png, &source, ReadBytes);
    png_read_info(png, info);
    for (int y = 0; y < kHeight; ++y) png_read_row(png, pixels.data() + y * kWidth, nullptr);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * kWidth * kHeight);
}
BENCHMARK(BM_DecodePngLibpng);

}  // namespace
