#include "window_closer.h"

int CloseWindows(WindowCloser* windows, WindowLookup by, const char* name, int limit, uint32_t pauseMs) {
  int sent = 0;
  for (WindowRef w = windows->FindTopWindow(by, name); w != 0 && sent < limit;
       w = windows->FindTopWindow(by, name)) {
    windows->RequestClose(w);
    windows->Pause(pauseMs);
    ++sent;
  }
  return sent;
}
