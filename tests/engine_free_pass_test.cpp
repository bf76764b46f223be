#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_engine_platform.h"

namespace {

std::string Join(const std::vector<uint32_t>& v) {
  std::string s;
  for (uint32_t x : v) s += (x % MB == 0 ? std::to_string(x / MB) + "M" : std::to_string(x)) + " ";
  return s;
}

struct Pass {
  FakePlatform platform;
  FakeDisplay display;
  Engine engine;

  Pass(const char* line, uint32_t totalMb, uint32_t freeMb, bool withDisplay = true) {
    ParseMonitorCommandLine(line, kTrayOptions, &engine.settings, &engine.backoff);
    AttachEngine(&engine, &platform, withDisplay ? &display : nullptr);
    platform.status.totalPhys = totalMb * MB;
    platform.status.availPhys = freeMb * MB;
  }
};

TEST(FreePassAmount, FreeAmountAndTarget) {
  const struct {
    const char* line;
    uint32_t freeBytes, amount;
  } cases[] = {
      {"V", 200 * MB, 210 * MB},
      {"V M=20", 0, 20 * MB},
      {"V R=40", 39 * MB, 40 * MB},
      {"V R=40", 40 * MB, 0},
      {"V R=40", 41 * MB, 0},
      // The sum holds at the largest 32-bit amount instead of wrapping.
      {"V M=3000", 2000 * MB, 0xFFFFFFFFu},
      {"V M=4095", 0xFFFFFFFFu, 0xFFFFFFFFu},
      {"V M=2048", 2048 * MB - 1, 0xFFFFFFFFu},
      {"V M=2048", 2048 * MB, 0xFFFFFFFFu},
  };
  for (const auto& c : cases) {
    MonitorSettings s;
    Backoff b;
    ParseMonitorCommandLine(c.line, kTrayOptions, &s, &b);
    EXPECT_EQ(FreePassAmount(s, c.freeBytes), c.amount) << c.line << " free " << c.freeBytes;
  }
}

TEST(FreePassAmount, CapAtTotalLessEightMegabytes) {
  const struct {
    uint32_t amount, total, capped;
  } cases[] = {
      {210 * MB, 256 * MB, 210 * MB},
      {248 * MB, 256 * MB, 248 * MB},
      {249 * MB, 256 * MB, 248 * MB},
      {0xFFFFFFFFu, 2147483647u, 2147483647u - 8 * MB},
      {3000 * MB, 4095 * MB, 3000 * MB},
      // Less than 8 MB of RAM leaves nothing to allocate.
      {10 * MB, 8 * MB, 0},
      {10 * MB, 6 * MB, 0},
      {10 * MB, 8 * MB + 1, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CapFreePassAmount(c.amount, c.total), c.capped) << c.amount << " of " << c.total;
}

TEST(FreePassAmount, MethodChoice) {
  const struct {
    char mode;
    uint32_t amount, total;
    bool pieces;
  } cases[] = {
      {'I', 32 * MB, 96 * MB, false},
      {'I', 32 * MB + 1, 96 * MB, true},
      {'I', 33 * MB, 96 * MB, true},
      {'I', 1, 2, true},
      {'X', 32 * MB, 96 * MB, false},
      {'X', 33 * MB, 96 * MB, true},
      {'N', 1 * MB, 96 * MB, true},
      {'Y', 90 * MB, 96 * MB, false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FreeInPieces(c.mode, c.amount, c.total), c.pieces)
        << c.mode << " " << c.amount << " of " << c.total;
}

TEST(FreePass, Allocations) {
  const struct {
    const char* line;
    uint32_t totalMb, freeMb, refuseAbove;
    size_t refuseAfter;
    const char* asked;
  } cases[] = {
      // One block of free amount plus free RAM.
      {"V", 1024, 200, ~0u, ~size_t{0}, "210M "},
      {"V D=Y", 256, 245, ~0u, ~size_t{0}, "248M "},
      // Default mode at 96 MB: a third goes in one block, more in pieces.
      {"V R=32", 96, 0, ~0u, ~size_t{0}, "32M "},
      {"V R=48", 96, 0, ~0u, ~size_t{0},
       "3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 48M "},
      {"V R=16 D=N", 96, 0, ~0u, ~size_t{0},
       "1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 1M 16M "},
      {"V R=90 D=Y", 96, 0, ~0u, ~size_t{0}, "88M "},
      // 160 MB in pieces: ten-megabyte pieces are not smaller than a 10 MB
      // free amount, so the follow-up is 16 bytes; with 20 MB it is 20 MB.
      {"V M=10 D=N", 1024, 150, ~0u, ~size_t{0},
       "10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 16 "},
      {"V M=20 D=N", 1024, 140, ~0u, ~size_t{0},
       "10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 10M 20M "},
      // Pieces stop at the first failure.
      {"V M=10 D=N", 1024, 150, ~0u, 3, "10M 10M 10M 10M 16 "},
      // A block that fails is halved while it is above 20 bytes.
      {"V R=1", 1024, 0, 300000, ~size_t{0}, "1M 524288 262144 "},
      {"V R=1", 1024, 0, 10, ~size_t{0},
       "1M 524288 262144 131072 65536 32768 16384 8192 4096 2048 1024 512 256 128 64 32 16 "},
      {"V R=40", 96, 0, 0, ~size_t{0},
       "2621440 40M 20M 10M 5M 2621440 1310720 655360 327680 163840 81920 40960 20480 10240 5120 "
       "2560 1280 640 320 160 80 40 20 "},
      // Nothing to allocate below 8 MB of RAM.
      {"V", 8, 4, ~0u, ~size_t{0}, ""},
  };
  for (const auto& c : cases) {
    Pass p(c.line, c.totalMb, c.freeMb);
    p.platform.refuseAbove = c.refuseAbove;
    p.platform.refuseAfter = c.refuseAfter;
    FreePass(&p.engine);
    std::string context = std::string(c.line) + " total " + std::to_string(c.totalMb);
    EXPECT_EQ(Join(p.platform.asked), c.asked) << context;
    EXPECT_EQ(p.platform.Outstanding(), 0u) << context << ": every block released";
    EXPECT_EQ(p.platform.releasedDirty, 0) << context << ": every byte zeroed";
    EXPECT_EQ(p.platform.releasedUnknown, 0) << context;
    EXPECT_EQ(static_cast<size_t>(p.platform.released), p.platform.obtained.size()) << context;
  }
}

TEST(FreePass, PiecesAreReleasedInOrderAfterAllAreObtained) {
  Pass p("V R=32 D=N", 1024, 0);
  p.platform.refuseAfter = 2;
  FreePass(&p.engine);
  const std::vector<std::string> want = {"stop", "alloc 2097152", "alloc 2097152", "free 2097152",
                                         "free 2097152", "start 5000"};
  EXPECT_EQ(p.platform.log, want);
}

TEST(FreePass, SequenceWithDisplay) {
  Pass p("V U=3 R=20", 64, 10);
  FreePass(&p.engine);
  const std::vector<std::string> platform = {"stop", "alloc 20971520", "free 20971520", "start 3000"};
  EXPECT_EQ(p.platform.log, platform);
  const std::vector<std::string> display = {"blank Attempting to Free RAM", "clear",
                                            "show 10/64 RAM: 10M  Page: 150M"};
  EXPECT_EQ(p.display.log, display);
}

TEST(FreePass, NothingToDoLeavesEverythingAlone) {
  Pass p("V R=20", 64, 20);
  p.engine.tip[0] = 'x';
  p.engine.tip[1] = '\0';
  FreePass(&p.engine);
  EXPECT_TRUE(p.platform.log.empty());
  EXPECT_TRUE(p.display.log.empty());
  EXPECT_STREQ(p.engine.tip, "x");
}

TEST(FreePass, ReachedTargetStillAdvancesBackoff) {
  // An automatic pass that finds free RAM at the target does nothing, but
  // the back-off still counts it, and that tick draws nothing.
  Pass p("V R=4 T=4", 64, 4);
  p.platform.status.availPhys = 4 * MB;
  SamplingUpdate(&p.engine, false);
  EXPECT_TRUE(p.platform.log.empty());
  EXPECT_TRUE(p.display.log.empty());
  EXPECT_EQ(p.engine.backoff.tickCounter, 1u);
  EXPECT_EQ(p.engine.backoff.currentWait, 8u);
}

TEST(ZeroFill, WritesEveryByteAndNothingElse) {
  const size_t sizes[] = {0, 1, 7, 16, 4095, 4096, 65537};
  for (size_t size : sizes) {
    std::vector<unsigned char> buffer(size + 32, kPoison);
    ZeroFill(buffer.data() + 16, size);
    for (size_t i = 0; i < buffer.size(); ++i) {
      bool inside = i >= 16 && i < 16 + size;
      ASSERT_EQ(buffer[i], inside ? 0 : kPoison) << "size " << size << " byte " << i;
    }
  }
}

}  // namespace

namespace {

TEST(StartMonitor, TimerAndRunOncePass) {
  const struct {
    const char* line;
    const OptionTable* table;
    bool ends;
    const char* log;
  } cases[] = {
      {"V U=3", &kTrayOptions, false, "start 3000 "},
      {"V U=3 T=4095 S", &kTrayOptions, false, "start 3000 "},
      // Run once: one pass right away, never a beep, whatever the flags.
      {"V U=3 O S R=20", &kTrayOptions, true, "start 3000 stop alloc 20971520 free 20971520 start 3000 "},
      {"H U=3 O S R=20 T=4095", &kHiddenOptions, true,
       "start 3000 stop alloc 20971520 free 20971520 start 3000 "},
      // A pass with nothing to do still ends a run-once monitor.
      {"H O R=5", &kHiddenOptions, true, "start 5000 "},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FakePlatform platform;
    platform.status.availPhys = 10 * MB;
    Engine e;
    ParseMonitorCommandLine(cases[i].line, *cases[i].table, &e.settings, &e.backoff);
    AttachEngine(&e, &platform, nullptr);
    EXPECT_EQ(StartMonitor(&e), cases[i].ends) << "case " << i;
    std::string log;
    for (const auto& entry : platform.log) log += entry + " ";
    EXPECT_EQ(log, cases[i].log) << "case " << i << ": " << cases[i].line;
    EXPECT_EQ(e.backoff.tickCounter, 0u) << "case " << i;
  }
}

}  // namespace
