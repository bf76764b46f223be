// The configuration program in a program folder of its own, beside stand-in
// monitors: its Chinese texts, a box and the focus after it, the help page
// and its links from the button and the window menu, what OK leaves in the
// registry, closes and starts; a second start showing what the first
// stored, with autostart turned off; then its uninstall mode.
#include "resource.h"
#include "support.h"
#include "version.h"

namespace {

const char kFolder[] = "C:\\Velmora Launch";  // the program folder

std::string In(const char* name) { return std::string(kFolder) + "\\" + name; }

}  // namespace

TEST_F(E2E, ConfigurationStoresReplacesTheMonitorAndUninstalls) {
  Fresh(kFolder);
  for (const char* monitor : {"Velmora.exe", "VelmoraH.exe"})
    ASSERT_TRUE(CopyFileA(Beside("velmora_standin.exe").c_str(), In(monitor).c_str(), FALSE));
  for (const char* file : {"VelmoraConfig.exe", "Velmora_FAQS.html", "index.html"})
    ASSERT_TRUE(CopyFileA(Beside(file).c_str(), In(file).c_str(), FALSE)) << file;
  std::string standin = Beside("velmora_standin.exe");  // the session opens links in it
  // A window titled as a monitor (a box of a monitor's) is closed by OK;
  // Explorer's window of a folder named as the product, found first, stays.
  Program titled = StartWindow("VelmoraBox", kMonitor);
  ASSERT_NE(WaitForWindow("VelmoraBox", kMonitor, titled.pid), nullptr);
  Program folder = StartWindow("CabinetWClass", kMonitor);
  ASSERT_NE(WaitForWindow("CabinetWClass", kMonitor, folder.pid), nullptr);

  // The first start, from a folder without the monitors: a folder of the
  // hidden monitor's name there is none.
  Fresh("C:\\VelmoraH.exe");
  Program config = Start(In("VelmoraConfig.exe"), "", "C:\\");
  HWND dialog = WaitForDialog(config.pid, nullptr);
  ASSERT_NE(dialog, nullptr);
  // The Chinese texts survive the build as themselves.
  EXPECT_EQ(TextW(dialog), L"Velmora 配置");
  EXPECT_EQ(TextW(GetDlgItem(dialog, IDC_LABEL_SECONDS)), L"秒刷新显示");

  // A wrong field: its box over the dialog, then the field has the focus with
  // its text selected.
  SetText(dialog, IDC_UPDATE_INTERVAL, "601");
  PostClick(dialog, IDOK);
  EXPECT_EQ(DismissBox(config.pid, "Velmora", dialog), L"Please enter an integer between 1 and 600.");
  HWND edit = GetDlgItem(dialog, IDC_UPDATE_INTERVAL);
  EXPECT_TRUE(WaitUntil([&] { return Focused(dialog) == edit; }));
  EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(0, 3));

  // The help page over the dialog, which waits disabled until it closes. Its
  // links open their targets shown, the pages from the program folder.
  PostClick(dialog, IDC_SHOW_HELP);
  HWND page = WaitForDialog(config.pid, dialog);
  ASSERT_NE(page, nullptr) << "no help page";
  EXPECT_FALSE(IsWindowEnabled(dialog));
  const struct { int id; std::string target; } links[] = {
      {IDC_LINK_FAQ, In("Velmora_FAQS.html")},
      {IDC_LINK_HOME, In("index.html")},
      {IDC_LINK_MAIL, "mailto:" VELMORA_AUTHOR_MAIL "?subject=Velmora%20v" VELMORA_VERSION_SHORT},
  };
  for (const auto& link : links) {
    Fresh(standin + ".started", false);
    ASSERT_TRUE(SendClick(page, link.id)) << link.id;
    std::vector<std::string> record = WaitForStart(standin);
    record.resize(4);
    EXPECT_EQ(record[1] + "|" + record[3], "\"" + link.target + "\"|1") << "opened, and shown normally";
  }
  Press(page);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page) && IsWindowEnabled(dialog); }));
  // The window menu's last item opens it too; Escape closes it.
  PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  ASSERT_TRUE(PickFromMenu(config.pid, {VK_UP, VK_RETURN})) << "no window menu";
  page = WaitForDialog(config.pid, dialog);
  ASSERT_NE(page, nullptr) << "the window menu's item opened no help page";
  PostMessageA(Focused(page), WM_KEYDOWN, VK_ESCAPE, 1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page) && IsWindowEnabled(dialog); }));

  // OK: the twelve values, the Run value, the window titled as a monitor
  // closed, the hidden monitor started from the program folder with the Run
  // value's options.
  SetText(dialog, IDC_UPDATE_INTERVAL, "5");
  SetText(dialog, IDC_MEMORY_THRESHOLD, "6");
  SetText(dialog, IDC_MEMORY_TO_FREE, "12");
  SetText(dialog, IDC_MEMORY_TO_REACH, "40");
  for (int id : {IDC_STYLE_GRAPH2, IDC_DEFRAG_ALWAYS, IDC_DETAIL_BYTES, IDC_REACH_TARGET, IDC_SOUND, IDC_RUN_HIDDEN})
    ASSERT_TRUE(SendClick(dialog, id)) << id;
  SetText(dialog, IDC_UPDATE_INTERVAL, " 3 ");
  PostClick(dialog, IDOK);
  EXPECT_EQ(WaitForExit(config), 0u);
  EXPECT_EQ(WaitForExit(titled), 0u) << "the window titled as a monitor was not closed";
  EXPECT_EQ(WaitForExit(folder, 0), STILL_ACTIVE) << "the folder's window was closed";
  // Stored where the store lives, a number as a number (every value: the unit tests).
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kSettingsKey, "UpdateInterval"), "#3");
  std::vector<std::string> started = WaitForStart(In("VelmoraH.exe"));
  ASSERT_EQ(started.size(), 4u) << "nothing started";
  EXPECT_EQ(started[0] + "|" + started[2] + "|" + started[3], In("VelmoraH.exe") + "|" + kFolder + "|1");  // shown normally
  std::string run = RunValue(HKEY_LOCAL_MACHINE);
  EXPECT_EQ(run, "\"" + started[0] + "\" " + started[1]);
  HWND monitor = WaitForWindow(kMonitor, kMonitor, 0);
  ASSERT_NE(monitor, nullptr) << "the started monitor shows no window";

  // A second start shows what the first stored.
  config = Start(In("VelmoraConfig.exe"), "", kFolder);
  ASSERT_NE(dialog = WaitForDialog(config.pid, nullptr), nullptr);
  std::wstring edits;
  for (int id : {IDC_UPDATE_INTERVAL, IDC_MEMORY_TO_FREE, IDC_MEMORY_THRESHOLD, IDC_MEMORY_TO_REACH})
    edits += TextW(GetDlgItem(dialog, id)) + L" ";
  EXPECT_EQ(edits, L"3 12 6 40 ");
  std::string on;  // every checkbox and option radio that is on
  for (int id = IDC_STYLE_NORMAL; id <= IDC_REACH_TARGET; ++id)
    if (SendMessageA(GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED) on += std::to_string(id) + " ";
  EXPECT_EQ(on, "1007 1010 1011 1014 1018 1019 1064 ");  // Bytes, autostart, hidden, sound, Always, Graph2, reach

  // Autostart off where the machine's Run key may be read but not changed:
  // the value stays, the user is told that it does, and OK goes on.
  ASSERT_TRUE(SendClick(dialog, IDC_AUTO_START));
  SetAccess(HKEY_LOCAL_MACHINE, kRunKey, "KR");
  PostClick(dialog, IDOK);
  EXPECT_EQ(DismissBox(config.pid, "Velmora", nullptr),
            L"ERROR: Can't Delete the \"Run\" Registry Value!\n(Velmora will still start when Windows starts.)");
  EXPECT_EQ(WaitForExit(config), 0u);
  SetAccess(HKEY_LOCAL_MACHINE, kRunKey, "KA");
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(monitor) && !Windows(kMonitor, kMonitor).empty(); })) << "not replaced";

  // Uninstall mode: monitors closed, Run values and settings gone, nothing shown.
  Put(HKEY_CURRENT_USER, kRunKey, kMonitor, "x");
  EXPECT_EQ(WaitForExit(Start(In("VelmoraConfig.exe"), "-uninstall", kFolder)), 0u);
  EXPECT_TRUE(WaitUntil([] { return Windows(kMonitor, kMonitor).empty(); }));
  EXPECT_EQ(WaitForExit(folder, 0), STILL_ACTIVE) << "the folder's window was closed";
  for (HKEY root : kRunRoots) EXPECT_EQ(RunValue(root), "(none)");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Velmora"));
}
