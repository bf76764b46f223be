#include "uninstall_win.h"

#include <windows.h>

// No owner, no icon, one OK button.
void Win32WarningBox::ShowMessage(const char* text, const char* caption) { MessageBoxA(nullptr, text, caption, 0); }
