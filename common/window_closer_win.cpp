#include "window_closer_win.h"

#include <windows.h>

WindowRef Win32WindowCloser::FindTopWindow(WindowLookup by, const char* name) {
  HWND found = by == kByClass ? FindWindowA(name, nullptr) : FindWindowA(nullptr, name);
  return reinterpret_cast<WindowRef>(found);
}

void Win32WindowCloser::RequestClose(WindowRef window) {
  SendMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void Win32WindowCloser::Pause(uint32_t milliseconds) { Sleep(milliseconds); }
