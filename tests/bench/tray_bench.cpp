// The tray display's costs: one redraw in each display style, and one
// sampling tick in the digit style that finds nothing changed, through the
// engine and the tray display with a notification area that does nothing.
#include <benchmark/benchmark.h>

#include "engine.h"
#include "tray_icon.h"

namespace {

const uint32_t kMB = 1u << 20;

class FixedPlatform : public EnginePlatform {
 public:
  MemoryStatus status = {32, 50, 2047 * kMB, 900 * kMB, 4095 * kMB, 3000 * kMB, 2047 * kMB, 2000 * kMB};
  void ReadMemoryStatus(MemoryStatus* out) override { *out = status; }
  void StartTimer(uint32_t) override {}
  void StopTimer() override {}
  void Beep() override {}
  void* Allocate(uint32_t) override { return nullptr; }
  void Release(void*) override {}
};

class QuietArea : public TrayIconPlatform {
 public:
  int shown = 0;
  void ShowIcon(bool, const char*, const IconPicture& picture) override {
    benchmark::DoNotOptimize(picture.bits[0]);
    ++shown;
  }
};

// One drawing of a changing reading in the style (argument), fonts as the
// argument's second value.
void BM_DrawPicture(benchmark::State& state) {
  int32_t style = static_cast<int32_t>(state.range(0));
  int font = static_cast<int>(state.range(1));
  IconPicture p;
  ResetPicture(&p);
  uint32_t freeMb = 0;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    DrawPicture(&p, freeMb, 2047, style, font);
    benchmark::DoNotOptimize(p.bits[64]);
    freeMb = (freeMb + 37) % 2048;
  }
}

// A full redraw through the engine: a forced sampling update formats the
// tip, draws and runs the tray icon update.
void BM_ForcedRedraw(benchmark::State& state) {
  static const char* lines[] = {"V", "V G=1", "V G=2", "V G=3"};
  FixedPlatform platform;
  QuietArea area;
  Engine e;
  ParseMonitorCommandLine(lines[state.range(0)], kTrayOptions, &e.settings, &e.backoff);
  TrayDisplay display(&e.settings, &area);
  AttachEngine(&e, &platform, &display);
  for (auto _ : state) SamplingUpdate(&e, true);  // NOLINT(clang-analyzer-deadcode.DeadStores)
  benchmark::DoNotOptimize(area.shown);
}

// A digit-style tick with the same reading: no drawing and no icon work.
void BM_UnchangedDigitTickThroughTheTray(benchmark::State& state) {
  FixedPlatform platform;
  QuietArea area;
  Engine e;
  ParseMonitorCommandLine("V T=4", kTrayOptions, &e.settings, &e.backoff);
  TrayDisplay display(&e.settings, &area);
  AttachEngine(&e, &platform, &display);
  SamplingUpdate(&e, true);
  for (auto _ : state) SamplingUpdate(&e, false);  // NOLINT(clang-analyzer-deadcode.DeadStores)
  if (area.shown != 1) state.SkipWithError("an unchanged tick redrew");
}

}  // namespace

BENCHMARK(BM_DrawPicture)
    ->ArgNames({"style", "font"})
    ->Args({0, 0})
    ->Args({0, 1})
    ->Args({1, 0})
    ->Args({2, 0})
    ->Args({3, 0});
BENCHMARK(BM_ForcedRedraw)->ArgName("style")->DenseRange(0, 3);
BENCHMARK(BM_UnchangedDigitTickThroughTheTray);
