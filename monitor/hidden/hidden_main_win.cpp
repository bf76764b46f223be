// VelmoraH.exe: the hidden monitor. The same engine and window as the tray
// monitor, with no display at all, no first sample and a narrower option
// set: the first look at memory comes with the first tick.
#include <windows.h>

#include "engine_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartEngine(kHiddenOptions, nullptr);
  if (!CreateMonitorWindow(instance, MonitorWindowProc)) return 1;
  return RunMessageLoop();
}
