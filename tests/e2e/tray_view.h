// What Wine's own notification area shows (on a desktop without one it
// opens a "Wine System Tray" window): its icon windows, the pixels of an
// icon and its tooltip text, read from the notification area's process.
#ifndef VELMORA_TESTS_E2E_TRAY_VIEW_H
#define VELMORA_TESTS_E2E_TRAY_VIEW_H

#include <windows.h>

#include <string>
#include <vector>

#include "screenshot.h"

// Every icon window of the notification area.
std::vector<HWND> TrayIconWindows();

// Icons whose owner window is gone stay until the notification area tries
// to tell the owner about a mouse event: sends each icon a mouse move and
// waits until only live icons are left. True when none is left.
bool SweepTrayIcons();

// The one icon window once there is exactly one; null at the deadline.
HWND WaitForTheTrayIcon();
// Whether the notification area holds no icon before the deadline.
bool WaitForNoTrayIcon();

// The tooltip text the notification area keeps for an icon window.
std::string TrayTip(HWND iconWindow);

// A 16 x 16 picture of 0xRRGGBB colours, top row first.
typedef std::vector<unsigned> Colours;

// Whether the picture appears anywhere in the image.
bool ImageHolds(const Image& shot, const Colours& picture);
// The 16 x 16 pixels at the image's centre as palette indexes, for failure
// messages ('?' for a colour the icon has not got).
std::string Account(const Image& shot);

// Screenshot of the icon window (saved as name.png); whether the picture
// appears in it, with an account of what was there in *seen.
bool IconShows(HWND iconWindow, const Colours& picture, const char* name, std::string* seen);

// Posts a mouse message to the icon window, as the pointer would send it.
void PostMouse(HWND iconWindow, UINT message);

#endif
