// The tray monitor's display: keeps the icon picture, draws each reading
// into it, and owns the notification-area icon through the platform: adds
// it, updates it with each picture and tip, adds it again, and removes it.
#ifndef VELMORA_MONITOR_TRAY_TRAY_ICON_H
#define VELMORA_MONITOR_TRAY_TRAY_ICON_H

#include "engine.h"
#include "icon_picture.h"

// The tip of a freshly added icon.
extern const char kFirstTip[];

class TrayIconPlatform {
 public:
  // Makes an icon of the picture and hands it with the tip (which fits
  // kTipRoom) to the notification area: added with the tray callback
  // message when add is set, modified otherwise.
  virtual void Show(bool add, const char* tip, const IconPicture& picture) = 0;
  virtual void Remove() = 0;

 protected:
  ~TrayIconPlatform() = default;
};

class TrayDisplay : public Display {
 public:
  // The picture all zero, no icon yet.
  TrayDisplay(const MonitorSettings* settings, TrayIconPlatform* platform);

  // Adds the icon with the first tip and the current picture.
  void AddIcon();
  // Modifies the icon: the current picture with the tip, cut to fit
  // kTipRoom, the one place a tip is cut.
  void UpdateIcon(const char* tip);
  // The notification area has been created afresh: adds the icon again
  // with the picture and the tip it showed last (none before AddIcon).
  void AddIconAgain();
  // The monitor ends: the icon leaves the notification area.
  void RemoveIcon() { platform_->Remove(); }

  const IconPicture& Picture() const { return picture_; }

  void ShowPassStarting(const char* tip) override;
  void ClearAfterPass() override;
  void ShowSample(uint32_t freeMb, uint32_t totalMb, const char* tip) override;

 private:
  const MonitorSettings* settings_;
  TrayIconPlatform* platform_;
  IconPicture picture_;
  char shownTip_[kTipRoom];  // the one copy of the tip the icon shows
};

#endif
