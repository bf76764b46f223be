// Resource ids of every program of the suite, grouped by program. Plain
// defines, so that both the resource scripts and the C++ code include it.
#ifndef VELMORA_RESOURCES_RESOURCE_H
#define VELMORA_RESOURCES_RESOURCE_H

// Velmora.exe, the tray monitor
#define IDI_VELMORA 10            // the program file's icon group
#define IDR_TRAY_MENU 20          // the tray menu: one popup with four items
#define IDM_TRAY_DETAILS 22
#define IDM_TRAY_EXIT 23
#define IDM_TRAY_FREE_MEMORY 24
#define IDM_TRAY_HELP 25

#endif
