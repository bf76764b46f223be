#include "launch.h"

#include <string.h>

#include "names.h"
#include "text_writer.h"

const char kRunKeyMessage[] =
    "ERROR: Can't Open the \"Run\" Registry Key!\n(Velmora will not start when Windows starts.)";
const char kRunValueMessage[] = "Couldn't set \"Run\" value!";
const char kRunValueStaysMessage[] =
    "ERROR: Can't Delete the \"Run\" Registry Value!\n(Velmora will still start when Windows starts.)";

namespace {

// The P token: its letter, the quoted directory and the configuration
// program's file name.
const char kPathMarker[] = {' ', kConfigPathLetter, kValueMark, kPathQuote, '\0'};
const char kPathFile[] = "\\" VELMORA_CONFIG_FILE;
const size_t kPathTailLength = sizeof kPathFile - 1 + 1;  // the file and the closing quote
// Room for the directory, terminator included, is this less the options
// written before the P token: the whole line then stays within its room.
const size_t kDirectoryBudget = kCommandLineRoom - (sizeof kPathMarker - 1) - kPathTailLength;

void WriteFlagToken(TextWriter* w, char letter) {
  w->Char(' ');
  w->Char(letter);
}

void WriteNumberToken(TextWriter* w, char letter, uint32_t value) {
  WriteFlagToken(w, letter);
  w->Char(kValueMark);
  w->Number(value);
}

void WriteOptionTokens(const LaunchSettings& s, TextWriter* w) {
  if (s.updateInterval != kMonitorIntervalSeconds) WriteNumberToken(w, kIntervalLetter, s.updateInterval);
  if (s.reachTarget)
    WriteNumberToken(w, kReachTargetLetter, s.memoryToReach);
  else
    WriteNumberToken(w, kFreeAmountLetter, s.memoryToFree);
  if (s.memoryThreshold != 0) WriteNumberToken(w, kThresholdLetter, s.memoryThreshold);
  if (s.sound) WriteFlagToken(w, kSoundLetter);
  if (s.alwaysFree) WriteFlagToken(w, kKeepTryingLetter);
  for (const char* token : s.tokens) {
    if (token[0] == '\0') continue;
    w->Char(' ');
    w->Text(token);
  }
}

bool EndsWithBackslash(const char* text) {
  size_t n = strlen(text);
  return n > 0 && text[n - 1] == '\\';
}

// Writes the directory, a backslash unless it is empty or ends with one,
// and the monitor's file name.
void WriteMonitorPath(TextWriter* w, const char* directory, bool hidden) {
  w->Text(directory);
  if (directory[0] != '\0' && !EndsWithBackslash(directory)) w->Char('\\');
  w->Text(hidden ? VELMORA_HIDDEN_MONITOR_FILE : VELMORA_TRAY_MONITOR_FILE);
}

// Whether the monitor program is in this directory.
bool HoldsMonitor(LaunchPlatform* platform, const char* directory, bool hidden) {
  if (directory[0] == '\0') return false;
  char path[kLaunchTextRoom];
  TextWriter w = TextWriter::Over(path, sizeof path);
  WriteMonitorPath(&w, directory, hidden);
  return w.Finish() && platform->FileExists(path);
}

// The directory an earlier confirm recorded in the Run value's P token, when
// the value has one; false otherwise.
bool RecordedDirectory(Registry* runKeys, char* out) {
  char data[kLaunchTextRoom];
  ReadRunValue(runKeys, data);
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
void ChooseDirectory(LaunchPlatform* platform, Registry* runKeys, bool hidden, size_t room, char* out) {
  char recorded[kLaunchTextRoom] = "";
  char current[kLaunchTextRoom] = "";
  char own[kLaunchTextRoom] = "";
  bool haveRecorded = RecordedDirectory(runKeys, recorded) && strlen(recorded) < room;
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

void ComposeMonitorCommandLine(const LaunchSettings& settings, LaunchPlatform* platform, Registry* runKeys,
                               char* options, char* directory) {
  TextWriter w = TextWriter::Over(options, kLaunchTextRoom);
  WriteOptionTokens(settings, &w);
  size_t used = static_cast<size_t>(w.out - options);
  ChooseDirectory(platform, runKeys, settings.runHidden, kDirectoryBudget - used, directory);
  if (EndsWithBackslash(directory)) directory[strlen(directory) - 1] = '\0';
  w.Text(kPathMarker);
  w.Text(directory);
  w.Text(kPathFile);
  w.Char(kPathQuote);
  w.Finish();
}

RegResult ReadRunValue(Registry* runKeys, char* text) {
  text[0] = '\0';
  RegistryKey key;
  RegResult opened = runKeys->OpenKey(kLocalMachine, kRunKeyPath, kKeyRead, &key);
  if (opened != kRegDone) return opened;
  size_t length;
  RegResult read = ReadTextValue(runKeys, key, VELMORA_PRODUCT, text, kLaunchTextRoom, &length);
  runKeys->CloseKey(key);
  return read;
}

void WriteRunValue(Registry* runKeys, LaunchPlatform* platform, const char* options, const char* directory,
                   bool hidden) {
  char data[kLaunchTextRoom];
  TextWriter w = TextWriter::Over(data, sizeof data);
  w.Char('"');
  WriteMonitorPath(&w, directory, hidden);
  w.Char('"');
  w.Text(options);
  bool fits = w.Finish();
  RegistryKey key;
  if (runKeys->OpenKey(kLocalMachine, kRunKeyPath, kKeySetValue, &key) != kRegDone) {
    platform->ShowWarning(kRunKeyMessage);
    return;
  }
  // A value that would not fit its room is never written cut.
  if (!fits || runKeys->WriteValue(key, VELMORA_PRODUCT, kTextValue, data,
                                   static_cast<uint32_t>(w.out - data + 1)) != kRegDone)
    platform->ShowWarning(kRunValueMessage);
  runKeys->CloseKey(key);
}

void TurnAutostartOff(Registry* runKeys, LaunchPlatform* platform) {
  DeleteRunValues(runKeys, VELMORA_PRODUCT);
  char left[kLaunchTextRoom];
  RegResult read = ReadRunValue(runKeys, left);
  if (read == kRegDone || read == kRegTooLong) platform->ShowWarning(kRunValueStaysMessage);
}

void CloseRunningMonitors(WindowCloser* windows, uint32_t pauseMs) {
  CloseWindows(windows, kByTitle, VELMORA_PRODUCT, kMaxCloseRequests, pauseMs);
}

void StartChosenMonitor(LaunchPlatform* platform, const char* options, const char* directory, bool hidden) {
  char path[kLaunchTextRoom];
  TextWriter w = TextWriter::Over(path, sizeof path);
  WriteMonitorPath(&w, directory, hidden);
  if (w.Finish()) platform->StartProgram(path, options, directory);
}
