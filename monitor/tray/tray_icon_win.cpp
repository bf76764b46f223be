#include "tray_icon_win.h"

#include <string.h>

namespace {

static_assert(sizeof(PictureHeader) == sizeof(BITMAPINFOHEADER) + kPaletteSize * sizeof(RGBQUAD),
              "the picture header is laid out as the platform's");

// The record size of the first notification-area interface: a 64-byte tip.
const DWORD kNotifyRecordSize = NOTIFYICONDATAA_V1_SIZE;
static_assert(kNotifyRecordSize == 88, "notify record of 88 bytes");
static_assert(sizeof(reinterpret_cast<NOTIFYICONDATAA*>(0)->szTip) >= kTipRoom, "a tip fits the record whole");

union BitmapInfo {
  BITMAPINFO info;
  unsigned char bytes[sizeof(PictureHeader)];
};

HBITMAP CreatePictureBitmap(HDC dc, const BitmapInfo& header, const void* bits) {
  return CreateDIBitmap(dc, &header.info.bmiHeader, CBM_INIT, bits, &header.info, DIB_RGB_COLORS);
}

// A fresh icon of the picture; null when a bitmap or the icon could not be
// made. Both bitmaps are gone again when it returns.
HICON CreatePictureIcon(HWND window, const IconPicture& picture) {
  BitmapInfo header;
  memcpy(header.bytes, &kPictureHeader, sizeof header.bytes);
  HDC dc = GetDC(window);
  HBITMAP mask = CreatePictureBitmap(dc, header, kOpaqueMask);
  HBITMAP colour = CreatePictureBitmap(dc, header, picture.bits);
  HICON icon = nullptr;
  if (mask != nullptr && colour != nullptr) {
    ICONINFO info = {};
    info.fIcon = TRUE;
    info.hbmMask = mask;
    info.hbmColor = colour;
    icon = CreateIconIndirect(&info);
  }
  if (mask != nullptr) DeleteObject(mask);
  if (colour != nullptr) DeleteObject(colour);
  ReleaseDC(window, dc);
  return icon;
}

}  // namespace

bool NotificationAreaIcon::Show(bool add, const char* tip, const IconPicture& picture) {
  HICON icon = CreatePictureIcon(window_, picture);
  NOTIFYICONDATAA record = Record();
  record.uFlags = NIF_ICON | NIF_TIP | (add ? NIF_MESSAGE : 0);
  record.uCallbackMessage = add ? kTrayCallbackMessage : 0;
  record.hIcon = icon;
  memcpy(record.szTip, tip, strlen(tip) + 1);
  // Windows times the request out while Explorer is busy, at log-on above all: the owner tries again.
  bool taken = Shell_NotifyIconA(add ? NIM_ADD : NIM_MODIFY, &record) != FALSE;
  if (icon != nullptr) DestroyIcon(icon);
  return taken;
}

void NotificationAreaIcon::Remove() {
  NOTIFYICONDATAA record = Record();
  Shell_NotifyIconA(NIM_DELETE, &record);
}

NOTIFYICONDATAA NotificationAreaIcon::Record() const {
  NOTIFYICONDATAA record = {};
  record.cbSize = kNotifyRecordSize;
  record.hWnd = window_;
  record.uID = kTrayIconId;
  return record;
}
