// Closing windows through user32.
#ifndef VELMORA_COMMON_WINDOW_CLOSER_WIN_H
#define VELMORA_COMMON_WINDOW_CLOSER_WIN_H

#include "window_closer.h"

class Win32WindowCloser : public WindowCloser {
 public:
  WindowRef FindTopWindow(WindowLookup by, const char* name, WindowRef after) override;
  void ClassName(WindowRef window, char* out, size_t room) override;
  void RequestClose(WindowRef window) override;
  void Pause(uint32_t milliseconds) override;
};

#endif
