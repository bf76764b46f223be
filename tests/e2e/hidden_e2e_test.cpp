// The hidden monitor: its window, the pages a free pass writes and gives
// back, nothing shown whatever display options it is given, and its exits.
#include "support.h"

TEST_F(E2E, HiddenMonitorShowsNothingAndItsPassWritesItsPages) {
  // A threshold above any free memory: the first tick runs a pass.
  Program p = Start(Beside("VelmoraH.exe"), "U=2 T=4095 D=Y S G=2 LW B P=\"C:\\V\\VelmoraConfig.exe\"", nullptr, "msg");
  HWND window = WaitForWindow(kMonitor, kMonitor, p.pid);
  ASSERT_NE(window, nullptr);
  // Its window lets WM_CLOSE from lower integrity through, and nothing else.
  std::vector<std::string> filtered;
  EXPECT_TRUE(WaitUntil([&] { return (filtered = Fixmes(GetWindowThreadProcessId(window, nullptr), "msg")) ==
                                     std::vector<std::string>{LetThrough(window, WM_CLOSE)}; }))
      << testing::PrintToString(filtered);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE), 0) << "a plain pop-up";
  EXPECT_LT(WorkingSet(p, true), 64 * MB) << "freed before the first tick";
  EXPECT_TRUE(WaitUntil([&] { return WorkingSet(p, true) >= 256 * MB; })) << WorkingSet(p, true) / MB << " MB at the peak";
  EXPECT_TRUE(WaitUntil([&] { return WorkingSet(p) < 64 * MB; })) << "the pass kept " << WorkingSet(p) / MB << " MB";
  EXPECT_EQ(Windows(nullptr, nullptr, p.pid, true).size(), 0u) << "a window of it shows";
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
  // Run once: a ten-minute interval, so only its own pass can end it in time.
  EXPECT_EQ(WaitForExit(Start(Beside("VelmoraH.exe"), "U=600 O")), 0u);
}
