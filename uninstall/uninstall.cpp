#include "uninstall.h"

#include <string.h>

#include "program_name.h"

const char kRunKeyPath[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
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

// Text put together piece by piece; once a piece does not fit, the whole
// text is given up.
struct Builder {
  char* out;
  size_t room;
  size_t used;
  bool fits;
};

Builder StartText(char* out, size_t room) {
  Builder b = {out, room, 0, room > 0};
  if (b.fits) out[0] = '\0';
  return b;
}

void Append(Builder* b, const char* piece) {
  size_t n = strlen(piece);
  if (!b->fits || n >= b->room - b->used) {
    b->fits = false;
    return;
  }
  memcpy(b->out + b->used, piece, n + 1);
  b->used += n;
}

bool FinishText(Builder* b) {
  if (!b->fits && b->room > 0) b->out[0] = '\0';
  return b->fits;
}

// Two backslashes in a row, or one at either end, make an empty key name
// that the registry passes over: "Software\" + "\" would be Software
// itself.
bool NamesEveryKey(const char* path) {
  size_t n = strlen(path);
  if (n == 0 || path[0] == '\\' || path[n - 1] == '\\') return false;
  return strstr(path, "\\\\") == nullptr;
}

RegResult RemoveKey(UninstallPlatform* p, RegKey parent, const char* subkey);

// Entries are asked for at the index just past those that stayed (0 at
// first): each one deleted moves the next one down to that index, each one
// that stays is passed over from then on, so no entry is asked for again
// and again. An entry that was listed but is not found by the name read
// back (a name the ANSI code page cannot hold), or whose name does not
// fit, stays too.
void RemoveSubkeys(UninstallPlatform* p, RegKey key) {
  char name[kRegistryNameRoom];
  uint32_t index = 0;
  for (;;) {
    RegResult r = p->SubkeyAt(key, index, name, kRegistryNameRoom);
    if (r == kRegDone) {
      if (RemoveKey(p, key, name) != kRegDone) ++index;
    } else if (r == kRegTooLong) {
      ++index;
    } else {
      return;
    }
  }
}

void RemoveValues(UninstallPlatform* p, RegKey key) {
  char name[kRegistryNameRoom];
  uint32_t index = 0;
  for (;;) {
    RegResult r = p->ValueAt(key, index, name, kRegistryNameRoom);
    if (r == kRegDone) {
      if (p->DeleteValue(key, name) != kRegDone) ++index;
    } else if (r == kRegTooLong) {
      ++index;
    } else {
      return;
    }
  }
}

// Empties the key, then deletes it: kRegDone when it is gone, kRegNotFound
// when there was no key by that name, kRegFailed when it stays.
RegResult RemoveKey(UninstallPlatform* p, RegKey parent, const char* subkey) {
  RegKey key = 0;
  RegResult opened = p->OpenKey(parent, subkey, kKeyAllAccess, &key);
  if (opened == kRegNotFound) return kRegNotFound;
  if (opened == kRegDone) {
    RemoveSubkeys(p, key);
    RemoveValues(p, key);
    p->CloseKey(key);
  }
  RegResult deleted = p->DeleteKey(parent, subkey);
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
  Builder b = StartText(out, room);
  Append(&b, kSoftwarePrefix);
  Append(&b, args.vendor);
  if (!args.wholeVendor) {
    Append(&b, "\\");
    Append(&b, args.product);
  }
  if (b.fits && !NamesEveryKey(out)) b.fits = false;
  return FinishText(&b);
}

bool BuildWarningText(const char* keyPath, char* out, size_t room) {
  Builder b = StartText(out, room);
  Append(&b, kWarningLine);
  Append(&b, kContinueLine);
  Append(&b, kFailedKeyLine);
  Append(&b, keyPath);
  return FinishText(&b);
}

bool RemoveTree(UninstallPlatform* p, RegKey parent, const char* subkey) {
  RegResult r = RemoveKey(p, parent, subkey);
  return r == kRegDone || r == kRegNotFound;
}

void RemoveRunValues(UninstallPlatform* p, const char* product) {
  const RegKey roots[] = {kLocalMachine, kCurrentUser};
  for (RegKey root : roots) {
    RegKey run = 0;
    if (p->OpenKey(root, kRunKeyPath, kKeySetValue, &run) != kRegDone) continue;
    p->DeleteValue(run, product);
    p->CloseKey(run);
  }
}

int CloseProductWindows(UninstallPlatform* p, const char* product) {
  int sent = 0;
  for (WindowRef w = p->FindWindowByClass(product); w != 0 && sent < kMaxCloseRequests;
       w = p->FindWindowByClass(product)) {
    p->RequestClose(w);
    p->Pause(kCloseWaitMs);
    ++sent;
  }
  for (WindowRef w = p->FindWindowByTitle(product); w != 0 && sent < kMaxCloseRequests;
       w = p->FindWindowByTitle(product)) {
    p->RequestClose(w);
    p->Pause(kCloseWaitMs);
    ++sent;
  }
  return sent;
}

void RunUninstall(UninstallPlatform* p, const char* commandLine) {
  UninstallArgs args;
  char keyPath[kKeyPathRoom];
  if (!ParseUninstallArgs(commandLine, &args)) return;
  if (!BuildKeyPath(args, keyPath, sizeof keyPath)) return;
  if (!RemoveTree(p, kCurrentUser, keyPath)) {
    char warning[kWarningRoom];
    if (BuildWarningText(keyPath, warning, sizeof warning)) {
      p->ShowMessage(warning, kWarningCaption);
    }
  }
  if (args.removeRunValues) RemoveRunValues(p, args.product);
  if (args.closeWindows) CloseProductWindows(p, args.product);
}
