// The tray monitor as Wine shows it: the icon's pixels in the notification
// area, the menu driven by keys, the details box, the program it starts, the
// pages a free pass writes and its exit; and the program's own tray icon
// update, run here, leaking no object.
#include "support.h"

#include "details.h"
#include "engine.h"
#include "engine_win.h"
#include "icon_picture.h"
#include "tray_icon.h"
#include "tray_icon_win.h"

namespace {

MemoryStatus Now() {
  MEMORYSTATUS m = {sizeof m, 0, 0, 0, 0, 0, 0, 0};
  GlobalMemoryStatus(&m);
  return {m.dwLength, m.dwMemoryLoad, m.dwTotalPhys,    m.dwAvailPhys,
          m.dwTotalPageFile, m.dwAvailPageFile, m.dwTotalVirtual, m.dwAvailVirtual};
}

// The picture's pixels as the screen shows them, 0xRRGGBB.
std::vector<unsigned> Colours(const IconPicture& p) {
  std::vector<unsigned> c(256);
  for (int i = 0; i < 256; ++i) {
    const auto& quad = kPictureHeader.colours[PixelAt(p, i % 16, i / 16)];  // blue, green, red, 0
    c[i] = quad[2] << 16 | quad[1] << 8 | quad[0];
  }
  return c;
}

// The area graph after `samples` samples of this moment's reading.
std::vector<unsigned> Graph(int samples) {
  MemoryStatus s = Now();
  IconPicture p;
  ResetPicture(&p);
  for (int i = 0; i < samples; ++i)
    DrawPicture(&p, RoundToMegabytes(s.availPhys), RoundToMegabytes(s.totalPhys), kStyleAreaGraph, kFontSmooth);
  return Colours(p);
}

class TrayE2E : public E2E {
 protected:
  // Opens the menu with the right button and picks the item at the position.
  void Choose(int position) {
    PostMessageA(icon, WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
    HWND menu = WaitForWindow("#32768", nullptr, monitor.pid, true);
    ASSERT_NE(menu, nullptr) << "no tray menu";
    for (int i = 0; i <= position + 1; ++i) PostMessageA(menu, WM_KEYDOWN, i > position ? VK_RETURN : VK_DOWN, 1);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); })) << "the menu stays open";
  }
  // How many samples of this moment's reading the graph shows (0: none).
  int GraphSamples() {
    Image shot;
    for (int k = Screenshot(icon, &shot) ? 14 : 0; k >= 1; --k)
      if (Holds(shot, Graph(k))) return k;
    return 0;
  }
  Program monitor;
  HWND icon = nullptr;
};

TEST_F(TrayE2E, IconMenuDetailsHelpAFreePassAndExit) {
  std::string folder = Beside("tray_folder"), standin = Beside("velmora_standin.exe");
  made = {folder, standin + ".started"};
  CreateDirectoryA(folder.c_str(), nullptr);
  monitor = Start(Beside("Velmora.exe"), "U=1 G=2 M=300 D=N P=\"" + standin + "\"", folder.c_str());
  HWND window = WaitForWindow(kMonitor, kMonitor, monitor.pid);
  ASSERT_NE(window, nullptr);
  ASSERT_NE(icon = WaitForTrayIcon(), nullptr) << "no icon in the notification area";

  // The area graph of this moment's reading, moving on with each tick.
  int first = 0, later = 0;
  ASSERT_TRUE(WaitUntil([&] { return (first = GraphSamples()) > 0; })) << "the icon shows no graph";
  bool movesOn = first == 14 || WaitUntil([&] { return (later = GraphSamples()) > first; });
  EXPECT_TRUE(movesOn) << first << " samples, then " << later;

  // A double click runs one free pass, which really writes its pages.
  EXPECT_LT(PeakWorkingSet(monitor), 64 * MB) << "freed before it was asked to";
  PostMessageA(icon, WM_LBUTTONDBLCLK, 0, MAKELPARAM(8, 8));
  EXPECT_TRUE(WaitUntil([&] { return PeakWorkingSet(monitor) >= 256 * MB; })) << PeakWorkingSet(monitor) / MB;

  // Details: the memory status of this moment in a box of the monitor's.
  Choose(1);
  HWND box = WaitForWindow("#32770", kMonitor, monitor.pid, true);
  ASSERT_NE(box, nullptr) << "no details box";
  char want[kDetailsRoom];
  FormatDetails(want, sizeof want, Now(), false);
  std::wstring shown = TextW(GetDlgItem(box, 0xFFFF)), wanted(want, want + strlen(want));
  // The last line is the monitor's own free address space, not ours to read.
  EXPECT_EQ(shown.substr(0, shown.rfind('\n')), wanted.substr(0, wanted.rfind('\n')));
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  Press(box);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

  // Help/Configure starts the configured program in the monitor's folder.
  Choose(2);
  std::vector<std::string> started;
  ASSERT_TRUE(WaitUntil([&] { return (started = Started(standin)).size() == 3; })) << "nothing started";
  EXPECT_EQ(started, std::vector<std::string>({standin, "", folder}));

  Choose(3);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_TRUE(WaitUntil([] { return TrayIcons().empty(); })) << "the icon stays after Exit";
}

// Free GDI handles of this process: made until none is left, then freed.
int FreeGdiHandles() {
  static HGDIOBJ made[70000];
  int n = 0;
  while (n < 70000 && (made[n] = CreateBitmap(1, 1, 1, 1, nullptr)) != nullptr) ++n;
  for (int i = 0; i < n; ++i) DeleteObject(made[i]);
  return n;
}

TEST_F(TrayE2E, AThousandUpdatesLeakNoObject) {
  // An icon holds two bitmaps and a device context is a GDI object too: a
  // leaked one shows in the free GDI handles.
  g_monitorWindow = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(g_monitorWindow, nullptr);
  MonitorSettings settings;
  Backoff backoff;
  ParseMonitorCommandLine("V G=3", kTrayOptions, &settings, &backoff);
  TrayDisplay display(&settings, NotificationArea());
  display.AddIcon();
  ASSERT_NE(icon = WaitForTrayIcon(), nullptr);
  int before = 0;
  for (int i = 0; i < 1020; ++i) {
    if (i == 20) before = FreeGdiHandles();  // after the platform's first-use caches
    display.ShowSample(static_cast<uint32_t>(i * 7 % 65), 64, "tip");
  }
  int after = FreeGdiHandles();
  EXPECT_GT(before, 1000);
  EXPECT_LE(before - after, 8) << before << " free GDI handles before, " << after << " after";
  Image shot;
  EXPECT_TRUE(Screenshot(icon, &shot) && Holds(shot, Colours(display.Picture()))) << "the last update does not show";
  RemoveTrayIcon(g_monitorWindow);
  EXPECT_TRUE(WaitUntil([] { return TrayIcons().empty(); }));
  DestroyWindow(g_monitorWindow);
}

}  // namespace
