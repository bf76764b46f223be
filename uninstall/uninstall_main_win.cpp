// VelmoraUninstall.exe: no window, no message loop; everything it does is
// decided by the core from the command line. Exit code 0 on every path.
#include <windows.h>

#include "registry_win.h"
#include "uninstall_win.h"
#include "window_closer_win.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Win32Registry registry;
  Win32WindowCloser windows;
  Win32WarningBox box;
  RunUninstall(&registry, &windows, &box, GetCommandLineA());
  return 0;
}
