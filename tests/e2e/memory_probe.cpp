// Reads the installed physical memory as the 32-bit programs read it, capped
// as they see it, for the test programs that are not 32-bit: its exit code is
// GlobalMemoryStatus's dwTotalPhys.
#include <windows.h>

static_assert(sizeof(void*) == 4, "the reading is the one of a 32-bit program");

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MEMORYSTATUS m;
  m.dwLength = sizeof m;
  GlobalMemoryStatus(&m);
  return static_cast<int>(m.dwTotalPhys);
}
