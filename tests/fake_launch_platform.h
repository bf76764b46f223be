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

#include "launch.h"

class FakeLaunch : public LaunchPlatform {
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

  MonitorWindow FindWindowByTitle(const char* title) override {
    ++finds;
    if (strcmp(title, "Velmora") != 0) return 0;
    for (size_t i = 0; i < windows.size(); ++i) {
      if (windows[i] > 0) return i + 1;
    }
    return 0;
  }
  void RequestClose(MonitorWindow window) override {
    log.push_back("close " + std::to_string(window));
    if (windows.at(window - 1) != kNever) --windows.at(window - 1);
  }
  void Pause(uint32_t ms) override { log.push_back("pause " + std::to_string(ms)); }
  bool CurrentDirectory(char* dir, size_t room) override { return Give(current, dir, room); }
  bool ProgramDirectory(char* dir, size_t room) override { return Give(own, dir, room); }
  bool FileExists(const char* path) override { return files.count(path) != 0; }
  void StartProgram(const char* path, const char* parameters, const char* directory) override {
    log.push_back(std::string("start ") + path + "|" + parameters + "|" + directory);
  }
  void ShowWarning(const char* text) override { log.push_back(std::string("warn ") + text); }
  bool OpenRunKey(RunRoot root, bool forWriting, RunKey* key) override {
    if (refuseOpen.count(root) || (forWriting && refuseSetValue.count(root))) return false;
    *key = root == kMachineRun ? 101 : 102;
    ++openKeys;
    return true;
  }
  bool ReadRunData(RunKey key, const char* name, char* data, size_t room) override {
    const auto& values = run[Root(key)];
    auto it = values.find(name);
    if (it == values.end() || it->second.size() >= room) return false;
    memcpy(data, it->second.c_str(), it->second.size() + 1);
    return true;
  }
  bool WriteRunData(RunKey key, const char* name, const char* text) override {
    if (refuseWrite) return false;
    run[Root(key)][name] = text;
    return true;
  }
  bool DeleteRunData(RunKey key, const char* name) override { return run[Root(key)].erase(name) != 0; }
  void CloseRunKey(RunKey) override { --openKeys; }

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
  static RunRoot Root(RunKey key) { return key == 101 ? kMachineRun : kUserRun; }
  static bool Give(const std::string& text, char* dir, size_t room) {
    if (text.empty() || text.size() >= room) return false;
    memcpy(dir, text.c_str(), text.size() + 1);
    return true;
  }
};

#endif
