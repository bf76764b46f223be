// Launching through the real platform: window lookup and close requests,
// the Run keys, the current and the program's own directory, and the start
// of a monitor.
#ifndef VELMORA_CONFIG_LAUNCH_WIN_H
#define VELMORA_CONFIG_LAUNCH_WIN_H

#include "launch.h"

class Win32Launch : public LaunchPlatform {
 public:
  MonitorWindow FindWindowByTitle(const char* title) override;
  void RequestClose(MonitorWindow window) override;
  void Pause(uint32_t milliseconds) override;
  bool CurrentDirectory(char* dir, size_t room) override;
  bool ProgramDirectory(char* dir, size_t room) override;
  bool FileExists(const char* path) override;
  void StartProgram(const char* path, const char* parameters, const char* directory) override;
  void ShowWarning(const char* text) override;
  bool OpenRunKey(RunRoot root, bool forWriting, RunKey* key) override;
  bool ReadRunData(RunKey key, const char* name, char* data, size_t room) override;
  bool WriteRunData(RunKey key, const char* name, const char* text) override;
  bool DeleteRunData(RunKey key, const char* name) override;
  void CloseRunKey(RunKey key) override;
};

#endif
