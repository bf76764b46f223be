// The settings store's registry: the current user's keys through advapi32.
#ifndef VELMORA_CONFIG_SETTINGS_STORE_WIN_H
#define VELMORA_CONFIG_SETTINGS_STORE_WIN_H

#include "settings_store.h"

class Win32Registry : public SettingsRegistry {
 public:
  bool OpenKey(RegistryKey parent, const char* name, RegistryKey* key) override;
  bool CreateKey(RegistryKey parent, const char* name, RegistryKey* key) override;
  ReadResult ReadValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data, uint32_t room,
                       uint32_t* size) override;
  bool WriteValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                  uint32_t size) override;
  bool DeleteKey(const char* path) override;
  void CloseKey(RegistryKey key) override;
};

#endif
