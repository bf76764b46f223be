#include "dialog_support.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

struct DialogSearch {
  DWORD pid;
  const wchar_t* caption;
  std::vector<HWND> found;
};

bool IsDialogClass(HWND window) {
  char name[32];
  return GetClassNameA(window, name, sizeof name) > 0 && lstrcmpA(name, "#32770") == 0;
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM context) {
  DialogSearch* s = reinterpret_cast<DialogSearch*>(context);
  if (!IsDialogClass(window) || !IsWindowVisible(window)) return TRUE;
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (s->pid != 0 && owner != s->pid) return TRUE;
  if (WindowTextW(window) != s->caption) return TRUE;
  s->found.push_back(window);
  return TRUE;
}

}  // namespace

std::vector<HWND> FindDialogs(DWORD pid, const wchar_t* caption, HWND owner) {
  DialogSearch s = {pid, caption, {}};
  EnumWindows(CollectDialog, reinterpret_cast<LPARAM>(&s));
  if (owner == nullptr) return s.found;
  std::vector<HWND> owned;
  for (HWND w : s.found) {
    if (GetWindow(w, GW_OWNER) == owner) owned.push_back(w);
  }
  return owned;
}

HWND WaitForDialog(DWORD pid, const wchar_t* caption, HWND owner) {
  HWND dialog = nullptr;
  WaitUntil([&] {
    for (HWND w : FindDialogs(pid, caption)) {
      if (GetWindow(w, GW_OWNER) == owner) {
        dialog = w;
        return true;
      }
    }
    return false;
  });
  return dialog;
}

HWND FindMessageBox(DWORD pid, const char* caption) {
  std::wstring wide(caption, caption + lstrlenA(caption));
  for (HWND w : FindDialogs(pid, wide.c_str())) {
    if (GetDlgItem(w, 0xFFFF) != nullptr) return w;
  }
  return nullptr;
}

HWND WaitForMessageBox(DWORD pid, const char* caption) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindMessageBox(pid, caption)) != nullptr; });
  return box;
}

std::string MessageBoxText(HWND box) { return EditText(box, 0xFFFF); }

std::wstring WindowTextW(HWND window) {
  wchar_t text[512] = L"";
  SendMessageTimeoutW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, kDeadlineMs, nullptr);
  text[511] = L'\0';
  return text;
}

std::string EditText(HWND dialog, int id) {
  char text[512] = "";
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      kDeadlineMs, nullptr);
  text[sizeof text - 1] = '\0';
  return text;
}

void SetEditText(HWND dialog, int id, const char* text) {
  SendMessageTimeoutA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                      kDeadlineMs, nullptr);
}

bool IsChecked(HWND dialog, int id) { return SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }

void PostClick(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

bool SendClick(HWND dialog, int id) {
  DWORD_PTR result;
  return SendMessageTimeoutA(GetDlgItem(dialog, id), BM_CLICK, 0, 0, SMTO_NORMAL, kDeadlineMs, &result) != 0;
}

HWND FocusedWindow(HWND dialog) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

// ---- Screenshots -----------------------------------------------------------

bool TakeScreenshot(const char* name, Image* image) {
  RECT screen = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return Screenshot(screen, name, image);
}

// ---- Drawn text ----------------------------------------------------------

namespace {

// Which pixels of a w x h picture differ clearly from the background.
struct InkMask {
  int width = 0;
  int height = 0;
  std::vector<bool> ink;
  int count = 0;
};

bool IsInk(const unsigned char* rgb, COLORREF background) {
  int d = abs(rgb[0] - GetRValue(background)) + abs(rgb[1] - GetGValue(background)) +
          abs(rgb[2] - GetBValue(background));
  return d > 120;
}

InkMask MaskOf(const Image& shot, const RECT& r, COLORREF background) {
  InkMask m;
  m.width = r.right - r.left;
  m.height = r.bottom - r.top;
  m.ink.assign(static_cast<size_t>(m.width) * m.height, false);
  for (int y = 0; y < m.height; ++y) {
    for (int x = 0; x < m.width; ++x) {
      int sx = r.left + x, sy = r.top + y;
      if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) continue;
      bool ink = IsInk(&shot.rgb[(static_cast<size_t>(sy) * shot.width + sx) * 3], background);
      m.ink[static_cast<size_t>(y) * m.width + x] = ink;
      m.count += ink;
    }
  }
  return m;
}

// The text drawn as a static control draws it, in the dialog's font.
InkMask Render(const std::wstring& text, int width, int height, COLORREF background) {
  InkMask m;
  m.width = width;
  m.height = height;
  m.ink.assign(static_cast<size_t>(width) * height, false);
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  LOGFONTW lf = {};
  lf.lfHeight = -MulDiv(9, GetDeviceCaps(screen, LOGPIXELSY), 72);
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpyW(lf.lfFaceName, L"宋体");
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
  HGDIOBJ oldFont = SelectObject(dc, font);
  RECT all = {0, 0, width, height};
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(dc, &all, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  DrawTextW(dc, text.c_str(), -1, &all, DT_LEFT | DT_EXPANDTABS | DT_WORDBREAK);
  GdiFlush();
  const unsigned char* p = static_cast<const unsigned char*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const unsigned char rgb[3] = {p[4 * i + 2], p[4 * i + 1], p[4 * i]};
    m.ink[i] = IsInk(rgb, background);
    m.count += m.ink[i];
  }
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(font);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return m;
}

// Pixels on which two masks disagree, at the best of small shifts.
int Mismatch(const InkMask& a, const InkMask& b) {
  int best = a.width * a.height + 1;
  for (int dy = -2; dy <= 2; ++dy) {
    for (int dx = -2; dx <= 2; ++dx) {
      int differ = 0;
      for (int y = 0; y < a.height; ++y) {
        for (int x = 0; x < a.width; ++x) {
          int bx = x + dx, by = y + dy;
          bool other = bx >= 0 && by >= 0 && bx < b.width && by < b.height && b.ink[by * b.width + bx];
          differ += a.ink[y * a.width + x] != other;
        }
      }
      if (differ < best) best = differ;
    }
  }
  return best;
}

}  // namespace

TextCheck CheckDrawnText(const Image& shot, HWND dialog, int id, const std::wstring& text) {
  HWND control = GetDlgItem(dialog, id);
  RECT r;
  if (control == nullptr || !GetWindowRect(control, &r)) return {false, "no such control"};
  const COLORREF background = GetSysColor(COLOR_3DFACE);
  int w = r.right - r.left, h = r.bottom - r.top;
  InkMask drawn = MaskOf(shot, r, background);
  InkMask own = Render(text, w, h, background);
  InkMask questions = Render(std::wstring(text.size(), L'?'), w, h, background);
  InkMask missing = Render(std::wstring(text.size(), L'\xE000'), w, h, background);
  int toOwn = Mismatch(drawn, own);
  int toQuestions = Mismatch(drawn, questions);
  int ownToMissing = Mismatch(own, missing);
  char detail[200];
  snprintf(detail, sizeof detail, "ink %d (own %d), off own %d, off \"?\" %d, own off missing glyphs %d", drawn.count,
           own.count, toOwn, toQuestions, ownToMissing);
  bool ok = drawn.count > 20 && toOwn * 3 < toQuestions && ownToMissing * 3 > own.count;
  return {ok, detail};
}
