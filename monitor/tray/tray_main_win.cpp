// Velmora.exe: the tray monitor's start-up.
#include <windows.h>

#include "engine_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartEngine(kTrayOptions, nullptr);
  if (!CreateMonitorWindow(instance, MonitorWindowProc)) return 1;
  SamplingUpdate(&g_monitor, true);
  return RunMessageLoop();
}
