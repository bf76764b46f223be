// The registry as every program of the suite reaches it: one small
// interface over the platform's keys and values, with the platform's own
// numbers for access rights and value types (each checked by the shell).
#ifndef VELMORA_COMMON_REGISTRY_H
#define VELMORA_COMMON_REGISTRY_H

#include <stddef.h>
#include <stdint.h>

// An open key, or one of the two root keys.
typedef uintptr_t RegistryKey;
const RegistryKey kCurrentUser = 0x80000001u;   // HKEY_CURRENT_USER
const RegistryKey kLocalMachine = 0x80000002u;  // HKEY_LOCAL_MACHINE

// Access rights.
const uint32_t kKeyRead = 0x20019;        // KEY_READ
const uint32_t kKeyWrite = 0x20006;       // KEY_WRITE
const uint32_t kKeySetValue = 0x0002;     // KEY_SET_VALUE
const uint32_t kKeyAllAccess = 0xF003F;   // KEY_ALL_ACCESS

// Value types.
const uint32_t kTextValue = 1;    // REG_SZ: a string, its terminating NUL counted
const uint32_t kNumberValue = 4;  // REG_DWORD: a 32-bit little-endian number

// What a registry request came to.
enum RegResult {
  kRegDone,      // opened, read, written, deleted
  kRegNotFound,  // no such key or value; no entry at that index
  kRegTooLong,   // it is there, but its data or name does not fit the room
  kRegFailed     // anything else (access denied, not empty, ...)
};

class Registry {
 public:
  // Opens the key at path below parent.
  virtual RegResult OpenKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) = 0;
  // Opens it, creating it first when it is missing.
  virtual RegResult CreateKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) = 0;
  // A value's type and data; *size is the room on the way in and the data's
  // length on the way out. The room is undefined after kRegTooLong.
  virtual RegResult ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) = 0;
  virtual RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data,
                               uint32_t size) = 0;
  virtual RegResult DeleteValue(RegistryKey key, const char* name) = 0;
  // Deletes a key without subkeys; its values go with it.
  virtual RegResult DeleteKey(RegistryKey parent, const char* path) = 0;
  // The name of the subkey or value at index, NUL-terminated within room.
  virtual RegResult SubkeyAt(RegistryKey key, uint32_t index, char* name, uint32_t room) = 0;
  virtual RegResult ValueAt(RegistryKey key, uint32_t index, char* name, uint32_t room) = 0;
  virtual void CloseKey(RegistryKey key) = 0;

 protected:
  ~Registry() = default;
};

// Where Windows keeps what it starts at log-on, below either root.
extern const char kRunKeyPath[];  // "Software\Microsoft\Windows\CurrentVersion\Run"

// Deletes the value name from the machine's Run key and then from the
// current user's; a key that cannot be opened, or a value that is not
// there, is passed over.
void DeleteRunValues(Registry* registry, const char* name);

// A value's text into out (room bytes, always terminated), whatever its
// type. Data that does not fit, with or without its own NUL, reads as an
// empty text and kRegTooLong; *length is then the stored length, else the
// length of the text read (0 when the value cannot be read).
RegResult ReadTextValue(Registry* registry, RegistryKey key, const char* name, char* out, size_t room,
                        size_t* length);

#endif
