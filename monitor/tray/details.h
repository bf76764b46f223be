// The texts of the tray menu's boxes: the details box with the full memory
// status, and the about box.
#ifndef VELMORA_MONITOR_TRAY_DETAILS_H
#define VELMORA_MONITOR_TRAY_DETAILS_H

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

#endif
