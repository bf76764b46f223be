#include "run_value.h"

#include "monitor_command_line.h"

const char kRunValueName[] = "Velmora";
const char kRunKeyMessage[] =
    "ERROR: Can't Open the \"Run\" Registry Key!\n(Velmora will not start when Windows starts.)";
const char kRunValueMessage[] = "Couldn't set \"Run\" value!";

void ReadRunValue(Registry* runKeys, char* text) {
  text[0] = '\0';
  RegistryKey key;
  if (runKeys->OpenKey(kLocalMachine, kRunKeyPath, kKeyRead, &key) != kRegDone) return;
  size_t length;
  ReadTextValue(runKeys, key, kRunValueName, text, kLaunchTextRoom, &length);
  runKeys->CloseKey(key);
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
  if (!fits || runKeys->WriteValue(key, kRunValueName, kTextValue, data,
                                   static_cast<uint32_t>(w.out - data + 1)) != kRegDone)
    platform->ShowWarning(kRunValueMessage);
  runKeys->CloseKey(key);
}

void DeleteRunValues(Registry* runKeys) {
  const RegistryKey roots[] = {kLocalMachine, kCurrentUser};
  for (RegistryKey root : roots) {
    RegistryKey key;
    if (runKeys->OpenKey(root, kRunKeyPath, kKeySetValue, &key) != kRegDone) continue;
    runKeys->DeleteValue(key, kRunValueName);
    runKeys->CloseKey(key);
  }
}
