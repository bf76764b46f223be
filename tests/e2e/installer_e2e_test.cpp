// The release installer over a desktop's life: a silent install with its
// files, entry and shortcuts; an upgrade over running monitors, which it
// closes first and starts again from the Run value; an upgrade that fails on
// a file in use, keeping the listed version; and an interactive uninstall
// that leaves that file, and the folder, to the next restart, speaking the
// user's language and showing the product's icon, name and version.
#include "support.h"

#include "resource.h"
#include "version.h"

// The first image of a program file's icon, which its pages show too.
static std::string IconImage(const std::string& file) {
  HMODULE m = LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC r = FindResourceA(m, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(3));  // RT_ICON
  std::string image = r ? std::string(static_cast<const char*>(LockResource(LoadResource(m, r))), SizeofResource(m, r)) : "";
  FreeLibrary(m);  // an uninstaller must be able to delete it
  return image;
}

TEST_F(E2E, InstallUpgradeOverRunningMonitorsAndUninstallAFileInUse) {
  const std::string folder = "C:\\Velmora Test", held = folder + "\\Velmora.exe", hidden = folder + "\\VelmoraH.exe";
  const std::string setup = Beside("..\\package\\VelmoraSetup-" VELMORA_VERSION_TEXT ".exe");
  const char* const entry = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
  // The Start-menu folder, among all users' programs (CSIDL_COMMON_PROGRAMS), below ProgramData since Vista.
  const char* data = getenv("ProgramData");
  const std::string menu = std::string(data ? data : "") + "\\Microsoft\\Windows\\Start Menu\\Programs\\Velmora";
  made = {folder, menu, menu + "\\Velmora Configuration.lnk", menu + "\\Uninstall Velmora.lnk"};
  for (std::string list = "Uninstall.exe;" VELMORA_SHIPPED_FILES ";"; !list.empty(); list.erase(0, list.find(';') + 1))
    made.push_back(folder + "\\" + list.substr(0, list.find(';')));
  // The window's process, ended with the test, and the file it was started from.
  auto owner = [](HWND window, Program* process) {
    GetWindowThreadProcessId(window, &process->pid);
    g_started.push_back(*process = {OpenProcess(PROCESS_ALL_ACCESS, FALSE, process->pid), process->pid});
    char image[MAX_PATH] = "";
    return std::string(image, GetModuleFileNameExA(process->process, nullptr, image, MAX_PATH));
  };

  ASSERT_EQ(WaitForExit(Start(setup, "/S /D=" + folder), 120000), 0u);
  for (size_t i = 1; i < made.size(); ++i) EXPECT_TRUE(Exists(made[i])) << made[i];
  const struct { const char* name; std::string value; } values[] = {
      {"DisplayName", "Velmora"}, {"Publisher", VELMORA_PUBLISHER}, {"DisplayIcon", held + ",0"},
      {"InstallLocation", folder}, {"UninstallString", "\"" + folder + "\\Uninstall.exe\""},
      {"QuietUninstallString", "\"" + folder + "\\Uninstall.exe\" /S"}};
  for (const auto& v : values) EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, entry, v.name), v.value) << v.name;

  // An older version running, its monitors stand-ins, the hidden one named by
  // the Run value; beside them an Explorer window of a folder named as the
  // product. Installing over it closes the monitors only (with a file still in
  // use it would fail) and starts the hidden one again.
  for (const std::string& monitor : {held, hidden})
    CopyFileA(Beside("velmora_standin.exe").c_str(), monitor.c_str(), FALSE), Start(monitor, "/window Velmora Velmora");
  Program explorer = StartWindow("CabinetWClass", kMonitor), restarted, again, uninstaller;
  ASSERT_TRUE(WaitUntil([] { return Windows(nullptr, kMonitor).size() == 3; }));
  Put(HKEY_LOCAL_MACHINE, kRunKey, kMonitor, ("\"" + hidden + "\" U=600").c_str());
  Put(HKEY_LOCAL_MACHINE, entry, "DisplayVersion", "1.5.0");
  ASSERT_EQ(WaitForExit(Start(setup, "/S /D=" + folder), 120000), 0u);
  EXPECT_EQ(WaitForExit(explorer, 0), STILL_ACTIVE) << "a window only titled as a monitor was closed";
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), VELMORA_VERSION_TEXT);
  EXPECT_EQ(owner(WaitForWindow(kMonitor, kMonitor, 0), &restarted), hidden) << "the closed monitor not started again";

  // A file in use that no close request frees, held here as a running
  // program's file is, and let go with the programs the test started: the
  // install fails, the list of programs keeps the old version, and the
  // monitor it closed runs again.
  g_started.push_back({CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr)});
  Put(HKEY_LOCAL_MACHINE, entry, "DisplayVersion", "1.5.0");
  EXPECT_EQ(WaitForExit(Start(setup, "/S /D=" + folder), 120000), 2u) << "not NSIS's code of an aborted install";
  EXPECT_EQ(Value(HKEY_LOCAL_MACHINE, entry, "DisplayVersion"), "1.5.0");
  EXPECT_EQ(owner(WaitForWindow(kMonitor, kMonitor, 0), &again), hidden) << "the closed monitor not started again";

  // The uninstaller, interactively, with the file still in use: its first
  // process copies it away and ends; the copy shows the pages, the one
  // unowned dialog on the desktop. Its last page offers a restart only when
  // one is needed, and then "later" should be chosen.
  Start(folder + "\\Uninstall.exe", "");
  HWND wizard = WaitForDialog(0, nullptr), later = nullptr;
  owner(wizard, &uninstaller);
  // It speaks the test's language, Chinese; its foot names the product and
  // version; it and the installer carry the product's icon.
  EXPECT_TRUE(HasChinese(TextW(GetDlgItem(wizard, IDOK)))) << TextW(GetDlgItem(wizard, IDOK));
  EXPECT_EQ(TextW(GetDlgItem(wizard, 1256)), L"Velmora " VELMORA_VERSION_TEXT " ");  // MUI's foot, a blank after
  for (const std::string& file : {folder + "\\Uninstall.exe", setup}) EXPECT_EQ(IconImage(file), IconImage(Beside("Velmora.exe"))) << file;
  ASSERT_TRUE(SendClick(wizard, IDOK)) << "no uninstaller";
  // "I want to manually reboot later", in any language: its id on MUI's finish page.
  WaitUntil([&] { return (later = GetDlgItem(FindWindowExA(wizard, nullptr, "#32770", nullptr), 1204)) != nullptr; });
  EXPECT_EQ(SendMessageA(later, BM_GETCHECK, 0, 0), BST_CHECKED) << "no restart asked for, or Finish alone restarts";
  SendMessageA(later, BM_CLICK, 0, 0);  // a restart would end the whole Wine session
  EXPECT_EQ(SendClick(wizard, IDOK) ? WaitForExit(uninstaller) : STILL_ACTIVE, 0u) << "Finish did not end it";
  EXPECT_EQ(WaitForExit(again), 0u) << "the monitor still runs";
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry));
  for (size_t i = 1; i < made.size(); ++i) EXPECT_EQ(Exists(made[i]), made[i] == held) << made[i];
  EXPECT_PRED_FORMAT2(testing::IsSubstring, "\\??\\" + held + "||\\??\\" + folder + "\\||",
                      Value(HKEY_LOCAL_MACHINE, kSessionManager, "PendingFileRenameOperations"));
}
