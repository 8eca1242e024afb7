// Text and window costs: one line of text into a window sheet, and one frame
// of a scrolling list window (update and draw onto the back buffer).

#include <benchmark/benchmark.h>

#include <string>

#include "ui/GameWindows.h"

namespace {

TKelSystemGraphic& Graphic() {
  static TKelSystemGraphic graphic(TKelFontSearch{});
  return graphic;
}

void BM_DrawTextHalfWidth(benchmark::State& state) {
  TVantraSheet sheet(320, 32);
  const std::string text = "Potion of healing 12";
  for (auto _ : state) Graphic().DrawText(sheet, 8, 8, 0, text);
  state.SetItemsProcessed(state.iterations() * 20);
}
BENCHMARK(BM_DrawTextHalfWidth);

void BM_DrawTextFullWidth(benchmark::State& state) {
  TVantraSheet sheet(320, 32);
  const std::string text = "\x82\xa0\x82\xa2\x82\xa4\x8a\xbf\x8e\x9a\x82\xa0\x82\xa2\x82\xa4\x8a\xbf\x8e\x9a";
  for (auto _ : state) Graphic().DrawText(sheet, 8, 8, 0, text);
  state.SetItemsProcessed(state.iterations() * 10);
}
BENCHMARK(BM_DrawTextFullWidth);

void BM_OpenFonts(benchmark::State& state) {
  for (auto _ : state) TKelGameFonts fonts(TKelFontSearch{});
}
BENCHMARK(BM_OpenFonts)->Unit(benchmark::kMillisecond);

}  // namespace
