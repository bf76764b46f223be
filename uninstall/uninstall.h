// The uninstaller: reads five arguments, removes a product's registry tree
// under the current user, optionally its Run values and optionally closes
// its windows. Everything it does to the system goes through the interface
// below; the decisions are all made here.
#ifndef VELMORA_UNINSTALL_UNINSTALL_H
#define VELMORA_UNINSTALL_UNINSTALL_H

#include <stddef.h>
#include <stdint.h>

// A registry key handle: one the platform handed out, or one of the two
// root keys (named by the platform's 32-bit predefined values).
typedef uintptr_t RegKey;
const RegKey kCurrentUser = 0x80000001u;   // HKEY_CURRENT_USER
const RegKey kLocalMachine = 0x80000002u;  // HKEY_LOCAL_MACHINE

const uint32_t kKeyAllAccess = 0xF003F;  // KEY_ALL_ACCESS
const uint32_t kKeySetValue = 2;         // KEY_SET_VALUE

// What a registry request came to.
enum RegResult {
  kRegDone,      // opened, found, deleted
  kRegNotFound,  // no such key or value; no entry at that index
  kRegTooLong,   // an entry is there, but its name does not fit the room
  kRegFailed     // anything else (access denied, not empty, ...)
};

// A window found by class or title; 0 when there is none.
typedef uintptr_t WindowRef;

class UninstallPlatform {
 public:
  virtual RegResult OpenKey(RegKey parent, const char* subkey, uint32_t access, RegKey* key) = 0;
  // The name of the subkey or value at index, NUL-terminated within room.
  virtual RegResult SubkeyAt(RegKey key, uint32_t index, char* name, uint32_t room) = 0;
  virtual RegResult ValueAt(RegKey key, uint32_t index, char* name, uint32_t room) = 0;
  virtual RegResult DeleteValue(RegKey key, const char* name) = 0;
  // Deletes an empty subkey below parent; the values go with it.
  virtual RegResult DeleteKey(RegKey parent, const char* subkey) = 0;
  virtual void CloseKey(RegKey key) = 0;

  // Top-level windows, hidden ones included, by exact class or title.
  virtual WindowRef FindWindowByClass(const char* name) = 0;
  virtual WindowRef FindWindowByTitle(const char* name) = 0;
  // Sends the close request and returns once the window has handled it.
  virtual void RequestClose(WindowRef window) = 0;
  virtual void Pause(uint32_t milliseconds) = 0;
  // A modal box with one OK button, no icon and no owner.
  virtual void ShowMessage(const char* text, const char* caption) = 0;

 protected:
  ~UninstallPlatform() = default;
};

// Rooms, terminating NUL included.
const size_t kVendorRoom = 260;
const size_t kProductRoom = 272;
const size_t kKeyPathRoom = 272;
const size_t kWarningRoom = 528;
const uint32_t kRegistryNameRoom = 260;

const int kMaxCloseRequests = 10;
const uint32_t kCloseWaitMs = 500;

extern const char kRunKeyPath[];
extern const char kWarningCaption[];

struct UninstallArgs {
  char vendor[kVendorRoom];
  char product[kProductRoom];
  bool wholeVendor;
  bool removeRunValues;
  bool closeWindows;
};

// Reads the five arguments from a whole process command line. False, with
// args left in no particular state, when one is missing, empty, too long
// for its room or names an empty key, or a switch begins with neither Y
// nor N.
bool ParseUninstallArgs(const char* commandLine, UninstallArgs* args);

// "Software\" + vendor, and "\" + product unless the whole vendor goes.
// False when it does not fit in room; out is then an empty string.
bool BuildKeyPath(const UninstallArgs& args, char* out, size_t room);

// The warning naming the key that could not be removed. False when it does
// not fit in room; out is then an empty string.
bool BuildWarningText(const char* keyPath, char* out, size_t room);

// Removes the key below parent with everything in it, depth first. True
// when nothing of it is left afterwards (a key that was never there
// included).
bool RemoveTree(UninstallPlatform* p, RegKey parent, const char* subkey);

// Deletes the value named product under both Run keys, the machine's first.
void RemoveRunValues(UninstallPlatform* p, const char* product);

// Closes the product's windows, by class and then by title, with at most
// kMaxCloseRequests requests in all; returns how many were sent.
int CloseProductWindows(UninstallPlatform* p, const char* product);

// The whole program: arguments, tree, warning, Run values, windows.
void RunUninstall(UninstallPlatform* p, const char* commandLine);

#endif
