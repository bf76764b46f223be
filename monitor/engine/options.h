// Reading the monitor command line: the monitor settings it fills and the
// timing values derived from them.
#ifndef VELMORA_MONITOR_ENGINE_OPTIONS_H
#define VELMORA_MONITOR_ENGINE_OPTIONS_H

#include <stddef.h>
#include <stdint.h>

#include "monitor_command_line.h"

// Room for the configuration path, terminating NUL included. A longer path
// is not kept at all: a cut path would start some other program.
const size_t kConfigPathRoom = 1024;

// Amounts are given in MB and shifted into bytes; anything above this many
// MB would wrap in 32 bits, so it is held here instead.
const uint32_t kMaxMegabytes = 4095;

// SetTimer takes at most 0x7FFFFFFF ms: the longest interval in seconds
// whose milliseconds still fit.
const uint32_t kMaxIntervalSeconds = 0x7FFFFFFFu / 1000u;

// Digit fonts (L or LG, LW).
enum : int { kFontSmooth = 0, kFontGreenLcd = 1, kFontWhiteLcd = 2 };

struct MonitorSettings {
  uint32_t intervalMs;
  uint32_t freeAmountBytes;
  bool reachTarget;
  uint32_t thresholdBytes;  // 0 switches automatic freeing off
  char defragment;        // kDefragment...
  bool runOnce;
  bool sound;
  bool keepTrying;
  int32_t displayStyle;   // kStyle...
  int digitFont;          // kFont...
  bool byteUnits;
  char configPath[kConfigPathRoom];  // empty when none
};

// Back-off of the automatic freeing, counted in timer ticks.
struct Backoff {
  uint32_t baseWait;
  uint32_t currentWait;
  uint32_t maximumWait;
  uint32_t tickCounter;
};

// Which letters a front end knows: the first letterCount of the monitors'
// letters, whose display-only ones come last. Letters not in the set are
// ignored like any other unknown token; a path given with P is stored only
// when keepPath is set, but it is always consumed the same way.
struct OptionTable {
  size_t letterCount;
  bool keepPath;
};

extern const OptionTable kTrayOptions;
extern const OptionTable kHiddenOptions;

// Reads a monitor's whole command line (program name first) into its
// settings and back-off: what both monitors do at start.
void ParseMonitorCommandLine(const char* commandLine, const OptionTable& table,
                             MonitorSettings* s, Backoff* b);

#endif
