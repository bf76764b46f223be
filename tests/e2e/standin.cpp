// A stand-in for the programs the suite starts. It records how it was
// started, one a line: its path, its arguments, its working directory and
// its show state, in "<its path>.started". Named as a monitor (Velmora.exe,
// VelmoraH.exe) it is one: the window of class and title "Velmora" until
// WM_CLOSE. Otherwise it ends at once, unless a test starts it as a window
// of its own: "/window CLASS TITLE" records nothing and shows that window
// until WM_CLOSE.
#include <windows.h>

#include <stdio.h>
#include <string.h>

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int RunWindow(HINSTANCE instance, const char* windowClass, const char* title) {
  WNDCLASSA c = {0, StandInProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, windowClass};
  if (!RegisterClassA(&c) ||
      !CreateWindowExA(0, windowClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr))
    return 1;
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  while (*arguments == ' ') ++arguments;
  char line[256], path[MAX_PATH] = "", directory[MAX_PATH] = "", part[MAX_PATH + 16], record[MAX_PATH + 16];
  snprintf(line, sizeof line, "%s", arguments);
  if (strncmp(line, "/window ", 8) == 0) {
    char* title = strchr(line + 8, ' ');
    if (title != nullptr) *title++ = '\0';
    return RunWindow(instance, line + 8, title != nullptr ? title : "");
  }
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, directory);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup, GetStartupInfoA(&startup);
  snprintf(part, sizeof part, "%s.part", path);
  snprintf(record, sizeof record, "%s.started", path);
  FILE* file = fopen(part, "wb");
  fprintf(file, "%s\n%.400s\n%s\n%d\n", path, arguments, directory,
          (startup.dwFlags & STARTF_USESHOWWINDOW) != 0 ? startup.wShowWindow : SW_SHOWDEFAULT);
  fclose(file);
  MoveFileExA(part, record, MOVEFILE_REPLACE_EXISTING);  // whole once it is there
  const char* name = strrchr(path, '\\') + 1;
  if (lstrcmpiA(name, "Velmora.exe") != 0 && lstrcmpiA(name, "VelmoraH.exe") != 0) return 0;
  return RunWindow(instance, "Velmora", "Velmora");
}
