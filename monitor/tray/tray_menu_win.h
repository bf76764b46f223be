// The tray callback and the tray menu's commands on Win32.
#ifndef VELMORA_MONITOR_TRAY_TRAY_MENU_WIN_H
#define VELMORA_MONITOR_TRAY_TRAY_MENU_WIN_H

#include <windows.h>

// The program instance, whose menu resource the tray menu loads.
extern HINSTANCE g_trayInstance;

// A mouse event over the tray icon (the callback message's lParam).
void OnTrayCallback(LPARAM mouseMessage);

#endif
