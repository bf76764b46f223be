// Velmora.exe: the tray monitor's start-up, its window procedure, and what
// the mouse over its icon and the tray menu's commands do.
#include <windows.h>
#include <shellapi.h>

#include "engine_win.h"
#include "resource.h"
#include "tray_icon_win.h"
#include "tray_menu.h"

namespace {

NotificationAreaIcon g_notificationArea;
TrayDisplay g_trayDisplay(&g_monitor.settings, &g_notificationArea);
HINSTANCE g_instance;  // whose menu resource the tray menu loads
// Sent to every top-level window when the notification area is created
// afresh (the taskbar restarted, or it came up after the monitor).
UINT g_taskbarCreated;

const UINT kBoxStyle = MB_OK | MB_TASKMODAL;

// Shows the tray menu at the pointer and waits for the choice: its id, or
// 0 when it was dismissed. The menu is gone again when this returns.
UINT ChooseFromTrayMenu() {
  POINT at = {};
  GetCursorPos(&at);
  HMENU menu = LoadMenuA(g_instance, MAKEINTRESOURCEA(IDR_TRAY_MENU));
  HMENU popup = GetSubMenu(menu, 0);
  // A menu of a notification-area icon closes on a click elsewhere only
  // when its owner window is in the foreground.
  SetForegroundWindow(g_monitorWindow);
  UINT choice = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, g_monitorWindow, nullptr));
  // Destroying the loaded menu destroys its popup with it.
  DestroyMenu(menu);
  // A message for the owner after the menu has ended switches to its
  // thread once more; without it the next menu opened from the icon can
  // vanish as soon as it shows.
  PostMessageA(g_monitorWindow, WM_NULL, 0, 0);
  return choice;
}

void ShowDetailsBox() {
  MemoryStatus status;
  g_monitor.platform->ReadMemoryStatus(&status);
  char text[kDetailsRoom];
  FormatDetails(text, sizeof text, status, g_monitor.settings.byteUnits);
  MessageBoxA(g_monitorWindow, text, kBoxTitle, kBoxStyle);
}

void Help() {
  if (HelpStartsConfiguration(g_monitor.settings))
    ShellExecuteA(g_monitorWindow, nullptr, g_monitor.settings.configPath, "", ".", SW_SHOWNORMAL);
  else
    MessageBoxA(g_monitorWindow, kAboutText, kBoxTitle, kBoxStyle);
}

void RunMenuCommand(UINT id) {
  switch (id) {
    case IDM_TRAY_FREE_MEMORY: FreePass(&g_monitor); break;
    case IDM_TRAY_DETAILS: ShowDetailsBox(); break;
    case IDM_TRAY_HELP: Help(); break;
    case IDM_TRAY_EXIT: DestroyWindow(g_monitorWindow); break;
  }
}

// A mouse event over the icon: the tray callback message's lParam.
void OnTrayMouse(LPARAM mouse) {
  if (mouse == WM_LBUTTONDBLCLK) FreePass(&g_monitor);
  if (mouse == WM_RBUTTONUP) RunMenuCommand(ChooseFromTrayMenu());
}

// Handled messages return 1, as the monitor's own procedure does: the
// notification area reads no result of the messages it sends.
LRESULT CALLBACK TrayWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_monitorWindow = window;
  if (message == g_taskbarCreated && g_taskbarCreated != 0) {
    g_trayDisplay.AddIconAgain();
    return 1;
  }
  switch (message) {
    case kTrayCallbackMessage: OnTrayMouse(lParam); return 1;
    // The engine then stops the timer and ends the message loop.
    case WM_DESTROY: g_trayDisplay.RemoveIcon(); break;
  }
  return MonitorWindowProc(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  StartEngine(kTrayOptions, &g_trayDisplay);
  g_instance = instance;
  g_taskbarCreated = RegisterWindowMessageA("TaskbarCreated");
  if (!CreateMonitorWindow(instance, TrayWindowProc)) return 1;
  g_notificationArea.SetWindow(g_monitorWindow);
  // Explorer runs unelevated: without its TaskbarCreated an elevated monitor's icon stays lost when it restarts.
  LetMessageThrough(g_monitorWindow, g_taskbarCreated);
  g_trayDisplay.AddIcon();
  SamplingUpdate(&g_monitor, true);
  return RunMessageLoop();
}
