// The configuration dialog's controls and its launcher without a window:
// edit texts and button states with the platform's own click behaviour, a
// programmable memory size, directories and files to hand out, and logs of
// boxes, focus, exchanges, starts and warnings that can be made one; and a
// dialog opened on them.
#ifndef VELMORA_TESTS_FAKE_CONFIG_H
#define VELMORA_TESTS_FAKE_CONFIG_H

#include <stdio.h>

#include "config_dialog.h"
#include "fake_system.h"

class FakeSurface : public ControlSurface {
 public:
  static constexpr int kEdits[] = {IDC_UPDATE_INTERVAL, IDC_MEMORY_THRESHOLD, IDC_MEMORY_TO_FREE, IDC_MEMORY_TO_REACH};
  static constexpr int kCheckboxes[] = {IDC_AUTO_START, IDC_RUN_HIDDEN, IDC_SOUND, IDC_ALWAYS_FREE, IDC_FREE_EXTRA, IDC_REACH_TARGET};
  static constexpr int kRadios[] = {IDC_STYLE_NORMAL,  IDC_STYLE_GREEN,  IDC_STYLE_WHITE, IDC_STYLE_GRAPH1, IDC_STYLE_GRAPH2, IDC_STYLE_GRAPH3,
                                    IDC_DETAIL_MBYTES, IDC_DETAIL_BYTES, IDC_DEFRAG_LOW,  IDC_DEFRAG_NEVER, IDC_DEFRAG_ALWAYS};
  std::map<int, std::string> edits;
  std::map<int, bool> buttons;
  uint32_t totalPhys = 64u << 20;
  Lines mine, *log = &mine;  // "box CAPTION: TEXT", "focus ID", "exchange"

  FakeSurface() {
    for (int id : kEdits) edits[id] = "";
    for (int id : kCheckboxes) buttons[id] = false;
    for (int id : kRadios) buttons[id] = false;
  }
  void GetEditText(int id, char* text, size_t room) override {
    if (id == IDC_MEMORY_TO_FREE) log->push_back("exchange");  // the first edit an exchange reads
    snprintf(text, room, "%s", edits.at(id).c_str());
  }
  void SetEditText(int id, const char* text) override { edits.at(id) = text; }
  bool IsButtonOn(int id) override { return buttons.at(id); }
  void SetButton(int id, bool on) override { buttons.at(id) = on; }
  void FocusEdit(int id) override { log->push_back("focus " + std::to_string(id)); }
  void ShowMessage(const char* text, const char* caption) override { log->push_back(std::string("box ") + caption + ": " + text); }
  uint32_t TotalPhysicalMemory() override { return totalPhys; }

  // The platform turns a clicked radio on, or toggles a checkbox, first.
  DialogAction Click(ConfigDialog* dialog, int id) {
    for (int r : kRadios) buttons[id] = buttons[id] || r == id;
    for (int c : kCheckboxes) buttons[id] = buttons[id] != (c == id);
    return dialog->OnCommand(id);
  }
  // The edits as "interval|threshold|to free|to reach".
  std::string Edits() const { return edits.at(kEdits[0]) + "|" + edits.at(kEdits[1]) + "|" + edits.at(kEdits[2]) + "|" + edits.at(kEdits[3]); }
  void SetEdits(const std::string& e) {
    for (size_t i = 0, at = 0; i < 4; at = e.find('|', at) + 1, ++i) edits[kEdits[i]] = e.substr(at, e.find('|', at) - at);
  }
  // The ids of the buttons that are on, in increasing order.
  std::string On() const {
    std::string s;
    for (const auto& b : buttons) s += b.second ? std::to_string(b.first) + " " : "";
    return s;
  }
  void SetOn(const std::string& ids) {
    for (auto& b : buttons) b.second = ids.find(std::to_string(b.first)) != std::string::npos;
  }
};

class FakeLaunch : public LaunchPlatform {
 public:
  FakeRegistry registry;
  FakeWindows windows;
  std::string current = "C:\\Tools", own = "C:\\Tools";  // "" when it cannot be had
  std::set<std::string> files = {"C:\\Tools\\Velmora.exe", "C:\\Tools\\VelmoraH.exe"};
  Lines mine, *log = &mine;  // "start PATH|PARAMETERS|DIRECTORY", "warn TEXT"

  Launcher Everything() { return Launcher{this, &windows, &registry}; }
  bool CurrentDirectory(char* dir, size_t room) override { return Give(current, dir, room); }
  bool ProgramDirectory(char* dir, size_t room) override { return Give(own, dir, room); }
  bool FileExists(const char* path) override { return files.count(path) != 0; }
  void StartProgram(const char* path, const char* parameters, const char* directory) override {
    log->push_back(std::string("start ") + path + "|" + parameters + "|" + directory);
  }
  void ShowWarning(const char* text) override { log->push_back(std::string("warn ") + text); }

 private:
  static bool Give(const std::string& text, char* dir, size_t room) {
    return !text.empty() && text.size() < room && memcpy(dir, text.c_str(), text.size() + 1);
  }
};

const char kStore[] = "Software\\Velmora\\Velmora\\Settings";
const std::string kUserRun = kRunKeyPath, kRun = "HKLM\\" + kUserRun;
const char* const kNames[] = {"AutoStart", "RunHidden", "ReachTarget", "Sound", "AlwaysFree", "DisplayStyle",
                              "Defragment", "DetailStyle", "UpdateInterval", "MemoryToFree", "MemoryToReach",
                              "MemoryThreshold"};  // in the order in which saving writes them

// A dialog opened over an empty store, its logs cleared; then these edits
// and buttons set.
struct Dialog {
  FakeLaunch launch;
  FakeRegistry& registry = launch.registry;
  ConfigProgram program{&launch.registry};
  FakeSurface surface;
  ConfigDialog dialog;

  Dialog() {
    registry.Make(kRun);
    registry.Make(kUserRun);
    program.SetApplicationName(kApplicationName);
    program.SetRegistryKey(kRegistryKeyName);
    dialog.SetLauncher(launch.Everything());
    dialog.Attach(&surface);
    Open();
  }
  Dialog(const char* edits, const char* on) : Dialog() {
    surface.SetEdits(edits);
    surface.SetOn(on);
  }
  void Open() {
    dialog.BeginInitialisation();
    dialog.FinishInitialisation(&program);
    surface.log->clear();
    registry.log->clear();
  }
};

#endif
