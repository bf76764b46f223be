#include "tray_icon.h"

#include <string.h>

#include "text_writer.h"

const char kFirstTip[] = "Velmora";

TrayDisplay::TrayDisplay(const MonitorSettings* settings, TrayIconPlatform* platform)
    : settings_(settings), platform_(platform), shownTip_(), inPlace_(false) {
  ResetPicture(&picture_);
}

void TrayDisplay::Hand(bool add) {
  inPlace_ = platform_->Show(add, shownTip_, picture_) || platform_->Show(!add, shownTip_, picture_);
}

void TrayDisplay::AddIcon() {
  memcpy(shownTip_, kFirstTip, sizeof kFirstTip);
  Hand(true);
}

void TrayDisplay::UpdateIcon(const char* tip) {
  TextWriter w = TextWriter::Over(shownTip_, sizeof shownTip_);
  w.Text(tip);
  w.Finish();
  Hand(!inPlace_);
}

void TrayDisplay::AddIconAgain() { Hand(true); }

void TrayDisplay::ShowPassStarting(const char* tip) {
  BlankForFreePass(&picture_, settings_->displayStyle);
  UpdateIcon(tip);
}

void TrayDisplay::ClearAfterPass() { ClearAfterFreePass(&picture_, settings_->displayStyle); }

void TrayDisplay::ShowSample(uint32_t freeMb, uint32_t totalMb, const char* tip) {
  DrawPicture(&picture_, freeMb, totalMb, settings_->displayStyle, settings_->digitFont);
  UpdateIcon(tip);
}
