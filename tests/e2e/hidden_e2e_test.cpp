// The hidden monitor shows nothing at all: no window, no notification-area
// icon, whatever display options its command line carries.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

const char kWineTray[] = "__winex11_standalone_tray";

struct VisibleSearch {
  DWORD pid;
  int visible;
};

BOOL CALLBACK CountVisible(HWND window, LPARAM context) {
  VisibleSearch* s = reinterpret_cast<VisibleSearch*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == s->pid && IsWindowVisible(window)) ++s->visible;
  return TRUE;
}

class HiddenMonitorE2E : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(FindWindows("Velmora", nullptr).empty()); }
  void TearDown() override { EndStartedPrograms(); }
};

TEST_F(HiddenMonitorE2E, TrayCommandLineShowsNothing) {
  Program p = Start("VelmoraH.exe", "U=1 M=10 T=4 S G=2 LW B P=\"C:\\Program Files\\V\\VelmoraConfig.exe\"");
  HWND window = WaitForWindow("Velmora", "Velmora", p.pid);
  ASSERT_NE(window, nullptr);
  // Over a few ticks nothing of it becomes visible and no tray icon shows.
  EXPECT_EQ(WaitForExit(p, 2500), kStillRunning);
  VisibleSearch s = {p.pid, 0};
  EnumWindows(CountVisible, reinterpret_cast<LPARAM>(&s));
  EXPECT_EQ(s.visible, 0);
  HWND tray = FindWindowA(kWineTray, nullptr);
  EXPECT_TRUE(tray == nullptr || !IsWindowVisible(tray)) << "a notification-area icon is shown";
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(p), 0u);
  EXPECT_EQ(FindWindowA("Velmora", nullptr), nullptr);
}

}  // namespace
