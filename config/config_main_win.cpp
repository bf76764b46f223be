// VelmoraConfig.exe: the configuration program's start-up.
#include <windows.h>

#include "config_win.h"
#include "settings_store_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Win32Registry registry;
  ConfigProgram program(&registry);
  // The dialog object first (not shown yet), then the names that place the
  // settings store.
  ConfigDialog dialog;
  program.SetApplicationName(kApplicationName);
  program.SetRegistryKey(kRegistryKeyName);
  RunConfigDialog(instance, &dialog, &program);
  return 0;
}
