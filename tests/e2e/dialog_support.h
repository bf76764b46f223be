// Driving another process's dialogs under Wine: finding them by their
// wide-character captions, reading and writing their controls, clicking,
// the focused control, message boxes, and checking what the screen shows.
#ifndef VELMORA_TESTS_E2E_DIALOG_SUPPORT_H
#define VELMORA_TESTS_E2E_DIALOG_SUPPORT_H

#include <windows.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "screenshot.h"

// Visible dialogs (class #32770) of pid (0: any) with this caption; owner
// null: any owner.
std::vector<HWND> FindDialogs(DWORD pid, const wchar_t* caption, HWND owner = nullptr);
// The first such dialog, waiting up to the deadline. With an owner, only a
// dialog owned by it; without, only one without owner.
HWND WaitForDialog(DWORD pid, const wchar_t* caption, HWND owner);

// A message box of pid with this caption (null when none), and one waited for.
HWND FindMessageBox(DWORD pid, const char* caption);
HWND WaitForMessageBox(DWORD pid, const char* caption);
std::string MessageBoxText(HWND box);

std::wstring WindowTextW(HWND window);
// An edit's or a static's text, read and written by message.
std::string EditText(HWND dialog, int id);
void SetEditText(HWND dialog, int id, const char* text);
bool IsChecked(HWND dialog, int id);

// A click that may open a modal box: posted, returns at once.
void PostClick(HWND dialog, int id);
// A click that opens nothing: returns when it has been handled; false when
// that took longer than the deadline (a box was opened after all).
bool SendClick(HWND dialog, int id);

// The control with the keyboard focus in the dialog's thread.
HWND FocusedWindow(HWND dialog);

// A screenshot of the whole screen, saved as screenshot_NAME.png beside the
// test programs and loaded.
bool TakeScreenshot(const char* name, Image* image);

// Whether a static control shows text on the screen with its glyphs: the
// drawn pixels match a rendering of text in the dialog's font far better
// than the same number of "?", and that font has glyphs for text at all.
struct TextCheck {
  bool drawn;
  std::string detail;
};
TextCheck CheckDrawnText(const Image& shot, HWND dialog, int id, const std::wstring& text);

#endif
