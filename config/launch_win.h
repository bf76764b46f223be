// Launching through the real platform: the current and the program's own
// directory, the start of a monitor and the Run value's warnings.
#ifndef VELMORA_CONFIG_LAUNCH_WIN_H
#define VELMORA_CONFIG_LAUNCH_WIN_H

#include <windows.h>

#include "launch.h"

// Room for this program's full file name and one byte more, so that a name
// the platform had to cut shows.
const size_t kProgramPathRoom = MAX_PATH + 1;
// This program's full file name into path (kProgramPathRoom bytes); false
// when it cannot be had whole.
bool ProgramPath(char* path);

class Win32Launch : public LaunchPlatform {
 public:
  bool CurrentDirectory(char* dir, size_t room) override;
  bool ProgramDirectory(char* dir, size_t room) override;
  bool FileExists(const char* path) override;
  void StartProgram(const char* path, const char* parameters, const char* directory) override;
  void ShowWarning(const char* text) override;
};

#endif
