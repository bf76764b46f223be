// A stand-in for the configuration program: writes the directory it was
// started in and its command line to cwd_probe.txt beside itself, then ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = "";
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (n > 0 && path[n - 1] != '\\' && path[n - 1] != '/') --n;
  lstrcpyA(path + n, "cwd_probe.part");
  char text[2 * MAX_PATH + 4096];
  DWORD used = GetCurrentDirectoryA(MAX_PATH, text);
  text[used++] = '\n';
  lstrcpynA(text + used, GetCommandLineA(), static_cast<int>(sizeof text - used));
  HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, text, lstrlenA(text), &written, nullptr);
  CloseHandle(f);
  char done[MAX_PATH];
  lstrcpyA(done, path);
  lstrcpyA(done + n, "cwd_probe.txt");
  MoveFileExA(path, done, MOVEFILE_REPLACE_EXISTING);
  return 0;
}
