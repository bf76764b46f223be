// The configuration program's windows: the configuration dialog and the
// help page, both modal, from their templates through the wide-character
// dialog functions so that their Chinese texts survive any code page.
#ifndef VELMORA_CONFIG_CONFIG_WIN_H
#define VELMORA_CONFIG_CONFIG_WIN_H

#include <windows.h>

#include "config_dialog.h"

// Runs the configuration dialog until it ends; IDOK or IDCANCEL.
INT_PTR RunConfigDialog(HINSTANCE instance, ConfigDialog* dialog, ConfigProgram* program);

// Runs a fresh help page above owner until it is closed.
void RunHelpPage(HWND owner);

#endif
