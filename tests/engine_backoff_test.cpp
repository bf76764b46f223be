#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fake_engine_platform.h"

namespace {

// An engine on the fake platform, started from a command line.
struct Monitor {
  FakePlatform platform;
  FakeDisplay display;
  Engine engine;

  explicit Monitor(const char* line, bool withDisplay = true) {
    ParseMonitorCommandLine(line, kTrayOptions, &engine.settings, &engine.backoff);
    AttachEngine(&engine, &platform, withDisplay ? &display : nullptr);
  }
  int Passes() const {
    int n = 0;
    for (const auto& entry : platform.log) n += entry == "stop";
    return n;
  }
  // Ticks 0..count-1 with the reading given for each; returns the ticks on
  // which a pass ran.
  std::vector<int> Run(int count, bool (*low)(int tick)) {
    std::vector<int> passes;
    for (int tick = 0; tick < count; ++tick) {
      platform.status.availPhys = low(tick) ? 4 * MB : 40 * MB;
      int before = Passes();
      SamplingUpdate(&engine, false);
      if (Passes() != before) passes.push_back(tick);
    }
    return passes;
  }
};

std::string Join(const std::vector<int>& v) {
  std::string s;
  for (int x : v) s += std::to_string(x) + " ";
  return s;
}

bool AlwaysLow(int) { return true; }

TEST(Backoff, ScheduleWithMemoryThatStaysLow) {
  const struct {
    const char* line;
    int ticks;
    const char* passes;
  } cases[] = {
      {"V U=5 T=4", 481, "0 8 24 56 120 240 360 480 "},
      {"V U=2 T=4", 700, "0 24 72 168 360 660 "},
      {"V U=1 T=4", 700, "0 32 96 224 480 "},
      {"V U=120 T=4", 30, "0 5 10 15 20 25 "},
      // Here the maximum wait equals the base wait: passes still repeat
      // every maximum wait.
      {"V U=121 T=4", 17, "0 4 8 12 16 "},
      {"V U=150 T=4", 17, "0 4 8 12 16 "},
      {"V U=151 T=4", 13, "0 3 6 9 12 "},
      {"V U=600 T=4", 4, "0 1 2 3 "},
      {"V U=5 T=4 A", 5, "0 1 2 3 4 "},
      {"V U=5 T=0", 50, ""},
  };
  for (const auto& c : cases) {
    Monitor m(c.line);
    EXPECT_EQ(Join(m.Run(c.ticks, AlwaysLow)), c.passes) << c.line;
  }
}

TEST(Backoff, RecoveryReturnsToBaseWait) {
  Monitor m("V U=5 T=4");
  // Low at 0, recovered when the counter reaches the wait at tick 8, low
  // again at 12: a pass runs at once and the wait is doubled afresh.
  auto passes = m.Run(40, [](int tick) { return tick == 0 || tick >= 12; });
  EXPECT_EQ(Join(passes), "0 12 20 36 ");
  EXPECT_EQ(m.engine.backoff.currentWait, 32u);
}

TEST(Backoff, KeepTryingLeavesBackoffAlone) {
  Monitor m("V U=5 T=4 A");
  m.Run(10, AlwaysLow);
  EXPECT_EQ(m.engine.backoff.tickCounter, 0u);
  EXPECT_EQ(m.engine.backoff.currentWait, 4u);
}

TEST(Backoff, ExactlyAtThresholdIsLow) {
  Monitor m("V T=4");
  m.platform.status.availPhys = 4 * MB;
  SamplingUpdate(&m.engine, false);
  EXPECT_EQ(m.Passes(), 1);
  Monitor n("V T=4");
  n.platform.status.availPhys = 4 * MB + 1;
  SamplingUpdate(&n.engine, false);
  EXPECT_EQ(n.Passes(), 0);
}

TEST(Backoff, ForcedUpdateNeverFrees) {
  Monitor m("V T=4");
  m.platform.status.availPhys = 1 * MB;
  SamplingUpdate(&m.engine, true);
  EXPECT_EQ(m.Passes(), 0);
  EXPECT_EQ(m.engine.backoff.tickCounter, 0u);
}

TEST(Backoff, ManualPassesLeaveBackoffAlone) {
  Monitor m("V U=5 T=4");
  m.platform.status.availPhys = 4 * MB;
  SamplingUpdate(&m.engine, false);  // automatic: counter 1, wait 8
  Backoff before = m.engine.backoff;
  FreePass(&m.engine);
  FreePass(&m.engine);
  EXPECT_EQ(m.engine.backoff.tickCounter, before.tickCounter);
  EXPECT_EQ(m.engine.backoff.currentWait, before.currentWait);
  EXPECT_EQ(before.tickCounter, 1u);
  EXPECT_EQ(before.currentWait, 8u);
}

TEST(Backoff, SoundBeepsBeforeAutomaticPassesOnly) {
  Monitor m("V T=4 S");
  m.platform.status.availPhys = 2 * MB;
  SamplingUpdate(&m.engine, false);
  ASSERT_GE(m.platform.log.size(), 2u);
  EXPECT_EQ(m.platform.log[0], "beep");
  EXPECT_EQ(m.platform.log[1], "stop");
  m.platform.log.clear();
  FreePass(&m.engine);
  for (const auto& entry : m.platform.log) EXPECT_NE(entry, "beep");
}

TEST(SamplingUpdate, UnchangedDigitTickDoesNothing) {
  Monitor m("V");
  SamplingUpdate(&m.engine, true);
  ASSERT_EQ(m.display.log.size(), 1u);
  EXPECT_EQ(m.display.log[0], "show 32/64 RAM: 32M  Page: 150M");
  // Bytes move, the rounded figures do not.
  m.platform.status.availPhys += 1000;
  for (int i = 0; i < 5; ++i) SamplingUpdate(&m.engine, false);
  EXPECT_EQ(m.display.log.size(), 1u);
  EXPECT_TRUE(m.platform.asked.empty());
  EXPECT_TRUE(m.platform.log.empty());
  EXPECT_EQ(m.platform.reads, 6);
}

TEST(SamplingUpdate, RedrawRules) {
  const struct {
    const char* line;
    bool forced;
    uint32_t freeBytes, pageBytes;
    bool redraws;
  } cases[] = {
      {"V", false, 32 * MB, 150 * MB, false},
      {"V", true, 32 * MB, 150 * MB, true},
      {"V", false, 33 * MB, 150 * MB, true},
      {"V", false, 32 * MB, 151 * MB, true},
      {"V", false, 32 * MB + 524287, 150 * MB, false},
      {"V", false, 32 * MB + 524288, 150 * MB, true},
      {"V G=1", false, 32 * MB, 150 * MB, true},
      {"V G=3", false, 32 * MB, 150 * MB, true},
      {"V G=-1", false, 32 * MB, 150 * MB, true},
  };
  for (const auto& c : cases) {
    Monitor m(c.line);
    SamplingUpdate(&m.engine, true);
    m.platform.status.availPhys = c.freeBytes;
    m.platform.status.availPageFile = c.pageBytes;
    SamplingUpdate(&m.engine, c.forced);
    EXPECT_EQ(m.display.log.size(), c.redraws ? 2u : 1u)
        << c.line << " forced=" << c.forced << " free=" << c.freeBytes;
  }
}

TEST(SamplingUpdate, TipFormat) {
  const struct {
    uint32_t freeBytes, pageBytes;
    const char* tip;
  } cases[] = {
      {61 * MB + 419430, 250 * MB + 629146, "RAM: 61M  Page: 251M"},  // 61.4 and 250.6
      {61 * MB + 524288, 0, "RAM: 62M  Page: 0M"},                    // 61.5 rounds up
      {0, 524287, "RAM: 0M  Page: 0M"},
      {2147483647u, 4294967295u, "RAM: 2048M  Page: 4096M"},  // what Wine reports
  };
  for (const auto& c : cases) {
    Monitor m("V");
    m.platform.status.availPhys = c.freeBytes;
    m.platform.status.availPageFile = c.pageBytes;
    SamplingUpdate(&m.engine, true);
    EXPECT_STREQ(m.engine.tip, c.tip);
  }
}

TEST(SamplingUpdate, TipNeverPassesItsRoom) {
  char untouched = '#';
  FormatSampleTip(&untouched, 0, 1, 2);
  EXPECT_EQ(untouched, '#') << "room 0";
  const size_t rooms[] = {1, 2, 5, 6, 10, 21, 36, 64};
  for (size_t room : rooms) {
    char buffer[80];
    memset(buffer, '#', sizeof buffer);
    FormatSampleTip(buffer, room, 4294967295u, 4294967295u);
    std::string want = std::string("RAM: 4294967295M  Page: 4294967295M").substr(0, room - 1);
    EXPECT_EQ(std::string(buffer), want) << "room " << room;
    for (size_t i = room; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << "room " << room;
  }
}

TEST(SamplingUpdate, HiddenTouchesNoDisplay) {
  Monitor m("VelmoraH U=5 T=4", false);
  m.platform.status.availPhys = 2 * MB;
  SamplingUpdate(&m.engine, true);
  SamplingUpdate(&m.engine, false);
  EXPECT_EQ(m.Passes(), 1);
  EXPECT_TRUE(m.display.log.empty());
  EXPECT_STREQ(m.engine.tip, "");
  // Without a display a pass ends with the restarted timer, nothing else.
  EXPECT_EQ(m.platform.log.back(), "start 5000");
  EXPECT_EQ(m.platform.reads, 3);
}

}  // namespace
