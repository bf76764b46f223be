// Replacing the running monitor: closing every monitor window and starting
// the chosen monitor from the program directory.
#ifndef VELMORA_CONFIG_MONITOR_RESTART_H
#define VELMORA_CONFIG_MONITOR_RESTART_H

#include "launch_platform.h"

// Asks every window titled "Velmora" to close, pausing after each request.
void CloseRunningMonitors(WindowCloser* windows, uint32_t pauseMs);

// Starts the monitor in directory with the options; nothing is started when
// its path does not fit.
void StartMonitor(LaunchPlatform* platform, const char* options, const char* directory, bool hidden);

#endif
