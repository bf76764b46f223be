#include "settings_store.h"

#include <string.h>

#include "config_dialog.h"
#include "option_groups.h"
#include "resource.h"
#include "text.h"

const char kApplicationName[] = "Velmora";
const char kRegistryKeyName[] = "Velmora";
const char kSettingsSection[] = "Settings";
const char kOldVersionSection[] = "1.3";

namespace {

const char kSoftware[] = "Software";

// The values, by name.
const char kAutoStart[] = "AutoStart";
const char kRunHidden[] = "RunHidden";
const char kReachTarget[] = "ReachTarget";
const char kSound[] = "Sound";
const char kAlwaysFree[] = "AlwaysFree";
const char kUpdateInterval[] = "UpdateInterval";
const char kMemoryToFree[] = "MemoryToFree";
const char kMemoryToReach[] = "MemoryToReach";
const char kMemoryThreshold[] = "MemoryThreshold";

const char kYes[] = "Yes";
const char kNo[] = "No";

const uint32_t kAllBitsSet = 0xFFFFFFFFu;
const uint32_t kDefaultInterval = 5;

const OptionChoice kDisplayOthers[] = {
    {IDC_STYLE_GREEN, "Green"},   {IDC_STYLE_WHITE, "White"},   {IDC_STYLE_GRAPH1, "Graph1"},
    {IDC_STYLE_GRAPH2, "Graph2"}, {IDC_STYLE_GRAPH3, "Graph3"},
};
const OptionChoice kDefragmentOthers[] = {
    {IDC_DEFRAG_ALWAYS, "Always"},
    {IDC_DEFRAG_NEVER, "Never"},
};
const OptionChoice kDetailOthers[] = {
    {IDC_DETAIL_BYTES, "Bytes"},
};

// The radios as the defaults set them, in this order.
const struct {
  int radio;
  bool on;
} kDefaultRadios[] = {
    {IDC_STYLE_GREEN, false},   {IDC_STYLE_NORMAL, true},   {IDC_STYLE_WHITE, false},
    {IDC_STYLE_GRAPH1, false},  {IDC_STYLE_GRAPH2, false},  {IDC_STYLE_GRAPH3, false},
    {IDC_DEFRAG_LOW, true},     {IDC_DEFRAG_NEVER, false},  {IDC_DEFRAG_ALWAYS, false},
    {IDC_DETAIL_BYTES, false},  {IDC_DETAIL_MBYTES, true},
};

// Installed memory in whole MB above which a row applies, tried from the top.
const struct {
  uint32_t above;
  InstalledMemoryDefaults values;
} kInstalledMemoryTable[] = {
    {130, {28, 4}}, {98, {20, 4}}, {66, {16, 4}}, {42, {10, 4}}, {34, {8, 2}}, {18, {4, 2}},
};
const InstalledMemoryDefaults kSmallestMachine = {3, 1};

}  // namespace

const OptionGroup kDisplayStyleGroup = {"DisplayStyle", {IDC_STYLE_NORMAL, "Normal"}, kDisplayOthers, 5};
const OptionGroup kDefragmentGroup = {"Defragment", {IDC_DEFRAG_LOW, "Low"}, kDefragmentOthers, 2};
const OptionGroup kDetailStyleGroup = {"DetailStyle", {IDC_DETAIL_MBYTES, "MBytes"}, kDetailOthers, 1};

InstalledMemoryDefaults DefaultsForInstalledMemory(uint32_t totalPhysBytes) {
  uint32_t megabytes = totalPhysBytes >> 20;
  for (const auto& row : kInstalledMemoryTable) {
    if (megabytes > row.above) return row.values;
  }
  return kSmallestMachine;
}

// ---- The program object's primitives -----------------------------------

ConfigProgram::ConfigProgram(SettingsRegistry* registry) : registry_(registry) {
  appName_[0] = '\0';
  keyName_[0] = '\0';
  profileName_[0] = '\0';
}

void ConfigProgram::SetApplicationName(const char* name) { CopyText(appName_, sizeof appName_, name); }

void ConfigProgram::SetRegistryKey(const char* name) {
  CopyText(keyName_, sizeof keyName_, name);
  CopyText(profileName_, sizeof profileName_, appName_);
}

bool ConfigProgram::OpenSection(const char* section, RegistryKey keys[4], int* count) {
  *count = 0;
  if (!registry_->OpenKey(kCurrentUserRoot, kSoftware, &keys[0])) return false;
  *count = 1;
  const char* below[] = {keyName_, profileName_, section};
  for (const char* name : below) {
    if (!registry_->CreateKey(keys[*count - 1], name, &keys[*count])) return false;
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
  if (OpenSection(section, keys, &count)) {
    uint32_t type = 0;
    uint32_t size = 0;
    unsigned char* data = reinterpret_cast<unsigned char*>(out);
    ReadResult result = registry_->ReadValue(keys[3], name, &type, data, static_cast<uint32_t>(room), &size);
    // Data that fills the room without a terminator of its own is too long.
    if (result == kValueRead && size == room && out[room - 1] != '\0') result = kValueTooLong;
    if (result == kValueRead) {
      if (size < room) out[size] = '\0';
      length = strlen(out);
    } else {
      out[0] = '\0';
      if (result == kValueTooLong) length = size;
    }
  }
  CloseAll(keys, count);
  return length;
}

uint32_t ConfigProgram::ReadNumber(const char* section, const char* name, uint32_t fallback) {
  RegistryKey keys[4];
  int count;
  uint32_t value = fallback;
  if (OpenSection(section, keys, &count)) {
    uint32_t type = 0;
    uint32_t size = 0;
    unsigned char data[4];
    if (registry_->ReadValue(keys[3], name, &type, data, sizeof data, &size) == kValueRead &&
        type == kNumberValue && size == sizeof data) {
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
                 registry_->WriteValue(keys[3], name, kTextValue, reinterpret_cast<const unsigned char*>(text),
                                       static_cast<uint32_t>(strlen(text) + 1));
  CloseAll(keys, count);
  return written;
}

bool ConfigProgram::WriteNumber(const char* section, const char* name, uint32_t value) {
  const unsigned char data[4] = {static_cast<unsigned char>(value), static_cast<unsigned char>(value >> 8),
                                 static_cast<unsigned char>(value >> 16), static_cast<unsigned char>(value >> 24)};
  RegistryKey keys[4];
  int count;
  bool written = OpenSection(section, keys, &count) &&
                 registry_->WriteValue(keys[3], name, kNumberValue, data, sizeof data);
  CloseAll(keys, count);
  return written;
}

void RemoveSettingsKeys(ConfigProgram* program) {
  // Software\<key>\<application>\<section>, cut back one level per deletion.
  char path[sizeof kSoftware + 3 * kStoreNameRoom + 8];
  const char* levels[] = {program->KeyName(), program->ProfileName()};
  CopyText(path, sizeof path, kSoftware);
  for (const char* level : levels) {
    AppendText(path, sizeof path, "\\");
    AppendText(path, sizeof path, level);
  }
  size_t applicationEnd = strlen(path);
  const char* sections[] = {kOldVersionSection, kSettingsSection};
  for (const char* section : sections) {
    path[applicationEnd] = '\0';
    AppendText(path, sizeof path, "\\");
    AppendText(path, sizeof path, section);
    program->Registry()->DeleteKey(path);
  }
  path[applicationEnd] = '\0';
  for (int level = 0; level < 2; ++level) {
    program->Registry()->DeleteKey(path);
    *strrchr(path, '\\') = '\0';
  }
}

// ---- The dialog's settings operations -----------------------------------

namespace {

int32_t IsYes(const char* text) { return SameText(text, kYes) ? 1 : 0; }
const char* YesNo(int32_t flag) { return flag == 1 ? kYes : kNo; }

void LoadGroup(ConfigProgram* program, ControlSurface* surface, const OptionGroup& group) {
  char word[kSettingTextRoom];
  program->ReadText(kSettingsSection, group.valueName, word, sizeof word);
  int chosen = group.fallback.radio;
  for (int i = 0; i < group.otherCount; ++i) {
    if (SameText(word, group.others[i].name)) chosen = group.others[i].radio;
  }
  surface->SetButton(group.fallback.radio, chosen == group.fallback.radio);
  for (int i = 0; i < group.otherCount; ++i) surface->SetButton(group.others[i].radio, chosen == group.others[i].radio);
}

const char* ChosenName(ControlSurface* surface, const OptionGroup& group) {
  for (int i = 0; i < group.otherCount; ++i) {
    if (surface->IsButtonOn(group.others[i].radio)) return group.others[i].name;
  }
  return group.fallback.name;
}

}  // namespace

void ConfigDialog::SetDefaultSettings() {
  InstalledMemoryDefaults memory = DefaultsForInstalledMemory(surface_->TotalPhysicalMemory());
  MemoryToReach = 0;
  MemoryToFree = memory.memoryToFree;
  MemoryThreshold = memory.memoryThreshold;
  UpdateInterval = kDefaultInterval;
  for (const auto& radio : kDefaultRadios) surface_->SetButton(radio.radio, radio.on);
  AutoStart = 1;
  RunHidden = 0;
  Sound = 0;
  AlwaysFree = 0;
  FreeExtra = 1;
  ReachTarget = 0;
}

void ConfigDialog::LoadSettings() {
  char text[kSettingTextRoom];
  size_t marker = program->ReadText(kSettingsSection, kAutoStart, text, sizeof text);
  SetDefaultSettings();
  if (marker == 0) return;
  AutoStart = IsYes(text);

  program->ReadText(kSettingsSection, kRunHidden, text, sizeof text);
  RunHidden = IsYes(text);
  program->ReadText(kSettingsSection, kSound, text, sizeof text);
  Sound = IsYes(text);
  program->ReadText(kSettingsSection, kAlwaysFree, text, sizeof text);
  AlwaysFree = IsYes(text);

  // A number stored with all bits set reads like a missing one.
  const struct {
    const char* name;
    uint32_t* field;
    uint32_t whenMissing;
  } numbers[] = {
      {kUpdateInterval, &UpdateInterval, kDefaultInterval},
      {kMemoryToFree, &MemoryToFree, 0},
      {kMemoryToReach, &MemoryToReach, 0},
      {kMemoryThreshold, &MemoryThreshold, 0},
  };
  for (const auto& n : numbers) {
    uint32_t value = program->ReadNumber(kSettingsSection, n.name, kAllBitsSet);
    *n.field = value == kAllBitsSet ? n.whenMissing : value;
  }

  LoadGroup(program, surface_, kDisplayStyleGroup);
  program->ReadText(kSettingsSection, kReachTarget, text, sizeof text);
  ReachTarget = IsYes(text);
  FreeExtra = 1 - ReachTarget;
  LoadGroup(program, surface_, kDefragmentGroup);
  LoadGroup(program, surface_, kDetailStyleGroup);
}

void ConfigDialog::SaveSettings() {
  if (launch_ != nullptr) launch_->AutostartStep(this);
  program->WriteText(kSettingsSection, kAutoStart, YesNo(AutoStart));
  program->WriteText(kSettingsSection, kRunHidden, YesNo(RunHidden));
  program->WriteText(kSettingsSection, kReachTarget, YesNo(ReachTarget));
  program->WriteText(kSettingsSection, kSound, YesNo(Sound));
  program->WriteText(kSettingsSection, kAlwaysFree, YesNo(AlwaysFree));
  const OptionGroup* groups[] = {&kDisplayStyleGroup, &kDefragmentGroup, &kDetailStyleGroup};
  for (const OptionGroup* g : groups) program->WriteText(kSettingsSection, g->valueName, ChosenName(surface_, *g));
  program->WriteNumber(kSettingsSection, kUpdateInterval, UpdateInterval);
  program->WriteNumber(kSettingsSection, kMemoryToFree, MemoryToFree);
  program->WriteNumber(kSettingsSection, kMemoryToReach, MemoryToReach);
  program->WriteNumber(kSettingsSection, kMemoryThreshold, MemoryThreshold);
}
