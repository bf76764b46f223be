// What confirming the configuration dialog sets in motion beyond storing:
// the monitor command line, the Run value through which Windows starts the
// monitor at log-on, closing the running monitor and starting the chosen
// one; and the uninstall mode that removes the suite's traces.
#ifndef VELMORA_CONFIG_LAUNCH_H
#define VELMORA_CONFIG_LAUNCH_H

#include <stddef.h>
#include <stdint.h>

#include "config_dialog.h"

// A window found by title; 0 when there is none.
typedef uintptr_t MonitorWindow;
// An open Run key.
typedef uintptr_t RunKey;

enum RunRoot { kMachineRun, kUserRun };

// What launching needs of the platform.
class LaunchPlatform {
 public:
  virtual MonitorWindow FindWindowByTitle(const char* title) = 0;
  // Sends WM_CLOSE and returns once the window has handled it.
  virtual void RequestClose(MonitorWindow window) = 0;
  virtual void Pause(uint32_t milliseconds) = 0;
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

  // Software\Microsoft\Windows\CurrentVersion\Run under the root, for
  // reading or with set-value access.
  virtual bool OpenRunKey(RunRoot root, bool forWriting, RunKey* key) = 0;
  // The data of the value into room bytes, NUL-terminated; false when it is
  // missing or does not fit.
  virtual bool ReadRunData(RunKey key, const char* name, char* data, size_t room) = 0;
  // Stores text as a string value, its terminating NUL counted.
  virtual bool WriteRunData(RunKey key, const char* name, const char* text) = 0;
  virtual bool DeleteRunData(RunKey key, const char* name) = 0;
  virtual void CloseRunKey(RunKey key) = 0;

 protected:
  ~LaunchPlatform() = default;
};

// Rooms of the texts that launching builds, terminator included.
const size_t kLaunchTextRoom = 260;
const uint32_t kClosePauseMs = 50;
const uint32_t kStartPauseMs = 100;
const int kMaxCloseRequests = 10;

extern const char kMonitorTitle[];        // "Velmora"
extern const char kRunValueName[];        // "Velmora"
extern const char kTrayMonitorFile[];     // "Velmora.exe"
extern const char kHiddenMonitorFile[];   // "VelmoraH.exe"
extern const char kRunKeyMessage[];       // the Run key cannot be opened
extern const char kRunValueMessage[];     // the Run value cannot be stored
extern const char kUninstallArgument[];   // "-uninstall"

// Whether a process command line asks for uninstall mode: the text after
// the program name (and the blanks behind it) is exactly "-uninstall".
bool IsUninstallMode(const char* commandLine);

// The monitor command line into options and the program directory into
// directory (each kLaunchTextRoom bytes), from the dialog's fields and
// radios, the Run value and the platform.
void ComposeMonitorCommandLine(ConfigDialog* dialog, LaunchPlatform* platform, char* options,
                               char* directory);

// The Run value's data (kLaunchTextRoom bytes); empty when there is none.
void ReadRunValue(LaunchPlatform* platform, char* text);
// Builds and stores the Run value; failures are shown as warnings.
void WriteRunValue(LaunchPlatform* platform, const char* options, const char* directory, bool hidden);
void DeleteRunValues(LaunchPlatform* platform);
void CloseRunningMonitors(LaunchPlatform* platform, uint32_t pauseMs);

// Closes the monitors and removes the Run values and the settings keys,
// showing nothing.
void RunUninstallMode(LaunchPlatform* platform, ConfigProgram* program);

// The confirm steps of the dialog: the Run value before the values are
// stored, then the monitor's restart.
class MonitorLauncher : public LaunchSteps {
 public:
  explicit MonitorLauncher(LaunchPlatform* platform) : platform_(platform) {}
  void AutostartStep(ConfigDialog* dialog) override;
  void RestartMonitor(ConfigDialog* dialog) override;

 private:
  LaunchPlatform* platform_;
};

#endif
