// Frames per second of the headless main loop on the demo: the spine itself
// (schedule, input, scene dispatch, drawing, present) with the title's logos,
// fades and window, and then the map after "new game".

#include <benchmark/benchmark.h>

#include "graphics/VantraDraw.h"
#include "platform/HeadlessPlatform.h"
#include "shell/GameMain.h"

namespace {

void RunFrames(std::uint64_t frames, const std::string& script) {
  HeadlessPlatform machine(ParseInputScript(script, "bench"));
  TKelLaunchOptions options;
  options.headless = true;
  options.frameLimit = frames;
  TFormKelGameMain form(machine, options);
  form.SetFolders({ZAR_BINARY_DIR "/demo", {}});
  form.FormCreate();
  form.FormShow();
  try {
    form.Run();
  } catch (const EVantraDrawAbort&) {
  }
}

void BM_HeadlessTitleFrames(benchmark::State& state) {
  constexpr std::uint64_t kFrames = 2000;
  for (auto _ : state) RunFrames(kFrames, "");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kFrames));
  state.SetLabel("items/s = frames per second");
}
BENCHMARK(BM_HeadlessTitleFrames)->Unit(benchmark::kMillisecond);

void BM_HeadlessFieldFrames(benchmark::State& state) {
  constexpr std::uint64_t kFrames = 2000;
  // Decide once the title window is open (after the logos and the fade-in).
  for (auto _ : state) RunFrames(kFrames, "380 Return");
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kFrames));
  state.SetLabel("items/s = frames per second");
}
BENCHMARK(BM_HeadlessFieldFrames)->Unit(benchmark::kMillisecond);

}  // namespace
