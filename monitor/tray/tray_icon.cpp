#include "tray_icon.h"

#include <string.h>

const char kFirstTip[] = "Velmora";

TrayDisplay::TrayDisplay(const MonitorSettings* settings, TrayIconPlatform* platform)
    : settings_(settings), platform_(platform) {
  Reset();
}

void TrayDisplay::Reset() {
  ResetPicture(&picture_);
  memcpy(shownTip_, kFirstTip, sizeof kFirstTip);
}

void TrayDisplay::UpdateIcon(char* tooltip, size_t room) {
  bool add = room == 0 || tooltip[0] == '\0';
  if (add) {
    memcpy(shownTip_, kFirstTip, sizeof kFirstTip);
  } else {
    size_t n = 0;
    while (n < room && n < kIconTipRoom - 1 && tooltip[n] != '\0') {
      shownTip_[n] = tooltip[n];
      ++n;
    }
    shownTip_[n] = '\0';
  }
  if (room != 0) memset(tooltip, 0, room);
  platform_->ShowIcon(add, shownTip_, picture_);
}

void TrayDisplay::AddIconAgain() { platform_->ShowIcon(true, shownTip_, picture_); }

void TrayDisplay::ShowPassStarting(char* tip) {
  BlankForFreePass(&picture_, settings_->displayStyle);
  UpdateIcon(tip, kTipRoom);
}

void TrayDisplay::ClearAfterPass() { ClearAfterFreePass(&picture_, settings_->displayStyle); }

void TrayDisplay::ShowSample(uint32_t freeMb, uint32_t totalMb, char* tip) {
  DrawPicture(&picture_, freeMb, totalMb, settings_->displayStyle, settings_->digitFont);
  UpdateIcon(tip, kTipRoom);
}
