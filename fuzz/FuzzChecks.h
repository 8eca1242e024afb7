#pragma once
// The checks every fuzz target of one kind makes, so each target names only
// its reader and writer.

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "data/StreamUtils.h"
#include "graphics/VantraImage.h"
#include "graphics/VantraSheet.h"

using TPictureReader = void (*)(TVantraBitmap&, std::span<const std::uint8_t>);
using TPictureWriter = std::vector<std::uint8_t> (*)(const TVantraBitmap&);

// Whatever the reader accepts must load into a sheet, draw, and come back
// unchanged from a write and a second read.
inline int FuzzPictureReader(std::span<const std::uint8_t> data, TPictureReader read, TPictureWriter write) {
  TVantraBitmap bitmap;
  try {
    read(bitmap, data);
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
  read(again, write(bitmap));
  if (again.Width != bitmap.Width || again.Height != bitmap.Height || again.Pixels != bitmap.Pixels) std::abort();
  return 0;
}

using TDataRewriter = std::vector<std::uint8_t> (*)(std::span<const std::uint8_t>);

// Any bytes give an error or data that writes back stably. A second pass
// settles values that read back as another (a hero id of 0).
inline int FuzzDataDecoder(std::span<const std::uint8_t> data, TDataRewriter rewrite) {
  std::vector<std::uint8_t> once;
  try {
    once = rewrite(data);
  } catch (const EKelDataError&) {
    return 0;
  } catch (const EKelInvalid&) {
    return 0;
  }
  const std::vector<std::uint8_t> twice = rewrite(once);
  if (rewrite(twice) != twice) std::abort();
  return 0;
}
