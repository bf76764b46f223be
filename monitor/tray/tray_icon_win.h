// The notification-area side of the tray display: the icon made from the
// picture and handed to Shell_NotifyIconA, and taken out again.
#ifndef VELMORA_MONITOR_TRAY_TRAY_ICON_WIN_H
#define VELMORA_MONITOR_TRAY_TRAY_ICON_WIN_H

#include <windows.h>

#include "tray_icon.h"

// The message the notification area sends to the monitor window for mouse
// events over the icon.
const UINT kTrayCallbackMessage = WM_USER + 1;
const UINT kTrayIconId = 1;

// The icon of the monitor window (g_monitorWindow).
TrayIconPlatform* NotificationArea();

#endif
