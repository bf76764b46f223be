#include "e2e_support.h"

#include <psapi.h>

namespace {

std::vector<Program> g_started;

struct Search {
  const char* windowClass;
  const char* title;
  DWORD pid;
  bool visible;  // only visible windows
  std::vector<HWND> found;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  Search* s = reinterpret_cast<Search*>(context);
  char text[256];
  if (s->windowClass != nullptr) {
    if (GetClassNameA(window, text, sizeof text) == 0 || lstrcmpA(text, s->windowClass) != 0) return TRUE;
  }
  if (s->title != nullptr) {
    GetWindowTextA(window, text, sizeof text);
    if (lstrcmpA(text, s->title) != 0) return TRUE;
  }
  if (s->pid != 0) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner != s->pid) return TRUE;
  }
  if (s->visible && !IsWindowVisible(window)) return TRUE;
  s->found.push_back(window);
  return TRUE;
}

std::vector<HWND> Find(const char* windowClass, const char* title, DWORD pid, bool visible = false) {
  Search s = {windowClass, title, pid, visible, {}};
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&s));
  return s.found;
}

HWND WaitForFirst(const char* windowClass, const char* title, DWORD pid, bool visible, DWORD deadlineMs) {
  HWND window = nullptr;
  WaitUntil(
      [&] {
        std::vector<HWND> found = Find(windowClass, title, pid, visible);
        window = found.empty() ? nullptr : found[0];
        return window != nullptr;
      },
      deadlineMs);
  return window;
}

}  // namespace

std::string ProgramPath(const char* name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string dir(path, n);
  return dir.substr(0, dir.find_last_of("\\/") + 1) + name;
}

Program Start(const char* name, const std::string& arguments, const char* directory) {
  return StartPath(ProgramPath(name), arguments, directory);
}

Program StartPath(const std::string& path, const std::string& arguments, const char* directory) {
  std::string line = "\"" + path + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> buffer(line.begin(), line.end());
  buffer.push_back('\0');
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  Program p;
  if (CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info)) {
    CloseHandle(info.hThread);
    p.process = info.hProcess;
    p.pid = info.dwProcessId;
    g_started.push_back(p);
  }
  return p;
}

HWND WaitForWindow(const char* windowClass, const char* title, DWORD pid, DWORD deadlineMs) {
  return WaitForFirst(windowClass, title, pid, false, deadlineMs);
}

std::vector<HWND> FindWindows(const char* windowClass, const char* title) {
  return Find(windowClass, title, 0);
}

HWND WaitForMenu(DWORD pid, DWORD deadlineMs) { return WaitForFirst("#32768", nullptr, pid, true, deadlineMs); }

DWORD WaitForExit(const Program& p, DWORD deadlineMs) {
  if (WaitForSingleObject(p.process, deadlineMs) != WAIT_OBJECT_0) return kStillRunning;
  DWORD code = kStillRunning;
  GetExitCodeProcess(p.process, &code);
  return code;
}

size_t PeakWorkingSet(const Program& p) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(p.process, &counters, sizeof counters)) return 0;
  return counters.PeakWorkingSetSize;
}

void EndStartedPrograms() {
  for (const Program& p : g_started) {
    if (WaitForSingleObject(p.process, 0) == WAIT_TIMEOUT) {
      TerminateProcess(p.process, 1);
      WaitForSingleObject(p.process, kDeadlineMs);
    }
    CloseHandle(p.process);
  }
  g_started.clear();
}

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

void CloseAllMonitors() {
  for (int round = 0; round < 20; ++round) {
    HWND window = FindWindowA("Velmora", nullptr);
    if (window == nullptr) window = FindWindowA(nullptr, "Velmora");
    if (window == nullptr) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    DWORD_PTR result;
    // A monitor in the middle of a free pass answers only after it.
    SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_NORMAL, kDeadlineMs, &result);
    WaitUntil([&] { return !IsWindow(window); });
    // Its files stay in use until the process has ended.
    if (process != nullptr) {
      WaitForSingleObject(process, kDeadlineMs);
      CloseHandle(process);
    }
  }
}

void DeleteRunValues() {
  const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
  for (HKEY root : roots) {
    HKEY key;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE | kProgramsView, &key) != ERROR_SUCCESS) continue;
    RegDeleteValueA(key, "Velmora");
    RegCloseKey(key);
  }
}

void RemoveSettingsKeys() {
  const char* keys[] = {"Software\\Velmora\\Velmora\\Settings", "Software\\Velmora\\Velmora\\1.3",
                        "Software\\Velmora\\Velmora", "Software\\Velmora"};
  for (const char* key : keys) RegDeleteKeyA(HKEY_CURRENT_USER, key);
}

std::string RunValue(HKEY root) {
  char data[1024];
  DWORD size = sizeof data;
  if (RegGetValueA(root, kRunKey, "Velmora", RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, nullptr, data, &size) !=
      ERROR_SUCCESS)
    return "(none)";
  return data;
}

DWORD ProgramsTotalPhys() {
  static DWORD total = 0;
  if (total == 0) {
    Program probe = Start("velmora_memory_probe.exe", "");
    DWORD code = WaitForExit(probe);
    if (code != kStillRunning) total = code;
  }
  return total;
}
