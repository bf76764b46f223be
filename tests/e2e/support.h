// What the end-to-end tests do to the real programs under Wine: start and
// end processes, find windows and boxes, wait with deadlines, read and write
// the registry as the 32-bit programs see it, and look at the screen.
#ifndef VELMORA_TESTS_E2E_SUPPORT_H
#define VELMORA_TESTS_E2E_SUPPORT_H

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "../checks.h"

// Long enough for a host that emulates 32-bit x86 code, under load: there a
// process start alone takes seconds. Waits poll, so passing costs no more.
const DWORD kDeadlineMs = 60000;
const char kMonitor[] = "Velmora";  // class and title of a monitor window, the Run value's name
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kSettingsKey[] = "Software\\Velmora\\Velmora\\Settings";
const HKEY kRunRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

// ---- processes ------------------------------------------------------------
struct Program { HANDLE process = nullptr; DWORD pid = 0; };
std::string Beside(const std::string& name);  // a file beside this test program
// Starts "path" ARGUMENTS in the directory (null: ours); ended with the test.
Program Start(const std::string& path, const std::string& arguments, const char* directory = nullptr);
DWORD WaitForExit(const Program& p, DWORD deadlineMs = kDeadlineMs);  // its exit code, or STILL_ACTIVE
size_t WorkingSet(const Program& p, bool peak = false);  // in bytes, or its peak
bool Exists(const std::string& path);
// What a stand-in recorded of its start once it has: its path, its
// arguments, its working directory and its show state; empty when it has
// not started by the deadline.
std::vector<std::string> WaitForStart(const std::string& program);
// Starts it as Start does, with Wine's FIXMEs on the channel ("msg") on.
Program StartTraced(const char* channel, const std::string& path, const std::string& arguments,
                    const char* directory = nullptr);
// The FIXMEs Wine wrote for the thread on the channel so far (each line
// after "fixme:CHANNEL:": the function and its arguments), read from the
// session's output file of this test program, which a started program shares.
std::vector<std::string> Fixmes(DWORD thread, const char* channel);
// The FIXME of Wine's per-window filter, on "msg", when the window lets the
// message through from processes of lower integrity.
std::string LetThrough(HWND window, UINT message);
// A window of the test's own, from the stand-in: ended with the test.
inline Program StartWindow(const std::string& windowClass, const std::string& title) {
  return Start(Beside("velmora_standin.exe"), "/window " + windowClass + " " + title);
}

// Polls until done() holds, handling this thread's messages meanwhile.
template <typename Done>
bool WaitUntil(Done done, DWORD deadlineMs = kDeadlineMs) {
  for (DWORD start = GetTickCount();; Sleep(50)) {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
    if (done()) return true;
    if (GetTickCount() - start > deadlineMs) return false;
  }
}

// ---- windows and boxes ----------------------------------------------------
// Top-level windows of the class and ANSI title (null: any) of pid (0: any).
std::vector<HWND> Windows(const char* windowClass, const char* title, DWORD pid = 0, bool visibleOnly = false);
HWND WaitForWindow(const char* windowClass, const char* title, DWORD pid, bool visibleOnly = false);
// A visible dialog or box of pid owned by owner (null: unowned).
HWND WaitForDialog(DWORD pid, HWND owner);
std::wstring TextW(HWND window);  // by WM_GETTEXT, which also reads an edit of another process
void SetText(HWND dialog, int id, const char* text);
void PostClick(HWND dialog, int id);  // for a click that may open a modal box
bool SendClick(HWND dialog, int id);  // for one that does not
void Press(HWND box, int id = IDOK);
// The text of pid's box titled caption once it shows, owned by owner and
// with one OK button; then the box is dismissed and gone. "(no box)" when
// none shows.
std::wstring DismissBox(DWORD pid, const char* caption, HWND owner);
HWND Focused(HWND dialog);
// Waits for the open popup menu of pid, sends it the keys (VK_DOWN to an
// item, VK_RETURN to pick it) and waits until it has gone.
bool PickFromMenu(DWORD pid, const std::vector<WPARAM>& keys);

// ---- registry -------------------------------------------------------------
bool KeyExists(HKEY root, const std::string& path);
void Put(HKEY root, const std::string& path, const char* name, const char* data);
// A text, or "#n" for a number; "(none)" when there is neither.
std::string Value(HKEY root, const char* path, const char* name);
inline std::string RunValue(HKEY root) { return Value(root, kRunKey, kMonitor); }
void SetAccess(HKEY root, const char* path, const char* rights);  // everyone gets just these (SDDL) rights

// ---- screen and notification area -----------------------------------------
struct Image {
  int width = 0, height = 0;
  std::vector<unsigned> pixels;  // 0xRRGGBB, rows top first
};
// The pixels of the screen where the window is, as the screen shows them.
bool Screenshot(HWND window, Image* out);
// Whether the 16 x 16 picture is anywhere in the image.
bool Holds(const Image& shot, const std::vector<unsigned>& picture);
std::vector<HWND> TrayIcons();           // the icon windows of Wine's own notification area
HWND WaitForTrayIcon();                  // the one icon, once there is exactly one
// The tip the notification area shows while the pointer rests on the icon;
// empty while it shows none. Puts the pointer there.
std::wstring TrayTip(HWND icon);

// Starts and ends every case clean: no monitor and no window of the test's
// own, nothing of the suite in the registry, and the files and folders in
// made removed (a folder with all it holds).
class E2E : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Removes what an earlier run left at path (a stand-in's record, say), for
  // a new empty folder there unless folder is false; removed after.
  void Fresh(const std::string& path, bool folder = true);
  std::vector<std::string> made;  // removed in reverse order
};

#endif
