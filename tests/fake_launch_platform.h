// Launching without a system: Run keys as maps, a file list, directories
// to hand out, monitor windows that go away after so many close requests,
// and a log of every window, pause, start and warning in order.
#ifndef VELMORA_TESTS_FAKE_LAUNCH_PLATFORM_H
#define VELMORA_TESTS_FAKE_LAUNCH_PLATFORM_H

#include <string.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "launch_platform.h"

enum RunRoot { kMachineRun, kUserRun };

class FakeLaunch : public LaunchPlatform, public WindowCloser, public Registry {
 public:
  static const int kNever = 1 << 30;

  std::vector<std::string> log;  // "close N", "pause MS", "start PATH|PARAMS|DIR", "warn TEXT"
  std::map<RunRoot, std::map<std::string, std::string>> run;  // Run values by root
  std::set<RunRoot> refuseOpen;         // Run keys that cannot be opened at all
  std::set<RunRoot> refuseSetValue;     // Run keys that cannot be opened with set-value access
  bool refuseWrite = false;             // values cannot be stored
  std::string current = "C:\\Tools";    // "" when it cannot be had
  std::string own = "C:\\Tools";
  std::set<std::string> files = {"C:\\Tools\\Velmora.exe", "C:\\Tools\\VelmoraH.exe",
                                 "C:\\Tools\\VelmoraConfig.exe"};
  std::vector<int> windows;             // close requests each window takes before it goes
  int finds = 0;
  int openKeys = 0;                     // Run keys open now

  // Everything launching reaches, all of it here.
  Launcher Everything() { return Launcher{this, this, this}; }

  // ---- Windows ----
  WindowRef FindTopWindow(WindowLookup by, const char* name) override {
    ++finds;
    if (by != kByTitle || strcmp(name, "Velmora") != 0) return 0;
    for (size_t i = 0; i < windows.size(); ++i) {
      if (windows[i] > 0) return i + 1;
    }
    return 0;
  }
  void RequestClose(WindowRef window) override {
    log.push_back("close " + std::to_string(window));
    if (windows.at(window - 1) != kNever) --windows.at(window - 1);
  }
  void Pause(uint32_t ms) override { log.push_back("pause " + std::to_string(ms)); }

  // ---- Directories, files, starts and warnings ----
  bool CurrentDirectory(char* dir, size_t room) override { return Give(current, dir, room); }
  bool ProgramDirectory(char* dir, size_t room) override { return Give(own, dir, room); }
  bool FileExists(const char* path) override { return files.count(path) != 0; }
  void StartProgram(const char* path, const char* parameters, const char* directory) override {
    log.push_back(std::string("start ") + path + "|" + parameters + "|" + directory);
  }
  void ShowWarning(const char* text) override { log.push_back(std::string("warn ") + text); }

  // ---- The Run keys: only ever opened, read, written and emptied ----
  RegResult OpenKey(RegistryKey root, const char* path, uint32_t access, RegistryKey* key) override {
    if (strcmp(path, kRunKeyPath) != 0) return kRegNotFound;
    RunRoot r = root == kLocalMachine ? kMachineRun : kUserRun;
    if (refuseOpen.count(r) || (access == kKeySetValue && refuseSetValue.count(r))) return kRegFailed;
    *key = r == kMachineRun ? 101 : 102;
    ++openKeys;
    return kRegDone;
  }
  RegResult CreateKey(RegistryKey, const char*, uint32_t, RegistryKey*) override { return kRegFailed; }
  RegResult ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) override {
    const auto& values = run[Root(key)];
    auto it = values.find(name);
    if (it == values.end()) return kRegNotFound;
    uint32_t length = static_cast<uint32_t>(it->second.size() + 1);
    bool fits = length <= *size;
    *type = kTextValue;
    *size = length;
    if (!fits) return kRegTooLong;
    memcpy(data, it->second.c_str(), length);
    return kRegDone;
  }
  RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) override {
    if (refuseWrite) return kRegFailed;
    // A string value is stored with its NUL, the last of its bytes.
    const char* text = static_cast<const char*>(data);
    bool string = type == kTextValue && size > 0 && memchr(text, '\0', size) == text + size - 1;
    run[Root(key)][name] = string ? text : "(not a string of its own length)";
    return kRegDone;
  }
  RegResult DeleteValue(RegistryKey key, const char* name) override {
    return run[Root(key)].erase(name) != 0 ? kRegDone : kRegNotFound;
  }
  RegResult DeleteKey(RegistryKey, const char*) override { return kRegFailed; }
  RegResult SubkeyAt(RegistryKey, uint32_t, char*, uint32_t) override { return kRegFailed; }
  RegResult ValueAt(RegistryKey, uint32_t, char*, uint32_t) override { return kRegFailed; }
  void CloseKey(RegistryKey) override { --openKeys; }

  std::string Starts() const {
    std::string s;
    for (const auto& entry : log) {
      if (entry.compare(0, 6, "start ") == 0) s += entry.substr(6) + "\n";
    }
    return s;
  }
  std::string Warnings() const {
    std::string s;
    for (const auto& entry : log) {
      if (entry.compare(0, 5, "warn ") == 0) s += entry.substr(5) + "\n";
    }
    return s;
  }
  int Closes() const {
    return static_cast<int>(std::count_if(log.begin(), log.end(),
                                          [](const std::string& e) { return e.compare(0, 6, "close ") == 0; }));
  }

 private:
  static RunRoot Root(RegistryKey key) { return key == 101 ? kMachineRun : kUserRun; }
  static bool Give(const std::string& text, char* dir, size_t room) {
    if (text.empty() || text.size() >= room) return false;
    memcpy(dir, text.c_str(), text.size() + 1);
    return true;
  }
};

#endif
