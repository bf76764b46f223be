// The cost of a free pass against the bare allocate, fill and release it
// stands for: the engine's own share of a pass.
#include <benchmark/benchmark.h>
#include <stdio.h>
#include <stdlib.h>

#include "checks.h"
#include "engine.h"

namespace {

// The real heap, nothing free, no timer, no display.
class HostPlatform : public EnginePlatform {
 public:
  void ReadMemoryStatus(MemoryStatus* out) override { *out = {32, 50, 2047 * MB, 0, 4095 * MB, 3000 * MB, 2047 * MB, 2000 * MB}; }
  void StartTimer(uint32_t) override {}
  void StopTimer() override {}
  void Beep() override {}
  void* Allocate(uint32_t bytes) override { return malloc(bytes); }
  void Release(void* block) override { free(block); }
};

// The baseline: the same bytes allocated, written and released with no
// engine around them (the fill kept by the same means, so that neither side
// is optimised away).
void BM_BareFill(benchmark::State& state) {
  uint32_t bytes = static_cast<uint32_t>(state.range(0)) * MB;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    void* block = malloc(bytes);
    ZeroFill(block, bytes);
    free(block);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

// A free pass of the same amount: reach-target mode, one block.
void BM_FreePass(benchmark::State& state) {
  char line[32];
  snprintf(line, sizeof line, "V D=Y R=%d", static_cast<int>(state.range(0)));
  HostPlatform platform;
  Engine e{};
  ParseMonitorCommandLine(line, kHiddenOptions, &e.settings, &e.backoff);
  AttachEngine(&e, &platform, nullptr);
  for (auto _ : state) FreePass(&e);  // NOLINT(clang-analyzer-deadcode.DeadStores)
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) * MB);
}

}  // namespace

BENCHMARK(BM_BareFill)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreePass)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
