// The monitors under load and with requests they cannot fully meet.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

const char kMonitor[] = "Velmora";
const size_t MB = 1u << 20;

class MonitorFaultsE2E : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override { ASSERT_TRUE(FindWindows(kMonitor, nullptr).empty()); }
  void TearDown() override { EndStartedPrograms(); }
  const char* Exe() const { return GetParam(); }
};

TEST_P(MonitorFaultsE2E, PassThatCannotGetItsMemoryEndsQuietly) {
  // Sixteen pieces of a sixteenth of all RAM cannot all fit a 32-bit
  // process: the pass stops at the first refusal and the monitor goes on.
  Program p = Start(Exe(), "U=1 T=4095 M=4095 D=N A");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return PeakWorkingSet(p) >= 256 * MB; })) << "no pass ran";
  // Still answering after several such passes.
  EXPECT_EQ(WaitForExit(p, 3000), kStillRunning);
  DWORD_PTR result = 0;
  EXPECT_NE(SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, &result), 0)
      << "the monitor no longer handles messages";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
}

TEST_P(MonitorFaultsE2E, CloseDuringABurstOfPassesExitsZero) {
  // Keep trying with memory that is always low: a pass on every tick.
  Program p = Start(Exe(), "U=1 T=4095 D=Y A");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitUntil([&] { return PeakWorkingSet(p) >= 256 * MB; })) << "no pass ran";
  for (int i = 0; i < 5; ++i) PostMessageA(window, WM_TIMER, 666, 0);
  PostMessageA(window, WM_CLOSE, 0, 0);
  // The passes of the posted ticks come first, each writing up to all of RAM.
  EXPECT_EQ(WaitForExit(p, 3 * kDeadlineMs), 0u);
  EXPECT_FALSE(IsWindow(window));
}

TEST_P(MonitorFaultsE2E, TenMonitorsStartedAndClosedLeaveNothingBehind) {
  for (int round = 0; round < 10; ++round) {
    Program p = Start(Exe(), "U=1 M=10 T=4 G=2");
    HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
    ASSERT_NE(window, nullptr) << "round " << round;
    SendMessageA(window, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForExit(p), 0u) << "round " << round;
  }
  EXPECT_TRUE(FindWindows(kMonitor, nullptr).empty());
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  EXPECT_TRUE(tray == nullptr || !IsWindowVisible(tray)) << "an icon was left in the tray";
}

INSTANTIATE_TEST_SUITE_P(BothMonitors, MonitorFaultsE2E,
                         ::testing::Values("Velmora.exe", "VelmoraH.exe"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param[7] == 'H' ? "Hidden" : "Tray");
                         });

}  // namespace
