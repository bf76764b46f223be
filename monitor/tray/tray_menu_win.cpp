#include "tray_menu_win.h"

#include <shellapi.h>

#include "details.h"
#include "engine_win.h"
#include "resource.h"
#include "tray_menu.h"

HINSTANCE g_trayInstance;

namespace {

static_assert(kMouseLeftDoubleClick == WM_LBUTTONDBLCLK, "double click");
static_assert(kMouseRightButtonUp == WM_RBUTTONUP, "right button up");

const UINT kBoxStyle = MB_OK | MB_TASKMODAL;

// Shows the tray menu at the pointer and waits for the choice: its id, or
// 0 when it was dismissed. The menu is gone again when this returns.
UINT ChooseFromTrayMenu() {
  POINT at = {};
  GetCursorPos(&at);
  HMENU menu = LoadMenuA(g_trayInstance, MAKEINTRESOURCEA(IDR_TRAY_MENU));
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

void StartConfiguration() {
  ShellExecuteA(g_monitorWindow, nullptr, g_monitor.settings.configPath, "", ".", SW_SHOWNORMAL);
}

void RunTrayAction(TrayAction action) {
  switch (action) {
    case kActionFreePass: FreePass(&g_monitor); break;
    case kActionOpenMenu: RunTrayAction(ActionForMenuChoice(ChooseFromTrayMenu(), g_monitor.settings)); break;
    case kActionShowDetails: ShowDetailsBox(); break;
    case kActionStartConfiguration: StartConfiguration(); break;
    case kActionShowAbout: MessageBoxA(g_monitorWindow, kAboutText, kBoxTitle, kBoxStyle); break;
    case kActionExit: DestroyWindow(g_monitorWindow); break;
    case kActionNone: break;
  }
}

}  // namespace

void OnTrayCallback(LPARAM mouseMessage) {
  RunTrayAction(ActionForMouse(static_cast<uint32_t>(mouseMessage)));
}
