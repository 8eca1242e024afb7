// Feeds arbitrary bytes to the XYZ reader. Whatever it accepts must load into
// a sheet, draw, and come back unchanged from a write and a second read.

#include <cstdint>

#include "FuzzChecks.h"
#include "graphics/VantraXyz.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzPictureReader({data, size}, ReadXyz, WriteXyz);
}
