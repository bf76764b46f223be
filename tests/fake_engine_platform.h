// A recording platform and display for the engine's tests: a programmable
// memory reading, a heap that can refuse sizes, hands out poisoned blocks
// and checks that each comes back zeroed, and a log of every call in order.
#ifndef VELMORA_TESTS_FAKE_ENGINE_PLATFORM_H
#define VELMORA_TESTS_FAKE_ENGINE_PLATFORM_H

#include <stdlib.h>
#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "engine.h"

const uint32_t MB = 1u << 20;
const unsigned char kPoison = 0xA5;

inline bool AllZero(const void* block, size_t bytes) {
  static const unsigned char zeros[4096] = {};
  const unsigned char* p = static_cast<const unsigned char*>(block);
  while (bytes > 0) {
    size_t n = bytes < sizeof zeros ? bytes : sizeof zeros;
    if (memcmp(p, zeros, n) != 0) return false;
    p += n;
    bytes -= n;
  }
  return true;
}

class FakePlatform : public EnginePlatform {
 public:
  MemoryStatus status = {32, 50, 64 * MB, 32 * MB, 200 * MB, 150 * MB, 2047 * MB, 2000 * MB};
  uint32_t refuseAbove = 0xFFFFFFFFu;  // larger allocations fail
  size_t refuseAfter = ~size_t{0};     // allocations after this many obtained fail
  std::vector<std::string> log;        // timer, beep and heap calls in order
  std::vector<uint32_t> asked;         // every size asked for, in order
  std::vector<uint32_t> obtained;      // every size handed out, in order
  int reads = 0;
  int released = 0;
  int releasedDirty = 0;               // released with a byte that is not zero
  int releasedUnknown = 0;             // released but never handed out

  ~FakePlatform() {
    for (auto& block : live) free(block.first);
  }
  void ReadMemoryStatus(MemoryStatus* out) override {
    ++reads;
    *out = status;
  }
  void StartTimer(uint32_t ms) override { log.push_back("start " + std::to_string(ms)); }
  void StopTimer() override { log.push_back("stop"); }
  void Beep() override { log.push_back("beep"); }
  void* Allocate(uint32_t bytes) override {
    asked.push_back(bytes);
    if (bytes > refuseAbove || obtained.size() >= refuseAfter) return nullptr;
    void* block = malloc(bytes == 0 ? 1 : bytes);
    if (block == nullptr) return nullptr;
    memset(block, kPoison, bytes);
    obtained.push_back(bytes);
    live[block] = bytes;
    log.push_back("alloc " + std::to_string(bytes));
    return block;
  }
  void Release(void* block) override {
    auto it = live.find(block);
    if (it == live.end()) {
      ++releasedUnknown;
      return;
    }
    if (!AllZero(block, it->second)) ++releasedDirty;
    log.push_back("free " + std::to_string(it->second));
    live.erase(it);
    free(block);
    ++released;
  }
  size_t Outstanding() const { return live.size(); }

 private:
  std::map<void*, uint32_t> live;
};

class FakeDisplay : public Display {
 public:
  std::vector<std::string> log;  // every call with its arguments

  void ShowPassStarting(const char* tip) override { log.push_back(std::string("blank ") + tip); }
  void ClearAfterPass() override { log.push_back("clear"); }
  void ShowSample(uint32_t freeMb, uint32_t totalMb, const char* tip) override {
    log.push_back("show " + std::to_string(freeMb) + "/" + std::to_string(totalMb) + " " + tip);
  }
};

#endif
