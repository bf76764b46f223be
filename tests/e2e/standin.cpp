// A stand-in for the programs the suite starts. It records how it was
// started, one a line: its path, its arguments and its working directory, in
// "<its path>.started". Started with arguments it is a monitor: the window
// of class and title "Velmora" until WM_CLOSE; without, it ends at once.
#include <windows.h>

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR arguments, int) {
  while (*arguments == ' ') ++arguments;
  WNDCLASSA windowClass = {0, StandInProc, 0, 0, instance, nullptr, nullptr, nullptr, nullptr, "Velmora"};
  bool monitor = *arguments != '\0';
  if (monitor && (!RegisterClassA(&windowClass) ||
                  !CreateWindowExA(0, "Velmora", "Velmora", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr)))
    return 1;
  char path[MAX_PATH] = "", directory[MAX_PATH] = "", part[MAX_PATH + 16], record[MAX_PATH + 16], text[1024];  // wsprintf writes at most 1024
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  GetCurrentDirectoryA(MAX_PATH, directory);
  wsprintfA(part, "%s.part", path);
  wsprintfA(record, "%s.started", path);
  DWORD written = wsprintfA(text, "%s\n%.400s\n%s\n", path, arguments, directory);
  HANDLE file = CreateFileA(part, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  WriteFile(file, text, written, &written, nullptr);
  CloseHandle(file);
  MoveFileExA(part, record, MOVEFILE_REPLACE_EXISTING);  // whole once it is there
  MSG message;
  while (monitor && GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
