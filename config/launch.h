// Launching a monitor: the monitor command line composed from the settings,
// the program directory it names (recorded by an earlier confirm in the Run
// value's P token), the Run value through which Windows starts the monitor
// at log-on, and replacing the running monitor by the chosen one.
#ifndef VELMORA_CONFIG_LAUNCH_H
#define VELMORA_CONFIG_LAUNCH_H

#include <stddef.h>
#include <stdint.h>

#include "monitor_command_line.h"
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
  bool runHidden;  // the hidden monitor, not the tray monitor
  // Each option group's token, "" for the monitor's own default.
  const char* tokens[kOptionGroupCount];
};

// Rooms of the texts that launching builds, terminator included: the
// command line, and the Run value and the monitor's path, which Windows
// holds to the same room.
const size_t kLaunchTextRoom = kCommandLineRoom;
const uint32_t kClosePauseMs = 50;
const uint32_t kStartPauseMs = 100;

extern const char kRunKeyMessage[];         // the Run key cannot be opened
extern const char kRunValueMessage[];       // the Run value cannot be stored
extern const char kRunValueStaysMessage[];  // the Run value cannot be deleted

// The monitor command line into options and the program directory into
// directory (each kLaunchTextRoom bytes).
void ComposeMonitorCommandLine(const LaunchSettings& settings, LaunchPlatform* platform, Registry* runKeys,
                               char* options, char* directory);

// The machine-wide Run value's data (kLaunchTextRoom bytes); empty when
// there is none or it does not fit. What the read came to: kRegDone or
// kRegTooLong when the value is there.
RegResult ReadRunValue(Registry* runKeys, char* text);
// Builds and stores the machine-wide Run value; failures are shown as
// warnings.
void WriteRunValue(Registry* runKeys, LaunchPlatform* platform, const char* options, const char* directory,
                   bool hidden);

// Autostart off: deletes both Run values. A machine-wide value that is
// still there afterwards (a user may read that key but not change it) is
// shown as a warning: Windows will go on starting the monitor from it.
void TurnAutostartOff(Registry* runKeys, LaunchPlatform* platform);

// Asks every window titled as a monitor to close, pausing after each request.
void CloseRunningMonitors(WindowCloser* windows, uint32_t pauseMs);
// Starts the chosen monitor in directory with the options; nothing is
// started when its path does not fit.
void StartChosenMonitor(LaunchPlatform* platform, const char* options, const char* directory, bool hidden);

#endif
