// The uninstaller's one box, through the real platform.
#ifndef VELMORA_UNINSTALL_UNINSTALL_WIN_H
#define VELMORA_UNINSTALL_UNINSTALL_WIN_H

#include "uninstall.h"

class Win32WarningBox : public WarningBox {
 public:
  void ShowMessage(const char* text, const char* caption) override;
};

#endif
