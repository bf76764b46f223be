// The notification-area side of the tray display: the icon made from the
// picture and handed to Shell_NotifyIconA, and taken out again.
#ifndef VELMORA_MONITOR_TRAY_TRAY_ICON_WIN_H
#define VELMORA_MONITOR_TRAY_TRAY_ICON_WIN_H

#include <windows.h>
#include <shellapi.h>

#include "tray_icon.h"

// The message the notification area sends to the monitor window for mouse
// events over the icon.
const UINT kTrayCallbackMessage = WM_USER + 1;
const UINT kTrayIconId = 1;

// The monitor window's one icon in the notification area, from its adding
// to its removal.
class NotificationAreaIcon : public TrayIconPlatform {
 public:
  // The window the icon belongs to, whose DC draws it and to which the
  // notification area sends its messages; none before it is created.
  void SetWindow(HWND window) { window_ = window; }
  bool Show(bool add, const char* tip, const IconPicture& picture) override;
  void Remove() override;

 private:
  NOTIFYICONDATAA Record() const;
  HWND window_ = nullptr;
};

#endif
