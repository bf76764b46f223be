#include "settings_store.h"

#include <string.h>

#include "names.h"
#include "text_writer.h"

const char kApplicationName[] = VELMORA_PRODUCT;
const char kRegistryKeyName[] = VELMORA_VENDOR;
const char kSettingsSection[] = "Settings";
const char kOldVersionSection[] = "1.3";
const char* const kSettingNames[kSettingCount] = {
    "AutoStart",    "RunHidden",  "ReachTarget", "Sound",          "AlwaysFree",    "DisplayStyle",
    "Defragment",   "DetailStyle", "UpdateInterval", "MemoryToFree", "MemoryToReach", "MemoryThreshold"};

namespace {

const char kSoftware[] = "Software";
// Every level of the store's chain is opened for reading and writing.
const uint32_t kReadWrite = kKeyRead | kKeyWrite;

// Installed memory in whole MB above which a row applies, tried from the top.
const struct {
  uint32_t above;
  InstalledMemoryDefaults values;
} kInstalledMemoryTable[] = {
    {130, {28, 4}}, {98, {20, 4}}, {66, {16, 4}}, {42, {10, 4}}, {34, {8, 2}}, {18, {4, 2}},
};
const InstalledMemoryDefaults kSmallestMachine = {3, 1};

}  // namespace

InstalledMemoryDefaults DefaultsForInstalledMemory(uint32_t totalPhysBytes) {
  uint32_t megabytes = totalPhysBytes >> 20;
  for (const auto& row : kInstalledMemoryTable) {
    if (megabytes > row.above) return row.values;
  }
  return kSmallestMachine;
}

// ---- The program object's primitives -----------------------------------

ConfigProgram::ConfigProgram(Registry* registry) : registry_(registry), appName_(), keyName_(), profileName_() {}

void ConfigProgram::SetApplicationName(const char* name) { CopyText(appName_, sizeof appName_, name); }

void ConfigProgram::SetRegistryKey(const char* name) {
  CopyText(keyName_, sizeof keyName_, name);
  CopyText(profileName_, sizeof profileName_, appName_);
}

bool ConfigProgram::OpenSection(const char* section, RegistryKey keys[4], int* count) {
  *count = 0;
  if (registry_->OpenKey(kCurrentUser, kSoftware, kReadWrite, &keys[0]) != kRegDone) return false;
  *count = 1;
  const char* below[] = {keyName_, profileName_, section};
  for (const char* name : below) {
    if (registry_->CreateKey(keys[*count - 1], name, kReadWrite, &keys[*count]) != kRegDone) return false;
    ++*count;
  }
  return true;
}

void ConfigProgram::CloseAll(RegistryKey keys[4], int count) {
  while (count > 0) registry_->CloseKey(keys[--count]);
}

size_t ConfigProgram::ReadText(const char* section, const char* name, char* out, size_t room) {
  if (room == 0) return 0;
  out[0] = '\0';
  RegistryKey keys[4];
  int count;
  size_t length = 0;
  if (OpenSection(section, keys, &count)) ReadTextValue(registry_, keys[3], name, out, room, &length);
  CloseAll(keys, count);
  return length;
}

uint32_t ConfigProgram::ReadNumber(const char* section, const char* name, uint32_t fallback) {
  RegistryKey keys[4];
  int count;
  uint32_t value = fallback;
  if (OpenSection(section, keys, &count)) {
    uint32_t type = 0;
    unsigned char data[4];
    uint32_t size = sizeof data;
    if (registry_->ReadValue(keys[3], name, &type, data, &size) == kRegDone && type == kNumberValue &&
        size == sizeof data) {
      value = data[0] | static_cast<uint32_t>(data[1]) << 8 | static_cast<uint32_t>(data[2]) << 16 |
              static_cast<uint32_t>(data[3]) << 24;
    }
  }
  CloseAll(keys, count);
  return value;
}

bool ConfigProgram::WriteText(const char* section, const char* name, const char* text) {
  RegistryKey keys[4];
  int count;
  bool written = OpenSection(section, keys, &count) &&
                 registry_->WriteValue(keys[3], name, kTextValue, text, static_cast<uint32_t>(strlen(text) + 1)) ==
                     kRegDone;
  CloseAll(keys, count);
  return written;
}

bool ConfigProgram::WriteNumber(const char* section, const char* name, uint32_t value) {
  const unsigned char data[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                 static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  RegistryKey keys[4];
  int count;
  bool written =
      OpenSection(section, keys, &count) && registry_->WriteValue(keys[3], name, kNumberValue, data, sizeof data) == kRegDone;
  CloseAll(keys, count);
  return written;
}

void RemoveSettingsKeys(ConfigProgram* program) {
  // Software\<key>\<application>\<section>, cut back one level per deletion.
  char path[sizeof kSoftware + 3 * kStoreNameRoom + 8];
  TextWriter w = TextWriter::Over(path, sizeof path);
  w.Text(kSoftware);
  w.Char('\\');
  w.Text(program->KeyName());
  w.Char('\\');
  w.Text(program->ProfileName());
  char* applicationEnd = w.out;
  const char* sections[] = {kOldVersionSection, kSettingsSection};
  for (const char* section : sections) {
    w.out = applicationEnd;
    w.Char('\\');
    w.Text(section);
    w.Finish();
    program->Store()->DeleteKey(kCurrentUser, path);
  }
  *applicationEnd = '\0';
  for (int level = 0; level < 2; ++level) {
    program->Store()->DeleteKey(kCurrentUser, path);
    *strrchr(path, '\\') = '\0';
  }
}
