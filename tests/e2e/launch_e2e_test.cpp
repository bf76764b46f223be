// Confirming the configuration program under Wine with the real programs:
// what it stores in the Run value, which monitor it closes and which it
// starts with what command line, and its uninstall mode.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialog_support.h"
#include "e2e_support.h"
#include "resource.h"

namespace {

const wchar_t kCaption[] = L"Velmora 配置";
const char kProgramDir[] = "C:\\Velmora Launch";
enum { kOk = IDC_DIALOG_OK, kCancel = IDC_DIALOG_CANCEL, kAutoStart = IDC_AUTO_START, kRunHidden = IDC_RUN_HIDDEN };

std::string InDir(const char* name) { return std::string(kProgramDir) + "\\" + name; }

std::string ReadWholeFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  char data[4096];
  DWORD got = 0;
  ::ReadFile(file, data, sizeof data, &got, nullptr);
  CloseHandle(file);
  return std::string(data, got);
}

// What a stand-in monitor in the program directory recorded of its start:
// path, arguments (the command line after the program name) and working
// directory; empty until it has started.
struct Started {
  std::string path, arguments, directory;
};
bool ReadStarted(const char* name, Started* s) {
  std::string text = ReadWholeFile(InDir(name) + ".started");
  size_t a = text.find('\n'), b = text.find('\n', a + 1), c = text.find('\n', b + 1);
  if (c == std::string::npos) return false;
  s->path = text.substr(0, a);
  std::string line = text.substr(a + 1, b - a - 1);
  size_t rest = line[0] == '"' ? line.find('"', 1) + 1 : line.find(' ');
  while (rest < line.size() && line[rest] == ' ') ++rest;
  s->arguments = rest < line.size() ? line.substr(rest) : "";
  s->directory = text.substr(b + 1, c - b - 1);
  return true;
}

DWORD StoredNumber(const char* name) {
  DWORD value = 0, size = sizeof value;
  RegGetValueA(HKEY_CURRENT_USER, "Software\\Velmora\\Velmora\\Settings", name, RRF_RT_REG_DWORD, nullptr, &value,
               &size);
  return value;
}

class LaunchE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    Clear();
    ASSERT_TRUE(FindWindows("Velmora", nullptr).empty());
    // The program directory: the real configuration program beside two
    // stand-in monitors.
    CreateDirectoryA(kProgramDir, nullptr);
    ASSERT_TRUE(CopyFileA(ProgramPath("VelmoraConfig.exe").c_str(), InDir("VelmoraConfig.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(ProgramPath("velmora_standin.exe").c_str(), InDir("Velmora.exe").c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(ProgramPath("velmora_standin.exe").c_str(), InDir("VelmoraH.exe").c_str(), FALSE));
  }
  void TearDown() override {
    EndStartedPrograms();
    Clear();
    const char* files[] = {"VelmoraConfig.exe", "Velmora.exe", "VelmoraH.exe", "Velmora.exe.started",
                           "VelmoraH.exe.started"};
    for (const char* f : files) DeleteFileA(InDir(f).c_str());
    RemoveDirectoryA(kProgramDir);
  }
  static void Clear() {
    CloseAllMonitors();
    DeleteRunValues();
    RemoveSettingsKeys();
  }
  // The configuration program from the program directory, its dialog up.
  HWND Open(Program* config, const char* arguments = "") {
    *config = StartPath(InDir("VelmoraConfig.exe"), arguments, kProgramDir);
    HWND dialog = WaitForDialog(config->pid, kCaption, nullptr);
    if (dialog != nullptr) SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
    return dialog;
  }
  // The command line composed for the machine's defaults.
  static std::string DefaultOptions() {
    return " M=" + std::to_string(StoredNumber("MemoryToFree")) + " T=" +
           std::to_string(StoredNumber("MemoryThreshold")) + " P=\"" + InDir("VelmoraConfig.exe") + "\"";
  }
};

TEST_F(LaunchE2E, OkOnAFirstStartReplacesTheMonitor) {
  Program old = Start("Velmora.exe", "U=1");  // the real tray monitor
  ASSERT_NE(WaitForWindow("Velmora", "Velmora", old.pid), nullptr);
  Program config;
  HWND dialog = Open(&config);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, kOk);
  ASSERT_EQ(WaitForExit(config), 0u);

  EXPECT_EQ(WaitForExit(old), 0u) << "the running monitor was not closed";
  Started s;
  ASSERT_TRUE(WaitUntil([&] { return ReadStarted("Velmora.exe", &s); })) << "no monitor was started";
  std::string options = DefaultOptions();
  EXPECT_EQ(s.path, InDir("Velmora.exe"));
  EXPECT_EQ(s.arguments, options.substr(1));
  EXPECT_EQ(s.directory, kProgramDir);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "\"" + InDir("Velmora.exe") + "\"" + options);
  EXPECT_NE(StoredNumber("MemoryThreshold"), 0u);
}

TEST_F(LaunchE2E, RunHiddenStartsTheHiddenMonitor) {
  Program config;
  HWND dialog = Open(&config);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(SendClick(dialog, kRunHidden));
  ASSERT_TRUE(IsChecked(dialog, kRunHidden));
  PostClick(dialog, kOk);
  ASSERT_EQ(WaitForExit(config), 0u);
  Started s;
  ASSERT_TRUE(WaitUntil([&] { return ReadStarted("VelmoraH.exe", &s); }));
  EXPECT_EQ(s.arguments, DefaultOptions().substr(1));
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "\"" + InDir("VelmoraH.exe") + "\"" + DefaultOptions());
  EXPECT_FALSE(ReadStarted("Velmora.exe", &s));
}

TEST_F(LaunchE2E, AutostartOffRemovesTheRunValue) {
  Program first;
  HWND dialog = Open(&first);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, kOk);
  ASSERT_EQ(WaitForExit(first), 0u);
  ASSERT_NE(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  // The monitor it started is up before the second confirmation closes it.
  Started s;
  ASSERT_TRUE(WaitUntil([&] { return ReadStarted("Velmora.exe", &s); })) << "no monitor was started";

  Program second;
  dialog = Open(&second);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(SendClick(dialog, kAutoStart));
  ASSERT_FALSE(IsChecked(dialog, kAutoStart));
  PostClick(dialog, kOk);
  ASSERT_EQ(WaitForExit(second), 0u);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "(none)");
  // The monitor is still replaced: the second one started is running.
  EXPECT_TRUE(WaitUntil([] { return FindWindows("Velmora", "Velmora").size() == 1; }));
}

TEST_F(LaunchE2E, CancelLeavesTheRunningMonitorRunning) {
  Program monitor = Start("Velmora.exe", "U=1");
  ASSERT_NE(WaitForWindow("Velmora", "Velmora", monitor.pid), nullptr);
  Program config;
  HWND dialog = Open(&config);
  ASSERT_NE(dialog, nullptr);
  PostClick(dialog, kCancel);
  ASSERT_EQ(WaitForExit(config), 0u);
  EXPECT_EQ(WaitForExit(monitor, 1000), kStillRunning);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  Started s;
  EXPECT_FALSE(ReadStarted("Velmora.exe", &s));
}

TEST_F(LaunchE2E, UninstallModeRemovesEverythingAndShowsNothing) {
  Program monitor = Start("VelmoraH.exe", "U=1");
  ASSERT_NE(WaitForWindow("Velmora", "Velmora", monitor.pid), nullptr);
  const HKEY roots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};
  for (HKEY root : roots) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, nullptr, 0,
                              KEY_SET_VALUE | kProgramsView, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, "Velmora", 0, REG_SZ, reinterpret_cast<const BYTE*>("x"), 2);
    RegCloseKey(key);
  }
  HKEY settings;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Velmora\\Velmora\\Settings", 0, nullptr, 0, KEY_WRITE,
                            nullptr, &settings, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(settings);

  Program config = StartPath(InDir("VelmoraConfig.exe"), "-uninstall", kProgramDir);
  ASSERT_EQ(WaitForExit(config), 0u);
  EXPECT_EQ(WaitForExit(monitor), 0u);
  EXPECT_EQ(RunValue(HKEY_LOCAL_MACHINE), "(none)");
  EXPECT_EQ(RunValue(HKEY_CURRENT_USER), "(none)");
  HKEY key;
  EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Velmora", 0, KEY_READ, &key), ERROR_SUCCESS);
  EXPECT_TRUE(FindDialogs(config.pid, kCaption).empty());
  Started s;
  EXPECT_FALSE(ReadStarted("Velmora.exe", &s)) << "uninstall mode started a monitor";
}

TEST_F(LaunchE2E, OtherArgumentsOpenTheDialog) {
  const char* arguments[] = {"-Uninstall", "/uninstall", "-uninstall x"};
  for (const char* a : arguments) {
    Program config;
    HWND dialog = Open(&config, a);
    ASSERT_NE(dialog, nullptr) << a;
    PostClick(dialog, kCancel);
    EXPECT_EQ(WaitForExit(config), 0u) << a;
  }
}

}  // namespace
