#include "launch_win.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

namespace {

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

HKEY Handle(RunKey key) { return reinterpret_cast<HKEY>(key); }

}  // namespace

MonitorWindow Win32Launch::FindWindowByTitle(const char* title) {
  return reinterpret_cast<MonitorWindow>(FindWindowA(nullptr, title));
}

void Win32Launch::RequestClose(MonitorWindow window) {
  SendMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void Win32Launch::Pause(uint32_t milliseconds) { Sleep(milliseconds); }

bool Win32Launch::CurrentDirectory(char* dir, size_t room) {
  char text[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(sizeof text, text);
  if (n == 0 || n >= sizeof text || n >= room) return false;
  memcpy(dir, text, n + 1);
  return true;
}

bool Win32Launch::ProgramDirectory(char* dir, size_t room) {
  char path[MAX_PATH + 1] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return false;
  char* slash = strrchr(path, '\\');
  if (slash == nullptr) return false;
  *slash = '\0';
  size_t length = static_cast<size_t>(slash - path);
  if (length >= room) return false;
  memcpy(dir, path, length + 1);
  return true;
}

bool Win32Launch::FileExists(const char* path) {
  DWORD attributes = GetFileAttributesA(path);
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void Win32Launch::StartProgram(const char* path, const char* parameters, const char* directory) {
  ShellExecuteA(nullptr, nullptr, path, parameters, directory, SW_SHOWNORMAL);
}

void Win32Launch::ShowWarning(const char* text) {
  MessageBoxA(nullptr, text, kMonitorTitle, MB_OK | MB_ICONEXCLAMATION);
}

bool Win32Launch::OpenRunKey(RunRoot root, bool forWriting, RunKey* key) {
  HKEY opened;
  HKEY base = root == kMachineRun ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  if (RegOpenKeyExA(base, kRunKeyPath, 0, forWriting ? KEY_SET_VALUE : KEY_READ, &opened) != ERROR_SUCCESS)
    return false;
  *key = reinterpret_cast<RunKey>(opened);
  return true;
}

bool Win32Launch::ReadRunData(RunKey key, const char* name, char* data, size_t room) {
  DWORD size = static_cast<DWORD>(room);
  if (RegQueryValueExA(Handle(key), name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
    return false;
  // The stored data need not end with a NUL of its own: it needs room for
  // one then.
  if (size > 0 && data[size - 1] == '\0') return true;
  if (size >= room) return false;
  data[size] = '\0';
  return true;
}

bool Win32Launch::WriteRunData(RunKey key, const char* name, const char* text) {
  DWORD size = static_cast<DWORD>(strlen(text));
  ++size;  // the terminating NUL is stored too
  return RegSetValueExA(Handle(key), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

bool Win32Launch::DeleteRunData(RunKey key, const char* name) {
  return RegDeleteValueA(Handle(key), name) == ERROR_SUCCESS;
}

void Win32Launch::CloseRunKey(RunKey key) { RegCloseKey(Handle(key)); }
