// The configuration dialog as a model: its fields, the two data exchanges
// between fields and controls with their validation, the option groups, the
// settings' defaults, loading and saving, and one handler per clickable
// control, OK's whole confirm sequence among them. It sees its controls only
// through the control surface and launches through the launcher; what the
// window system must do next (show the help page, end the dialog) is
// returned to the shell.
#ifndef VELMORA_CONFIG_CONFIG_DIALOG_H
#define VELMORA_CONFIG_CONFIG_DIALOG_H

#include <stddef.h>
#include <stdint.h>

#include "launch.h"
#include "option_groups.h"
#include "settings_store.h"

// What the dialog needs of its controls and of the machine.
class ControlSurface {
 public:
  // Copies at most room - 1 bytes of the edit's text and a NUL.
  virtual void GetEditText(int id, char* text, size_t room) = 0;
  virtual void SetEditText(int id, const char* text) = 0;
  virtual bool IsButtonOn(int id) = 0;
  virtual void SetButton(int id, bool on) = 0;
  // Focuses the edit with all of its text selected.
  virtual void FocusEdit(int id) = 0;
  // A box owned by the dialog: text, caption, exclamation icon, one OK
  // button; returns when it is dismissed.
  virtual void ShowMessage(const char* text, const char* caption) = 0;
  virtual uint32_t TotalPhysicalMemory() = 0;

 protected:
  ~ControlSurface() = default;
};

// What the shell does after a notification.
enum DialogAction {
  kDialogStays,       // handled; the dialog stays open
  kDialogShowsHelp,   // run the help page modally
  kDialogEndsOk,      // end the dialog with OK
  kDialogEndsCancel,  // end the dialog with Cancel
  kDialogDefault,     // not ours: the platform's default handling
};

extern const char kMessageCaption[];      // "Velmora"
extern const char kNotANumberMessage[];   // the number rule's message
extern const char kRangeMessage[];        // with %1 and %2
extern const char kRunHiddenMessage[];    // the run-hidden rule's message

const uint32_t kMinUpdateInterval = 1;
const uint32_t kMaxUpdateInterval = 600;
const size_t kMessageRoom = 96;
// An edit's text as the number rule sees it: 31 bytes and a NUL.
const size_t kNumberTextRoom = 32;

// The number rule: the edit's text to an unsigned 32-bit value, as strtoul
// in base 10 reads it, with blanks before and after; false when the text is
// no number.
bool ParseNumberField(const char* text, uint32_t* value);
// "Please enter an integer between <min> and <max>." into out.
void FormatRangeMessage(char* out, size_t room, uint32_t minimum, uint32_t maximum);

class ConfigDialog {
 public:
  ConfigDialog();

  // Fields, in the dialog's order. Numbers are unsigned, flags 0 or 1.
  uint32_t MemoryToFree;
  uint32_t MemoryThreshold;
  uint32_t UpdateInterval;
  int32_t AutoStart;
  ConfigProgram* program;
  int32_t RunHidden;
  int32_t Sound;
  int32_t AlwaysFree;
  uint32_t MemoryToReach;
  int32_t FreeExtra;
  int32_t ReachTarget;

  // The controls, from the dialog's creation on.
  void Attach(ControlSurface* surface) { surface_ = surface; }
  // What confirming restarts the monitor with.
  void SetLauncher(const Launcher& launcher) { launcher_ = launcher; }

  // Controls to fields with validation: false after the first failure has
  // been shown and its edit focused.
  bool SaveExchange();
  // Fields to edits and checkboxes.
  void LoadExchange();

  // The dialog's initialisation around the shell's own set-up: the first
  // load exchange before it, then the program reference, the stored
  // settings and a load exchange after it.
  void BeginInitialisation() { LoadExchange(); }
  void FinishInitialisation(ConfigProgram* programObject);

  // A click (or Enter, Escape, the close box) on control id.
  DialogAction OnCommand(int id);
  // A system-menu command.
  DialogAction OnSystemCommand(uint32_t id);

  // The settings operations: the defaults, and the exchanges with the
  // store. Saving writes the twelve values and nothing else.
  void SetDefaultSettings();
  void LoadSettings();
  void SaveSettings();

  // What launching a monitor takes from the fields and the option groups.
  LaunchSettings ForLaunch();

 private:
  bool ExchangeNumber(int id, uint32_t* field);
  bool CheckRange(int id, uint32_t value, uint32_t minimum, uint32_t maximum);
  void ReportFailure(int id, const char* message);
  int32_t Checked(int id);
  void SetChecked(int id, int32_t flag);
  void ShowNumber(int id, uint32_t value);
  // Turns the option on and every other radio of its group off.
  void Choose(const Option& chosen);
  // The radio of the stored word on, any other word choosing the default.
  void LoadOptionGroup(OptionGroupId group);
  // The option of the group that saving stores.
  const Option& StoredOption(OptionGroupId group);
  DialogAction OnOptionRadio(const Option& clicked);
  DialogAction OnFreeChoice(int id);
  DialogAction OnRunHidden();
  DialogAction Confirm();

  ControlSurface* surface_;
  Launcher launcher_;
};

#endif
