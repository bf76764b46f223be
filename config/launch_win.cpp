#include "launch_win.h"

#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "config_dialog.h"

bool Win32Launch::CurrentDirectory(char* dir, size_t room) {
  char text[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(sizeof text, text);
  if (n == 0 || n >= sizeof text || n >= room) return false;
  memcpy(dir, text, n + 1);
  return true;
}

bool ProgramPath(char* path) {
  DWORD n = GetModuleFileNameA(nullptr, path, kProgramPathRoom);
  return n > 0 && n < kProgramPathRoom;
}

bool Win32Launch::ProgramDirectory(char* dir, size_t room) {
  char path[kProgramPathRoom];
  if (!ProgramPath(path)) return false;
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
  MessageBoxA(nullptr, text, kMessageCaption, MB_OK | MB_ICONEXCLAMATION);
}
