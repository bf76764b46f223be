#include "support.h"

#include <psapi.h>
#include <sddl.h>
#include <stdio.h>

#include <fstream>

namespace {

// The programs are 32-bit: for HKEY_LOCAL_MACHINE\Software their view is
// the 32-bit one, also from an x64 test program.
const REGSAM kView = KEY_WOW64_32KEY;
std::vector<Program> g_started;

struct Search {
  const char *windowClass, *title;
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  Search* s = reinterpret_cast<Search*>(context);
  char name[256] = "", title[256] = "";
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  GetClassNameA(window, name, sizeof name);
  GetWindowTextA(window, title, sizeof title);
  if ((!s->windowClass || !lstrcmpA(name, s->windowClass)) && (!s->title || !lstrcmpA(title, s->title)) &&
      (!s->pid || pid == s->pid) && (!s->visibleOnly || IsWindowVisible(window)))
    s->found.push_back(window);
  return TRUE;
}

// Every monitor window, its process waited for.
void CloseMonitors() {
  for (HWND window : Windows(kMonitor, nullptr)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    // A monitor in the middle of a free pass answers only after it.
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
    if (process != nullptr) WaitForSingleObject(process, kDeadlineMs), CloseHandle(process);
  }
}

}  // namespace

std::string Beside(const std::string& name) {
  char path[MAX_PATH];
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

Program Start(const std::string& path, const std::string& arguments, const char* directory) {
  std::string line = "\"" + path + "\" " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info)) return {};
  CloseHandle(info.hThread);
  g_started.push_back({info.hProcess, info.dwProcessId});
  return g_started.back();
}

DWORD WaitForExit(const Program& p, DWORD deadlineMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(p.process, deadlineMs) == WAIT_OBJECT_0) GetExitCodeProcess(p.process, &code);
  return code;
}

size_t PeakWorkingSet(const Program& p) {
  PROCESS_MEMORY_COUNTERS counters = {};
  return GetProcessMemoryInfo(p.process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::vector<std::string> Started(const std::string& program) {
  std::vector<std::string> lines;
  std::ifstream record(program + ".started");
  for (std::string line; std::getline(record, line);) lines.push_back(line);
  return lines;
}

std::vector<HWND> Windows(const char* windowClass, const char* title, DWORD pid, bool visibleOnly) {
  Search s = {windowClass, title, pid, visibleOnly, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForWindow(const char* windowClass, const char* title, DWORD pid, bool visibleOnly) {
  std::vector<HWND> found;
  WaitUntil([&] { return !(found = Windows(windowClass, title, pid, visibleOnly)).empty(); });
  return found.empty() ? nullptr : found[0];
}

HWND WaitForDialog(DWORD pid, HWND owner) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    for (HWND w : Windows("#32770", nullptr, pid, true)) dialog = GetWindow(w, GW_OWNER) == owner ? w : dialog;
    return dialog != nullptr;
  });
  // Initialised and idle.
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
  return dialog;
}

std::wstring TextW(HWND window) {
  wchar_t text[512] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 512, LPARAM(text), SMTO_NORMAL, kDeadlineMs, nullptr);
  return text;
}

void SetText(HWND dialog, int id, const char* text) {
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, LPARAM(text), SMTO_NORMAL, kDeadlineMs, nullptr);
}

void PostClick(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool SendClick(HWND dialog, int id) {
  return SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr) != 0;
}

void Press(HWND box, int id) { PostMessageA(box, WM_COMMAND, id, 0); }

HWND Focused(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void Put(HKEY root, const std::string& path, const char* name, const char* data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &key, nullptr), 0)
      << path;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), lstrlenA(data) + 1);
  RegCloseKey(key);
}

std::string Value(HKEY root, const char* path, const char* name) {
  char data[1024];
  DWORD size = sizeof data, type = 0;
  DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6432KEY;
  if (RegGetValueA(root, path, name, types, &type, data, &size) != ERROR_SUCCESS) return "(none)";
  return type == REG_DWORD ? "#" + std::to_string(*reinterpret_cast<DWORD*>(data)) : std::string(data);
}

void SetAccess(HKEY root, const char* path, const char* rights) {
  HKEY key;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (RegOpenKeyExA(root, path, 0, WRITE_DAC | kView, &key) != ERROR_SUCCESS) return;
  std::string sddl = std::string("D:P(A;;") + rights + ";;;WD)";  // for everyone, nothing inherited
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), LocalFree(sd);
  RegCloseKey(key);
}

bool Screenshot(HWND window, Image* out) {
  RECT area;
  if (!GetWindowRect(window, &area)) return false;
  int w = area.right - area.left, h = area.bottom - area.top;
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(dc, bitmap);
  bool ok = BitBlt(dc, 0, 0, w, h, screen, area.left, area.top, SRCCOPY);
  SelectObject(dc, old);
  BITMAPINFO bi = {};
  bi.bmiHeader = {sizeof bi.bmiHeader, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  out->width = w, out->height = h, out->pixels.assign(size_t(w) * h, 0);
  ok = ok && GetDIBits(dc, bitmap, 0, h, out->pixels.data(), &bi, DIB_RGB_COLORS) == h;
  for (unsigned& pixel : out->pixels) pixel &= 0xFFFFFF;  // 0x00RRGGBB from blue, green, red, unused
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return ok;
}

bool Holds(const Image& shot, const std::vector<unsigned>& picture) {
  for (int top = 0; top + 16 <= shot.height; ++top)
    for (int left = 0; left + 16 <= shot.width; ++left) {
      int i = 0;
      while (i < 256 && shot.pixels[(top + i / 16) * shot.width + left + i % 16] == picture[i]) ++i;
      if (i == 256) return true;
    }
  return false;
}

std::vector<HWND> TrayIcons() {
  Search s = {"__winex11_tray_icon", nullptr, 0, false, {}};
  for (HWND tray : Windows("__winex11_standalone_tray", nullptr)) EnumChildWindows(tray, Collect, LPARAM(&s));
  return s.found;
}

HWND WaitForTrayIcon() {
  std::vector<HWND> icons;
  bool one = WaitUntil([&] { return (icons = TrayIcons()).size() == 1 && IsWindowVisible(icons[0]); });
  return one ? icons[0] : nullptr;
}

void E2E::SetUp() {
  setvbuf(stdout, nullptr, _IONBF, 0);  // what a crash would cut off
  TearDown();
  // Icons whose window is gone leave at the first mouse event.
  for (HWND icon : TrayIcons()) PostMessageA(icon, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8));
  ASSERT_TRUE(WaitUntil([] { return TrayIcons().empty(); })) << "icons from elsewhere in the notification area";
  ASSERT_TRUE(Windows(kMonitor, nullptr).empty()) << "a monitor from elsewhere is running";
}

void E2E::TearDown() {
  for (const Program& p : g_started) {
    if (WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT && TerminateProcess(p.process, 1))
      WaitForSingleObject(p.process, kDeadlineMs);
    CloseHandle(p.process);
  }
  g_started.clear();
  CloseMonitors();
  SetAccess(HKEY_CURRENT_USER, "Software\\Velmora\\Velmora\\Locked", "KA");
  for (const char* vendor : {"Software\\Velmora", "Software\\Velmora Tools"}) RegDeleteTreeA(HKEY_CURRENT_USER, vendor);
  for (HKEY root : kRunRoots) {
    HKEY run;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE | kView, &run) != ERROR_SUCCESS) continue;
    for (const char* name : {kMonitor, "VelmoraKeep"}) RegDeleteValueA(run, name);
    RegCloseKey(run);
  }
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora", kView, 0);
  for (auto at = made.rbegin(); at != made.rend(); ++at)
    if (!DeleteFileA(at->c_str())) RemoveDirectoryA(at->c_str());
}
