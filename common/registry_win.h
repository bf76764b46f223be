// The registry through advapi32, for every program that reaches it.
#ifndef VELMORA_COMMON_REGISTRY_WIN_H
#define VELMORA_COMMON_REGISTRY_WIN_H

#include "registry.h"

class Win32Registry : public Registry {
 public:
  RegResult OpenKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) override;
  RegResult CreateKey(RegistryKey parent, const char* path, uint32_t access, RegistryKey* key) override;
  RegResult ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) override;
  RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) override;
  RegResult DeleteValue(RegistryKey key, const char* name) override;
  RegResult DeleteKey(RegistryKey parent, const char* path) override;
  RegResult SubkeyAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override;
  RegResult ValueAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override;
  void CloseKey(RegistryKey key) override;
};

#endif
