// The uninstaller: reads five arguments, removes a product's registry tree
// under the current user, optionally its Run values and optionally closes
// its windows. Everything it does to the system goes through the registry,
// the window closer and the box below; the decisions are all made here.
#ifndef VELMORA_UNINSTALL_UNINSTALL_H
#define VELMORA_UNINSTALL_UNINSTALL_H

#include <stddef.h>
#include <stdint.h>

#include "registry.h"
#include "window_closer.h"

// The uninstaller's one message.
class WarningBox {
 public:
  // A modal box with one OK button, no icon and no owner.
  virtual void ShowMessage(const char* text, const char* caption) = 0;

 protected:
  ~WarningBox() = default;
};

// Rooms, terminating NUL included.
const size_t kVendorRoom = 260;
const size_t kProductRoom = 272;
const size_t kKeyPathRoom = 272;
const size_t kWarningRoom = 528;
const uint32_t kRegistryNameRoom = 260;

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
bool RemoveTree(Registry* registry, RegistryKey parent, const char* subkey);

// Closes the product's windows, by class and then by title, with at most
// kMaxCloseRequests requests in all and this pause after each; returns how
// many were sent.
const uint32_t kCloseWaitMs = 500;
int CloseProductWindows(WindowCloser* windows, const char* product);

// The whole program: arguments, tree, warning, Run values, windows.
void RunUninstall(Registry* registry, WindowCloser* windows, WarningBox* box, const char* commandLine);

#endif
