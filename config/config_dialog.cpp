#include "config_dialog.h"

#include <string.h>

#include "resource.h"
#include "text_writer.h"

const char kMessageCaption[] = "Velmora";
const char kNotANumberMessage[] = "Please enter a positive integer.";
const char kRangeMessage[] = "Please enter an integer between %1 and %2.";
const char kRunHiddenMessage[] = "To select \"Run hidden\" you must specify non-zero memory values.";

namespace {

// The low four bits of a system command are the platform's own.
const uint32_t kSystemCommandMask = 0xFFF0u;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
// What strtoul skips before a number.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// strtoul in base 10 over the text: the value, and where the conversion
// stopped (the text itself when nothing was converted).
uint32_t StringToUnsigned(const char* text, const char** end) {
  const char* p = text;
  while (IsSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  if (*p < '0' || *p > '9') {
    *end = text;
    return 0;
  }
  uint32_t value = 0;
  bool overflow = false;
  for (; *p >= '0' && *p <= '9'; ++p) {
    uint32_t digit = static_cast<uint32_t>(*p - '0');
    if (value > (0xFFFFFFFFu - digit) / 10) overflow = true;
    value = value * 10 + digit;
  }
  *end = p;
  if (overflow) return 0xFFFFFFFFu;
  return negative ? 0u - value : value;
}

// The settings value that stores a group's word.
const char* GroupSetting(int group) { return kSettingNames[kDisplayStyleSetting + group]; }

const char kYes[] = "Yes";
const char kNo[] = "No";

const uint32_t kAllBitsSet = 0xFFFFFFFFu;
const uint32_t kDefaultInterval = 5;

int32_t IsYes(const char* text) { return strcmp(text, kYes) == 0 ? 1 : 0; }
const char* YesNo(int32_t flag) { return flag == 1 ? kYes : kNo; }

const Option* FindOption(int radio) {
  for (const Option& option : kOptions) {
    if (option.radio == radio) return &option;
  }
  return nullptr;
}

const Option& DefaultOption(OptionGroupId group) {
  const Option* found = kOptions;
  for (const Option& option : kOptions) {
    if (option.group == group && IsDefault(option)) found = &option;
  }
  return *found;
}

}  // namespace

bool ParseNumberField(const char* text, uint32_t* value) {
  char counted[kNumberTextRoom];
  CopyText(counted, sizeof counted, text);
  const char* p = counted;
  while (IsBlank(*p)) ++p;
  const char* end;
  uint32_t result = StringToUnsigned(p, &end);
  if (result == 0 && *p != '0') return false;
  while (IsBlank(*end)) ++end;
  if (*end != '\0') return false;
  *value = result;
  return true;
}

void FormatRangeMessage(char* out, size_t room, uint32_t minimum, uint32_t maximum) {
  if (room == 0) return;
  TextWriter w = TextWriter::Over(out, room);
  for (const char* p = kRangeMessage; *p != '\0'; ++p) {
    if (p[0] == '%' && (p[1] == '1' || p[1] == '2'))
      w.Number(*++p == '1' ? minimum : maximum);
    else
      w.Char(*p);
  }
  w.Finish();
}

ConfigDialog::ConfigDialog()
    : MemoryToFree(0),
      MemoryThreshold(0),
      UpdateInterval(0),
      AutoStart(1),
      program(nullptr),
      RunHidden(0),
      Sound(0),
      AlwaysFree(0),
      MemoryToReach(0),
      FreeExtra(0),
      ReachTarget(0),
      surface_(nullptr),
      launcher_{nullptr, nullptr, nullptr} {}

void ConfigDialog::ReportFailure(int id, const char* message) {
  surface_->ShowMessage(message, kMessageCaption);
  surface_->FocusEdit(id);
}

bool ConfigDialog::ExchangeNumber(int id, uint32_t* field) {
  char text[kNumberTextRoom];
  surface_->GetEditText(id, text, sizeof text);
  if (ParseNumberField(text, field)) return true;
  ReportFailure(id, kNotANumberMessage);
  return false;
}

bool ConfigDialog::CheckRange(int id, uint32_t value, uint32_t minimum, uint32_t maximum) {
  if (value >= minimum && value <= maximum) return true;
  char message[kMessageRoom];
  FormatRangeMessage(message, sizeof message, minimum, maximum);
  ReportFailure(id, message);
  return false;
}

int32_t ConfigDialog::Checked(int id) { return surface_->IsButtonOn(id) ? 1 : 0; }
void ConfigDialog::SetChecked(int id, int32_t flag) { surface_->SetButton(id, flag != 0); }

bool ConfigDialog::SaveExchange() {
  if (!ExchangeNumber(IDC_MEMORY_TO_FREE, &MemoryToFree)) return false;
  if (!ExchangeNumber(IDC_MEMORY_THRESHOLD, &MemoryThreshold)) return false;
  if (!ExchangeNumber(IDC_UPDATE_INTERVAL, &UpdateInterval)) return false;
  if (!CheckRange(IDC_UPDATE_INTERVAL, UpdateInterval, kMinUpdateInterval, kMaxUpdateInterval)) return false;
  AutoStart = Checked(IDC_AUTO_START);
  RunHidden = Checked(IDC_RUN_HIDDEN);
  Sound = Checked(IDC_SOUND);
  AlwaysFree = Checked(IDC_ALWAYS_FREE);
  if (!ExchangeNumber(IDC_MEMORY_TO_REACH, &MemoryToReach)) return false;
  FreeExtra = Checked(IDC_FREE_EXTRA);
  ReachTarget = Checked(IDC_REACH_TARGET);
  // Whole megabytes, measured anew each time; at least 1.
  uint32_t installed = surface_->TotalPhysicalMemory() >> 20;
  if (installed == 0) installed = 1;
  return CheckRange(IDC_MEMORY_TO_FREE, MemoryToFree, 0, installed) &&
         CheckRange(IDC_MEMORY_TO_REACH, MemoryToReach, 0, installed) &&
         CheckRange(IDC_MEMORY_THRESHOLD, MemoryThreshold, 0, installed);
}

void ConfigDialog::ShowNumber(int id, uint32_t value) {
  char text[12];
  TextWriter w = TextWriter::Over(text, sizeof text);
  w.Number(value);
  w.Finish();
  surface_->SetEditText(id, text);
}

void ConfigDialog::LoadExchange() {
  ShowNumber(IDC_MEMORY_TO_FREE, MemoryToFree);
  ShowNumber(IDC_MEMORY_THRESHOLD, MemoryThreshold);
  ShowNumber(IDC_UPDATE_INTERVAL, UpdateInterval);
  SetChecked(IDC_AUTO_START, AutoStart);
  SetChecked(IDC_RUN_HIDDEN, RunHidden);
  SetChecked(IDC_SOUND, Sound);
  SetChecked(IDC_ALWAYS_FREE, AlwaysFree);
  ShowNumber(IDC_MEMORY_TO_REACH, MemoryToReach);
  SetChecked(IDC_FREE_EXTRA, FreeExtra);
  SetChecked(IDC_REACH_TARGET, ReachTarget);
}

void ConfigDialog::FinishInitialisation(ConfigProgram* programObject) {
  program = programObject;
  LoadSettings();
  LoadExchange();
}

void ConfigDialog::Choose(const Option& chosen) {
  for (const Option& option : kOptions) {
    if (option.group == chosen.group) surface_->SetButton(option.radio, &option == &chosen);
  }
}

DialogAction ConfigDialog::OnOptionRadio(const Option& clicked) {
  bool saved = SaveExchange();
  // Whatever the exchange said, the clicked radio is its group's only one.
  Choose(clicked);
  if (!saved) return kDialogStays;
  if (clicked.graph) UpdateInterval = 1;
  LoadExchange();
  return kDialogStays;
}

DialogAction ConfigDialog::OnFreeChoice(int id) {
  if (!SaveExchange()) return kDialogStays;
  ReachTarget = id == IDC_REACH_TARGET ? 1 : 0;
  FreeExtra = 1 - ReachTarget;
  LoadExchange();
  return kDialogStays;
}

DialogAction ConfigDialog::OnRunHidden() {
  if (!SaveExchange()) return kDialogStays;
  if (RunHidden == 0) return kDialogStays;
  if (MemoryThreshold != 0 && (MemoryToFree != 0 || MemoryToReach != 0)) return kDialogStays;
  RunHidden = 0;
  LoadExchange();
  surface_->ShowMessage(kRunHiddenMessage, kMessageCaption);
  return kDialogStays;
}

// What OK does, in this order: take the controls in, keep the Run value up
// to date, store the twelve values, replace the running monitor, and end
// the dialog with a second exchange. The command line is composed once: the
// Run value's P token supplies the program directory, so with autostart off
// the old value must be gone first.
DialogAction ConfigDialog::Confirm() {
  if (!SaveExchange()) return kDialogStays;
  LaunchSettings launch = ForLaunch();
  char options[kLaunchTextRoom];
  char directory[kLaunchTextRoom];
  if (AutoStart != 1) TurnAutostartOff(launcher_.runKeys, launcher_.platform);
  ComposeMonitorCommandLine(launch, launcher_.platform, launcher_.runKeys, options, directory);
  if (AutoStart == 1) WriteRunValue(launcher_.runKeys, launcher_.platform, options, directory, launch.runHidden);
  SaveSettings();
  CloseRunningMonitors(launcher_.windows, kClosePauseMs);
  launcher_.windows->Pause(kStartPauseMs);
  StartChosenMonitor(launcher_.platform, options, directory, launch.runHidden);
  if (!SaveExchange()) return kDialogStays;
  return kDialogEndsOk;
}

DialogAction ConfigDialog::OnCommand(int id) {
  if (const Option* option = FindOption(id)) return OnOptionRadio(*option);
  switch (id) {
    case IDC_FREE_EXTRA:
    case IDC_REACH_TARGET: return OnFreeChoice(id);
    case IDC_RUN_HIDDEN: return OnRunHidden();
    case IDC_DEFAULT:
      SetDefaultSettings();
      LoadExchange();
      return kDialogStays;
    case IDC_SHOW_HELP: return kDialogShowsHelp;
    case IDC_DIALOG_OK: return Confirm();
    case IDC_DIALOG_CANCEL: return kDialogEndsCancel;
  }
  return kDialogDefault;
}

DialogAction ConfigDialog::OnSystemCommand(uint32_t id) {
  return (id & kSystemCommandMask) == IDM_ABOUT_ITEM ? kDialogShowsHelp : kDialogDefault;
}

// ---- The settings ----------------------------------------------------------

void ConfigDialog::SetDefaultSettings() {
  InstalledMemoryDefaults memory = DefaultsForInstalledMemory(surface_->TotalPhysicalMemory());
  MemoryToReach = 0;
  MemoryToFree = memory.memoryToFree;
  MemoryThreshold = memory.memoryThreshold;
  UpdateInterval = kDefaultInterval;
  for (int group = 0; group < kOptionGroupCount; ++group) Choose(DefaultOption(static_cast<OptionGroupId>(group)));
  AutoStart = 1;
  RunHidden = 0;
  Sound = 0;
  AlwaysFree = 0;
  FreeExtra = 1;
  ReachTarget = 0;
}

void ConfigDialog::LoadSettings() {
  char text[kSettingTextRoom];
  size_t marker = program->ReadText(kSettingsSection, kSettingNames[kAutoStartSetting], text, sizeof text);
  SetDefaultSettings();
  if (marker == 0) return;
  AutoStart = IsYes(text);

  const struct {
    SettingName name;
    int32_t* field;
  } flags[] = {{kRunHiddenSetting, &RunHidden}, {kSoundSetting, &Sound}, {kAlwaysFreeSetting, &AlwaysFree}};
  for (const auto& f : flags) {
    program->ReadText(kSettingsSection, kSettingNames[f.name], text, sizeof text);
    *f.field = IsYes(text);
  }

  // A number stored with all bits set reads like a missing one.
  const struct {
    SettingName name;
    uint32_t* field;
    uint32_t whenMissing;
  } numbers[] = {
      {kUpdateIntervalSetting, &UpdateInterval, kDefaultInterval},
      {kMemoryToFreeSetting, &MemoryToFree, 0},
      {kMemoryToReachSetting, &MemoryToReach, 0},
      {kMemoryThresholdSetting, &MemoryThreshold, 0},
  };
  for (const auto& n : numbers) {
    uint32_t value = program->ReadNumber(kSettingsSection, kSettingNames[n.name], kAllBitsSet);
    *n.field = value == kAllBitsSet ? n.whenMissing : value;
  }

  LoadOptionGroup(kDisplayStyle);
  program->ReadText(kSettingsSection, kSettingNames[kReachTargetSetting], text, sizeof text);
  ReachTarget = IsYes(text);
  FreeExtra = 1 - ReachTarget;
  LoadOptionGroup(kDefragment);
  LoadOptionGroup(kDetailStyle);
}

void ConfigDialog::LoadOptionGroup(OptionGroupId group) {
  char word[kSettingTextRoom];
  program->ReadText(kSettingsSection, GroupSetting(group), word, sizeof word);
  const Option* chosen = &DefaultOption(group);
  for (const Option& option : kOptions) {
    if (option.group == group && strcmp(word, option.word) == 0) chosen = &option;
  }
  Choose(*chosen);
}

const Option& ConfigDialog::StoredOption(OptionGroupId group) {
  const Option* stored = nullptr;
  for (const Option& option : kOptions) {
    if (option.group != group || IsDefault(option) || !surface_->IsButtonOn(option.radio)) continue;
    if (stored == nullptr || option.storeRank < stored->storeRank) stored = &option;
  }
  return stored != nullptr ? *stored : DefaultOption(group);
}

void ConfigDialog::SaveSettings() {
  const int32_t flags[] = {AutoStart, RunHidden, ReachTarget, Sound, AlwaysFree};
  for (int i = 0; i < kDisplayStyleSetting; ++i) program->WriteText(kSettingsSection, kSettingNames[i], YesNo(flags[i]));
  for (int group = 0; group < kOptionGroupCount; ++group)
    program->WriteText(kSettingsSection, GroupSetting(group), StoredOption(static_cast<OptionGroupId>(group)).word);
  const uint32_t numbers[] = {UpdateInterval, MemoryToFree, MemoryToReach, MemoryThreshold};
  for (int i = kUpdateIntervalSetting; i < kSettingCount; ++i)
    program->WriteNumber(kSettingsSection, kSettingNames[i], numbers[i - kUpdateIntervalSetting]);
}

LaunchSettings ConfigDialog::ForLaunch() {
  LaunchSettings launch = {UpdateInterval, MemoryToFree, MemoryToReach, MemoryThreshold,
                           ReachTarget == 1, Sound == 1,   AlwaysFree == 1, RunHidden == 1, {"", "", ""}};
  // The first option in the table's order whose radio is on gives the token.
  for (const Option& option : kOptions) {
    const char*& token = launch.tokens[option.group];
    if (token[0] == '\0' && surface_->IsButtonOn(option.radio)) token = option.token.text;
  }
  return launch;
}
