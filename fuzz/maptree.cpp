// Map-tree decoding: errors or a tree that writes back stably, and walks over
// its parent chains that always end.

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "FuzzChecks.h"
#include "data/LD_MapTree.h"

namespace {

std::vector<std::uint8_t> Rewrite(std::span<const std::uint8_t> bytes) {
  TKelMapTree tree;
  tree.LoadFromBytes(bytes, "fuzz.kmt");
  // A few walks are enough: every map's walk would be quadratic in a long chain.
  for (int i = 0; i < std::min(tree.Count(), 64); ++i) {
    tree.Ancestors(tree.At(i).Key);
    tree.ParentChainLoops(tree.At(i).Key);
  }
  return tree.SaveToBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDataDecoder({data, size}, Rewrite);
}
