#include "window_closer.h"

#include <string.h>

namespace {

// The classes of Explorer's folder windows, old and new.
const char* const kShellFolderClasses[] = {"CabinetWClass", "ExploreWClass"};

bool IsShellFolderWindow(WindowCloser* windows, WindowRef window) {
  char name[32];  // a longer name, cut, matches none of them
  windows->ClassName(window, name, sizeof name);
  for (const char* shell : kShellFolderClasses) {
    if (strcmp(name, shell) == 0) return true;
  }
  return false;
}

// The first window by that name that is no shell folder window; 0 if none.
WindowRef FindClosable(WindowCloser* windows, WindowLookup by, const char* name) {
  WindowRef w = windows->FindTopWindow(by, name, 0);
  while (w != 0 && IsShellFolderWindow(windows, w)) w = windows->FindTopWindow(by, name, w);
  return w;
}

}  // namespace

int CloseWindows(WindowCloser* windows, WindowLookup by, const char* name, int limit, uint32_t pauseMs) {
  int sent = 0;
  for (WindowRef w = FindClosable(windows, by, name); w != 0 && sent < limit; w = FindClosable(windows, by, name)) {
    windows->RequestClose(w);
    windows->Pause(pauseMs);
    ++sent;
  }
  return sent;
}
