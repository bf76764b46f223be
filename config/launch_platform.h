// What launching a monitor needs: the settings it is launched with, and what
// it reaches of the platform to find the program directory and to start the
// monitor there.
#ifndef VELMORA_CONFIG_LAUNCH_PLATFORM_H
#define VELMORA_CONFIG_LAUNCH_PLATFORM_H

#include <stddef.h>
#include <stdint.h>

#include "option_groups.h"
#include "registry.h"
#include "window_closer.h"

class LaunchPlatform {
 public:
  // The process's current directory when it fits room (terminator
  // included); false, with dir untouched, when it does not.
  virtual bool CurrentDirectory(char* dir, size_t room) = 0;
  // The directory this program was started from, as CurrentDirectory.
  virtual bool ProgramDirectory(char* dir, size_t room) = 0;
  virtual bool FileExists(const char* path) = 0;
  // Starts path with the parameters in directory, shown normally.
  virtual void StartProgram(const char* path, const char* parameters, const char* directory) = 0;
  // A box without owner: caption "Velmora", exclamation icon, one OK button.
  virtual void ShowWarning(const char* text) = 0;

 protected:
  ~LaunchPlatform() = default;
};

// Everything that confirming and uninstall mode reach beyond the settings
// store.
struct Launcher {
  LaunchPlatform* platform;
  WindowCloser* windows;  // the running monitors
  Registry* runKeys;      // the Run values
};

// The settings that a monitor is launched with.
struct LaunchSettings {
  uint32_t updateInterval;
  uint32_t memoryToFree;
  uint32_t memoryToReach;
  uint32_t memoryThreshold;
  bool reachTarget;
  bool sound;
  bool alwaysFree;
  bool runHidden;  // VelmoraH.exe, not Velmora.exe
  // Each option group's token, "" for the monitor's own default.
  const char* tokens[kOptionGroupCount];
};

// Rooms of the texts that launching builds, terminator included.
const size_t kLaunchTextRoom = 260;
const uint32_t kClosePauseMs = 50;
const uint32_t kStartPauseMs = 100;

extern const char kMonitorTitle[];       // "Velmora"
extern const char kTrayMonitorFile[];    // "Velmora.exe"
extern const char kHiddenMonitorFile[];  // "VelmoraH.exe"

#endif
