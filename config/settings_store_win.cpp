#include "settings_store_win.h"

#include <windows.h>

static_assert(kTextValue == REG_SZ, "text values are strings");
static_assert(kNumberValue == REG_DWORD, "number values are 32-bit numbers");

namespace {

const REGSAM kReadWrite = KEY_READ | KEY_WRITE;

HKEY Handle(RegistryKey key) { return key == kCurrentUserRoot ? HKEY_CURRENT_USER : reinterpret_cast<HKEY>(key); }
RegistryKey Key(HKEY handle) { return reinterpret_cast<RegistryKey>(handle); }

}  // namespace

bool Win32Registry::OpenKey(RegistryKey parent, const char* name, RegistryKey* key) {
  HKEY opened;
  if (RegOpenKeyExA(Handle(parent), name, 0, kReadWrite, &opened) != ERROR_SUCCESS) return false;
  *key = Key(opened);
  return true;
}

bool Win32Registry::CreateKey(RegistryKey parent, const char* name, RegistryKey* key) {
  HKEY created;
  DWORD disposition;
  if (RegCreateKeyExA(Handle(parent), name, 0, nullptr, REG_OPTION_NON_VOLATILE, kReadWrite, nullptr, &created,
                      &disposition) != ERROR_SUCCESS) {
    return false;
  }
  *key = Key(created);
  return true;
}

ReadResult Win32Registry::ReadValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data,
                                    uint32_t room, uint32_t* size) {
  DWORD valueType = REG_NONE;
  DWORD bytes = room;
  LONG result = RegQueryValueExA(Handle(key), name, nullptr, &valueType, data, &bytes);
  *type = valueType;
  *size = bytes;
  if (result == ERROR_SUCCESS && bytes <= room) return kValueRead;
  if (result == ERROR_MORE_DATA || result == ERROR_SUCCESS) return kValueTooLong;
  return kValueMissing;
}

bool Win32Registry::WriteValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                               uint32_t size) {
  return RegSetValueExA(Handle(key), name, 0, type, data, size) == ERROR_SUCCESS;
}

bool Win32Registry::DeleteKey(const char* path) { return RegDeleteKeyA(HKEY_CURRENT_USER, path) == ERROR_SUCCESS; }

void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(Handle(key)); }
