// The settings store: twelve values under the current user's key
// Software\<registry-key name>\<application name>\Settings, reached through
// four primitives of the program object. Every primitive opens (or creates)
// the key chain level by level, does its one read or write and closes every
// key again.
#ifndef VELMORA_CONFIG_SETTINGS_STORE_H
#define VELMORA_CONFIG_SETTINGS_STORE_H

#include <stddef.h>
#include <stdint.h>

#include "registry.h"

const size_t kStoreNameRoom = 64;  // application and registry-key names
const size_t kSettingTextRoom = 64;  // a text setting as read, NUL included

extern const char kApplicationName[];  // the product's name
extern const char kRegistryKeyName[];  // the vendor's
extern const char kSettingsSection[];  // "Settings"
extern const char kOldVersionSection[];  // "1.3", only ever deleted

// The section's twelve values, in the order in which saving writes them:
// five Yes or No texts, the option groups' words, four numbers.
enum SettingName {
  kAutoStartSetting, kRunHiddenSetting, kReachTargetSetting, kSoundSetting, kAlwaysFreeSetting,
  kDisplayStyleSetting, kDefragmentSetting, kDetailStyleSetting,
  kUpdateIntervalSetting, kMemoryToFreeSetting, kMemoryToReachSetting, kMemoryThresholdSetting,
  kSettingCount
};
extern const char* const kSettingNames[kSettingCount];

// The program object as far as the store is concerned.
class ConfigProgram {
 public:
  explicit ConfigProgram(Registry* registry);

  void SetApplicationName(const char* name);
  // The store's path takes the application name as it is at this call.
  void SetRegistryKey(const char* name);

  // The text of a value into out (always terminated); returns the length of
  // the stored text, which is 0 when the value or a key cannot be read. A
  // text longer than the room reads as an empty out with its stored length.
  size_t ReadText(const char* section, const char* name, char* out, size_t room);
  // The stored 32-bit number, or the fallback when a key or the value
  // cannot be read or the value is not a 4-byte number.
  uint32_t ReadNumber(const char* section, const char* name, uint32_t fallback);
  bool WriteText(const char* section, const char* name, const char* text);
  bool WriteNumber(const char* section, const char* name, uint32_t value);

  Registry* Store() const { return registry_; }
  const char* KeyName() const { return keyName_; }
  const char* ProfileName() const { return profileName_; }

 private:
  // Opens the chain down to the section; keys[0..*count) are then open and
  // the last one is the section's when the result is true.
  bool OpenSection(const char* section, RegistryKey keys[4], int* count);
  void CloseAll(RegistryKey keys[4], int count);

  Registry* registry_;
  char appName_[kStoreNameRoom];
  char keyName_[kStoreNameRoom];
  char profileName_[kStoreNameRoom];
};

// Deletes the old-version key, the section, the application key and the
// registry-key key, in this order; a deletion that fails is passed over.
void RemoveSettingsKeys(ConfigProgram* program);

// MemoryToFree and MemoryThreshold for a machine with this much physical
// memory in bytes.
struct InstalledMemoryDefaults {
  uint32_t memoryToFree;
  uint32_t memoryThreshold;
};
InstalledMemoryDefaults DefaultsForInstalledMemory(uint32_t totalPhysBytes);

#endif
