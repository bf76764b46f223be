// Each language as a system of that language shows it: every text of both
// dialogs, the tray menu and the window menu's item is in that language and
// fits its control in the dialog's own font, and the running configuration
// program shows exactly those dialogs.
// The fonts of another process cannot be measured, nor (under Wine) its
// menus read: the dialogs are built here too, by the platform from
// the program file's templates, and measured here. Each test runs in its
// language, and the platform picks the resources for it as for the programs.
#include <algorithm>

#include "resource.h"
#include "support.h"

namespace {

// The texts without Chinese in Chinese: the units, the mail button and the
// version line, as in English. Every other text is Chinese.
const int kNeutral[] = {IDC_DETAIL_MBYTES, IDC_DETAIL_BYTES, IDC_UNIT_TO_FREE, IDC_UNIT_TO_REACH, IDC_LINK_MAIL, IDC_HELP_VERSION};

// The program file's resources, as the platform picks them for this
// process, whose language is the test's.
HMODULE File(const char* program) { return LoadLibraryExA(Beside(program).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE); }

// The window menu's item, then the tray menu's items.
std::vector<std::wstring> MenuTexts() {
  wchar_t item[64];
  std::vector<std::wstring> texts = {std::wstring(item, std::max(0, LoadStringW(File("VelmoraConfig.exe"), IDS_ABOUT_ITEM, item, 64)))};
  HMENU menu = LoadMenuW(File("Velmora.exe"), MAKEINTRESOURCEW(IDR_TRAY_MENU));
  for (int i = 0; i < GetMenuItemCount(GetSubMenu(menu, 0)); ++i)
    texts.emplace_back(item, GetMenuStringW(GetSubMenu(menu, 0), i, item, 64, MF_BYPOSITION));
  DestroyMenu(menu);
  return texts;
}

// Why the control's text does not fit it in its font: "" when it does, or
// when it shows no text of its own (an edit, a picture, a frame).
std::string Cut(HWND control) {
  char kind[8] = "";
  GetClassNameA(control, kind, sizeof kind);
  LONG style = GetWindowLongA(control, GWL_STYLE), type = style & BS_TYPEMASK;
  bool button = lstrcmpiA(kind, "Button") == 0;
  if (!button && (lstrcmpiA(kind, "Static") != 0 || (style & SS_TYPEMASK) > SS_RIGHT)) return "";
  RECT box, need;
  GetClientRect(control, &box);
  HDC dc = GetDC(control);
  SelectObject(dc, HGDIOBJ(SendMessageW(control, WM_GETFONT, 0, 0)));
  // A push button's or group box's title stands inside its edges, a check
  // box's and a radio button's beside the box. Statics wrap.
  int edge = GetSystemMetrics(SM_CXEDGE), room = box.right - (!button ? 0 : type <= BS_DEFPUSHBUTTON || type == BS_GROUPBOX
                                                                   ? 4 * edge : GetSystemMetrics(SM_CXMENUCHECK) + 2 * edge);
  SetRect(&need, 0, 0, room, 0);
  DrawTextW(dc, TextW(control).c_str(), -1, &need,
            DT_CALCRECT | (button && !(style & BS_MULTILINE) ? DT_SINGLELINE : DT_WORDBREAK));
  ReleaseDC(control, dc);
  return need.right <= room && need.bottom <= box.bottom ? "" : "needs " + std::to_string(need.right) + " x " +
         std::to_string(need.bottom) + " px, has " + std::to_string(room) + " x " + std::to_string(box.bottom);
}

// The dialog id as the running program shows it, beside the platform's own
// build of its template: the same, every text of which is in the language
// and fits.
void Walk(HWND running, int id, bool chinese) {
  HWND built = CreateDialogParamW(File("VelmoraConfig.exe"), MAKEINTRESOURCEW(id), nullptr, nullptr, 0);
  // The caption first, then the controls.
  std::vector<HWND> controls = Windows(nullptr, nullptr, 0, false, built), real = Windows(nullptr, nullptr, 0, false, running);
  controls.insert(controls.begin(), built), real.insert(real.begin(), running);
  ASSERT_EQ(real.size(), controls.size()) << "dialog " << id;
  for (size_t i = 0; i < controls.size(); ++i) {
    std::wstring text = TextW(controls[i]);
    std::string where = "dialog " + std::to_string(id) + ", id " + std::to_string(GetDlgCtrlID(controls[i]));
    if (text.empty() || text[0] == 0xFFFF) continue;  // no text, or a picture's number
    EXPECT_EQ(TextW(real[i]), text) << where << ": the running program's";
    bool neutral = std::count(std::begin(kNeutral), std::end(kNeutral), GetDlgCtrlID(controls[i])) > 0;
    EXPECT_TRUE(chinese ? neutral != HasChinese(text) : !HasChinese(text)) << where;
    EXPECT_EQ(Cut(controls[i]), "") << where;
  }
  DestroyWindow(built);
}

// Both dialogs of a running configuration program, then the menus.
void SpeaksOnly(bool chinese) {
  Program config = Start(Beside("VelmoraConfig.exe"), "");
  HWND dialog = WaitForDialog(config.pid, nullptr), page = nullptr;
  ASSERT_NE(dialog, nullptr);
  Walk(dialog, IDD_CONFIG_DIALOG, chinese);
  PostClick(dialog, IDC_SHOW_HELP);
  ASSERT_NE(page = WaitForDialog(config.pid, dialog), nullptr) << "no help page";
  Walk(page, IDD_HELP_PAGE, chinese);
  std::vector<std::wstring> texts = MenuTexts();
  ASSERT_EQ(texts.size(), 5u) << "the window menu's item and the four of the tray menu";
  for (const std::wstring& text : texts) EXPECT_EQ(HasChinese(text), chinese) << testing::PrintToString(text);
}

}  // namespace

TEST_F(E2E, SpeaksChinese) { SpeaksOnly(true); }

TEST_F(E2E, SpeaksEnglish) {
  SpeaksOnly(false);
  EXPECT_EQ(MenuTexts()[0], L"&About Velmora Configuration");
}
