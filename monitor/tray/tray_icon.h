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
  // message when add is set, modified otherwise. False when the
  // notification area did not take it.
  virtual bool Show(bool add, const char* tip, const IconPicture& picture) = 0;
  virtual void Remove() = 0;

 protected:
  ~TrayIconPlatform() = default;
};

// The icon is added, then modified with every later picture. At log-on the
// notification area may not take it (Explorer still starting, busy past
// the platform's timeout): then each later picture is added again, the
// current one with its tip, until an add is taken. A modify that is not
// taken leads to an add the same way, and an add not taken is tried as a
// modify, since a timed-out request may still have reached the
// notification area.
class TrayDisplay : public Display {
 public:
  // The picture all zero, no icon yet.
  TrayDisplay(const MonitorSettings* settings, TrayIconPlatform* platform);

  // Adds the icon with the first tip and the current picture.
  void AddIcon();
  // Shows the current picture with the tip, cut to fit kTipRoom, the one
  // place a tip is cut.
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
  bool ShowsLatest() const override { return inPlace_; }

 private:
  // Hands the picture and tip over as an add (or else a modify) when add is
  // set, as a modify (or else an add) otherwise.
  void Hand(bool add);

  const MonitorSettings* settings_;
  TrayIconPlatform* platform_;
  IconPicture picture_;
  char shownTip_[kTipRoom];  // the one copy of the tip the icon shows
  bool inPlace_;             // the notification area took the last hand-over
};

#endif
