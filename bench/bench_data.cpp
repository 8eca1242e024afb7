// Decoding a large generated database, beside memcpy of the same bytes.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "data/LD_DataBase.h"

namespace {

void FillScript(TKelEventScriptList& lines, int count) {
  lines.ClearLines();
  for (int i = 0; i < count; ++i) {
    auto& line = lines.AddLine();
    line.Code = i % 3 == 0 ? 10110 : 10220;
    line.Indent = i % 4;
    if (i % 3 == 0) line.Text = "A line of text shown in a message window.";
    else line.Params = {0, i % 200, 0, 0, 1, i * 37, -5};
  }
  lines.AddLine();
}

// About 10 MB: thousands of heroes, items and troops and a few hundred long
// common events.
std::vector<std::uint8_t> LargeDataBase() {
  TKelDataBase database;
  for (int id = 1; id <= 3000; ++id) {
    auto& hero = database.KelPlayer.Get(id);
    hero.Name = "Hero " + std::to_string(id);
    hero.CharSetName = "Hero";
    hero.MaxLevel = 99;
    for (int level = 1; level <= 50; ++level) hero.SetParameter(2, level, level * 3 + id % 7);
    for (int skill = 1; skill <= 8; ++skill) hero.Learning.Get(skill).SkillId = skill;
    hero.StateRankCount = 10;
    hero.StateRanks.assign(10, 1);
  }
  for (int id = 1; id <= 4000; ++id) {
    auto& item = database.KelItem.Get(id);
    item.Name = "Item " + std::to_string(id);
    item.Description = "Something useful found on the road.";
    item.ItemType = static_cast<std::uint8_t>(id % 11);
    item.Price = id * 3;
    item.HeroCount = 20;
    item.HeroUsable.assign(20, 1);
  }
  for (int id = 1; id <= 2000; ++id) {
    auto& troop = database.KelMonGroup.Get(id);
    troop.Name = "Troop " + std::to_string(id);
    for (int member = 1; member <= 4; ++member) {
      auto& entry = troop.Members.Get(member);
      entry.MonsterId = member;
      entry.X = member * 60;
      entry.Y = 120;
    }
    FillScript(troop.Pages.ById(1).Lines, 20);
  }
  for (int id = 1; id <= 300; ++id) {
    auto& event = database.KelCommonEvent.Get(id);
    event.Name = "Common " + std::to_string(id);
    FillScript(event.Lines, 1000);
  }
  return database.SaveToBytes();
}

const std::vector<std::uint8_t>& Bytes() {
  static const std::vector<std::uint8_t> bytes = LargeDataBase();
  return bytes;
}

double MemcpySeconds(const std::vector<std::uint8_t>& bytes, int rounds) {
  std::vector<std::uint8_t> copy(bytes.size());
  auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < rounds; ++i) {
    std::memcpy(copy.data(), bytes.data(), bytes.size());
    benchmark::DoNotOptimize(copy.data());
    benchmark::ClobberMemory();
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() / rounds;
}

void BM_DecodeLargeDataBase(benchmark::State& state) {
  const auto& bytes = Bytes();
  auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    TKelDataBase database;
    database.LoadFromBytes(bytes, "ZAR_RT.kdb");
    benchmark::DoNotOptimize(database.KelCommonEvent.Count());
  }
  double decodeSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() /
                         static_cast<double>(state.iterations());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  double megabytes = static_cast<double>(bytes.size()) / 1e6;
  double memcpySeconds = MemcpySeconds(bytes, 50);
  state.counters["file_MB"] = megabytes;
  state.counters["decode_MB/s"] = megabytes / decodeSeconds;
  state.counters["memcpy_MB/s"] = megabytes / memcpySeconds;
  // How many times longer decoding takes than copying the same bytes.
  state.counters["memcpy_ratio"] = decodeSeconds / memcpySeconds;
}
BENCHMARK(BM_DecodeLargeDataBase)->Unit(benchmark::kMillisecond);

void BM_EncodeLargeDataBase(benchmark::State& state) {
  TKelDataBase database;
  database.LoadFromBytes(Bytes(), "ZAR_RT.kdb");
  for (auto _ : state) benchmark::DoNotOptimize(database.SaveToBytes());
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * Bytes().size()));
}
BENCHMARK(BM_EncodeLargeDataBase)->Unit(benchmark::kMillisecond);

}  // namespace
