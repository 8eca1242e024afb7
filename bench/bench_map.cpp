// One frame of a busy map (both layers full, water, animated tiles and
// autotiles changing, a panorama behind open cells, 50 walking characters),
// updated and drawn headless, beside plain copies of a full 16-bit frame.

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>

#include "data/LD_DataBase.h"
#include "data/LD_Map.h"
#include "data/LD_MapTree.h"
#include "shell/KelProgram.h"
#include "shell/Melvox.h"
#include "shell/Random.h"
#include "state/LGD_SaveData.h"
#include "world/LGD_MapEvent.h"
#include "world/MapView.h"

namespace {

constexpr int kWidth = 40, kHeight = 30, kWalkers = 50;

// The demo's game with its town map reworked into the busiest frame we draw.
struct BusyMap {
  BusyMap() {
    MelvoxCreate();
    program.Folders.game = ZAR_BINARY_DIR "/demo";
    dataBase.Load(program.Folders.game);
    program.DataBase = &dataBase;
    program.MapTree = &mapTree;
    program.Map = &mapData;
    program.Random = &random;
    save = std::make_unique<TKelgSaveData>(program);
    program.SaveData = save.get();
    save->ClearAll();
    save->Party.SetPosition(3, 20, 15);
    save->Map.LoadMap(true);

    // Every cell filled on both layers: water with shores, animated tiles,
    // autotiles, plain ground and open sky below; objects above.
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) {
        const int pick = (x * 7 + y * 3) % 10;
        int lower = 5000 + (x + y) % 12;
        if (pick < 2) lower = (pick * 1000) + (x * 5 + y) % 47;
        else if (pick == 2) lower = 3000 + (x % 3) * 50;
        else if (pick < 5) lower = 4000 + ((x + y) % 12) * 50 + (x * 3 + y * 7) % 47;
        else if (pick == 5) lower = 5143;
        mapData.LowerLayer.SetTile(x, y, static_cast<std::uint16_t>(lower));
        mapData.UpperLayer.SetTile(x, y, static_cast<std::uint16_t>(10001 + (x * 3 + y) % 15));
      }
    save->Map.SetPanorama("Sky");

    // Fifty walkers pacing on repeating routes, all on screen.
    const std::vector<TKelMoveRouteItem> route = {{.Code = 1}, {.Code = 1}, {.Code = 3}, {.Code = 3}};
    for (int i = 0; i < kWalkers; ++i) {
      TKelEventItem& item = mapData.Events.Get(100 + i);
      item.X = 11 + (i % 10) * 2;
      item.Y = 9 + (i / 10) * 3;
      TKelEventPageItem& page = item.Pages.Get(1);
      page.CharSetName = "Hero";
      page.CharSetIndex = i % 8;
      page.Layer = 1;
      auto walker = std::make_unique<TKelgMapEvent>(save->Map, item);
      walker->Through = true;
      walker->SetRoute(route, true, false, 8);
      save->Map.Events.push_back(std::move(walker));
    }
  }
  ~BusyMap() { MelvoxRelease(); }

  void Frame(TVantraBoard& board) {
    TKelgMap& map = save->Map;
    ++save->System.FrameCount;
    for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Updated = false;
    for (int i = 0; i < map.CharacterCount(); ++i) map.CharacterAt(i).Update();
    map.Panorama().UpdateFrame();
    DrawMapView(map, board);
  }

  TKelDataBase dataBase;
  TKelMapTree mapTree;
  TKelMap mapData;
  TKelRandom random;
  TKelProgram program;
  std::unique_ptr<TKelgSaveData> save;
};

// Processor time of this process: the machine is shared, so wall time
// would measure the neighbours.
double CpuSeconds() { return static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

double SecondsPerFullFrameCopy() {
  TVantraBoard source(320, 240), target(320, 240);
  source.FillRect({0, 0, 320, 240}, {12, 34, 56});
  constexpr int kCopies = 20000;
  const double start = CpuSeconds();
  for (int i = 0; i < kCopies; ++i) {
    target.CopyRect(0, 0, {0, 0, 320, 240}, source);
    benchmark::DoNotOptimize(target.ScanLine(0));
    benchmark::ClobberMemory();
  }
  return (CpuSeconds() - start) / kCopies;
}

void BM_MapFrame(benchmark::State& state) {
  BusyMap busy;
  TVantraBoard board(320, 240);
  const double start = CpuSeconds();
  for (auto _ : state) {
    busy.Frame(board);
    benchmark::DoNotOptimize(board.ScanLine(0));
  }
  const double perFrame = (CpuSeconds() - start) / static_cast<double>(state.iterations());
  state.counters["full_frame_copies"] = perFrame / SecondsPerFullFrameCopy();
}
BENCHMARK(BM_MapFrame)->Unit(benchmark::kMicrosecond);

void BM_FullFrameCopy(benchmark::State& state) {
  TVantraBoard source(320, 240), target(320, 240);
  for (auto _ : state) {
    target.CopyRect(0, 0, {0, 0, 320, 240}, source);
    benchmark::DoNotOptimize(target.ScanLine(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_FullFrameCopy)->Unit(benchmark::kMicrosecond);

}  // namespace
