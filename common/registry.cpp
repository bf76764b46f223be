#include "registry.h"

#include <string.h>

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

void DeleteRunValues(Registry* registry, const char* name) {
  const RegistryKey roots[] = {kLocalMachine, kCurrentUser};
  for (RegistryKey root : roots) {
    RegistryKey run;
    if (registry->OpenKey(root, kRunKeyPath, kKeySetValue, &run) != kRegDone) continue;
    registry->DeleteValue(run, name);
    registry->CloseKey(run);
  }
}

RegResult ReadTextValue(Registry* registry, RegistryKey key, const char* name, char* out, size_t room,
                        size_t* length) {
  uint32_t type = 0;
  uint32_t size = static_cast<uint32_t>(room);
  RegResult result = registry->ReadValue(key, name, &type, out, &size);
  // Data that fills the room without a terminator of its own is too long.
  if (result == kRegDone && size == room && out[room - 1] != '\0') result = kRegTooLong;
  *length = 0;
  if (result == kRegDone) {
    if (size < room) out[size] = '\0';
    *length = strlen(out);
  } else {
    out[0] = '\0';
    if (result == kRegTooLong) *length = size;
  }
  return result;
}
