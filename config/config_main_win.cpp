// VelmoraConfig.exe: the configuration program's start-up.
#include <windows.h>

#include "config_win.h"
#include "launch_win.h"
#include "settings_store_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Win32Registry registry;
  Win32Launch platform;
  ConfigProgram program(&registry);
  // The dialog object first (not shown yet), then the names that place the
  // settings store.
  ConfigDialog dialog;
  MonitorLauncher launcher(&platform);
  dialog.SetLaunchSteps(&launcher);
  program.SetApplicationName(kApplicationName);
  program.SetRegistryKey(kRegistryKeyName);
  if (IsUninstallMode(GetCommandLineA()))
    RunUninstallMode(&platform, &program);
  else
    RunConfigDialog(instance, &dialog, &program);
  return 0;
}
