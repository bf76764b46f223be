// What the tray icon's mouse events and the tray menu's choices do.
#ifndef VELMORA_MONITOR_TRAY_TRAY_MENU_H
#define VELMORA_MONITOR_TRAY_TRAY_MENU_H

#include <stdint.h>

#include "options.h"

// The mouse messages the notification area reports.
const uint32_t kMouseLeftDoubleClick = 0x203;
const uint32_t kMouseRightButtonUp = 0x205;

enum TrayAction {
  kActionNone,
  kActionFreePass,
  kActionOpenMenu,
  kActionShowDetails,
  kActionStartConfiguration,
  kActionShowAbout,
  kActionExit,
};

// The tray callback: the mouse message over the icon.
TrayAction ActionForMouse(uint32_t mouseMessage);
// The id the tray menu returned (0 when it was dismissed).
TrayAction ActionForMenuChoice(uint32_t id, const MonitorSettings& settings);

#endif
