// What the end-to-end tests do to the real programs under Wine: start them,
// find their windows, wait for them with deadlines, read what the platform
// says about them, and end whatever a test left running.
#ifndef VELMORA_TESTS_E2E_E2E_SUPPORT_H
#define VELMORA_TESTS_E2E_E2E_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

// How long to wait for something that must happen. Long enough for a host
// that emulates 32-bit x86 code, under load: there a process start alone
// takes seconds. Waits poll, so a passing test does not take longer.
const DWORD kDeadlineMs = 60000;
const DWORD kStillRunning = 0x103;  // STILL_ACTIVE

// The programs are 32-bit: the registry as they see it. For HKEY_LOCAL_MACHINE
// \Software that is the 32-bit view, also from a 64-bit test program; on
// HKEY_CURRENT_USER\Software it changes nothing.
const REGSAM kProgramsView = KEY_WOW64_32KEY;

// A started program; its process ends with the test at the latest.
struct Program {
  HANDLE process = nullptr;
  DWORD pid = 0;
};

// The full path of a program built beside this test program.
std::string ProgramPath(const char* name);

// Starts name with the arguments, as the configuration program would: the
// quoted path, a blank, then the monitor command line. It runs in the given
// directory, or in this program's current directory when none is given.
Program Start(const char* name, const std::string& arguments, const char* directory = nullptr);
// The same for a program anywhere.
Program StartPath(const std::string& path, const std::string& arguments, const char* directory = nullptr);

// What the suite leaves in the system, for tests to clear before and after:
// every monitor window, found by class or by title "Velmora" (closed, and
// its process waited for), the Run values "Velmora" of both Run keys, and the
// settings keys.
void CloseAllMonitors();
void DeleteRunValues();
void RemoveSettingsKeys();
// The Run value "Velmora" under the root; "(none)" when there is none.
std::string RunValue(HKEY root);

// The top-level window of class and title (either may be null) owned by pid
// (0: any process), waiting up to the deadline; null when there is none.
HWND WaitForWindow(const char* windowClass, const char* title, DWORD pid,
                   DWORD deadlineMs = kDeadlineMs);
// Every top-level window of class and title, of any process.
std::vector<HWND> FindWindows(const char* windowClass, const char* title);
// The open popup menu (class "#32768") of pid, waiting up to the deadline;
// null when none shows. A menu's window exists a while before it shows.
HWND WaitForMenu(DWORD pid, DWORD deadlineMs = kDeadlineMs);

// Waits for the process to end; its exit code, or kStillRunning.
DWORD WaitForExit(const Program& p, DWORD deadlineMs = kDeadlineMs);

// Peak working set of a running process in bytes (0 when it cannot be read).
size_t PeakWorkingSet(const Program& p);

// The installed physical memory in bytes as a 32-bit program reads it with
// GlobalMemoryStatus (capped as the programs see it), read once by the
// 32-bit velmora_memory_probe.exe.
DWORD ProgramsTotalPhys();

// Polls until done() holds or the deadline passes; whether it held.
template <typename Done>
bool WaitUntil(Done done, DWORD deadlineMs = kDeadlineMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    if (GetTickCount() - start > deadlineMs) return false;
    Sleep(50);
  }
}

// Ends every program this test started that still runs.
void EndStartedPrograms();

#endif
