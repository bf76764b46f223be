// Uninstall mode: VelmoraConfig.exe -uninstall removes the suite's traces
// and shows nothing.
#ifndef VELMORA_CONFIG_UNINSTALL_MODE_H
#define VELMORA_CONFIG_UNINSTALL_MODE_H

#include "launch.h"
#include "settings_store.h"

extern const char kUninstallArgument[];  // "-uninstall"

// Whether a process command line asks for uninstall mode: the text after
// the program name (and the blanks behind it) is exactly "-uninstall".
bool IsUninstallMode(const char* commandLine);

// Closes the monitors and removes the Run values and the settings keys.
void RunUninstallMode(const Launcher& launcher, ConfigProgram* program);

#endif
