// VelmoraConfig.exe: the configuration program's start-up.
#include <windows.h>

#include "config_win.h"
#include "launch_win.h"
#include "registry_win.h"
#include "uninstall_mode.h"
#include "window_closer_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  Win32Registry registry;
  Win32Launch platform;
  Win32WindowCloser windows;
  const Launcher launcher = {&platform, &windows, &registry};
  ConfigProgram program(&registry);
  // The dialog object first (not shown yet), then the names that place the
  // settings store.
  ConfigDialog dialog;
  dialog.SetLauncher(launcher);
  program.SetApplicationName(kApplicationName);
  program.SetRegistryKey(kRegistryKeyName);
  if (IsUninstallMode(GetCommandLineA()))
    RunUninstallMode(launcher, &program);
  else
    RunConfigDialog(instance, &dialog, &program);
  return 0;
}
