// The configuration dialog's window: the control surface over its real
// controls and the dialog procedure that hands each notification to the
// model and carries out what the model answers.
#include "config_win.h"

#include "help_page_win.h"
#include "resource.h"

namespace {

class Win32ControlSurface : public ControlSurface {
 public:
  void SetWindow(HWND dialog) { dialog_ = dialog; }

  void GetEditText(int id, char* text, size_t room) override {
    if (room == 0) return;
    text[0] = '\0';
    GetWindowTextA(GetDlgItem(dialog_, id), text, static_cast<int>(room));
  }
  void SetEditText(int id, const char* text) override { SetWindowTextA(GetDlgItem(dialog_, id), text); }
  bool IsButtonOn(int id) override {
    return SendMessageA(GetDlgItem(dialog_, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
  }
  void SetButton(int id, bool on) override {
    SendMessageA(GetDlgItem(dialog_, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void FocusEdit(int id) override {
    HWND edit = GetDlgItem(dialog_, id);
    SetFocus(edit);
    SendMessageA(edit, EM_SETSEL, 0, -1);
  }
  void ShowMessage(const char* text, const char* caption) override {
    MessageBoxA(dialog_, text, caption, MB_OK | MB_ICONEXCLAMATION);
  }
  uint32_t TotalPhysicalMemory() override {
    MEMORYSTATUS status;
    status.dwLength = sizeof status;
    GlobalMemoryStatus(&status);
    return static_cast<uint32_t>(status.dwTotalPhys);
  }

 private:
  HWND dialog_ = nullptr;
};

// The one configuration dialog of this process while it runs.
struct ConfigWindow {
  ConfigDialog* dialog;
  ConfigProgram* program;
  HICON icon;
  Win32ControlSurface surface;
};

ConfigWindow* g_window;

const size_t kMenuTextRoom = 64;

// The about item: a separator and string 101 at the end of the system menu.
void AppendAboutItem(HWND window) {
  WCHAR text[kMenuTextRoom];
  if (LoadStringW(GetModuleHandleW(nullptr), IDS_ABOUT_ITEM, text, kMenuTextRoom) <= 0) return;
  HMENU menu = GetSystemMenu(window, FALSE);
  if (menu == nullptr) return;
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AppendMenuW(menu, MF_STRING, IDM_ABOUT_ITEM, text);
}

INT_PTR OnInitDialog(HWND window, LPARAM context) {
  g_window = reinterpret_cast<ConfigWindow*>(context);
  g_window->surface.SetWindow(window);
  g_window->dialog->Attach(&g_window->surface);
  g_window->dialog->BeginInitialisation();
  AppendAboutItem(window);
  SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(g_window->icon));
  SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(g_window->icon));
  g_window->dialog->FinishInitialisation(g_window->program);
  return TRUE;  // the platform focuses the first tab stop
}

INT_PTR Carry(HWND window, DialogAction action) {
  switch (action) {
    case kDialogStays: return TRUE;
    case kDialogShowsHelp: RunHelpPage(window); return TRUE;
    case kDialogEndsOk: EndDialog(window, IDOK); return TRUE;
    case kDialogEndsCancel: EndDialog(window, IDCANCEL); return TRUE;
    case kDialogDefault: break;
  }
  return FALSE;
}

INT_PTR OnCommandMessage(HWND window, WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  return Carry(window, g_window->dialog->OnCommand(LOWORD(wParam)));
}

INT_PTR CALLBACK ConfigDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG: return OnInitDialog(window, lParam);
    case WM_COMMAND: return OnCommandMessage(window, wParam);
    case WM_SYSCOMMAND: return Carry(window, g_window->dialog->OnSystemCommand(static_cast<uint32_t>(wParam)));
  }
  return FALSE;
}

}  // namespace

static_assert(IDOK == 1 && IDCANCEL == 2, "the model's OK and Cancel ids");

INT_PTR RunConfigDialog(HINSTANCE instance, ConfigDialog* dialog, ConfigProgram* program) {
  ConfigWindow window;
  window.dialog = dialog;
  window.program = program;
  window.icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CONFIG));
  INT_PTR result = DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_CONFIG_DIALOG), nullptr, ConfigDialogProc,
                                   reinterpret_cast<LPARAM>(&window));
  g_window = nullptr;
  return result;
}
