// The uninstaller on an installed suite with neighbours that must stay: the
// registry it leaves, the monitor it closes beside a window that stays, and
// its one warning box.
#include "support.h"

TEST_F(E2E, UninstallerRemovesTheProductWarnsOfWhatStaysAndClosesTheMonitor) {
  const char* const kLocked = "Software\\Velmora\\Velmora\\Locked";
  Put(HKEY_CURRENT_USER, kSettingsKey, "Sound", "Yes");
  Put(HKEY_CURRENT_USER, std::string(kLocked) + "\\Child", "c", "1");
  Put(HKEY_CURRENT_USER, "Software\\Velmora\\Other", "Keep", "1");
  for (HKEY root : kRunRoots) Put(root, kRunKey, kMonitor, "\"C:\\Velmora\\Velmora.exe\" U=2");
  // A subkey this user may only read cannot be emptied nor deleted.
  SetAccess(HKEY_CURRENT_USER, kLocked, "KRWD");
  // Beside the monitor, Explorer's window of a folder named as the product.
  Program monitor = StartWindow(kMonitor, kMonitor), folder = StartWindow("CabinetWClass", kMonitor);
  ASSERT_NE(WaitForWindow(kMonitor, kMonitor, monitor.pid), nullptr);
  ASSERT_NE(WaitForWindow("CabinetWClass", kMonitor, folder.pid), nullptr);

  Program uninstaller = Start(Beside("VelmoraUninstall.exe"), "Velmora Velmora N Y Y");
  // The warning's last line names the key that stays (the whole text: the unit tests).
  std::wstring text = DismissBox(uninstaller.pid, "Unable to remove Registry Key", nullptr);
  EXPECT_EQ(text.substr(text.rfind(L'\n') + 1), L"HKEY_CURRENT_USER\\Software\\Velmora\\Velmora");
  EXPECT_EQ(WaitForExit(uninstaller), 0u);
  EXPECT_EQ(WaitForExit(monitor), 0u) << "the monitor was not closed";
  EXPECT_EQ(WaitForExit(folder, 0), STILL_ACTIVE) << "the folder's window was closed";
  const struct { const char* key; bool stays; } keys[] = {
      {kSettingsKey, false}, {"Software\\Velmora\\Velmora\\Locked\\Child", true}, {"Software\\Velmora\\Other", true}};
  for (const auto& k : keys) EXPECT_EQ(KeyExists(HKEY_CURRENT_USER, k.key), k.stays) << k.key;
  for (HKEY root : kRunRoots) EXPECT_EQ(RunValue(root), "(none)");
}
