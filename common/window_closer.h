// Closing another program's windows: find one by its class or title, ask it
// to close, pause, and look again, up to a number of requests.
#ifndef VELMORA_COMMON_WINDOW_CLOSER_H
#define VELMORA_COMMON_WINDOW_CLOSER_H

#include <stdint.h>

// A top-level window; 0 when there is none.
typedef uintptr_t WindowRef;

enum WindowLookup { kByClass, kByTitle };

// Requests one lookup may send before the program gives up and goes on.
const int kMaxCloseRequests = 10;

class WindowCloser {
 public:
  // A top-level window, hidden ones included, by exact class or title.
  virtual WindowRef FindTopWindow(WindowLookup by, const char* name) = 0;
  // Sends WM_CLOSE and returns once the window has handled it.
  virtual void RequestClose(WindowRef window) = 0;
  virtual void Pause(uint32_t milliseconds) = 0;

 protected:
  ~WindowCloser() = default;
};

// While a window by that name is found and fewer than limit requests have
// gone out: asks it to close, then pauses. The lookup that ends the loop
// comes after the last pause. Returns how many requests went out.
int CloseWindows(WindowCloser* windows, WindowLookup by, const char* name, int limit, uint32_t pauseMs);

#endif
