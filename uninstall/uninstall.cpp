#include "uninstall.h"

#include <string.h>

#include "program_name.h"
#include "text_writer.h"

const char kWarningCaption[] = "Unable to remove Registry Key";

namespace {

const char kSoftwarePrefix[] = "Software\\";
const char kWarningLine[] = "WARNING: Registry entries could not be removed.\n\n";
const char kContinueLine[] = "The uninstall process will continue anyway.\n\n";
const char kFailedKeyLine[] = "The failed Registry key is:\n\nHKEY_CURRENT_USER\\";

// The longest key path always fits in the warning.
static_assert(sizeof kWarningLine + sizeof kContinueLine + sizeof kFailedKeyLine - 3 +
                      kKeyPathRoom <= kWarningRoom,
              "warning room");

// One argument as it stands in the command line.
struct Span {
  const char* text;
  size_t length;
};

// The next blank-separated argument; a quoted one runs to the next quote
// (or the end of the line) and leaves its quotes behind.
bool NextArgument(const char** cursor, Span* arg) {
  const char* p = *cursor;
  while (*p == ' ') ++p;
  if (*p == '\0') {
    *cursor = p;
    return false;
  }
  if (*p == '"') {
    arg->text = ++p;
    while (*p != '\0' && *p != '"') ++p;
    arg->length = static_cast<size_t>(p - arg->text);
    if (*p == '"') ++p;
  } else {
    arg->text = p;
    while (*p != '\0' && *p != ' ') ++p;
    arg->length = static_cast<size_t>(p - arg->text);
  }
  *cursor = p;
  return true;
}

// A name is taken whole or not at all: a shortened name would pick
// another key.
bool CopyName(const Span& arg, char* out, size_t room) {
  if (arg.length == 0 || arg.length >= room) return false;
  memcpy(out, arg.text, arg.length);
  out[arg.length] = '\0';
  return true;
}

// Judged by the first character alone, case counts.
bool ReadSwitch(const Span& arg, bool* on) {
  if (arg.length == 0) return false;
  if (arg.text[0] != 'Y' && arg.text[0] != 'N') return false;
  *on = arg.text[0] == 'Y';
  return true;
}

// Two backslashes in a row, or one at the end, make an empty key name that
// the registry passes over: "Software\" + "\" would be Software itself.
// The path starts with "Software\", so a name at its start is never empty.
bool NamesEveryKey(const char* path) { return path[strlen(path) - 1] != '\\' && strstr(path, "\\\\") == nullptr; }

RegResult RemoveKey(Registry* registry, RegistryKey parent, const char* subkey);

// Entries are asked for at the index just past those that stayed (0 at
// first): each one deleted moves the next one down to that index, each one
// that stays is passed over from then on, so no entry is asked for again
// and again. An entry that was listed but is not found by the name read
// back (a name the ANSI code page cannot hold), or whose name does not
// fit, stays too.
void RemoveEntries(Registry* registry, RegistryKey key, bool subkeys) {
  char name[kRegistryNameRoom];
  uint32_t index = 0;
  for (;;) {
    RegResult r = subkeys ? registry->SubkeyAt(key, index, name, kRegistryNameRoom)
                          : registry->ValueAt(key, index, name, kRegistryNameRoom);
    if (r == kRegDone) {
      RegResult removed = subkeys ? RemoveKey(registry, key, name) : registry->DeleteValue(key, name);
      if (removed != kRegDone) ++index;
    } else if (r == kRegTooLong) {
      ++index;
    } else {
      return;
    }
  }
}

// Empties the key, then deletes it: kRegDone when it is gone, kRegNotFound
// when there was no key by that name, kRegFailed when it stays.
RegResult RemoveKey(Registry* registry, RegistryKey parent, const char* subkey) {
  RegistryKey key = 0;
  RegResult opened = registry->OpenKey(parent, subkey, kKeyAllAccess, &key);
  if (opened == kRegNotFound) return kRegNotFound;
  if (opened == kRegDone) {
    RemoveEntries(registry, key, true);
    RemoveEntries(registry, key, false);
    registry->CloseKey(key);
  }
  RegResult deleted = registry->DeleteKey(parent, subkey);
  return deleted == kRegDone || deleted == kRegNotFound ? deleted : kRegFailed;
}

}  // namespace

bool ParseUninstallArgs(const char* commandLine, UninstallArgs* args) {
  const char* cursor = SkipProgramName(commandLine != nullptr ? commandLine : "");
  Span arg[5];
  for (Span& a : arg) {
    if (!NextArgument(&cursor, &a)) return false;
  }
  return CopyName(arg[0], args->vendor, sizeof args->vendor) &&
         CopyName(arg[1], args->product, sizeof args->product) &&
         ReadSwitch(arg[2], &args->wholeVendor) && ReadSwitch(arg[3], &args->removeRunValues) &&
         ReadSwitch(arg[4], &args->closeWindows);
}

bool BuildKeyPath(const UninstallArgs& args, char* out, size_t room) {
  if (room == 0) return false;
  TextWriter w = TextWriter::Over(out, room);
  w.Text(kSoftwarePrefix);
  w.Text(args.vendor);
  if (!args.wholeVendor) {
    w.Char('\\');
    w.Text(args.product);
  }
  // A cut path would name another key: the whole text is given up.
  bool whole = w.Finish() && NamesEveryKey(out);
  if (!whole) out[0] = '\0';
  return whole;
}

bool BuildWarningText(const char* keyPath, char* out, size_t room) {
  if (room == 0) return false;
  TextWriter w = TextWriter::Over(out, room);
  w.Text(kWarningLine);
  w.Text(kContinueLine);
  w.Text(kFailedKeyLine);
  w.Text(keyPath);
  return w.FinishWhole(out);
}

bool RemoveTree(Registry* registry, RegistryKey parent, const char* subkey) {
  RegResult r = RemoveKey(registry, parent, subkey);
  return r == kRegDone || r == kRegNotFound;
}

int CloseProductWindows(WindowCloser* windows, const char* product) {
  int sent = CloseWindows(windows, kByClass, product, kMaxCloseRequests, kCloseWaitMs);
  return sent + CloseWindows(windows, kByTitle, product, kMaxCloseRequests - sent, kCloseWaitMs);
}

void RunUninstall(Registry* registry, WindowCloser* windows, WarningBox* box, const char* commandLine) {
  UninstallArgs args;
  char keyPath[kKeyPathRoom];
  if (!ParseUninstallArgs(commandLine, &args)) return;
  if (!BuildKeyPath(args, keyPath, sizeof keyPath)) return;
  if (!RemoveTree(registry, kCurrentUser, keyPath)) {
    char warning[kWarningRoom];
    if (BuildWarningText(keyPath, warning, sizeof warning)) box->ShowMessage(warning, kWarningCaption);
  }
  if (args.removeRunValues) DeleteRunValues(registry, args.product);
  if (args.closeWindows) CloseProductWindows(windows, args.product);
}
