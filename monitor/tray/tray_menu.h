// What the tray menu's commands show: the details box with the full memory
// status, the about box, and which of the two Help/Configure gives.
#ifndef VELMORA_MONITOR_TRAY_TRAY_MENU_H
#define VELMORA_MONITOR_TRAY_TRAY_MENU_H

#include <stddef.h>

#include "engine.h"

// Enough for six lines of the widest numbers.
const size_t kDetailsRoom = 256;

// The six amounts of the memory status, one a line: rounded to MB with the
// unit letter M, or in bytes followed by a blank. Always NUL-terminated
// within room; a text that does not fit is cut.
void FormatDetails(char* out, size_t room, const MemoryStatus& status, bool byteUnits);

extern const char kAboutText[];
// The title of both boxes.
extern const char kBoxTitle[];

// Help/Configure starts the configuration program given with P; without
// one it shows the about box.
bool HelpStartsConfiguration(const MonitorSettings& settings);

#endif
