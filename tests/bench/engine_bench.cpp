// The engine's costs: a free pass against the bare allocate, fill, release
// it stands for, and one timer tick that finds nothing changed.
#include <benchmark/benchmark.h>
#include <stdlib.h>
#include <string.h>

#include "engine.h"

namespace {

const uint32_t MB = 1u << 20;

// The real heap, a fixed memory reading, no timer.
class HostPlatform : public EnginePlatform {
 public:
  MemoryStatus status = {32, 50, 4095 * MB, 0, 0, 150 * MB, 2047 * MB, 2000 * MB};
  void ReadMemoryStatus(MemoryStatus* out) override { *out = status; }
  void StartTimer(uint32_t) override {}
  void StopTimer() override {}
  void Beep() override {}
  void* Allocate(uint32_t bytes) override { return malloc(bytes); }
  void Release(void* block) override { free(block); }
};

class NoDisplay : public Display {
 public:
  int calls = 0;
  void ShowPassStarting(const char*) override { ++calls; }
  void ClearAfterPass() override { ++calls; }
  void ShowSample(uint32_t, uint32_t, const char*) override { ++calls; }
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

// A free pass of the same amount: reach-target mode with nothing free, one
// block.
void BM_FreePass(benchmark::State& state) {
  HostPlatform platform;
  NoDisplay display;
  Engine e;
  char line[64] = "V D=Y R=";
  char* p = line + 8;
  int n = static_cast<int>(state.range(0));
  char digits[8];
  int k = 0;
  do digits[k++] = static_cast<char>('0' + n % 10); while ((n /= 10) != 0);
  while (k > 0) *p++ = digits[--k];
  *p = '\0';
  ParseMonitorCommandLine(line, kTrayOptions, &e.settings, &e.backoff);
  AttachEngine(&e, &platform, &display);
  uint32_t bytes = static_cast<uint32_t>(state.range(0)) * MB;
  for (auto _ : state) FreePass(&e);  // NOLINT(clang-analyzer-deadcode.DeadStores)
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * bytes);
}

// One tick in the digit style with an unchanged reading.
void BM_UnchangedDigitTick(benchmark::State& state) {
  HostPlatform platform;
  platform.status.availPhys = 300 * MB;
  NoDisplay display;
  Engine e;
  ParseMonitorCommandLine("V T=4", kTrayOptions, &e.settings, &e.backoff);
  AttachEngine(&e, &platform, &display);
  SamplingUpdate(&e, true);
  for (auto _ : state) SamplingUpdate(&e, false);  // NOLINT(clang-analyzer-deadcode.DeadStores)
  if (display.calls != 1) state.SkipWithError("an unchanged tick redrew");
}

// The scanner over a long command line.
void BM_ScanLongCommandLine(benchmark::State& state) {
  static char line[8192];
  const char* piece = " U=2 R=32 T=4 S A G=2 LW D=N B P=\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\"";
  size_t used = 0, n = 0;
  while (piece[n]) ++n;
  memcpy(line, "Velmora.exe", 11);
  used = 11;
  while (used + n < sizeof line - 1) {
    memcpy(line + used, piece, n);
    used += n;
  }
  line[used] = '\0';
  MonitorSettings s;
  Backoff b;
  for (auto _ : state) {  // NOLINT(clang-analyzer-deadcode.DeadStores)
    ParseMonitorCommandLine(line, kTrayOptions, &s, &b);
    benchmark::DoNotOptimize(s.intervalMs);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * used);
}

}  // namespace

BENCHMARK(BM_BareFill)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreePass)->Arg(64)->Arg(512)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UnchangedDigitTick);
BENCHMARK(BM_ScanLongCommandLine);

BENCHMARK_MAIN();
