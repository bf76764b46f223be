#include "config_dialog.h"

#include "resource.h"
#include "text.h"

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

// The buttons that a click on an option radio turns off, in this order.
const struct {
  int radio;
  int off[5];
  int offCount;
  bool graph;  // a graph style: the interval becomes 1
} kRadioClicks[] = {
    {IDC_STYLE_NORMAL, {IDC_STYLE_GREEN, IDC_STYLE_WHITE, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH2, IDC_STYLE_GRAPH3}, 5, false},
    {IDC_STYLE_GREEN, {IDC_STYLE_NORMAL, IDC_STYLE_WHITE, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH2, IDC_STYLE_GRAPH3}, 5, false},
    {IDC_STYLE_WHITE, {IDC_STYLE_GREEN, IDC_STYLE_NORMAL, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH2, IDC_STYLE_GRAPH3}, 5, false},
    {IDC_STYLE_GRAPH1, {IDC_STYLE_GREEN, IDC_STYLE_WHITE, IDC_STYLE_NORMAL, IDC_STYLE_GRAPH2, IDC_STYLE_GRAPH3}, 5, true},
    {IDC_STYLE_GRAPH2, {IDC_STYLE_GREEN, IDC_STYLE_WHITE, IDC_STYLE_NORMAL, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH3}, 5, true},
    {IDC_STYLE_GRAPH3, {IDC_STYLE_GREEN, IDC_STYLE_WHITE, IDC_STYLE_NORMAL, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH2}, 5, true},
    {IDC_DETAIL_MBYTES, {IDC_DETAIL_BYTES}, 1, false},
    {IDC_DETAIL_BYTES, {IDC_DETAIL_MBYTES}, 1, false},
    {IDC_DEFRAG_LOW, {IDC_DEFRAG_NEVER, IDC_DEFRAG_ALWAYS}, 2, false},
    {IDC_DEFRAG_NEVER, {IDC_DEFRAG_LOW, IDC_DEFRAG_ALWAYS}, 2, false},
    {IDC_DEFRAG_ALWAYS, {IDC_DEFRAG_LOW, IDC_DEFRAG_NEVER}, 2, false},
};

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
  out[0] = '\0';
  for (const char* p = kRangeMessage; *p != '\0'; ++p) {
    if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
      AppendUnsigned(out, room, *++p == '1' ? minimum : maximum);
    } else {
      const char one[2] = {*p, '\0'};
      AppendText(out, room, one);
    }
  }
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
      launch_(nullptr) {}

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
  char text[12] = "";
  AppendUnsigned(text, sizeof text, value);
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

DialogAction ConfigDialog::OnOptionRadio(int id, const int* off, int offCount, bool graph) {
  bool saved = SaveExchange();
  // Whatever the exchange said, the clicked radio is its group's only one.
  surface_->SetButton(id, true);
  for (int i = 0; i < offCount; ++i) surface_->SetButton(off[i], false);
  if (!saved) return kDialogStays;
  if (graph) UpdateInterval = 1;
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

DialogAction ConfigDialog::Confirm() {
  if (!SaveExchange()) return kDialogStays;
  SaveSettings();
  if (launch_ != nullptr) launch_->RestartMonitor(this);
  // Ending with OK takes the controls in once more.
  if (!SaveExchange()) return kDialogStays;
  return kDialogEndsOk;
}

DialogAction ConfigDialog::OnCommand(int id) {
  for (const auto& click : kRadioClicks) {
    if (click.radio == id) return OnOptionRadio(id, click.off, click.offCount, click.graph);
  }
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
