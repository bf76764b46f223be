// The monitors as the platform sees them: their window, their exit, and the
// memory a free pass really wrote.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

const char kMonitor[] = "Velmora";  // class name and title of both monitors
const size_t MB = 1u << 20;

class MonitorE2E : public ::testing::TestWithParam<const char*> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindWindows(kMonitor, nullptr).empty()) << "a monitor from elsewhere is running";
  }
  void TearDown() override { EndStartedPrograms(); }
  const char* Exe() const { return GetParam(); }
};

TEST_P(MonitorE2E, HiddenPopupWindowClosesWithExitCodeZero) {
  Program p = Start(Exe(), "U=2 M=10 T=4 S G=2 LW B P=\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\"");
  ASSERT_NE(p.process, nullptr);
  HWND byClass = WaitForWindow(kMonitor, nullptr, p.pid);
  ASSERT_NE(byClass, nullptr) << "no window of class Velmora";
  EXPECT_EQ(WaitForWindow(nullptr, kMonitor, p.pid), byClass) << "found by title";

  LONG style = GetWindowLongA(byClass, GWL_STYLE);
  EXPECT_NE(style & WS_POPUP, 0) << std::hex << style;
  EXPECT_EQ(style & (WS_VISIBLE | WS_CAPTION | WS_CHILD), 0) << std::hex << style;
  EXPECT_EQ(GetWindowLongA(byClass, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_FALSE(IsWindowVisible(byClass));
  RECT r;
  ASSERT_TRUE(GetWindowRect(byClass, &r));
  EXPECT_EQ(r.right - r.left, 0);
  EXPECT_EQ(r.bottom - r.top, 0);
  EXPECT_EQ(GetParent(byClass), nullptr);

  SendMessageA(byClass, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
  EXPECT_FALSE(IsWindow(byClass));
  EXPECT_TRUE(FindWindows(kMonitor, nullptr).empty());
}

TEST_P(MonitorE2E, RunOnceExitsByItselfWithoutWaitingForATick) {
  // A ten-minute interval: only the run-once pass can end it in time.
  Program p = Start(Exe(), "U=600 O S");
  ASSERT_NE(p.process, nullptr);
  EXPECT_EQ(WaitForExit(p), 0u);
  EXPECT_TRUE(FindWindows(kMonitor, nullptr).empty());
}

TEST_P(MonitorE2E, TwoMonitorsSideBySideBothRun) {
  Program a = Start(Exe(), "U=1");
  Program b = Start(Exe(), "U=1");
  HWND wa = WaitForWindow(kMonitor, kMonitor, a.pid);
  HWND wb = WaitForWindow(kMonitor, kMonitor, b.pid);
  ASSERT_NE(wa, nullptr);
  ASSERT_NE(wb, nullptr);
  EXPECT_NE(wa, wb);
  EXPECT_EQ(FindWindows(kMonitor, kMonitor).size(), 2u);
  // Both keep running over a few ticks.
  EXPECT_EQ(WaitForExit(a, 2500), kStillRunning);
  EXPECT_EQ(WaitForExit(b, 0), kStillRunning);
  PostMessageA(wa, WM_CLOSE, 0, 0);
  PostMessageA(wb, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(a), 0u);
  EXPECT_EQ(WaitForExit(b), 0u);
}

TEST_P(MonitorE2E, AutomaticPassOnFirstTickWritesItsMemory) {
  // A threshold above any free memory: the first tick runs a pass of free
  // RAM plus 10 MB (capped), which must really write its pages. Nothing is
  // freed before that tick.
  Program p = Start(Exe(), "U=2 T=4095 D=Y");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  size_t atStart = PeakWorkingSet(p);
  ASSERT_GT(atStart, 0u) << "the platform reports no working set";
  EXPECT_LT(atStart, 64 * MB) << "freed before the first tick";
  bool wrote = WaitUntil([&] { return PeakWorkingSet(p) >= 256 * MB; });
  EXPECT_TRUE(wrote) << "peak working set " << PeakWorkingSet(p) / MB << " MB";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
}

TEST_P(MonitorE2E, ThresholdZeroNeverFrees) {
  Program p = Start(Exe(), "U=1 M=500");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(WaitForExit(p, 3500), kStillRunning) << "it runs until it is closed";
  EXPECT_LT(PeakWorkingSet(p), 64 * MB);
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
}

TEST_P(MonitorE2E, PostedDestroyEndsIt) {
  Program p = Start(Exe(), "");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  PostMessageA(window, WM_DESTROY, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
}

INSTANTIATE_TEST_SUITE_P(BothMonitors, MonitorE2E,
                         ::testing::Values("Velmora.exe", "VelmoraH.exe"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param[7] == 'H' ? "Hidden" : "Tray");
                         });

}  // namespace
