// The release installer under Wine: a silent install, its uninstall entry
// and shortcuts, and an uninstall that leaves nothing of the suite behind.
#include <gtest/gtest.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "dialog_support.h"
#include "e2e_support.h"
#include "version.h"

namespace {

const char kUninstallKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Velmora";
const char kInstallDir[] = "C:\\Velmora Test";

std::vector<std::string> ShippedFiles() {
  std::vector<std::string> files;
  std::string list = VELMORA_SHIPPED_FILES;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(';', start);
    if (end == std::string::npos) end = list.size();
    if (end > start) files.push_back(list.substr(start, end - start));
    start = end + 1;
  }
  return files;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string StartMenuFolder() {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_COMMON_PROGRAMS, nullptr, 0, path);
  return std::string(path) + "\\Velmora";
}

bool ReadString(const char* name, std::string* value) {
  char data[1024];
  DWORD size = sizeof data;
  DWORD type = 0;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, name, RRF_RT_REG_SZ | RRF_SUBKEY_WOW6432KEY, &type, data,
                   &size) != ERROR_SUCCESS)
    return false;
  *value = data;
  return true;
}

bool KeyExists() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ | kProgramsView, &key) != ERROR_SUCCESS)
    return false;
  RegCloseKey(key);
  return true;
}

DWORD RunSetup(const std::string& arguments) {
  std::string path = ProgramPath("..\\package\\VelmoraSetup-" VELMORA_VERSION_TEXT ".exe");
  Program p = StartPath(path, arguments);
  return p.process == nullptr ? kStillRunning : WaitForExit(p, 120000);
}

// The uninstaller copies itself away and returns at once; what it removes
// is polled for.
bool Uninstall() {
  Program p = StartPath(std::string(kInstallDir) + "\\Uninstall.exe", "/S");
  if (p.process == nullptr || WaitForExit(p, 60000) != 0) return false;
  return WaitUntil([] { return !Exists(kInstallDir) && !KeyExists(); }, 60000);
}

void RemoveEverything() {
  if (Exists(std::string(kInstallDir) + "\\Uninstall.exe")) Uninstall();
  for (const std::string& f : ShippedFiles()) DeleteFileA((std::string(kInstallDir) + "\\" + f).c_str());
  DeleteFileA((std::string(kInstallDir) + "\\Uninstall.exe").c_str());
  RemoveDirectoryA(kInstallDir);
  RegDeleteKeyExA(HKEY_LOCAL_MACHINE, kUninstallKey, kProgramsView, 0);
}

class InstallerE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveEverything();
    ASSERT_FALSE(Exists(kInstallDir));
    ASSERT_FALSE(KeyExists());
  }
  void TearDown() override {
    EndStartedPrograms();
    CloseAllMonitors();
    RemoveEverything();
    DeleteRunValues();
    RemoveSettingsKeys();
  }
};

TEST_F(InstallerE2E, SilentInstallPutsFilesShortcutsAndEntry) {
  ASSERT_EQ(RunSetup(std::string("/S /D=") + kInstallDir), 0u);
  for (const std::string& f : ShippedFiles()) EXPECT_TRUE(Exists(std::string(kInstallDir) + "\\" + f)) << f;
  EXPECT_TRUE(Exists(std::string(kInstallDir) + "\\Uninstall.exe"));

  const struct {
    const char* name;
    std::string want;
  } values[] = {
      {"DisplayName", "Velmora"},
      {"DisplayVersion", VELMORA_VERSION_TEXT},
      {"Publisher", VELMORA_PUBLISHER},
      {"DisplayIcon", std::string(kInstallDir) + "\\Velmora.exe,0"},
      {"InstallLocation", kInstallDir},
      {"UninstallString", std::string("\"") + kInstallDir + "\\Uninstall.exe\""},
      {"QuietUninstallString", std::string("\"") + kInstallDir + "\\Uninstall.exe\" /S"},
  };
  for (const auto& v : values) {
    std::string got;
    EXPECT_TRUE(ReadString(v.name, &got)) << v.name;
    EXPECT_EQ(got, v.want) << v.name;
  }
  DWORD size = 0, bytes = sizeof size;
  EXPECT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize", RRF_RT_REG_DWORD | RRF_SUBKEY_WOW6432KEY,
                         nullptr, &size, &bytes),
            ERROR_SUCCESS);
  EXPECT_GT(size, 10u) << "KB";

  std::string menu = StartMenuFolder();
  EXPECT_TRUE(Exists(menu + "\\Velmora Configuration.lnk")) << menu;
  EXPECT_TRUE(Exists(menu + "\\Uninstall Velmora.lnk")) << menu;

  ASSERT_TRUE(Uninstall());
  EXPECT_FALSE(Exists(menu));
  EXPECT_FALSE(Exists(kInstallDir));
}

TEST_F(InstallerE2E, SecondInstallOverTheFirst) {
  ASSERT_EQ(RunSetup(std::string("/S /D=") + kInstallDir), 0u);
  ASSERT_EQ(RunSetup("/S"), 0u) << "the second install finds the first one's directory";
  std::string location;
  EXPECT_TRUE(ReadString("InstallLocation", &location));
  EXPECT_EQ(location, kInstallDir);
  for (const std::string& f : ShippedFiles()) EXPECT_TRUE(Exists(std::string(kInstallDir) + "\\" + f)) << f;
  ASSERT_TRUE(Uninstall());
}

TEST_F(InstallerE2E, UninstallAfterAFileWasRemovedByHand) {
  ASSERT_EQ(RunSetup(std::string("/S /D=") + kInstallDir), 0u);
  ASSERT_TRUE(DeleteFileA((std::string(kInstallDir) + "\\VelmoraH.exe").c_str()));
  ASSERT_TRUE(Uninstall());
  EXPECT_FALSE(Exists(StartMenuFolder()));
}

TEST_F(InstallerE2E, UninstallLeavesWhatItDidNotInstall) {
  ASSERT_EQ(RunSetup(std::string("/S /D=") + kInstallDir), 0u);
  std::string mine = std::string(kInstallDir) + "\\notes.txt";
  HANDLE f = CreateFileA(mine.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(f, INVALID_HANDLE_VALUE);
  CloseHandle(f);
  Program p = StartPath(std::string(kInstallDir) + "\\Uninstall.exe", "/S");
  ASSERT_EQ(WaitForExit(p, 60000), 0u);
  EXPECT_TRUE(WaitUntil([] { return !KeyExists(); }, 60000));
  EXPECT_TRUE(WaitUntil([] { return !Exists(std::string(kInstallDir) + "\\Velmora.exe"); }, 60000));
  EXPECT_TRUE(Exists(mine)) << "a file of the user's was removed";
  DeleteFileA(mine.c_str());
}

TEST_F(InstallerE2E, UninstallRemovesWhatTheSuiteLeftBehind) {
  ASSERT_EQ(RunSetup(std::string("/S /D=") + kInstallDir), 0u);
  // The user confirms the configuration: settings, a Run value and a
  // running monitor started from the program directory.
  std::string config = std::string(kInstallDir) + "\\VelmoraConfig.exe";
  Program p = StartPath(config, "", kInstallDir);
  HWND dialog = WaitForDialog(p.pid, L"Velmora \u914d\u7f6e", nullptr);
  ASSERT_NE(dialog, nullptr);
  SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
  PostClick(dialog, IDOK);
  ASSERT_EQ(WaitForExit(p), 0u);
  HWND monitor = WaitForWindow("Velmora", "Velmora", 0);
  ASSERT_NE(monitor, nullptr) << "OK started no monitor";
  DWORD pid = 0;
  GetWindowThreadProcessId(monitor, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, pid);
  ASSERT_NE(process, nullptr);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE).find(std::string("\"") + kInstallDir + "\\Velmora.exe\""), 0u);
  HKEY settings;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velmora\\Velmora\\Settings", 0, KEY_READ, &settings),
            ERROR_SUCCESS);
  RegCloseKey(settings);

  ASSERT_TRUE(Uninstall());
  EXPECT_EQ(WaitForSingleObject(process, kDeadlineMs), WAIT_OBJECT_0) << "the monitor still runs";
  DWORD code = 1;
  GetExitCodeProcess(process, &code);
  CloseHandle(process);
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "(none)");
  HKEY vendor;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velmora", 0, KEY_READ, &vendor), ERROR_SUCCESS);
  EXPECT_FALSE(Exists(kInstallDir));
  EXPECT_FALSE(Exists(StartMenuFolder()));
  EXPECT_FALSE(KeyExists());
}

}  // namespace
