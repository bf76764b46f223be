#include "monitor_restart.h"

#include "monitor_command_line.h"

const char kMonitorTitle[] = "Velmora";

void CloseRunningMonitors(WindowCloser* windows, uint32_t pauseMs) {
  CloseWindows(windows, kByTitle, kMonitorTitle, kMaxCloseRequests, pauseMs);
}

void StartMonitor(LaunchPlatform* platform, const char* options, const char* directory, bool hidden) {
  char path[kLaunchTextRoom];
  TextWriter w = TextWriter::Over(path, sizeof path);
  WriteMonitorPath(&w, directory, hidden);
  if (w.Finish()) platform->StartProgram(path, options, directory);
}
