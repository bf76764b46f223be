// A stand-in monitor for the tests: the monitor window (class and title
// "Velmora") and nothing else. It records how it was started (its own path,
// its command line and its working directory, one per line) in
// "<its own path>.started" and ends on WM_CLOSE like a monitor.
#include <windows.h>

#include <string.h>

namespace {

void Record() {
  char path[MAX_PATH] = "", record[MAX_PATH + 16], directory[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  memcpy(record, path, n);
  memcpy(record + n, ".started", sizeof ".started");
  GetCurrentDirectoryA(MAX_PATH, directory);
  const char* lines[] = {path, GetCommandLineA(), directory};
  HANDLE file = CreateFileA(record, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  for (const char* line : lines) {
    DWORD written;
    WriteFile(file, line, static_cast<DWORD>(strlen(line)), &written, nullptr);
    WriteFile(file, "\n", 1, &written, nullptr);
  }
  CloseHandle(file);
}

LRESULT CALLBACK StandInProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = StandInProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "Velmora";
  RegisterClassA(&windowClass);
  if (CreateWindowExA(0, "Velmora", "Velmora", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance, nullptr) ==
      nullptr)
    return 1;
  Record();
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
