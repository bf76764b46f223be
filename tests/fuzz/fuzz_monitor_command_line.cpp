// Any command line, through both monitors' option tables, then a few ticks
// of the back-off over readings taken from the same input.
#include <stdint.h>
#include <string.h>

#include <vector>

#include "engine.h"
#include "fuzz_check.h"
#include "program_name.h"

namespace {

const uint32_t MB = 1u << 20;

// Readings from the input, a timer that must get whole seconds, and a heap
// that refuses every block, so that each pass fails quietly.
struct NullPlatform : EnginePlatform {
  uint32_t freeBytes = 0;
  void ReadMemoryStatus(MemoryStatus* s) override { *s = {32, 50, 64 * MB, freeBytes, 0, 0, 0, 0}; }
  void StartTimer(uint32_t ms) override { FUZZ_CHECK(ms >= 1000 && ms % 1000 == 0); }
  void StopTimer() override {}
  void Beep() override {}
  void* Allocate(uint32_t) override { return nullptr; }
  void Release(void*) override { FUZZ_CHECK(false); }
};

void CheckSettings(const MonitorSettings& s, const Backoff& b, bool hidden) {
  FUZZ_CHECK(s.intervalMs >= 1000 && s.intervalMs <= kMaxIntervalSeconds * 1000 && s.intervalMs % 1000 == 0);
  FUZZ_CHECK(s.freeAmountBytes >= MB && s.freeAmountBytes <= kMaxMegabytes * MB &&
             s.freeAmountBytes % MB == 0);
  FUZZ_CHECK(s.thresholdBytes <= kMaxMegabytes * MB && s.thresholdBytes % MB == 0);
  FUZZ_CHECK(s.digitFont >= 0 && s.digitFont <= 2);
  FUZZ_CHECK(memchr(s.configPath, '\0', sizeof s.configPath) != nullptr);
  FUZZ_CHECK(b.baseWait == 4 || b.baseWait == 8 || b.baseWait == 12 || b.baseWait == 16);
  FUZZ_CHECK(b.currentWait == b.baseWait && b.tickCounter == 0);
  FUZZ_CHECK(b.maximumWait >= 1 && b.maximumWait <= 600);
  if (hidden) FUZZ_CHECK(s.configPath[0] == '\0' && s.digitFont == 0 && !s.byteUnits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<char> line(data, data + size);
  line.push_back('\0');  // a command line ends at its first NUL

  const char* rest = SkipProgramName(line.data());
  size_t length = strlen(line.data());
  FUZZ_CHECK(rest >= line.data() && rest <= line.data() + length);

  Engine tray, hidden;
  ParseMonitorCommandLine(line.data(), kTrayOptions, &tray.settings, &tray.backoff);
  ParseMonitorCommandLine(line.data(), kHiddenOptions, &hidden.settings, &hidden.backoff);
  CheckSettings(tray.settings, tray.backoff, false);
  CheckSettings(hidden.settings, hidden.backoff, true);
  FUZZ_CHECK(strpbrk(tray.settings.configPath, "=\"") == nullptr);

  // Whatever display letters a line holds, both monitors free alike.
#define SAME(field) FUZZ_CHECK(tray.settings.field == hidden.settings.field)
  SAME(intervalMs); SAME(freeAmountBytes); SAME(reachTarget); SAME(thresholdBytes); SAME(defragment);
  SAME(runOnce); SAME(sound); SAME(keepTrying); SAME(displayStyle);

  // The back-off over up to 64 ticks whose readings are the input's bytes.
  NullPlatform platform;
  AttachEngine(&hidden, &platform, nullptr);
  if (hidden.settings.thresholdBytes == 0) hidden.settings.thresholdBytes = 4 * MB;
  const Backoff& b = hidden.backoff;
  uint32_t lowest = b.baseWait < b.maximumWait ? b.baseWait : b.maximumWait;
  uint32_t highest = b.baseWait > b.maximumWait ? b.baseWait : b.maximumWait;
  for (size_t i = 0; i < size && i < 64; ++i) {
    platform.freeBytes = static_cast<uint32_t>(data[i] & 7) * MB;
    SamplingUpdate(&hidden, false);
    FUZZ_CHECK(b.currentWait >= lowest && b.currentWait <= highest);
    FUZZ_CHECK(b.tickCounter <= b.currentWait);
  }
  return 0;
}
