#include "window_closer_win.h"

#include <windows.h>

WindowRef Win32WindowCloser::FindTopWindow(WindowLookup by, const char* name, WindowRef after) {
  HWND previous = reinterpret_cast<HWND>(after);
  HWND found = by == kByClass ? FindWindowExA(nullptr, previous, name, nullptr)
                              : FindWindowExA(nullptr, previous, nullptr, name);
  return reinterpret_cast<WindowRef>(found);
}

void Win32WindowCloser::ClassName(WindowRef window, char* out, size_t room) {
  out[0] = '\0';  // kept when the window is gone by now
  GetClassNameA(reinterpret_cast<HWND>(window), out, static_cast<int>(room));
}

void Win32WindowCloser::RequestClose(WindowRef window) {
  SendMessageA(reinterpret_cast<HWND>(window), WM_CLOSE, 0, 0);
}

void Win32WindowCloser::Pause(uint32_t milliseconds) { Sleep(milliseconds); }
