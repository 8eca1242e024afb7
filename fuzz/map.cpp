// Map decoding: errors or a map whose layers match its size and which writes
// back stably.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "FuzzChecks.h"
#include "data/LD_Map.h"

namespace {

std::vector<std::uint8_t> Rewrite(std::span<const std::uint8_t> bytes) {
  TKelMap map;
  map.LoadFromBytes(bytes, "fuzz.kmu");
  auto tiles = static_cast<std::size_t>(map.Width) * static_cast<std::size_t>(map.Height);
  if (map.LowerLayer.Tiles.size() != tiles || map.UpperLayer.Tiles.size() != tiles) std::abort();
  return map.SaveToBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDataDecoder({data, size}, Rewrite);
}
