// The help page's window: modal above its owner, from its template through
// the wide-character dialog functions, as the configuration dialog.
#ifndef VELMORA_CONFIG_HELP_PAGE_WIN_H
#define VELMORA_CONFIG_HELP_PAGE_WIN_H

#include <windows.h>

// Runs a fresh help page above owner until it is closed.
void RunHelpPage(HWND owner);

#endif
