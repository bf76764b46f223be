// Closing another program's windows: find one by its class or title, ask it
// to close, pause, and look again, up to a number of requests. The shell's
// folder windows are never asked: Explorer titles one with its folder's
// name, and the suite's folders carry the product's name.
#ifndef VELMORA_COMMON_WINDOW_CLOSER_H
#define VELMORA_COMMON_WINDOW_CLOSER_H

#include <stddef.h>
#include <stdint.h>

// A top-level window; 0 when there is none.
typedef uintptr_t WindowRef;

enum WindowLookup { kByClass, kByTitle };

// Requests one lookup may send before the program gives up and goes on.
const int kMaxCloseRequests = 10;

class WindowCloser {
 public:
  // The next top-level window after the one given (0: the first), hidden
  // ones included, by exact class or title.
  virtual WindowRef FindTopWindow(WindowLookup by, const char* name, WindowRef after) = 0;
  // Its class name into out, cut to room bytes; empty when it has none.
  virtual void ClassName(WindowRef window, char* out, size_t room) = 0;
  // Sends WM_CLOSE and returns once the window has handled it.
  virtual void RequestClose(WindowRef window) = 0;
  virtual void Pause(uint32_t milliseconds) = 0;

 protected:
  ~WindowCloser() = default;
};

// While a window by that name is found, the shell's folder windows passed
// over, and fewer than limit requests have gone out: asks it to close, then
// pauses. The lookup that ends the loop comes after the last pause. Returns
// how many requests went out.
int CloseWindows(WindowCloser* windows, WindowLookup by, const char* name, int limit, uint32_t pauseMs);

#endif
