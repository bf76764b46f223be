// The tray monitor as Wine shows it: the icon's pixels and tooltip in the
// notification area, the tray menu opened by the icon's mouse events and
// driven by keys, the boxes it shows, the program it starts, its exit.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "details.h"
#include "e2e_support.h"
#include "engine.h"
#include "engine_win.h"
#include "icon_picture.h"
#include "screenshot.h"
#include "tray_icon.h"
#include "tray_icon_win.h"
#include "tray_view.h"

namespace {

const char kMonitor[] = "Velmora";  // class name and title of the monitor window
const char kTray[] = "Velmora.exe";
const size_t MB = 1u << 20;
// How long to watch for something that must not appear.
const DWORD kAbsentMs = 1500;

// The icon's palette as red, green, blue.
const unsigned kPalette[8] = {0x000000, 0xC0C0C0, 0xF0F0F0, 0x808080,
                              0x00FF00, 0x00FF00, 0xFF0000, 0xFFFF00};

MemoryStatus ReadStatus() {
  MEMORYSTATUS m;
  m.dwLength = sizeof m;
  GlobalMemoryStatus(&m);
  return {m.dwLength,
          m.dwMemoryLoad,
          static_cast<uint32_t>(m.dwTotalPhys),
          static_cast<uint32_t>(m.dwAvailPhys),
          static_cast<uint32_t>(m.dwTotalPageFile),
          static_cast<uint32_t>(m.dwAvailPageFile),
          static_cast<uint32_t>(m.dwTotalVirtual),
          static_cast<uint32_t>(m.dwAvailVirtual)};
}

Colours ColoursOf(const IconPicture& p) {
  Colours c;
  for (int row = 0; row < 16; ++row)
    for (int column = 0; column < 16; ++column) c.push_back(kPalette[PixelAt(p, column, row) & 7]);
  return c;
}

// The picture after `samples` drawings of the reading of this moment.
IconPicture PictureNow(int32_t style, int font, int samples = 1) {
  MemoryStatus s = ReadStatus();
  IconPicture p;
  ResetPicture(&p);
  for (int i = 0; i < samples; ++i)
    DrawPicture(&p, RoundToMegabytes(s.availPhys), RoundToMegabytes(s.totalPhys), style, font);
  return p;
}

std::string TipNow() {
  MemoryStatus s = ReadStatus();
  char tip[kTipRoom];
  FormatSampleTip(tip, sizeof tip, RoundToMegabytes(s.availPhys), RoundToMegabytes(s.availPageFile));
  return tip;
}

void PostKey(HWND window, UINT key) {
  PostMessageA(window, WM_KEYDOWN, key, 1);
  PostMessageA(window, WM_KEYUP, key, 0xC0000001u);
}

std::string BoxText(HWND box) {
  char text[1024] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

class TrayE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindWindows(kMonitor, nullptr).empty()) << "a monitor from elsewhere is running";
    ASSERT_TRUE(SweepTrayIcons()) << "the notification area holds icons from elsewhere";
  }
  void TearDown() override {
    EndStartedPrograms();
    SweepTrayIcons();
  }

  // Starts the tray monitor and waits for its window and its icon.
  void StartMonitor(const std::string& arguments, const char* directory = nullptr) {
    monitor = Start(kTray, arguments, directory);
    ASSERT_NE(monitor.process, nullptr);
    window = WaitForWindow(kMonitor, kMonitor, monitor.pid);
    ASSERT_NE(window, nullptr) << "no monitor window";
    icon = WaitForTheTrayIcon();
    ASSERT_NE(icon, nullptr) << "no icon in the notification area";
  }

  // Opens the tray menu with the right button and picks the item at the
  // position (0 to 3) with the keyboard.
  void Choose(int position) {
    PostMouse(icon, WM_RBUTTONUP);
    HWND popup = WaitForMenu(monitor.pid);
    ASSERT_NE(popup, nullptr) << "no tray menu";
    for (int i = 0; i <= position; ++i) PostKey(popup, VK_DOWN);
    PostKey(popup, VK_RETURN);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); })) << "the menu stays open";
  }

  HWND WaitForBox(DWORD deadlineMs = kDeadlineMs) {
    return WaitForWindow("#32770", kMonitor, monitor.pid, deadlineMs);
  }

  bool Shows(const IconPicture& want, const char* name, std::string* seen) {
    return IconShows(icon, ColoursOf(want), name, seen);
  }

  Program monitor;
  HWND window = nullptr;
  HWND icon = nullptr;
};

struct DigitCase {
  const char* arguments;
  int font;
  const char* shot;
};

class TrayDigitsE2E : public TrayE2E, public ::testing::WithParamInterface<DigitCase> {};

TEST_P(TrayDigitsE2E, IconShowsTheFreeMemoryOfTheMoment) {
  const DigitCase& c = GetParam();
  StartMonitor(c.arguments);
  std::string seen;
  bool shows = WaitUntil([&] { return Shows(PictureNow(kStyleDigits, c.font), c.shot, &seen); });
  EXPECT_TRUE(shows) << "the icon shows" << seen;
  std::string tip;
  EXPECT_TRUE(WaitUntil([&] { return (tip = TrayTip(icon)) == TipNow(); })) << tip << " / " << TipNow();
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_TRUE(WaitForNoTrayIcon()) << "closing removes the icon";
}

INSTANTIATE_TEST_SUITE_P(Fonts, TrayDigitsE2E,
                         ::testing::Values(DigitCase{"", kFontSmooth, "tray_digits"},
                                           DigitCase{"LG", kFontGreenLcd, "tray_digits_green"},
                                           DigitCase{"LW", kFontWhiteLcd, "tray_digits_white"}),
                         [](const ::testing::TestParamInfo<DigitCase>& info) {
                           return std::string(info.param.shot + 5);
                         });

struct GraphCase {
  const char* arguments;
  int32_t style;
  int font;
  const char* shot;
};

class TrayGraphE2E : public TrayE2E, public ::testing::WithParamInterface<GraphCase> {};

TEST_P(TrayGraphE2E, IconShowsTheGraphAndItMovesOnEachTick) {
  const GraphCase& c = GetParam();
  StartMonitor(c.arguments);
  // How many samples of this moment's reading the icon shows (after 14 the
  // picture stays the same), or 0 when it shows none of them.
  auto shown = [&](std::string* seen) {
    MemoryStatus s = ReadStatus();
    std::vector<Colours> pictures;
    IconPicture p;
    ResetPicture(&p);
    for (int k = 1; k <= 14; ++k) {
      DrawPicture(&p, RoundToMegabytes(s.availPhys), RoundToMegabytes(s.totalPhys), c.style, c.font);
      pictures.push_back(ColoursOf(p));
    }
    RECT r;
    Image shot;
    if (!GetWindowRect(icon, &r) || !Screenshot(r, c.shot, &shot)) return 0;
    for (int k = 14; k >= 1; --k)
      if (ImageHolds(shot, pictures[k - 1])) return k;
    *seen = Account(shot);
    return 0;
  };
  std::string seen;
  int first = 0;
  EXPECT_TRUE(WaitUntil([&] { return (first = shown(&seen)) != 0; })) << "the icon shows" << seen;
  // The gauge looks the same whatever came before; the graphs move on.
  if (c.style != kStyleGauge && first != 0 && first < 14) {
    int later = 0;
    EXPECT_TRUE(WaitUntil([&] { return (later = shown(&seen)) > first; }))
        << "the graph moves on: " << first << " samples, then " << later << seen;
  }
  EXPECT_EQ(TrayTip(icon), TipNow());
}

INSTANTIATE_TEST_SUITE_P(Styles, TrayGraphE2E,
                         ::testing::Values(GraphCase{"G=1 LW", kStyleGauge, kFontWhiteLcd, "tray_gauge"},
                                           GraphCase{"U=1 G=2", kStyleAreaGraph, kFontSmooth, "tray_area_graph"},
                                           GraphCase{"U=1 G=3 LG", kStyleLineGraph, kFontGreenLcd, "tray_line_graph"}),
                         [](const ::testing::TestParamInfo<GraphCase>& info) {
                           return std::string(info.param.shot + 5);
                         });

TEST_F(TrayE2E, MenuResourceHoldsFourItems) {
  HMODULE exe = LoadLibraryExA(ProgramPath(kTray).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(exe, nullptr);
  HMENU menu = LoadMenuW(exe, MAKEINTRESOURCEW(20));
  ASSERT_NE(menu, nullptr) << "no menu resource 20";
  ASSERT_EQ(GetMenuItemCount(menu), 1);
  WCHAR title[32] = {};
  GetMenuStringW(menu, 0, title, 32, MF_BYPOSITION);
  EXPECT_STREQ(title, L"M");
  HMENU popup = GetSubMenu(menu, 0);
  ASSERT_NE(popup, nullptr);
  const struct {
    UINT id;
    const wchar_t* text;
  } items[] = {{24, L"释放内存(&F)"}, {22, L"详细资料(&D)"}, {25, L"帮助/配置(&H)"}, {23, L"退出(&X)"}};
  ASSERT_EQ(GetMenuItemCount(popup), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(GetMenuItemID(popup, i), items[i].id) << "item " << i;
    WCHAR text[64] = {};
    GetMenuStringW(popup, i, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, items[i].text) << "item " << i;
    MENUITEMINFOW info = {};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    ASSERT_TRUE(GetMenuItemInfoW(popup, i, TRUE, &info));
    EXPECT_EQ(info.fType & MFT_SEPARATOR, 0u) << "item " << i;
    EXPECT_EQ(info.hSubMenu, nullptr) << "item " << i;
  }
  DestroyMenu(menu);
  // The program file's own icon group.
  EXPECT_NE(FindResourceA(exe, MAKEINTRESOURCEA(10), MAKEINTRESOURCEA(14)), nullptr) << "no icon group 10";
  HICON big = static_cast<HICON>(LoadImageA(exe, MAKEINTRESOURCEA(10), IMAGE_ICON, 32, 32, 0));
  HICON small = static_cast<HICON>(LoadImageA(exe, MAKEINTRESOURCEA(10), IMAGE_ICON, 16, 16, 0));
  EXPECT_NE(big, nullptr);
  EXPECT_NE(small, nullptr);
  if (big != nullptr) DestroyIcon(big);
  if (small != nullptr) DestroyIcon(small);
  FreeLibrary(exe);
}

TEST_F(TrayE2E, OtherMouseEventsAndADismissedMenuDoNothing) {
  // A free pass would write some hundreds of MB: none may run.
  StartMonitor("M=300 D=N");
  const UINT ignored[] = {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_RBUTTONDOWN, WM_MBUTTONUP};
  for (UINT message : ignored) PostMouse(icon, message);
  EXPECT_EQ(WaitForMenu(monitor.pid, kAbsentMs), nullptr) << "a menu opened";

  PostMouse(icon, WM_RBUTTONUP);
  HWND popup = WaitForMenu(monitor.pid);
  ASSERT_NE(popup, nullptr) << "the right button opens no menu";
  EXPECT_TRUE(IsWindowVisible(popup));
  PostKey(popup, VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); })) << "Escape leaves the menu open";
  EXPECT_EQ(WaitForBox(kAbsentMs), nullptr) << "a dismissed menu showed a box";
  EXPECT_EQ(WaitForExit(monitor, 0), kStillRunning);
  EXPECT_LT(PeakWorkingSet(monitor), 64 * MB) << "a pass ran";
  // The menu opens again after being dismissed.
  PostMouse(icon, WM_RBUTTONUP);
  popup = WaitForMenu(monitor.pid);
  ASSERT_NE(popup, nullptr);
  PostKey(popup, VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }));
}

class TrayDetailsE2E : public TrayE2E, public ::testing::WithParamInterface<bool> {};

TEST_P(TrayDetailsE2E, DetailsBoxShowsTheMemoryStatus) {
  bool bytes = GetParam();
  StartMonitor(bytes ? "B" : "");
  MemoryStatus before = ReadStatus();
  Choose(1);
  HWND box = WaitForBox();
  ASSERT_NE(box, nullptr) << "no details box";
  MemoryStatus after = ReadStatus();
  // The last line is the monitor's own free address space, which this
  // program cannot read: it is checked apart, the rest byte for byte.
  std::string text = BoxText(box);
  size_t last = text.rfind('\n') + 1;
  std::string head = text.substr(0, last);
  char want[kDetailsRoom], wantLater[kDetailsRoom];
  FormatDetails(want, sizeof want, before, bytes);
  FormatDetails(wantLater, sizeof wantLater, after, bytes);
  std::string wantHead = std::string(want).substr(0, std::string(want).rfind('\n') + 1);
  std::string wantHeadLater = std::string(wantLater).substr(0, std::string(wantLater).rfind('\n') + 1);
  EXPECT_TRUE(head == wantHead || head == wantHeadLater) << "box:\n" << text << "\nwant:\n" << want;
  std::string tail = text.substr(last);
  const std::string label = "Free Virtual:\t";
  ASSERT_EQ(tail.compare(0, label.size(), label), 0) << tail;
  std::string number = tail.substr(label.size(), tail.size() - label.size() - 1);
  EXPECT_GE(number.size(), 6u) << tail;
  EXPECT_EQ(tail.back(), bytes ? ' ' : 'M') << tail;
  unsigned long long freeVirtual = strtoull(number.c_str(), nullptr, 10);
  unsigned long long totalVirtual = bytes ? before.totalVirtual : RoundToMegabytes(before.totalVirtual);
  EXPECT_GT(freeVirtual, totalVirtual / 2) << tail;
  EXPECT_LE(freeVirtual, totalVirtual) << tail;
  EXPECT_EQ(GetWindow(box, GW_OWNER), window) << "owned by the monitor window";
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "one OK button";
  // The timer goes on ticking while the box is open.
  EXPECT_EQ(WaitForExit(monitor, 0), kStillRunning);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "OK leaves the box open";
  EXPECT_EQ(WaitForExit(monitor, 0), kStillRunning);
}

INSTANTIATE_TEST_SUITE_P(Units, TrayDetailsE2E, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Bytes" : "Megabytes");
                         });

TEST_F(TrayE2E, HelpWithoutAPathShowsTheAboutBox) {
  StartMonitor("U=3");
  Choose(2);
  HWND box = WaitForBox();
  ASSERT_NE(box, nullptr) << "no about box";
  EXPECT_EQ(BoxText(box), kAboutText);
  EXPECT_EQ(GetWindow(box, GW_OWNER), window);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
}

TEST_F(TrayE2E, HelpWithAPathStartsItInTheMonitorsDirectory) {
  std::string probe = ProgramPath("velmora_cwd_probe.exe");
  std::string report = ProgramPath("cwd_probe.txt");
  std::string directory = ProgramPath("cwd_probe_dir");
  DeleteFileA(report.c_str());
  CreateDirectoryA(directory.c_str(), nullptr);
  StartMonitor("U=3 P=\"" + probe + "\" S", directory.c_str());
  Choose(2);
  ASSERT_TRUE(WaitUntil([&] { return GetFileAttributesA(report.c_str()) != INVALID_FILE_ATTRIBUTES; }))
      << "the configured program did not start";
  HANDLE f = CreateFileA(report.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  char text[4096] = {};
  DWORD n = 0;
  ReadFile(f, text, sizeof text - 1, &n, nullptr);
  CloseHandle(f);
  std::string lines = text;
  std::string cwd = lines.substr(0, lines.find('\n'));
  std::string commandLine = lines.substr(lines.find('\n') + 1);
  EXPECT_EQ(lstrcmpiA(cwd.c_str(), directory.c_str()), 0) << cwd << " / " << directory;
  EXPECT_NE(commandLine.find("velmora_cwd_probe.exe"), std::string::npos) << commandLine;
  EXPECT_EQ(WaitForBox(kAbsentMs), nullptr) << "no about box when a path is given";
  DeleteFileA(report.c_str());
  RemoveDirectoryA(directory.c_str());
}

TEST_F(TrayE2E, ExitEndsTheMonitorAndTakesTheIcon) {
  StartMonitor("");
  Choose(3);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_TRUE(WaitForNoTrayIcon()) << "the icon stays after Exit";
}

class TrayFreeE2E : public TrayE2E, public ::testing::WithParamInterface<bool> {};

TEST_P(TrayFreeE2E, OnePassFromTheMouseOrTheMenu) {
  bool fromMenu = GetParam();
  StartMonitor("M=300 D=N");
  EXPECT_LT(PeakWorkingSet(monitor), 64 * MB) << "freed before it was asked to";
  if (fromMenu) {
    Choose(0);
  } else {
    PostMouse(icon, WM_LBUTTONDBLCLK);
  }
  bool wrote = WaitUntil([&] { return PeakWorkingSet(monitor) >= 256 * MB; });
  EXPECT_TRUE(wrote) << "peak working set " << PeakWorkingSet(monitor) / MB << " MB";
  // The pass ends with a fresh picture and tip.
  std::string seen;
  EXPECT_TRUE(WaitUntil([&] { return Shows(PictureNow(kStyleDigits, kFontSmooth), "tray_after_pass", &seen); }))
      << seen;
  EXPECT_TRUE(WaitUntil([&] { return TrayTip(icon) == TipNow(); })) << TrayTip(icon);
  EXPECT_EQ(WaitForExit(monitor, 0), kStillRunning);
}

INSTANTIATE_TEST_SUITE_P(Ways, TrayFreeE2E, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Menu" : "DoubleClick");
                         });

TEST_F(TrayE2E, TaskbarCreatedAddsTheIconAgain) {
  StartMonitor("G=1");
  std::string seen;
  ASSERT_TRUE(WaitUntil([&] { return TrayTip(icon) == TipNow(); })) << TrayTip(icon);
  // The notification area forgets the icon, as a restarted taskbar would.
  NOTIFYICONDATAA record = {};
  record.cbSize = NOTIFYICONDATAA_V1_SIZE;
  record.hWnd = window;
  record.uID = 1;
  ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &record));
  ASSERT_TRUE(WaitForNoTrayIcon());
  PostMessageA(window, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  icon = WaitForTheTrayIcon();
  ASSERT_NE(icon, nullptr) << "the icon did not come back";
  EXPECT_TRUE(WaitUntil([&] { return Shows(PictureNow(kStyleGauge, kFontSmooth), "tray_added_again", &seen); }))
      << seen;
  EXPECT_EQ(TrayTip(icon), TipNow()) << "the current tip, not the first one";
  // It is the same icon as before: the tray callback still reaches it.
  PostMouse(icon, WM_RBUTTONUP);
  HWND popup = WaitForMenu(monitor.pid);
  ASSERT_NE(popup, nullptr);
  PostKey(popup, VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(popup); }));
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_TRUE(WaitForNoTrayIcon());
}

TEST_F(TrayE2E, AThousandTicksThroughTheProgram) {
  // A ten-minute interval: only the posted ticks draw.
  StartMonitor("U=600 G=2");
  for (int i = 0; i < 1000; ++i) PostMessageA(window, WM_TIMER, kUpdateTimerId, 0);
  std::string seen;
  EXPECT_TRUE(WaitUntil([&] { return Shows(PictureNow(kStyleAreaGraph, kFontSmooth, 14), "tray_thousand_ticks", &seen); }))
      << seen;
  EXPECT_EQ(TrayTip(icon), TipNow());
  EXPECT_EQ(WaitForExit(monitor, 0), kStillRunning);
}

// A notification area of our own that records what reaches it. Wine's
// Shell_NotifyIcon hands its record to the first "Shell_TrayWnd" window as
// WM_COPYDATA: the window, the icon id, the flags and the callback message,
// the tip, further fields, the size of the icon's bitmaps, then their bits.
// Wine 8 puts the bitmap sizes after the other fields; later versions put
// them before the tip.
struct NotifyRecord {
  DWORD command = 0xFFFFFFFFu;
  HWND window = nullptr;
  UINT id = 0;
  UINT flags = 0;
  UINT callback = 0;
  std::string tip;
  Colours picture;        // empty when no icon came with it
  bool opaque = false;    // every mask bit clear
};

struct RecordLayout {
  size_t tip, bitmapSize, bits;
};
const RecordLayout kLayouts[] = {{16, 944, 960}, {32, 16, 976}};

std::vector<NotifyRecord> g_records;

UINT Field(const BYTE* data, size_t at) {
  UINT value;
  memcpy(&value, data + at, 4);
  return value;
}

bool DecodeIcon(const BYTE* data, size_t size, const RecordLayout& layout, NotifyRecord* r) {
  UINT width = Field(data, layout.bitmapSize), height = Field(data, layout.bitmapSize + 4);
  UINT planes = Field(data, layout.bitmapSize + 8), bpp = Field(data, layout.bitmapSize + 12);
  if (width != 16 || height != 16 || planes != 1 || (bpp != 32 && bpp != 24)) return false;
  size_t maskBytes = (width * height + 15) / 16 * 2;
  size_t colourBytes = (planes * width * height * bpp + 15) / 16 * 2;
  if (size < layout.bits + maskBytes + colourBytes) return false;
  const BYTE* mask = data + layout.bits;
  const BYTE* colour = mask + maskBytes;
  r->opaque = true;
  for (size_t i = 0; i < maskBytes; ++i) r->opaque = r->opaque && mask[i] == 0;
  size_t rowBytes = (width * bpp / 8 + 1) / 2 * 2;
  for (UINT y = 0; y < height; ++y)
    for (UINT x = 0; x < width; ++x) {
      const BYTE* p = colour + y * rowBytes + x * (bpp / 8);
      r->picture.push_back((static_cast<unsigned>(p[2]) << 16) | (p[1] << 8) | p[0]);
    }
  return true;
}

LRESULT CALLBACK RecordingTrayProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA) return DefWindowProcA(window, message, wParam, lParam);
  const COPYDATASTRUCT* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  const BYTE* data = static_cast<const BYTE*>(copy->lpData);
  NotifyRecord r;
  r.command = static_cast<DWORD>(copy->dwData);
  if (copy->cbData >= kLayouts[0].bits) {
    r.window = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(Field(data, 0))));
    r.id = Field(data, 4);
    r.flags = Field(data, 8);
    r.callback = Field(data, 12);
    // The layout whose bitmap size is that of a 16 x 16 icon.
    const RecordLayout* layout = &kLayouts[0];
    for (const RecordLayout& l : kLayouts)
      if (Field(data, l.bitmapSize) == 16 && Field(data, l.bitmapSize + 4) == 16) layout = &l;
    WCHAR tip[129] = {};
    memcpy(tip, data + layout->tip, 256);
    char narrow[256] = {};
    WideCharToMultiByte(CP_ACP, 0, tip, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
    r.tip = narrow;
    if (r.flags & NIF_ICON) DecodeIcon(data, copy->cbData, *layout, &r);
  }
  g_records.push_back(r);
  return TRUE;
}

void PumpMessages() {
  MSG m;
  while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}

// Waits for the records to reach the count, handling the notification
// area's messages meanwhile.
bool WaitForRecords(size_t count) {
  return WaitUntil([&] {
    PumpMessages();
    return g_records.size() >= count;
  });
}

std::string Describe(const NotifyRecord& r) {
  char text[160];
  wsprintfA(text, "command %lu id %u flags %u callback 0x%x tip \"", r.command, r.id, r.flags, r.callback);
  return text + r.tip + "\"";
}

TEST_F(TrayE2E, WhatReachesTheNotificationArea) {
  WNDCLASSA recording = {};
  recording.lpfnWndProc = RecordingTrayProc;
  recording.hInstance = GetModuleHandleA(nullptr);
  recording.lpszClassName = "Shell_TrayWnd";
  RegisterClassA(&recording);
  HWND tray = CreateWindowExA(0, "Shell_TrayWnd", nullptr, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              recording.hInstance, nullptr);
  ASSERT_NE(tray, nullptr);
  ASSERT_EQ(FindWindowExA(nullptr, nullptr, "Shell_TrayWnd", nullptr), tray) << "ours is not the first";
  g_records.clear();

  monitor = Start(kTray, "U=600 M=10");
  ASSERT_NE(monitor.process, nullptr);
  window = WaitForWindow(kMonitor, kMonitor, monitor.pid);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(WaitForRecords(2));
  IconPicture blank;
  ResetPicture(&blank);
  // Added once, as "Velmora" with the tray callback message and the cleared
  // picture; then modified by the first sample.
  const NotifyRecord added = g_records[0];
  EXPECT_EQ(added.command, static_cast<DWORD>(NIM_ADD)) << Describe(added);
  EXPECT_EQ(added.window, window);
  EXPECT_EQ(added.id, 1u);
  EXPECT_EQ(added.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(added.callback, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(added.tip, "Velmora");
  EXPECT_EQ(added.picture, ColoursOf(blank)) << "the first icon is the cleared picture";
  EXPECT_TRUE(added.opaque);
  const NotifyRecord first = g_records[1];
  EXPECT_EQ(first.command, static_cast<DWORD>(NIM_MODIFY)) << Describe(first);
  EXPECT_EQ(first.window, window);
  EXPECT_EQ(first.id, 1u);
  EXPECT_EQ(first.flags, static_cast<UINT>(NIF_ICON | NIF_TIP));
  EXPECT_EQ(first.tip, TipNow());
  EXPECT_EQ(first.picture, ColoursOf(PictureNow(kStyleDigits, kFontSmooth)));
  EXPECT_TRUE(first.opaque);

  // A restarted taskbar announces itself to every top-level window: the
  // icon is added again with the picture and tip it showed.
  PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  ASSERT_TRUE(WaitForRecords(3));
  const NotifyRecord again = g_records[2];
  EXPECT_EQ(again.command, static_cast<DWORD>(NIM_ADD)) << Describe(again);
  EXPECT_EQ(again.flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(again.callback, static_cast<UINT>(WM_USER + 1));
  EXPECT_EQ(again.tip, first.tip);
  EXPECT_EQ(again.picture, first.picture);

  // A double click as this notification area reports it: one free pass,
  // shown as its tip over the status bar alone, then the new reading.
  PostMessageA(window, WM_USER + 1, 1, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(WaitForRecords(5));
  const NotifyRecord during = g_records[3];
  EXPECT_EQ(during.command, static_cast<DWORD>(NIM_MODIFY)) << Describe(during);
  EXPECT_EQ(during.tip, "Attempting to Free RAM");
  IconPicture bar = PictureNow(kStyleDigits, kFontSmooth);
  BlankForFreePass(&bar, kStyleDigits);
  EXPECT_EQ(during.picture, ColoursOf(bar)) << "only the status bar while the pass runs";
  const NotifyRecord afterPass = g_records[4];
  EXPECT_EQ(afterPass.command, static_cast<DWORD>(NIM_MODIFY)) << Describe(afterPass);
  EXPECT_EQ(afterPass.tip, TipNow());

  // Closing takes the icon away. The monitor waits for this thread to take
  // the record, so its end is awaited with the messages handled.
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] {
    PumpMessages();
    return WaitForExit(monitor, 0) != kStillRunning;
  }));
  EXPECT_EQ(WaitForExit(monitor, 0), 0u);
  ASSERT_TRUE(WaitForRecords(6));
  const NotifyRecord removed = g_records.back();
  EXPECT_EQ(removed.command, static_cast<DWORD>(NIM_DELETE)) << Describe(removed);
  EXPECT_EQ(removed.window, window);
  EXPECT_EQ(removed.id, 1u);
  EXPECT_EQ(removed.flags, 0u);
  EXPECT_EQ(g_records.size(), 6u);
  DestroyWindow(tray);
  UnregisterClassA("Shell_TrayWnd", recording.hInstance);
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
  // The tray icon update of the program, run here for a window of ours. An
  // icon holds two bitmaps and a device context is a GDI object too, so
  // a leaked icon, bitmap or device context shows in the free GDI handles.
  HWND own = CreateWindowExA(0, "STATIC", "tray leak test", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(own, nullptr);
  g_monitorWindow = own;
  MonitorSettings settings;
  Backoff backoff;
  ParseMonitorCommandLine("V G=3", kTrayOptions, &settings, &backoff);
  TrayDisplay display(&settings, NotificationArea());
  char tip[kTipRoom];
  display.AddIcon();
  icon = WaitForTheTrayIcon();
  ASSERT_NE(icon, nullptr);
  for (int i = 0; i < 20; ++i) {  // first-use caches of the platform
    FormatSampleTip(tip, sizeof tip, static_cast<uint32_t>(i), 100);
    display.ShowSample(static_cast<uint32_t>(i % 64), 64, tip);
  }
  int before = FreeGdiHandles();
  DWORD start = GetTickCount();
  for (int i = 0; i < 1000; ++i) {
    FormatSampleTip(tip, sizeof tip, static_cast<uint32_t>(i), 100);
    display.ShowSample(static_cast<uint32_t>(i * 7 % 65), 64, tip);
  }
  // Measured, not judged: what one update costs under Wine.
  RecordProperty("milliseconds_for_1000_updates", static_cast<int>(GetTickCount() - start));
  printf("1000 tray icon updates: %lu ms\n", GetTickCount() - start);
  int after = FreeGdiHandles();
  EXPECT_GT(before, 1000);
  EXPECT_LE(before - after, 8) << before << " free GDI handles before, " << after << " after";
  // The updates were real: the notification area shows the last one.
  std::string seen;
  EXPECT_TRUE(IconShows(icon, ColoursOf(display.Picture()), "tray_leak_test", &seen)) << seen;
  EXPECT_EQ(TrayTip(icon), "RAM: 999M  Page: 100M");
  RemoveTrayIcon(own);
  EXPECT_TRUE(WaitForNoTrayIcon());
  DestroyWindow(own);
}

}  // namespace
