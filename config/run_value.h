// The Run value through which Windows starts the chosen monitor at log-on:
// its quoted program path followed by the monitor command line.
#ifndef VELMORA_CONFIG_RUN_VALUE_H
#define VELMORA_CONFIG_RUN_VALUE_H

#include "launch_platform.h"

extern const char kRunValueName[];     // "Velmora"
extern const char kRunKeyMessage[];    // the Run key cannot be opened
extern const char kRunValueMessage[];  // the Run value cannot be stored

// The machine-wide Run value's data (kLaunchTextRoom bytes); empty when
// there is none.
void ReadRunValue(Registry* runKeys, char* text);
// Builds and stores the machine-wide Run value; failures are shown as
// warnings.
void WriteRunValue(Registry* runKeys, LaunchPlatform* platform, const char* options, const char* directory,
                   bool hidden);
// Deletes the value from the machine's Run key and then from the user's.
void DeleteRunValues(Registry* runKeys);

#endif
