// The engine's platform as a recording: a set memory reading, a heap that
// can refuse sizes and counts blocks that come back not zeroed, and one log
// of calls in order; and an engine over it.
#ifndef VELMORA_TESTS_FAKE_ENGINE_PLATFORM_H
#define VELMORA_TESTS_FAKE_ENGINE_PLATFORM_H

#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>

#include "checks.h"
#include "engine.h"

// "20M" for whole megabytes, the byte count otherwise.
inline std::string Size(uint32_t bytes) {
  return bytes != 0 && bytes % MB == 0 ? std::to_string(bytes / MB) + "M" : std::to_string(bytes);
}

class FakePlatform : public EnginePlatform {
 public:
  MemoryStatus status = {32, 50, 64 * MB, 32 * MB, 200 * MB, 150 * MB, 2047 * MB, 2000 * MB};
  uint32_t refuseAbove = 0xFFFFFFFFu;  // larger allocations fail
  int refuseAfter = 1 << 30;           // allocations fail once this many were handed out
  std::string log, asked;              // timer, beep and heap calls; every size asked for
  int reads = 0, obtained = 0, dirty = 0;
  std::map<void*, uint32_t> live;      // blocks handed out and not released

  void ReadMemoryStatus(MemoryStatus* out) override { ++reads, *out = status; }
  void StartTimer(uint32_t ms) override { log += "start " + std::to_string(ms) + " "; }
  void StopTimer() override { log += "stop "; }
  void Beep() override { log += "beep "; }
  void* Allocate(uint32_t bytes) override {
    asked += Size(bytes) + " ";
    if (bytes > refuseAbove || obtained >= refuseAfter) return nullptr;
    char* block = static_cast<char*>(malloc(bytes + 1));
    memset(block, 0xA5, bytes + 1);
    log += "alloc " + Size(live[block] = bytes) + " ";
    return ++obtained, block;
  }
  void Release(void* block) override {
    uint32_t bytes = live.at(block);  // throws for a block never handed out
    const char* p = static_cast<const char*>(block);
    dirty += bytes != 0 && (p[0] != 0 || memcmp(p, p + 1, bytes - 1) != 0);
    log += "free " + Size(bytes) + " ";
    free(block);
    live.erase(block);
  }
};

// What differs from the start values (5 s, 10 MB, no threshold, I, waits of
// 4 to 120 ticks), in the units the settings keep.
inline std::string Describe(const MonitorSettings& s, const Backoff& b) {
  std::string d;
  auto add = [&d](bool differs, const std::string& text) { d += differs ? text + " " : ""; };
  add(s.intervalMs != 5000, "U=" + std::to_string(s.intervalMs));
  add(s.freeAmountBytes != 10 * MB, "M=" + Size(s.freeAmountBytes));
  add(s.reachTarget, "R"), add(s.thresholdBytes != 0, "T=" + Size(s.thresholdBytes));
  add(s.defragment != 'I', std::string("D=") + s.defragment);
  add(s.runOnce, "O"), add(s.sound, "S"), add(s.keepTrying, "A"), add(s.byteUnits, "B");
  add(s.displayStyle != 0, "G=" + std::to_string(s.displayStyle)), add(s.digitFont != 0, "L=" + std::to_string(s.digitFont));
  add(s.configPath[0] != '\0', std::string("P=") + s.configPath);
  add(b.baseWait != 4 || b.maximumWait != 120, "wait " + std::to_string(b.baseWait) + ".." + std::to_string(b.maximumWait));
  add(b.currentWait != b.baseWait || b.tickCounter != 0, "moved");
  return d;
}

// An engine started from a command line, with no display (as in the hidden
// monitor); what the tray shows is tried with the tray display itself.
struct Monitor {
  FakePlatform platform;
  Engine engine;
  explicit Monitor(const char* line) {
    memset(&engine, 0xA5, sizeof engine);  // nothing may be left unset
    ParseMonitorCommandLine(line, kTrayOptions, &engine.settings, &engine.backoff);
    AttachEngine(&engine, &platform, nullptr);
  }
};

#endif
