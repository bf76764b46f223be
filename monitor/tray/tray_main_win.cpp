// Velmora.exe: the tray monitor's start-up and window procedure.
#include <windows.h>

#include "engine_win.h"
#include "tray_icon_win.h"
#include "tray_menu_win.h"

namespace {

TrayDisplay g_trayDisplay(&g_monitor.settings, NotificationArea());
// Sent to every top-level window when the notification area is created
// afresh (the taskbar restarted, or it came up after the monitor).
UINT g_taskbarCreated;

LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_monitorWindow = window;
  if (message == g_taskbarCreated && g_taskbarCreated != 0) {
    g_trayDisplay.AddIconAgain();
    return 1;
  }
  switch (message) {
    case kTrayCallbackMessage: OnTrayCallback(lParam); return 1;
    // The engine then stops the timer and ends the message loop.
    case WM_DESTROY: RemoveTrayIcon(window); break;
  }
  return MonitorWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartEngine(kTrayOptions, &g_trayDisplay);
  g_trayInstance = instance;
  g_trayDisplay.Reset();
  g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  if (!CreateMonitorWindow(instance, TrayWindowProc)) return 1;
  g_trayDisplay.AddIcon();
  SamplingUpdate(&g_monitor, true);
  return RunMessageLoop();
}
