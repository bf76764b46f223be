// The help page's window: a modal dialog from its template whose link
// buttons hand their targets to the shell.
#include "help_page_win.h"

#include <shellapi.h>

#include "help_page.h"
#include "launch_win.h"
#include "resource.h"

namespace {

void OpenLink(HelpLink link) {
  char program[kProgramPathRoom];
  bool known = ProgramPath(program);
  char target[kLinkTargetRoom];
  if (!ComposeLinkTarget(link, known ? program : nullptr, target, sizeof target)) return;
  // The program the link starts takes this for its first window: hidden, a browser or mail window never shows.
  ShellExecuteA(nullptr, nullptr, target, nullptr, "", SW_SHOWNORMAL);
}

INT_PTR OnHelpCommand(HWND page, WPARAM wParam) {
  if (HIWORD(wParam) != BN_CLICKED) return FALSE;
  HelpLink link;
  switch (HelpPageCommand(LOWORD(wParam), &link)) {
    case kHelpOpensLink: OpenLink(link); return TRUE;
    case kHelpEnds: EndDialog(page, LOWORD(wParam)); return TRUE;
    case kHelpDefault: break;
  }
  return FALSE;
}

INT_PTR CALLBACK HelpPageProc(HWND page, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: return TRUE;  // the focus goes to OK, the first tab stop
    case WM_COMMAND: return OnHelpCommand(page, wParam);
    case WM_CLOSE: EndDialog(page, IDCANCEL); return TRUE;
  }
  return FALSE;
}

}  // namespace

void RunHelpPage(HWND owner) {
  DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_HELP_PAGE), owner, HelpPageProc, 0);
}
