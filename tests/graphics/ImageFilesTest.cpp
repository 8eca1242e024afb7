// Picture files: PNG against libpng, round trips of every format, the
// loader by content, and the table of malformed files.

#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "LibpngHelpers.h"
#include "graphics/VantraBmp.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraPng.h"
#include "graphics/VantraXyz.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TVantraBitmap ReadOurs(const Bytes& file) {
  TVantraBitmap bitmap;
  LoadImageData(bitmap, file);
  return bitmap;
}

// Index by index (indexed) or channel by channel (truecolour, libpng's r, g, b
// against our b, g, r), and the palette with missing entries black.
void ExpectSameAsLibpng(const Bytes& file, bool ignoreCrc = false) {
  const TPngPicture reference = DecodeWithLibpng(file, ignoreCrc);
  const TVantraBitmap ours = ReadOurs(file);
  ASSERT_EQ(ours.Width, reference.Width);
  ASSERT_EQ(ours.Height, reference.Height);
  if (reference.ColorType == 3) {
    ASSERT_EQ(ours.BitsPerPixel, 8);
    EXPECT_EQ(ours.Pixels, reference.Pixels);
    for (int i = 0; i < 256; ++i) {
      const std::size_t at = 3 * static_cast<std::size_t>(i);
      const bool present = at < reference.Palette.size();
      EXPECT_EQ(ours.Palette[i].R, present ? reference.Palette[at] : 0) << "entry " << i;
      EXPECT_EQ(ours.Palette[i].G, present ? reference.Palette[at + 1] : 0) << "entry " << i;
      EXPECT_EQ(ours.Palette[i].B, present ? reference.Palette[at + 2] : 0) << "entry " << i;
    }
  } else {
    ASSERT_EQ(ours.BitsPerPixel, 24);
    Bytes swapped = ours.Pixels;
    for (std::size_t i = 0; i < swapped.size(); i += 3) std::swap(swapped[i], swapped[i + 2]);
    EXPECT_EQ(swapped, reference.Pixels);
  }
}

struct TLibpngCase {
  const char* Name;
  int ColorType;
  TLibpngOptions Options;
};

const TLibpngCase kLibpngCases[] = {
    {"indexed, no filter", 3, {PNG_FILTER_NONE}},
    {"indexed, sub", 3, {PNG_FILTER_SUB}},
    {"indexed, up", 3, {PNG_FILTER_UP}},
    {"indexed, average", 3, {PNG_FILTER_AVG}},
    {"indexed, paeth", 3, {PNG_FILTER_PAETH}},
    {"indexed, all filters", 3, {PNG_ALL_FILTERS}},
    {"indexed, 16-entry palette", 3, {PNG_ALL_FILTERS, 16}},
    {"indexed, tRNS", 3, {PNG_ALL_FILTERS, 256, true}},
    {"indexed, many small IDAT", 3, {PNG_ALL_FILTERS, 256, false, 37}},
    {"truecolour, all filters", 2, {PNG_ALL_FILTERS}},
    {"truecolour, paeth, small IDAT", 2, {PNG_FILTER_PAETH, 256, false, 100}},
};

TEST(PngReader, DecodesLibpngFilesLikeLibpng) {
  for (const TLibpngCase& c : kLibpngCases) {
    SCOPED_TRACE(c.Name);
    TPngPicture picture = MakeTestPicture(61, 29, c.ColorType);
    if (c.ColorType == 3)
      for (auto& index : picture.Pixels) index = static_cast<std::uint8_t>(index % c.Options.PaletteEntries);
    const Bytes file = EncodeWithLibpng(picture, c.Options);
    ExpectSameAsLibpng(file);
  }
}

TEST(PngReader, IgnoresWrongCrc) {
  Bytes file = EncodeWithLibpng(MakeTestPicture(20, 10, 3), {PNG_ALL_FILTERS});
  auto chunks = SplitChunks(file);
  ASSERT_EQ(chunks[2].Type, "IDAT");
  const std::size_t idatCrc = 8 + (12 + 13) + (12 + 768) + 8 + chunks[2].Data.size();
  file[idatCrc] ^= 0xFF;
  ExpectSameAsLibpng(file, /*ignoreCrc=*/true);
}

// Real encoders may put the stream's checksum alone into a last IDAT chunk,
// after every row is complete.
TEST(PngReader, AcceptsLastIdatHoldingOnlyTheStreamEnd) {
  const Bytes original = EncodeWithLibpng(MakeTestPicture(33, 17, 3), {PNG_ALL_FILTERS});
  std::vector<TPngChunk> rebuilt;
  Bytes stream;
  for (const TPngChunk& chunk : SplitChunks(original)) {
    if (chunk.Type == "IDAT") {
      stream.insert(stream.end(), chunk.Data.begin(), chunk.Data.end());
      continue;
    }
    if (chunk.Type == "IEND") {
      rebuilt.push_back({"IDAT", Bytes(stream.begin(), stream.end() - 4)});
      rebuilt.push_back({"IDAT", Bytes(stream.end() - 4, stream.end())});
    }
    rebuilt.push_back(chunk);
  }
  ExpectSameAsLibpng(JoinChunks(rebuilt));
}

// Each IDAT chunk one byte long: every row boundary and chunk boundary meet.
TEST(PngReader, DecodesOneByteIdatChunks) {
  const Bytes original = EncodeWithLibpng(MakeTestPicture(9, 7, 3), {PNG_ALL_FILTERS});
  std::vector<TPngChunk> rebuilt;
  for (const TPngChunk& chunk : SplitChunks(original)) {
    if (chunk.Type != "IDAT") {
      rebuilt.push_back(chunk);
      continue;
    }
    for (std::uint8_t byte : chunk.Data) rebuilt.push_back({"IDAT", {byte}});
  }
  ExpectSameAsLibpng(JoinChunks(rebuilt));
}

TVantraBitmap MakeIndexedBitmap(int width, int height) {
  TVantraBitmap bitmap;
  bitmap.SetFormat(width, height, 8);
  for (int i = 0; i < 256; ++i)
    bitmap.Palette[i] = TVantraRgb{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i ^ 0x5A),
                                   static_cast<std::uint8_t>(255 - i)};
  for (std::size_t i = 0; i < bitmap.Pixels.size(); ++i) bitmap.Pixels[i] = static_cast<std::uint8_t>(i * 37 + i / 5);
  return bitmap;
}

void ExpectSameBitmap(const TVantraBitmap& a, const TVantraBitmap& b) {
  ASSERT_EQ(a.Width, b.Width);
  ASSERT_EQ(a.Height, b.Height);
  ASSERT_EQ(a.BitsPerPixel, b.BitsPerPixel);
  EXPECT_EQ(a.Pixels, b.Pixels);
  if (a.BitsPerPixel == 8)
    for (int i = 0; i < 256; ++i) {
      EXPECT_EQ(a.Palette[i].R, b.Palette[i].R);
      EXPECT_EQ(a.Palette[i].G, b.Palette[i].G);
      EXPECT_EQ(a.Palette[i].B, b.Palette[i].B);
    }
}

TEST(ImageFiles, RoundTripsEveryFormat) {
  // Odd width: bitmap rows carry padding.
  const TVantraBitmap indexed = MakeIndexedBitmap(23, 11);
  ExpectSameBitmap(ReadOurs(WriteXyz(indexed)), indexed);
  ExpectSameBitmap(ReadOurs(WriteBmp(indexed)), indexed);
  ExpectSameBitmap(ReadOurs(WritePng(indexed)), indexed);

  TVantraBitmap truecolour;
  truecolour.SetFormat(5, 3, 24);
  for (std::size_t i = 0; i < truecolour.Pixels.size(); ++i) truecolour.Pixels[i] = static_cast<std::uint8_t>(i * 11);
  ExpectSameBitmap(ReadOurs(WritePng(truecolour)), truecolour);
  ExpectSameBitmap(ReadOurs(WriteBmp(indexed)), indexed);
}

TEST(PngWriter, LargePicturesSpanSeveralIdatChunksThatLibpngReads) {
  TVantraBitmap noisy = MakeIndexedBitmap(400, 400);
  std::uint32_t seed = 7;
  for (auto& p : noisy.Pixels) p = static_cast<std::uint8_t>((seed = seed * 1664525 + 1013904223) >> 24);
  const Bytes file = WritePng(noisy);
  int idatCount = 0;
  for (const TPngChunk& chunk : SplitChunks(file))
    if (chunk.Type == "IDAT") {
      ++idatCount;
      EXPECT_LE(chunk.Data.size(), 65536u);
    }
  EXPECT_GE(idatCount, 3);
  const TPngPicture reference = DecodeWithLibpng(file, false);
  EXPECT_EQ(reference.Pixels, noisy.Pixels);
}

TEST(PngWriter, BoardScreenshotWidensEachFieldByBitReplication) {
  TVantraBoard board(3, 2);
  const std::uint16_t pixels[6] = {0xFFFF, 0x0000, 0xF800, 0x07E0, 0x001F, (17 << 11) | (33 << 5) | 5};
  for (int i = 0; i < 6; ++i) board.ScanLine(i / 3)[i % 3] = pixels[i];
  const std::string path = std::string(ZAR_BINARY_DIR) + "/board-screenshot.png";
  WriteBoardPng(board, path);
  const TPngPicture picture = DecodeWithLibpng(ReadFileBytes(path), false);
  ASSERT_EQ(picture.ColorType, 2);
  const Bytes expected = {255, 255, 255, 0, 0, 0, 255, 0, 0,  //
                          0, 255, 0, 0, 0, 255, 17 << 3 | 17 >> 2, 33 << 2 | 33 >> 4, 5 << 3 | 5 >> 2};
  EXPECT_EQ(picture.Pixels, expected);
}

TEST(XyzReader, ShortStreamLeavesIndexZeroAndBlackPalette) {
  // The stream holds only part of the palette: 100 entries and no pixels.
  Bytes raw(300);
  for (std::size_t i = 0; i < raw.size(); ++i) raw[i] = static_cast<std::uint8_t>(i + 1);
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  Bytes file = {'X', 'Y', 'Z', '1', 4, 0, 3, 0};
  file.resize(8 + size);
  ASSERT_EQ(compress(file.data() + 8, &size, raw.data(), static_cast<uLong>(raw.size())), Z_OK);
  file.resize(8 + size);
  const TVantraBitmap bitmap = ReadOurs(file);
  EXPECT_EQ(bitmap.Width, 4);
  EXPECT_EQ(bitmap.Height, 3);
  EXPECT_EQ(bitmap.Pixels, Bytes(12, 0));
  EXPECT_EQ(bitmap.Palette[99].B, 300 % 256);
  EXPECT_EQ(bitmap.Palette[100].R, 0);
  EXPECT_EQ(bitmap.Palette[255].G, 0);
}

Bytes Le16(int v) { return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8)}; }
Bytes Le32(std::uint32_t v) {
  return {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8), static_cast<std::uint8_t>(v >> 16),
          static_cast<std::uint8_t>(v >> 24)};
}

// An 8-bit bitmap file around the given pixel data.
Bytes MakeBmp(int width, int height, std::uint32_t compression, const Bytes& pixels, int bitsPerPixel = 8) {
  Bytes header = {'B', 'M'};
  auto add = [&](const Bytes& b) { header.insert(header.end(), b.begin(), b.end()); };
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  add(Le32(offset + static_cast<std::uint32_t>(pixels.size())));
  add(Le32(0));
  add(Le32(offset));
  add(Le32(40));
  add(Le32(static_cast<std::uint32_t>(width)));
  add(Le32(static_cast<std::uint32_t>(height)));
  add(Le16(1));
  add(Le16(bitsPerPixel));
  add(Le32(compression));
  add(Le32(static_cast<std::uint32_t>(pixels.size())));
  add(Le32(0));
  add(Le32(0));
  add(Le32(0));
  add(Le32(0));
  for (int i = 0; i < 256; ++i) add({static_cast<std::uint8_t>(i), 0, 0, 0});
  add(pixels);
  return header;
}

TEST(BmpReader, DecodesRle8RunsLiteralsDeltasAndLineEnds) {
  // Bottom-up 6 x 3: the first encoded line is the picture's bottom row.
  const Bytes rle = {
      3, 7, 0, 3, 1, 2, 3, 0,  // run of three 7s, literal 1 2 3 (padded)
      0, 0,                    // end of line
      0, 2, 2, 1,              // delta: two right, one up (to the top row)
      2, 9,                    // run of two 9s
      0, 1,                    // end of picture
  };
  const TVantraBitmap bitmap = ReadOurs(MakeBmp(6, 3, 1, rle));
  const Bytes expected = {
      0, 0, 9, 9, 0, 0,  // top
      0, 0, 0, 0, 0, 0,  //
      7, 7, 7, 1, 2, 3,  // bottom
  };
  EXPECT_EQ(bitmap.Pixels, expected);
  EXPECT_EQ(bitmap.Palette[9].B, 9);
}

TEST(BmpReader, ReadsTopDownRows) {
  const Bytes rows = {1, 2, 0, 0, 3, 4, 0, 0};  // 2 x 2, rows padded to 4
  const TVantraBitmap bitmap = ReadOurs(MakeBmp(2, -2, 0, rows));
  EXPECT_EQ(bitmap.Pixels, (Bytes{1, 2, 3, 4}));
}

// Malformed files: the right error, and no crash, overread or huge allocation.
struct TBadFile {
  const char* Name;
  std::function<Bytes()> Make;
  std::string Message;
  bool InvalidGraphic;  // else a general error (zlib)
};

Bytes ValidPng() { return WritePng(MakeIndexedBitmap(8, 4)); }

Bytes PngWith(const std::function<void(std::vector<TPngChunk>&)>& change) {
  auto chunks = SplitChunks(ValidPng());
  change(chunks);
  return JoinChunks(chunks);
}

Bytes PngHeader(std::uint32_t width, std::uint32_t height, int depth, int colorType, int interlace) {
  return PngWith([=](std::vector<TPngChunk>& chunks) {
    Bytes& h = chunks[0].Data;
    for (int i = 0; i < 4; ++i) {
      h[i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
      h[4 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    h[8] = static_cast<std::uint8_t>(depth);
    h[9] = static_cast<std::uint8_t>(colorType);
    h[12] = static_cast<std::uint8_t>(interlace);
  });
}

Bytes Xyz(int width, int height, const Bytes& raw) {
  Bytes file = {'X', 'Y', 'Z', '1'};
  for (auto b : Le16(width)) file.push_back(b);
  for (auto b : Le16(height)) file.push_back(b);
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  const std::size_t at = file.size();
  file.resize(at + size);
  compress(file.data() + at, &size, raw.data(), static_cast<uLong>(raw.size()));
  file.resize(at + size);
  return file;
}

const std::string kInvalidPng = "Invalid PNG Image";
const std::string kUnsupportedPng = "Unsupported PNG Image";
const std::string kInvalidXyz = "Invalid XYZ Image";
const std::string kFormat = kMsgInvalidImageFormat;
const std::string kEmpty = kMsgBitmapEmpty;

const TBadFile kBadFiles[] = {
    {"png signature cut short", [] { return Bytes{0x89, 'P', 'N', 'G', 13}; }, kInvalidPng, true},
    {"png signature wrong", [] { auto f = ValidPng(); f[6] = 0; return f; }, kInvalidPng, true},
    {"png ends inside a chunk", [] { auto f = ValidPng(); f.resize(60); return f; }, kInvalidPng, true},
    {"png without IEND", [] { auto f = ValidPng(); f.resize(f.size() - 12); return f; }, kInvalidPng, true},
    {"png chunk length beyond the file",
     [] { auto f = ValidPng(); f[8] = 0x7F; return f; }, kInvalidPng, true},
    {"png IHDR of 12 bytes", [] { return PngWith([](auto& c) { c[0].Data.resize(12); }); }, kInvalidPng, true},
    {"png IHDR of 14 bytes", [] { return PngWith([](auto& c) { c[0].Data.push_back(0); }); }, kInvalidPng, true},
    {"png second IHDR", [] { return PngWith([](auto& c) { c.insert(c.begin() + 1, c[0]); }); }, kInvalidPng, true},
    {"png PLTE before IHDR", [] { return PngWith([](auto& c) { std::swap(c[0], c[1]); }); }, kInvalidPng, true},
    {"png IDAT before IHDR", [] { return PngWith([](auto& c) { std::swap(c[0], c[2]); }); }, kInvalidPng, true},
    {"png PLTE of 771 bytes", [] { return PngWith([](auto& c) { c[1].Data.resize(771); }); }, kInvalidPng, true},
    {"png IEND not empty", [] { return PngWith([](auto& c) { c.back().Data = {1}; }); }, kInvalidPng, true},
    {"png zero width", [] { return PngHeader(0, 4, 8, 3, 0); }, kInvalidPng, true},
    {"png width past the cap", [] { return PngHeader(16385, 4, 8, 3, 0); }, kInvalidPng, true},
    {"png width overflowing", [] { return PngHeader(0xFFFFFFFF, 0xFFFFFFFF, 8, 2, 0); }, kInvalidPng, true},
    {"png huge picture, tiny data", [] { return PngHeader(16384, 16384, 8, 2, 0); }, kInvalidPng, true},
    {"png image data ends early", [] { return PngHeader(8, 400, 8, 3, 0); }, kInvalidPng, true},
    {"png other chunk inside a row",
     [] {
       return PngWith([](auto& c) {
         Bytes data = c[2].Data;
         c[2].Data.assign(data.begin(), data.begin() + 5);
         c.insert(c.begin() + 3, TPngChunk{"tEXt", {'a', 0, 'b'}});
         c.insert(c.begin() + 4, TPngChunk{"IDAT", Bytes(data.begin() + 5, data.end())});
       });
     },
     kInvalidPng, true},
    {"png bit depth 16", [] { return PngHeader(8, 4, 16, 3, 0); }, kUnsupportedPng, true},
    {"png grey with alpha", [] { return PngHeader(8, 4, 8, 4, 0); }, kUnsupportedPng, true},
    {"png interlaced", [] { return PngHeader(8, 4, 8, 3, 1); }, kUnsupportedPng, true},
    {"png broken deflate data",
     [] { return PngWith([](auto& c) { for (auto& b : c[2].Data) b = 0xFF; }); }, "Zlib Error", false},
    {"xyz header cut short", [] { return Bytes{'X', 'Y', 'Z', '1', 2, 0}; }, kInvalidXyz, true},
    {"xyz width past the cap", [] { return Xyz(20000, 1, Bytes(768)); }, kInvalidXyz, true},
    {"xyz broken stream", [] { Bytes f = {'X', 'Y', 'Z', '1', 2, 0, 2, 0, 0x78, 0x9C, 0xFF, 0xFF}; return f; },
     "Zlib Error", false},
    {"xyz stream longer than the picture", [] { return Xyz(2, 2, Bytes(800)); }, "Zlib Error", false},
    {"xyz of no pixels", [] { return Xyz(0, 5, Bytes(768)); }, kEmpty, true},
    {"neither png nor xyz nor bitmap", [] { return Bytes{'h', 'e', 'l', 'l', 'o'}; }, kFormat, true},
    {"empty file", [] { return Bytes{}; }, kFormat, true},
    {"bitmap header cut short", [] { auto f = MakeBmp(2, 2, 0, Bytes(8)); f.resize(30); return f; }, kFormat, true},
    {"bitmap pixels cut short", [] { return MakeBmp(4, 4, 0, Bytes(15)); }, kFormat, true},
    {"bitmap of 16 bits", [] { return MakeBmp(2, 2, 0, Bytes(8), 16); }, kFormat, true},
    {"bitmap of zero width", [] { return MakeBmp(0, 2, 0, Bytes(8)); }, kFormat, true},
    {"bitmap height past the cap", [] { return MakeBmp(1, 100000, 1, Bytes{0, 1}); }, kFormat, true},
    {"rle run past the row end", [] { return MakeBmp(4, 2, 1, Bytes{5, 1, 0, 1}); }, kFormat, true},
    {"rle literal past the row end", [] { return MakeBmp(4, 2, 1, Bytes{2, 1, 0, 3, 1, 2, 3, 0}); }, kFormat, true},
    {"rle delta below the picture", [] { return MakeBmp(4, 2, 1, Bytes{0, 2, 0, 5, 1, 1}); }, kFormat, true},
    {"rle line past the last", [] { return MakeBmp(4, 1, 1, Bytes{0, 0, 1, 1}); }, kFormat, true},
};

TEST(ImageFiles, RejectsMalformedFiles) {
  for (const TBadFile& bad : kBadFiles) {
    SCOPED_TRACE(bad.Name);
    TVantraBitmap bitmap;
    try {
      LoadImageData(bitmap, bad.Make());
      ADD_FAILURE() << "accepted";
    } catch (const EVantraInvalidGraphic& e) {
      EXPECT_TRUE(bad.InvalidGraphic);
      EXPECT_EQ(e.what(), bad.Message);
    } catch (const EVantraError& e) {
      EXPECT_FALSE(bad.InvalidGraphic);
      EXPECT_EQ(e.what(), bad.Message);
    }
  }
}

TEST(ImageFiles, MissingFileIsAnError) {
  TVantraBitmap bitmap;
  EXPECT_THROW(LoadImageFile(bitmap, std::string(ZAR_BINARY_DIR) + "/no-such-picture.png"), EVantraError);
}

}  // namespace
