// Feeds arbitrary bytes to the PNG reader. Whatever it accepts must load into
// a sheet, draw, and come back unchanged from a write and a second read.

#include <cstdint>
#include <cstdlib>

#include "graphics/VantraPng.h"
#include "graphics/VantraSheet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TVantraBitmap bitmap;
  try {
    ReadPng(bitmap, {data, size});
  } catch (const EVantraError&) {
    return 0;
  }
  if (bitmap.BitsPerPixel != 8 || bitmap.Empty()) return 0;

  TVantraSheet sheet;
  sheet.AutoSize = true;
  sheet.LoadFromBitmap(bitmap, 0, 0);
  TVantraBoard board(64, 48);
  board.DrawRotate(32, 24, 0.75, 40, sheet.GetWidth() / 2, sheet.GetHeight() / 2, sheet.GetBounds(), sheet);

  TVantraBitmap again;
  ReadPng(again, WritePng(bitmap));
  if (again.Width != bitmap.Width || again.Height != bitmap.Height || again.Pixels != bitmap.Pixels) std::abort();
  return 0;
}
