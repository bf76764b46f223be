#include "uninstall_mode.h"

#include <string.h>

#include "names.h"
#include "program_name.h"

const char kUninstallArgument[] = "-uninstall";

bool IsUninstallMode(const char* commandLine) {
  return strcmp(SkipProgramName(commandLine), kUninstallArgument) == 0;
}

void RunUninstallMode(const Launcher& launcher, ConfigProgram* program) {
  CloseRunningMonitors(launcher.windows, kClosePauseMs);
  DeleteRunValues(launcher.runKeys, VELMORA_PRODUCT);
  RemoveSettingsKeys(program);
}
