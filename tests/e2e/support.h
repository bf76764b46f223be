// What the end-to-end tests do to the real programs under Wine: start and
// end processes, find windows and boxes, wait with deadlines, read and write
// the registry as the 32-bit programs see it, and look at the screen.
#ifndef VELMORA_TESTS_E2E_SUPPORT_H
#define VELMORA_TESTS_E2E_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>
#include <sddl.h>
#include <tlhelp32.h>
#include <stdio.h>

#include <fstream>
#include <string>
#include <vector>

#include "../checks.h"

// Long enough for a host that emulates 32-bit x86 code, under load: there a
// process start alone takes seconds. Waits poll, so passing costs no more.
const DWORD kDeadlineMs = 60000;
const char kMonitor[] = "Velmora";  // class and title of a monitor window, the Run value's name
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kSettingsKey[] = "Software\\Velmora\\Velmora\\Settings";
const HKEY kRunRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
// Its value PendingFileRenameOperations lists what goes at the next restart.
const char kSessionManager[] = "System\\CurrentControlSet\\Control\\Session Manager";
// The programs are 32-bit: for HKEY_LOCAL_MACHINE\Software their view is
// the 32-bit one, also from an x64 test program.
const REGSAM kView = KEY_WOW64_32KEY;

// Polls until done() holds, handling this thread's messages meanwhile.
template <typename Done>
bool WaitUntil(Done done, DWORD deadlineMs = kDeadlineMs) {
  for (DWORD start = GetTickCount();; Sleep(50)) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    if (done()) return true;
    if (GetTickCount() - start > deadlineMs) return false;
  }
}

// ---- processes ------------------------------------------------------------
struct Program { HANDLE process = nullptr; DWORD pid = 0; };
inline std::vector<Program> g_started;  // ended with the test

// A file beside this test program.
inline std::string Beside(const std::string& name) {
  char path[MAX_PATH];
  std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
  return self.substr(0, self.find_last_of('\\') + 1) + name;
}

// Starts "path" ARGUMENTS in the directory (null: ours), with Wine's FIXMEs
// on the channel traced ("msg") on; ended with the test.
inline Program Start(const std::string& path, const std::string& arguments, const char* directory = nullptr,
                     const char* traced = nullptr) {
  std::string line = "\"" + path + "\" " + arguments, debug = std::string("-all,fixme+") + (traced ? traced : "");
  char before[256] = "";  // a longer setting is put back as none
  DWORD had = GetEnvironmentVariableA("WINEDEBUG", before, sizeof before) < sizeof before ? lstrlenA(before) : 0;
  if (traced) SetEnvironmentVariableA("WINEDEBUG", debug.c_str());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  BOOL started = CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info);
  if (traced) SetEnvironmentVariableA("WINEDEBUG", had ? before : nullptr);
  if (!started) return {};
  CloseHandle(info.hThread);
  g_started.push_back({info.hProcess, info.dwProcessId});
  return g_started.back();
}

// The FIXMEs Wine wrote for the thread on the channel so far (each line
// after "fixme:CHANNEL:": the function and its arguments), read from the
// session's output file of this test program, which a started program shares.
inline std::vector<std::string> Fixmes(DWORD thread, const char* channel) {
  char prefix[64];
  snprintf(prefix, sizeof prefix, "%04lx:fixme:%s:", static_cast<unsigned long>(thread), channel);
  const char* output = getenv("VELMORA_E2E_OUTPUT");
  if (output == nullptr) return {"(no VELMORA_E2E_OUTPUT: run the test program with tests/e2e/wine_env.sh)"};
  std::vector<std::string> found;
  std::ifstream file(output);
  for (std::string line; std::getline(file, line);)
    if (line.find(prefix) != std::string::npos) found.push_back(line.substr(line.find(prefix) + strlen(prefix)));
  return found;
}

// The FIXME of Wine's per-window filter, on "msg", when the window lets the
// message through from processes of lower integrity.
inline std::string LetThrough(HWND window, UINT message) {
  char line[80];
  snprintf(line, sizeof line, "ChangeWindowMessageFilterEx %08lX %x %d 00000000", HandleToUlong(window), message,
           MSGFLT_ALLOW);
  return line;
}

// Its exit code, or STILL_ACTIVE.
inline DWORD WaitForExit(const Program& p, DWORD deadlineMs = kDeadlineMs) {
  DWORD code = STILL_ACTIVE;
  if (WaitForSingleObject(p.process, deadlineMs) == WAIT_OBJECT_0) GetExitCodeProcess(p.process, &code);
  return code;
}

// In bytes, or its peak.
inline size_t WorkingSet(const Program& p, bool peak = false) {
  PROCESS_MEMORY_COUNTERS c = {};
  return GetProcessMemoryInfo(p.process, &c, sizeof c) ? peak ? c.PeakWorkingSetSize : c.WorkingSetSize : 0;
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// What a stand-in recorded of its start once it has: its path, its
// arguments, its working directory and its show state; empty when it has
// not started by the deadline.
inline std::vector<std::string> WaitForStart(const std::string& program) {
  std::vector<std::string> lines;
  WaitUntil([&] {
    std::ifstream record(program + ".started");
    lines.clear();
    for (std::string line; std::getline(record, line);) lines.push_back(line);
    return lines.size() == 4;
  });
  return lines.size() == 4 ? lines : std::vector<std::string>();
}

// A window of the test's own, from the stand-in: ended with the test.
inline Program StartWindow(const std::string& windowClass, const std::string& title) {
  return Start(Beside("velmora_standin.exe"), "/window " + windowClass + " " + title);
}

// Ends every program of the suite, every stand-in and the copy an NSIS
// uninstaller runs as, whoever started it (a run cut short leaves them
// behind).
inline void EndPrograms() {
  const std::string ours = " Velmora.exe VelmoraH.exe VelmoraConfig.exe VelmoraUninstall.exe velmora_standin.exe Un.exe ";
  HANDLE all = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(all, &entry); more; more = Process32Next(all, &entry)) {
    HANDLE p = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID);
    if (p != nullptr && ours.find(" " + std::string(entry.szExeFile) + " ") != std::string::npos)
      TerminateProcess(p, 1), WaitForSingleObject(p, kDeadlineMs);
    if (p != nullptr) CloseHandle(p);
  }
  CloseHandle(all);
}

// Removes a file, or a folder with everything in it.
inline void RemovePath(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found))
    if (found.cFileName[0] != '.') RemovePath(path + "\\" + found.cFileName);
  if (search != INVALID_HANDLE_VALUE) FindClose(search);
  if (!DeleteFileA(path.c_str())) RemoveDirectoryA(path.c_str());
}

// ---- windows and boxes ----------------------------------------------------
struct Search {
  const char *windowClass, *title;
  DWORD pid;
  bool visibleOnly;
  std::vector<HWND> found;
};

inline BOOL CALLBACK Collect(HWND window, LPARAM context) {
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

// Top-level windows of the class and ANSI title (null: any) of pid (0: any);
// with a parent, the windows at any depth below it.
inline std::vector<HWND> Windows(const char* windowClass, const char* title, DWORD pid = 0, bool visibleOnly = false,
                                 HWND parent = nullptr) {
  Search s = {windowClass, title, pid, visibleOnly, {}};
  parent ? EnumChildWindows(parent, Collect, LPARAM(&s)) : EnumWindows(Collect, LPARAM(&s));
  return s.found;
}

inline HWND WaitForWindow(const char* windowClass, const char* title, DWORD pid, bool visibleOnly = false,
                          HWND parent = nullptr) {
  std::vector<HWND> found;
  WaitUntil([&] { return !(found = Windows(windowClass, title, pid, visibleOnly, parent)).empty(); });
  return found.empty() ? nullptr : found[0];
}

// A visible dialog or box of pid owned by owner (null: unowned), once it is
// initialised and idle.
inline HWND WaitForDialog(DWORD pid, HWND owner) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    for (HWND w : Windows("#32770", nullptr, pid, true)) dialog = GetWindow(w, GW_OWNER) == owner ? w : dialog;
    return dialog != nullptr;
  });
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
  return dialog;
}

// Whether it holds Chinese characters or punctuation (full-width forms included).
inline bool HasChinese(const std::wstring& text) {
  for (wchar_t c : text) if ((c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xFF00 && c <= 0xFFEF)) return true;
  return false;
}

// By WM_GETTEXT, which also reads an edit of another process.
inline std::wstring TextW(HWND window) {
  wchar_t text[512] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 512, LPARAM(text), SMTO_NORMAL, kDeadlineMs, nullptr);
  return text;
}

inline void SetText(HWND dialog, int id, const char* text) {
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, LPARAM(text), SMTO_NORMAL, kDeadlineMs, nullptr);
}

// For a click that may open a modal box.
inline void PostClick(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

// For one that does not.
inline bool SendClick(HWND dialog, int id) {
  return SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr) != 0;
}

inline void Press(HWND box, int id = IDOK) { PostMessageA(box, WM_COMMAND, id, 0); }

// The text of pid's box titled caption once it shows, owned by owner and
// with one OK button; then the box is dismissed and gone. "(no box)" when
// none shows.
inline std::wstring DismissBox(DWORD pid, const char* caption, HWND owner) {
  HWND box = WaitForWindow("#32770", caption, pid, true);
  if (box == nullptr) return L"(no box)";
  EXPECT_EQ(GetWindow(box, GW_OWNER), owner) << caption;
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << caption << ": one OK button";
  std::wstring text = TextW(GetDlgItem(box, 0xFFFF));
  Press(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << caption;
  return text;
}

inline HWND Focused(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info) ? info.hwndFocus : nullptr;
}

// Waits for the open popup menu of pid, sends it the keys (VK_DOWN to an
// item, VK_RETURN to pick it) and waits until it has gone.
inline bool PickFromMenu(DWORD pid, const std::vector<WPARAM>& keys) {
  HWND menu = WaitForWindow("#32768", nullptr, pid, true);
  if (menu == nullptr) return false;
  for (WPARAM key : keys) PostMessageA(menu, WM_KEYDOWN, key, 1);
  return WaitUntil([&] { return !IsWindowVisible(menu); });
}

// ---- registry -------------------------------------------------------------
inline bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kView, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

inline void Put(HKEY root, const std::string& path, const char* name, const char* data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kView, nullptr, &key, nullptr), 0)
      << path;
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), lstrlenA(data) + 1);
  RegCloseKey(key);
}

// A text, "#n" for a number, a list's texts each ended by '|'; "(none)" when
// there is none of these.
inline std::string Value(HKEY root, const char* path, const char* name) {
  char data[1024];
  DWORD size = sizeof data, type = 0;
  DWORD types = RRF_RT_REG_SZ | RRF_RT_REG_DWORD | RRF_RT_REG_MULTI_SZ | RRF_SUBKEY_WOW6432KEY;
  if (RegGetValueA(root, path, name, types, &type, data, &size) != ERROR_SUCCESS) return "(none)";
  for (DWORD i = 0; type == REG_MULTI_SZ && i + 1 < size; ++i) data[i] = data[i] != '\0' ? data[i] : '|';
  return type == REG_DWORD ? "#" + std::to_string(*reinterpret_cast<DWORD*>(data)) : std::string(data);
}

inline std::string RunValue(HKEY root) { return Value(root, kRunKey, kMonitor); }

// Everyone gets just these (SDDL) rights.
inline void SetAccess(HKEY root, const char* path, const char* rights) {
  HKEY key;
  PSECURITY_DESCRIPTOR sd = nullptr;
  if (RegOpenKeyExA(root, path, 0, WRITE_DAC | kView, &key) != ERROR_SUCCESS) return;
  std::string sddl = std::string("D:P(A;;") + rights + ";;;WD)";  // for everyone, nothing inherited
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl.c_str(), SDDL_REVISION_1, &sd, nullptr))
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, sd), LocalFree(sd);
  RegCloseKey(key);
}

// ---- screen and notification area -----------------------------------------
struct Image {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;  // 0xRRGGBB, rows top first
};

// The pixels of the screen where the window is, as the screen shows them.
inline bool Screenshot(HWND window, Image* out) {
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

// Whether the 16 x 16 picture is anywhere in the image.
inline bool Holds(const Image& shot, const std::vector<unsigned>& picture) {
  for (int top = 0; top + 16 <= shot.height; ++top)
    for (int left = 0; left + 16 <= shot.width; ++left) {
      int i = 0;
      while (i < 256 && shot.pixels[(top + i / 16) * shot.width + left + i % 16] == picture[i]) ++i;
      if (i == 256) return true;
    }
  return false;
}

// The icon windows of Wine's own notification area.
inline std::vector<HWND> TrayIcons() {
  HWND tray = FindWindowA("__winex11_standalone_tray", nullptr);
  return tray != nullptr ? Windows("__winex11_tray_icon", nullptr, 0, false, tray) : std::vector<HWND>();
}

// The one icon, once there is exactly one (and it is not the lost one).
inline HWND WaitForTrayIcon(HWND lost = nullptr) {
  std::vector<HWND> icons;
  bool one = WaitUntil([&] { return (icons = TrayIcons()).size() == 1 && icons[0] != lost && IsWindowVisible(icons[0]); });
  return one ? icons[0] : nullptr;
}

// The tip the notification area shows while the pointer rests on the icon;
// empty while it shows none. Puts the pointer there.
inline std::wstring TrayTip(HWND icon) {
  // Wine's notification area keeps one tooltip per icon, owned by its window.
  HWND shown = nullptr;
  for (HWND tip : Windows("tooltips_class32", nullptr, 0, true))
    if (GetWindow(tip, GW_OWNER) == GetParent(icon)) shown = tip;
  // The pointer moves over the icon as a user's would (a moved cursor or a
  // posted message alone shows no tip). A move keeps a shown tip up; a
  // hidden one shows a moment after the last move, so moves then wait.
  static DWORD moved, step;
  if (shown != nullptr || GetTickCount() - moved > 1000) {
    RECT r;
    GetWindowRect(icon, &r);
    INPUT move = {INPUT_MOUSE, {}};
    move.mi = {((r.left + r.right) / 2 + LONG(step ^= 1)) * 65536 / GetSystemMetrics(SM_CXSCREEN) + 1,
               (r.top + r.bottom) / 2 * 65536 / GetSystemMetrics(SM_CYSCREEN) + 1, 0,
               MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, 0, 0};
    SendInput(1, &move, sizeof move);
    moved = GetTickCount();
  }
  return shown != nullptr ? TextW(shown) : L"";
}

// Starts and ends every case clean: no monitor and no window of the test's
// own, nothing of the suite in the registry, nothing left for the next
// restart, and the files and folders in made removed (a folder with all it
// holds).
class E2E : public ::testing::Test {
 protected:
  void SetUp() override {
    setvbuf(stdout, nullptr, _IONBF, 0);  // what a crash would cut off
    TearDown();
    // Icons whose window is gone leave at the first mouse event.
    for (HWND icon : TrayIcons()) PostMessageA(icon, WM_MOUSEMOVE, 0, MAKELPARAM(8, 8));
    ASSERT_TRUE(WaitUntil([] { return TrayIcons().empty(); })) << "icons from elsewhere in the notification area";
    ASSERT_TRUE(Windows(kMonitor, nullptr).empty()) << "a monitor from elsewhere is running";
  }
  void TearDown() override {
    for (const Program& p : g_started) {
      if (WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT && TerminateProcess(p.process, 1))
        WaitForSingleObject(p.process, kDeadlineMs);
      CloseHandle(p.process);
    }
    g_started.clear();
    EndPrograms();
    SetAccess(HKEY_CURRENT_USER, "Software\\Velmora\\Velmora\\Locked", "KA");
    RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Velmora");
    for (HKEY root : kRunRoots) {
      HKEY run;
      if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE | kView, &run) != ERROR_SUCCESS) continue;
      RegDeleteValueA(run, kMonitor);
      RegCloseKey(run);
    }
    RegDeleteKeyExA(HKEY_LOCAL_MACHINE, "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora", kView, 0);
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations");
    for (auto at = made.rbegin(); at != made.rend(); ++at) RemovePath(*at);
    made.clear();
  }
  // Removes what an earlier run left at path (a stand-in's record, say), for
  // a new empty folder there unless folder is false; removed after.
  void Fresh(const std::string& path, bool folder = true) {
    RemovePath(path);
    if (folder) CreateDirectoryA(path.c_str(), nullptr);
    made.push_back(path);
  }
  std::vector<std::string> made;  // removed in reverse order
};

#endif
