#include "tray_menu.h"

#include "resource.h"

TrayAction ActionForMouse(uint32_t mouseMessage) {
  if (mouseMessage == kMouseLeftDoubleClick) return kActionFreePass;
  if (mouseMessage == kMouseRightButtonUp) return kActionOpenMenu;
  return kActionNone;
}

TrayAction ActionForMenuChoice(uint32_t id, const MonitorSettings& settings) {
  switch (id) {
    case IDM_TRAY_FREE_MEMORY: return kActionFreePass;
    case IDM_TRAY_DETAILS: return kActionShowDetails;
    case IDM_TRAY_HELP:
      return settings.configPath[0] != '\0' ? kActionStartConfiguration : kActionShowAbout;
    case IDM_TRAY_EXIT: return kActionExit;
  }
  return kActionNone;
}
