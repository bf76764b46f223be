// The configuration program in a program folder of its own, beside two
// stand-in monitors: its Chinese texts, a box and the focus after it, the
// help page, and what OK leaves in the registry and starts; then its
// uninstall mode.
#include "resource.h"
#include "support.h"

namespace {

const char kFolder[] = "C:\\Velmora Launch";

std::string In(const char* name) { return std::string(kFolder) + "\\" + name; }

}  // namespace

TEST_F(E2E, ConfigurationStoresReplacesTheMonitorAndUninstalls) {
  made = {kFolder, In("VelmoraConfig.exe"), In("Velmora.exe"), In("VelmoraH.exe"), In("VelmoraH.exe.started"),
          Beside("velmora_standin.exe.started")};
  CreateDirectoryA(kFolder, nullptr);
  ASSERT_TRUE(CopyFileA(Beside("VelmoraConfig.exe").c_str(), In("VelmoraConfig.exe").c_str(), FALSE));
  for (const char* monitor : {"Velmora.exe", "VelmoraH.exe"})
    ASSERT_TRUE(CopyFileA(Beside("velmora_standin.exe").c_str(), In(monitor).c_str(), FALSE));
  Program old = Start(Beside("velmora_standin.exe"), "U=1");
  ASSERT_NE(WaitForWindow(kMonitor, kMonitor, old.pid), nullptr);
  Program config = Start(In("VelmoraConfig.exe"), "", kFolder);
  HWND dialog = WaitForDialog(config.pid, nullptr);
  ASSERT_NE(dialog, nullptr);
  // The Chinese texts survive the build as themselves.
  EXPECT_EQ(TextW(dialog), L"Velmora 配置");
  EXPECT_EQ(TextW(GetDlgItem(dialog, IDC_LABEL_SECONDS)), L"秒刷新显示");

  // A wrong field: its box over the dialog, then the field has the focus with
  // its text selected.
  SetText(dialog, IDC_UPDATE_INTERVAL, "601");
  PostClick(dialog, IDOK);
  HWND box = WaitForWindow("#32770", "Velmora", config.pid, true);
  ASSERT_NE(box, nullptr) << "no box";
  EXPECT_EQ(TextW(GetDlgItem(box, 0xFFFF)), L"Please enter an integer between 1 and 600.");
  EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
  Press(box);
  HWND edit = GetDlgItem(dialog, IDC_UPDATE_INTERVAL);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && Focused(dialog) == edit; }));
  EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), MAKELONG(0, 3));

  // The help page over the dialog, which waits disabled until it closes.
  PostClick(dialog, IDC_SHOW_HELP);
  HWND page = WaitForDialog(config.pid, dialog);
  ASSERT_NE(page, nullptr) << "no help page";
  EXPECT_FALSE(IsWindowEnabled(dialog));
  Press(page);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page) && IsWindowEnabled(dialog); }));

  // OK: the twelve values, the Run value, the old monitor closed and the
  // hidden one started from the program folder with the Run value's options.
  SetText(dialog, IDC_UPDATE_INTERVAL, "5");
  SetText(dialog, IDC_MEMORY_THRESHOLD, "6");
  SetText(dialog, IDC_MEMORY_TO_FREE, "12");
  SetText(dialog, IDC_MEMORY_TO_REACH, "40");
  for (int id : {IDC_STYLE_GRAPH2, IDC_DEFRAG_ALWAYS, IDC_DETAIL_BYTES, IDC_REACH_TARGET, IDC_SOUND, IDC_RUN_HIDDEN})
    ASSERT_TRUE(SendClick(dialog, id)) << id;
  SetText(dialog, IDC_UPDATE_INTERVAL, " 3 ");
  PostClick(dialog, IDOK);
  EXPECT_EQ(WaitForExit(config), 0u);
  EXPECT_EQ(WaitForExit(old), 0u) << "the running monitor was not closed";
  // Stored as text and as a number (every value: the unit tests).
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kSettingsKey, "DisplayStyle"), "Graph2");
  EXPECT_EQ(Value(HKEY_CURRENT_USER, kSettingsKey, "UpdateInterval"), "#3");
  std::vector<std::string> started;
  ASSERT_TRUE(WaitUntil([&] { return (started = Started(In("VelmoraH.exe"))).size() == 3; })) << "nothing started";
  EXPECT_EQ(started[0], In("VelmoraH.exe"));
  EXPECT_EQ(started[2], kFolder);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "\"" + started[0] + "\" " + started[1]);
  EXPECT_NE(started[1].find("P=\"" + In("VelmoraConfig.exe") + "\""), std::string::npos) << started[1];
  EXPECT_FALSE(Exists(In("Velmora.exe.started")));

  // Uninstall mode: monitors closed, Run values and settings gone, nothing shown.
  Put(HKEY_CURRENT_USER, kRunKey, kMonitor, "x");
  EXPECT_EQ(WaitForExit(Start(In("VelmoraConfig.exe"), "-uninstall", kFolder)), 0u);
  EXPECT_TRUE(WaitUntil([] { return Windows(kMonitor, nullptr).empty(); }));
  for (HKEY root : kRunRoots) EXPECT_EQ(RunValue(root), "(none)");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Velmora"));
}
