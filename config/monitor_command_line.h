// The monitor command line: the tokens of the settings and the P token that
// names the configuration program in the program directory, which an
// earlier confirm recorded in the Run value.
#ifndef VELMORA_CONFIG_MONITOR_COMMAND_LINE_H
#define VELMORA_CONFIG_MONITOR_COMMAND_LINE_H

#include "launch_platform.h"
#include "text_writer.h"

// The monitor command line into options and the program directory into
// directory (each kLaunchTextRoom bytes).
void ComposeMonitorCommandLine(const LaunchSettings& settings, LaunchPlatform* platform, Registry* runKeys,
                               char* options, char* directory);

// Writes the directory, a backslash unless it is empty or ends with one,
// and the monitor's file name.
void WriteMonitorPath(TextWriter* w, const char* directory, bool hidden);

#endif
