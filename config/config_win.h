// The configuration program's window: the configuration dialog, modal, from
// its template through the wide-character dialog functions so that its
// Chinese texts survive any code page.
#ifndef VELMORA_CONFIG_CONFIG_WIN_H
#define VELMORA_CONFIG_CONFIG_WIN_H

#include <windows.h>

#include "config_dialog.h"

// Runs the configuration dialog until it ends; IDOK or IDCANCEL.
INT_PTR RunConfigDialog(HINSTANCE instance, ConfigDialog* dialog, ConfigProgram* program);

#endif
