// The tray monitor as Wine shows it: the icon's pixels and tip in the
// notification area, added on a later tick when the notification area does
// not take it, a free pass seen there, the icon put back when it is lost or
// the notification area starts afresh, the menu driven by keys, the about
// box, the program it starts, and its two ways to end; and the
// program's own tray icon update, run here, leaking no object.
#include "support.h"

#include "engine_win.h"
#include "tray_icon_win.h"
#include "tray_menu.h"

namespace {

MemoryStatus Now() {
  MEMORYSTATUS m = {sizeof m, 0, 0, 0, 0, 0, 0, 0};
  GlobalMemoryStatus(&m);
  return {m.dwLength, m.dwMemoryLoad, m.dwTotalPhys,    m.dwAvailPhys,
          m.dwTotalPageFile, m.dwAvailPageFile, m.dwTotalVirtual, m.dwAvailVirtual};
}

std::wstring Wide(const char* text) { return std::wstring(text, text + strlen(text)); }

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

// A notification area of the test's own, which the platform finds before
// Wine's: it refuses every request until it has refused so many adds, then
// leaves the rest to Wine's.
int g_refusing = 2;
LRESULT CALLBACK RefusingTray(HWND w, UINT m, WPARAM wp, LPARAM lp) {
  if (m != WM_COPYDATA) return DefWindowProcA(w, m, wp, lp);
  if (reinterpret_cast<COPYDATASTRUCT*>(lp)->dwData == NIM_ADD && --g_refusing == 0) DestroyWindow(w);
  return FALSE;
}

class TrayE2E : public E2E {
 protected:
  // Starts the monitor in a folder of its own; ASSERTs its window and icon.
  void StartTray(const std::string& options, const char* traced = nullptr) {
    Fresh(folder);
    monitor = Start(Beside("Velmora.exe"), options, folder.c_str(), traced);
    ASSERT_NE(window = WaitForWindow(kMonitor, kMonitor, monitor.pid), nullptr);
    ASSERT_NE(icon = WaitForTrayIcon(), nullptr) << "no icon in the notification area";
  }
  // Opens the menu with the right button and picks the item at the position.
  void Choose(int position) {
    PostMessageA(icon, WM_RBUTTONUP, 0, MAKELPARAM(8, 8));
    std::vector<WPARAM> keys(position + 1, VK_DOWN);
    keys.push_back(VK_RETURN);
    EXPECT_TRUE(PickFromMenu(monitor.pid, keys)) << "no tray menu, or it stays open";
  }
  // Takes the monitor's icon out of the notification area, as a new start
  // of Explorer loses it.
  bool RemoveIcon() {
    NOTIFYICONDATAA record = {};
    record.cbSize = NOTIFYICONDATAA_V1_SIZE, record.hWnd = window, record.uID = kTrayIconId;
    return Shell_NotifyIconA(NIM_DELETE, &record);
  }
  // How many samples of this moment's reading the graph shows (0: none).
  int GraphSamples() {
    Image shot;
    for (int k = Screenshot(icon, &shot) ? 14 : 0; k >= 1; --k)
      if (Holds(shot, Graph(k))) return k;
    return 0;
  }
  std::string folder = Beside("tray_folder");
  Program monitor;
  HWND window = nullptr, icon = nullptr;
};

TEST_F(TrayE2E, IconTipAFreePassTheIconBackMenuBoxesHelpAndExit) {
  std::string standin = Beside("velmora_standin.exe");
  // A notification area still starting up: the icon comes on a later tick.
  WNDCLASSA tray = {0, RefusingTray, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, "Shell_TrayWnd"};
  RegisterClassA(&tray);
  HWND starting = CreateWindowExA(WS_EX_TOPMOST, tray.lpszClassName, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  StartTray("U=1 G=2 M=300 D=Y B P=\"" + standin + "\"");
  DestroyWindow(starting);

  // A double click runs one free pass, which writes its pages: the
  // monitor's peak working set (a tip while it runs would come and go
  // quicker than the platform shows it). The tip shows the reading.
  PostMessageA(icon, WM_LBUTTONDBLCLK, 0, MAKELPARAM(8, 8));
  EXPECT_TRUE(WaitUntil([&] { return WorkingSet(monitor, true) >= 256 * MB; })) << WorkingSet(monitor, true) / MB << " MB";
  EXPECT_TRUE(WaitUntil([&] { return TrayTip(icon).substr(0, 5) == L"RAM: "; }));

  // The icon is lost: the next tick's modify is not taken, and the monitor
  // adds it again, which answers the mouse.
  ASSERT_TRUE(RemoveIcon());
  ASSERT_NE(icon = WaitForTrayIcon(icon), nullptr) << "the icon did not come back";

  // Help/Configure starts the configured program in the monitor's folder.
  Fresh(standin + ".started", false);
  Choose(2);
  EXPECT_EQ(WaitForStart(standin), std::vector<std::string>({standin, "", folder, "1"}));  // shown normally

  // The area graph of this moment's reading moves on with each tick; free
  // memory from the menu starts it afresh.
  int before = 0;
  ASSERT_TRUE(WaitUntil([&] { return (before = GraphSamples()) >= 4; })) << before;
  Choose(0);
  EXPECT_EQ(GetForegroundWindow(), window) << "the menu's owner was not brought to the front, so a click elsewhere would not close it";
  EXPECT_TRUE(WaitUntil([&] { return GraphSamples() < before; })) << "no pass from the menu";

  Choose(3);
  EXPECT_EQ(WaitForExit(monitor), 0u);
}

TEST_F(TrayE2E, WithoutAConfigurationHelpShowsTheAboutBoxAndACloseRequestEndsIt) {
  StartTray("U=600", "msg");
  // Its window lets WM_CLOSE and the notification area's new start through
  // from lower integrity, and nothing else.
  std::vector<std::string> filtered, want = {LetThrough(window, WM_CLOSE),
                                             LetThrough(window, RegisterWindowMessageA("TaskbarCreated"))};
  EXPECT_TRUE(WaitUntil([&] { return (filtered = Fixmes(GetWindowThreadProcessId(window, nullptr), "msg")) == want; }))
      << testing::PrintToString(filtered);
  // No tick comes to add it again: the notification area's new start does.
  ASSERT_TRUE(RemoveIcon() && WaitUntil([] { return TrayIcons().empty(); }));
  SendMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_NE(icon = WaitForTrayIcon(), nullptr) << "the icon did not come back";
  Choose(2);
  EXPECT_EQ(DismissBox(monitor.pid, kMonitor, window), Wide(kAboutText));
  // As the configuration program and the uninstaller ask.
  SendMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_TRUE(WaitUntil([] { return TrayIcons().empty(); })) << "the icon stays after WM_CLOSE";
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
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  NotificationAreaIcon area;
  area.SetWindow(owner);
  MonitorSettings settings;
  Backoff backoff;
  ParseMonitorCommandLine("V G=3", kTrayOptions, &settings, &backoff);
  TrayDisplay display(&settings, &area);
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
  display.RemoveIcon();
  EXPECT_TRUE(WaitUntil([] { return TrayIcons().empty(); }));
  DestroyWindow(owner);
}

}  // namespace
