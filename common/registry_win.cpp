#include "registry_win.h"

#include <windows.h>

static_assert(kKeyRead == KEY_READ && kKeyWrite == KEY_WRITE, "read and write access");
static_assert(kKeySetValue == KEY_SET_VALUE && kKeyAllAccess == KEY_ALL_ACCESS, "set-value and all access");
static_assert(kTextValue == REG_SZ && kNumberValue == REG_DWORD, "value types");

namespace {

HKEY Native(RegistryKey key) {
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

RegResult Result(LONG status) {
  switch (status) {
    case ERROR_SUCCESS: return kRegDone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_ITEMS: return kRegNotFound;
    case ERROR_MORE_DATA: return kRegTooLong;
  }
  return kRegFailed;
}

RegResult Opened(LONG status, HKEY opened, RegistryKey* key) {
  if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegistryKey>(opened);
  return Result(status);
}

}  // namespace

RegResult Win32Registry::OpenKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) {
  HKEY opened = nullptr;
  LONG status = RegOpenKeyExA(Native(parent), path, 0, access, &opened);
  return Opened(status, opened, key);
}

RegResult Win32Registry::CreateKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) {
  HKEY created = nullptr;
  DWORD disposition;
  LONG status = RegCreateKeyExA(Native(parent), path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                                &created, &disposition);
  return Opened(status, created, key);
}

RegResult Win32Registry::ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) {
  DWORD valueType = REG_NONE;
  DWORD room = *size;
  DWORD bytes = room;
  LONG status = RegQueryValueExA(Native(key), name, nullptr, &valueType, static_cast<BYTE*>(data), &bytes);
  *type = valueType;
  *size = bytes;
  // Success with more than the room would be data we do not have.
  if (status == ERROR_SUCCESS && bytes > room) return kRegTooLong;
  return Result(status);
}

RegResult Win32Registry::WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data,
                                    uint32_t size) {
  return Result(RegSetValueExA(Native(key), name, 0, type, static_cast<const BYTE*>(data), size));
}

RegResult Win32Registry::DeleteValue(RegistryKey key, const char* name) {
  return Result(RegDeleteValueA(Native(key), name));
}

RegResult Win32Registry::DeleteKey(RegistryKey parent, const char* path) {
  return Result(RegDeleteKeyA(Native(parent), path));
}

RegResult Win32Registry::SubkeyAt(RegistryKey key, uint32_t index, char* name, uint32_t room) {
  // The class name is read with the same room and not used.
  char className[MAX_PATH];
  DWORD nameLength = room;
  DWORD classLength = sizeof className;
  FILETIME written;
  return Result(RegEnumKeyExA(Native(key), index, name, &nameLength, nullptr, className, &classLength, &written));
}

RegResult Win32Registry::ValueAt(RegistryKey key, uint32_t index, char* name, uint32_t room) {
  DWORD nameLength = room;
  DWORD type;
  return Result(RegEnumValueA(Native(key), index, name, &nameLength, nullptr, &type, nullptr, nullptr));
}

void Win32Registry::CloseKey(RegistryKey key) { RegCloseKey(Native(key)); }
