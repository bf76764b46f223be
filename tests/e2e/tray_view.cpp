#include "tray_view.h"

#include <commctrl.h>

#include "e2e_support.h"

namespace {

const char kTrayClass[] = "__winex11_standalone_tray";
const char kIconClass[] = "__winex11_tray_icon";

struct Found {
  const char* windowClass;
  std::vector<HWND> windows;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM context) {
  Found* f = reinterpret_cast<Found*>(context);
  char name[64];
  if (GetClassNameA(window, name, sizeof name) != 0 && lstrcmpA(name, f->windowClass) == 0)
    f->windows.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectTop(HWND window, LPARAM context) {
  Found* f = reinterpret_cast<Found*>(context);
  char name[64];
  if (GetClassNameA(window, name, sizeof name) == 0) return TRUE;
  if (lstrcmpA(f->windowClass, kIconClass) == 0) {
    if (lstrcmpA(name, kTrayClass) == 0) EnumChildWindows(window, CollectChild, context);
  } else if (lstrcmpA(name, f->windowClass) == 0) {
    f->windows.push_back(window);
  }
  return TRUE;
}

std::vector<HWND> TopWindowsOfClass(const char* windowClass) {
  Found f = {windowClass, {}};
  EnumWindows(CollectTop, reinterpret_cast<LPARAM>(&f));
  return f.windows;
}

// The tool record as a 64-bit process lays it out.
struct ToolInfo64 {
  UINT size;
  UINT flags;
  UINT64 window;
  UINT64 id;
  RECT rect;
  UINT64 instance;
  UINT64 text;
  UINT64 param;
  UINT64 reserved;
};

bool IsSixtyFourBit(HANDLE process) {
  BOOL we = FALSE, they = FALSE;
  IsWow64Process(GetCurrentProcess(), &we);
  IsWow64Process(process, &they);
  return we && !they;
}

// Asks one tooltip window for the icon window's text, through memory in
// the tooltip's own process.
std::string AskTooltip(HWND tooltip, HWND iconWindow) {
  DWORD pid = 0;
  GetWindowThreadProcessId(tooltip, &pid);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE |
                                   PROCESS_QUERY_INFORMATION,
                               FALSE, pid);
  if (process == nullptr) return "";
  const SIZE_T kRoom = 4096, kTextAt = 1024;  // the tooltip writes up to 1024 characters
  char* remote = static_cast<char*>(VirtualAllocEx(process, nullptr, kRoom, MEM_COMMIT, PAGE_READWRITE));
  std::string tip;
  if (remote != nullptr) {
    SIZE_T n = 0;
    bool written;
    if (IsSixtyFourBit(process)) {
      ToolInfo64 t = {};
      t.size = sizeof t;
      t.window = reinterpret_cast<UINT_PTR>(iconWindow);
      t.id = reinterpret_cast<UINT_PTR>(iconWindow);
      t.text = reinterpret_cast<UINT_PTR>(remote + kTextAt);
      written = WriteProcessMemory(process, remote, &t, sizeof t, &n);
    } else {
      TTTOOLINFOW t = {};
      t.cbSize = sizeof t;
      t.hwnd = iconWindow;
      t.uId = reinterpret_cast<UINT_PTR>(iconWindow);
      t.lpszText = reinterpret_cast<LPWSTR>(remote + kTextAt);
      written = WriteProcessMemory(process, remote, &t, sizeof t, &n);
    }
    WCHAR text[1024] = {};
    WriteProcessMemory(process, remote + kTextAt, text, sizeof(WCHAR), &n);
    if (written) {
      SendMessageW(tooltip, TTM_GETTEXTW, 1024, reinterpret_cast<LPARAM>(remote));
      if (ReadProcessMemory(process, remote + kTextAt, text, sizeof text - sizeof(WCHAR), &n)) {
        char narrow[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, text, -1, narrow, sizeof narrow - 1, nullptr, nullptr);
        tip = narrow;
      }
    }
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return tip;
}

const char* Hex(unsigned colour) {
  // The palette the tray icon is drawn with, for a readable account.
  static const unsigned palette[8] = {0x000000, 0xC0C0C0, 0xF0F0F0, 0x808080,
                                      0x00FF00, 0x00FF00, 0xFF0000, 0xFFFF00};
  static const char* names[8] = {"0", "1", "2", "3", "4", "4", "6", "7"};
  for (int i = 0; i < 8; ++i)
    if (palette[i] == colour) return names[i];
  return "?";
}

}  // namespace

std::vector<HWND> TrayIconWindows() { return TopWindowsOfClass(kIconClass); }

bool SweepTrayIcons() {
  for (HWND icon : TrayIconWindows()) PostMouse(icon, WM_MOUSEMOVE);
  return WaitUntil([] { return TrayIconWindows().empty(); });
}

HWND WaitForTheTrayIcon() {
  HWND found = nullptr;
  WaitUntil([&] {
    std::vector<HWND> icons = TrayIconWindows();
    found = icons.size() == 1 && IsWindowVisible(icons[0]) ? icons[0] : nullptr;
    return found != nullptr;
  });
  return found;
}

bool WaitForNoTrayIcon() {
  return WaitUntil([] { return TrayIconWindows().empty(); });
}

std::string TrayTip(HWND iconWindow) {
  for (HWND tooltip : TopWindowsOfClass("tooltips_class32")) {
    std::string tip = AskTooltip(tooltip, iconWindow);
    if (!tip.empty()) return tip;
  }
  return "";
}

bool ImageHolds(const Image& shot, const Colours& picture) {
  for (int top = 0; top + 16 <= shot.height; ++top) {
    for (int left = 0; left + 16 <= shot.width; ++left) {
      bool same = true;
      for (int i = 0; i < 256 && same; ++i) same = shot.Pixel(left + i % 16, top + i / 16) == picture[i];
      if (same) return true;
    }
  }
  return false;
}

std::string Account(const Image& shot) {
  std::string seen = "\n";
  int left = (shot.width - 16) / 2, top = (shot.height - 16) / 2;
  for (int y = top; y < top + 16; ++y) {
    seen += "  ";
    for (int x = left; x < left + 16; ++x)
      seen += (x >= 0 && y >= 0 && x < shot.width && y < shot.height) ? Hex(shot.Pixel(x, y)) : " ";
    seen += "\n";
  }
  return seen;
}

bool IconShows(HWND iconWindow, const Colours& picture, const char* name, std::string* seen) {
  RECT r;
  Image shot;
  if (!GetWindowRect(iconWindow, &r) || !Screenshot(r, name, &shot)) {
    *seen = "no screenshot";
    return false;
  }
  if (ImageHolds(shot, picture)) return true;
  *seen = Account(shot);
  return false;
}

void PostMouse(HWND iconWindow, UINT message) {
  PostMessageA(iconWindow, message, 0, MAKELPARAM(8, 8));
}
