#include "uninstall_mode.h"

#include <string.h>

#include "monitor_restart.h"
#include "program_name.h"
#include "run_value.h"

const char kUninstallArgument[] = "-uninstall";

bool IsUninstallMode(const char* commandLine) {
  return strcmp(SkipProgramName(commandLine), kUninstallArgument) == 0;
}

void RunUninstallMode(const Launcher& launcher, ConfigProgram* program) {
  CloseRunningMonitors(launcher.windows, kClosePauseMs);
  DeleteRunValues(launcher.runKeys);
  RemoveSettingsKeys(program);
}
