// Database decoding: any bytes give a loaded database or an error, and what
// loads writes back to bytes that load again to the same bytes.
//
// A longer run of any of the data decoders (database, maptree, map), keeping
// what it finds in a scratch corpus beside the seeds:
//   mkdir -p build-fuzz/corpus-database
//   build-fuzz/bin/fuzz_database build-fuzz/corpus-database fuzz/corpus/database -max_total_time=600

#include <cstdint>
#include <cstdlib>
#include <span>

#include "FuzzChecks.h"
#include "data/LD_DataBase.h"

namespace {

std::vector<std::uint8_t> Rewrite(std::span<const std::uint8_t> bytes) {
  TKelDataBase database;
  database.LoadFromBytes(bytes, "fuzz.kdb");
  return database.SaveToBytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  return FuzzDataDecoder({data, size}, Rewrite);
}
