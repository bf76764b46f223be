#include "launch.h"

#include <string.h>

#include "program_name.h"
#include "resource.h"
#include "text.h"

const char kMonitorTitle[] = "Velmora";
const char kRunValueName[] = "Velmora";
const char kTrayMonitorFile[] = "Velmora.exe";
const char kHiddenMonitorFile[] = "VelmoraH.exe";
const char kRunKeyMessage[] =
    "ERROR: Can't Open the \"Run\" Registry Key!\n(Velmora will not start when Windows starts.)";
const char kRunValueMessage[] = "Couldn't set \"Run\" value!";
const char kUninstallArgument[] = "-uninstall";

namespace {

const char kPathMarker[] = " P=\"";
const char kPathTail[] = "\\VelmoraConfig.exe\"";
const size_t kPathTailLength = sizeof kPathTail - 1;  // 19
// Room for the directory, terminator included, is this less the options
// written before the P token: the whole line then stays within 259.
const size_t kDirectoryBudget = 237;

// The display token: the first of these radios that is on.
const struct {
  int radio;
  const char* token;
} kDisplayTokens[] = {
    {IDC_STYLE_GREEN, " LG"}, {IDC_STYLE_WHITE, " LW"}, {IDC_STYLE_GRAPH1, " G=1"},
    {IDC_STYLE_GRAPH2, " G=2"}, {IDC_STYLE_GRAPH3, " G=3"},
};

void AppendNumberToken(char* out, const char* prefix, uint32_t value) {
  AppendText(out, kLaunchTextRoom, prefix);
  AppendUnsigned(out, kLaunchTextRoom, value);
}

void AppendOptionTokens(ConfigDialog* d, char* out) {
  if (d->UpdateInterval != 5) AppendNumberToken(out, " U=", d->UpdateInterval);
  if (d->ReachTarget == 1)
    AppendNumberToken(out, " R=", d->MemoryToReach);
  else
    AppendNumberToken(out, " M=", d->MemoryToFree);
  if (d->MemoryThreshold != 0) AppendNumberToken(out, " T=", d->MemoryThreshold);
  if (d->Sound == 1) AppendText(out, kLaunchTextRoom, " S");
  if (d->AlwaysFree == 1) AppendText(out, kLaunchTextRoom, " A");
  for (const auto& t : kDisplayTokens) {
    if (d->IsOn(t.radio)) {
      AppendText(out, kLaunchTextRoom, t.token);
      break;
    }
  }
  if (d->IsOn(IDC_DEFRAG_NEVER))
    AppendText(out, kLaunchTextRoom, " D=N");
  else if (d->IsOn(IDC_DEFRAG_ALWAYS))
    AppendText(out, kLaunchTextRoom, " D=Y");
  if (d->IsOn(IDC_DETAIL_BYTES)) AppendText(out, kLaunchTextRoom, " B");
}

const char* MonitorFile(bool hidden) { return hidden ? kHiddenMonitorFile : kTrayMonitorFile; }

bool EndsWithBackslash(const char* text) {
  size_t n = strlen(text);
  return n > 0 && text[n - 1] == '\\';
}

// Appends directory, a backslash unless it is empty or ends with one, and
// file; false when that does not fit.
bool AppendPath(char* out, size_t room, const char* directory, const char* file) {
  return AppendText(out, room, directory) &&
         (directory[0] == '\0' || EndsWithBackslash(directory) || AppendText(out, room, "\\")) &&
         AppendText(out, room, file);
}

// Whether the monitor program is in this directory.
bool HoldsMonitor(LaunchPlatform* platform, const char* directory, bool hidden) {
  if (directory[0] == '\0') return false;
  char path[kLaunchTextRoom] = "";
  return AppendPath(path, sizeof path, directory, MonitorFile(hidden)) && platform->FileExists(path);
}

// The directory an earlier confirm recorded in the Run value's P token, when
// the value has one; false otherwise.
bool RecordedDirectory(LaunchPlatform* platform, char* out) {
  char data[kLaunchTextRoom];
  ReadRunValue(platform, data);
  const char* marker = strstr(data, kPathMarker);
  if (marker == nullptr) return false;
  CopyText(out, kLaunchTextRoom, marker + sizeof kPathMarker - 1);
  size_t n = strlen(out);
  if (n > kPathTailLength) out[n - kPathTailLength] = '\0';
  return true;
}

// The program directory: the one recorded in the Run value, else the
// current one, else this program's own, whichever first holds the monitor
// and fits room. When none does, the recorded or the current directory is
// used all the same (and the monitor's start fails).
void ChooseDirectory(LaunchPlatform* platform, bool hidden, size_t room, char* out) {
  char recorded[kLaunchTextRoom] = "";
  char current[kLaunchTextRoom] = "";
  char own[kLaunchTextRoom] = "";
  bool haveRecorded = RecordedDirectory(platform, recorded) && strlen(recorded) < room;
  bool haveCurrent = platform->CurrentDirectory(current, room);
  bool haveOwn = platform->ProgramDirectory(own, room);
  // Failing all three, the recorded directory, else the current one.
  const char* choice = haveRecorded ? recorded : haveCurrent ? current : "";
  const char* candidates[] = {haveRecorded ? recorded : nullptr, haveCurrent ? current : nullptr,
                              haveOwn ? own : nullptr};
  for (const char* candidate : candidates) {
    if (candidate != nullptr && HoldsMonitor(platform, candidate, hidden)) {
      choice = candidate;
      break;
    }
  }
  CopyText(out, kLaunchTextRoom, choice);
}

}  // namespace

bool IsUninstallMode(const char* commandLine) {
  return SameText(SkipProgramName(commandLine), kUninstallArgument);
}

void ComposeMonitorCommandLine(ConfigDialog* dialog, LaunchPlatform* platform, char* options,
                               char* directory) {
  options[0] = '\0';
  AppendOptionTokens(dialog, options);
  ChooseDirectory(platform, dialog->RunHidden == 1, kDirectoryBudget - strlen(options), directory);
  if (EndsWithBackslash(directory)) directory[strlen(directory) - 1] = '\0';
  AppendText(options, kLaunchTextRoom, kPathMarker);
  AppendText(options, kLaunchTextRoom, directory);
  AppendText(options, kLaunchTextRoom, kPathTail);
}

void ReadRunValue(LaunchPlatform* platform, char* text) {
  text[0] = '\0';
  RunKey key;
  if (!platform->OpenRunKey(kMachineRun, false, &key)) return;
  if (!platform->ReadRunData(key, kRunValueName, text, kLaunchTextRoom)) text[0] = '\0';
  platform->CloseRunKey(key);
}

void WriteRunValue(LaunchPlatform* platform, const char* options, const char* directory, bool hidden) {
  char data[kLaunchTextRoom] = "\"";
  bool fits = AppendPath(data, sizeof data, directory, MonitorFile(hidden)) && AppendText(data, sizeof data, "\"") &&
              AppendText(data, sizeof data, options);
  RunKey key;
  if (!platform->OpenRunKey(kMachineRun, true, &key)) {
    platform->ShowWarning(kRunKeyMessage);
    return;
  }
  // A value that would not fit its room is never written cut.
  if (!fits || !platform->WriteRunData(key, kRunValueName, data)) platform->ShowWarning(kRunValueMessage);
  platform->CloseRunKey(key);
}

void DeleteRunValues(LaunchPlatform* platform) {
  const RunRoot roots[] = {kMachineRun, kUserRun};
  for (RunRoot root : roots) {
    RunKey key;
    if (!platform->OpenRunKey(root, true, &key)) continue;
    platform->DeleteRunData(key, kRunValueName);
    platform->CloseRunKey(key);
  }
}

void CloseRunningMonitors(LaunchPlatform* platform, uint32_t pauseMs) {
  int count = 0;
  MonitorWindow window = platform->FindWindowByTitle(kMonitorTitle);
  while (window != 0 && count < kMaxCloseRequests) {
    ++count;
    platform->RequestClose(window);
    platform->Pause(pauseMs);
    window = platform->FindWindowByTitle(kMonitorTitle);
  }
}

void RunUninstallMode(LaunchPlatform* platform, ConfigProgram* program) {
  CloseRunningMonitors(platform, kClosePauseMs);
  DeleteRunValues(platform);
  RemoveSettingsKeys(program);
}

void MonitorLauncher::AutostartStep(ConfigDialog* dialog) {
  if (dialog->AutoStart != 1) {
    DeleteRunValues(platform_);
    return;
  }
  char options[kLaunchTextRoom];
  char directory[kLaunchTextRoom];
  ComposeMonitorCommandLine(dialog, platform_, options, directory);
  WriteRunValue(platform_, options, directory, dialog->RunHidden == 1);
}

void MonitorLauncher::RestartMonitor(ConfigDialog* dialog) {
  char options[kLaunchTextRoom];
  char directory[kLaunchTextRoom];
  ComposeMonitorCommandLine(dialog, platform_, options, directory);
  char path[kLaunchTextRoom] = "";
  bool fits = AppendPath(path, sizeof path, directory, MonitorFile(dialog->RunHidden == 1));
  CloseRunningMonitors(platform_, kClosePauseMs);
  platform_->Pause(kStartPauseMs);
  if (fits) platform_->StartProgram(path, options, directory);
}
