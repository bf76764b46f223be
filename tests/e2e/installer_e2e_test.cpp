// The release installer: a silent install with its files, uninstall entry
// and shortcuts; the configuration confirmed from there, starting the tray
// monitor; and an uninstall that leaves nothing of the suite behind.
#include "support.h"

#include <shlobj.h>

#include "version.h"

TEST_F(E2E, InstallConfigureAndUninstall) {
  const std::string folder = "C:\\Velmora Test", entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
  char menu[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, menu);
  const std::string shortcuts = std::string(menu) + "\\Velmora";
  std::vector<std::string> files = {"Uninstall.exe"};
  for (std::string list = VELMORA_SHIPPED_FILES ";"; !list.empty(); list.erase(0, list.find(';') + 1))
    files.push_back(list.substr(0, list.find(';')));
  made = {folder, shortcuts, shortcuts + "\\Velmora Configuration.lnk", shortcuts + "\\Uninstall Velmora.lnk"};
  for (const std::string& f : files) made.push_back(folder + "\\" + f);

  Program setup = Start(Beside("..\\package\\VelmoraSetup-" VELMORA_VERSION_TEXT ".exe"), "/S /D=" + folder);
  ASSERT_EQ(WaitForExit(setup, 120000), 0u);
  for (size_t i = 1; i < made.size(); ++i) EXPECT_TRUE(Exists(made[i])) << made[i];
  const struct { const char* name; std::string value; } values[] = {
      {"DisplayName", "Velmora"}, {"DisplayVersion", VELMORA_VERSION_TEXT}, {"Publisher", VELMORA_PUBLISHER},
      {"DisplayIcon", folder + "\\Velmora.exe,0"}, {"InstallLocation", folder},
      {"UninstallString", "\"" + folder + "\\Uninstall.exe\""},
      {"QuietUninstallString", "\"" + folder + "\\Uninstall.exe\" /S"},
  };
  for (const auto& v : values) EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, entry.c_str(), v.name), v.value) << v.name;

  // OK with the defaults: settings, the Run value and the tray monitor,
  // from the current folder when that holds the monitors too.
  std::string current = Beside("");
  current.pop_back();
  Program config = Start(folder + "\\VelmoraConfig.exe", "", current.c_str());
  HWND dialog = WaitForDialog(config.pid, nullptr);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, IDOK);
  ASSERT_EQ(WaitForExit(config), 0u);
  HWND window = WaitForWindow(kMonitor, kMonitor, 0);
  ASSERT_NE(window, nullptr) << "OK started no monitor";
  Program monitor;
  GetWindowThreadProcessId(window, &monitor.pid);
  monitor.process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, monitor.pid);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE).find("\"" + current + "\\Velmora.exe\" "), 0u) << RunValue(HKEY_LOCAL_MACHINE);
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kSettingsKey));

  // The uninstaller copies itself away and returns at once: its work is polled for.
  ASSERT_EQ(WaitForExit(Start(folder + "\\Uninstall.exe", "/S")), 0u);
  EXPECT_TRUE(WaitUntil([&] { return !Exists(folder) && !KeyExists(HKEY_LOCAL_MACHINE, entry); }));
  EXPECT_EQ(WaitForExit(monitor), 0u) << "the monitor still runs";
  CloseHandle(monitor.process);
  for (HKEY root : kRunRoots) EXPECT_EQ(RunValue(root), "(none)");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\Velmora"));
  EXPECT_FALSE(Exists(shortcuts));
}
