// The configuration dialog's controls without a window: edit texts and
// button states, the platform's own click behaviour (automatic checkboxes
// toggle, automatic radios turn on), a programmable memory size, and a log
// of every message, focus and control write in order.
#ifndef VELMORA_TESTS_FAKE_CONTROL_SURFACE_H
#define VELMORA_TESTS_FAKE_CONTROL_SURFACE_H

#include <string.h>

#include <map>
#include <string>
#include <vector>

#include "config_dialog.h"
#include "resource.h"

const uint32_t kMegabyte = 1u << 20;

class FakeSurface : public ControlSurface {
 public:
  std::map<int, std::string> edits;
  std::map<int, bool> buttons;
  uint32_t totalPhys = 64 * kMegabyte;
  std::vector<std::string> log;       // "message <text>", "focus <id>", "text <id> <text>", "check <id> 0|1"
  std::vector<std::string> messages;  // "<caption>: <text>"
  int reads = 0;                      // edit and button reads

  FakeSurface() {
    for (int id : kEdits) edits[id] = "";
    for (int id : kButtons) buttons[id] = false;
  }

  void GetEditText(int id, char* text, size_t room) override {
    ++reads;
    const std::string& t = edits.at(id);
    size_t n = t.size() < room - 1 ? t.size() : room - 1;
    memcpy(text, t.data(), n);
    text[n] = '\0';
  }
  void SetEditText(int id, const char* text) override {
    edits.at(id) = text;
    log.push_back("text " + std::to_string(id) + " " + text);
  }
  bool IsButtonOn(int id) override {
    ++reads;
    return buttons.at(id);
  }
  void SetButton(int id, bool on) override {
    buttons.at(id) = on;
    log.push_back("check " + std::to_string(id) + (on ? " 1" : " 0"));
  }
  void FocusEdit(int id) override {
    (void)edits.at(id);  // an edit, nothing else
    log.push_back("focus " + std::to_string(id));
  }
  void ShowMessage(const char* text, const char* caption) override {
    messages.push_back(std::string(caption) + ": " + text);
    log.push_back(std::string("message ") + text);
  }
  uint32_t TotalPhysicalMemory() override { return totalPhys; }

  // What the platform does to a clicked control before the dialog hears
  // of it.
  DialogAction Click(ConfigDialog* dialog, int id) {
    if (IsRadio(id)) buttons.at(id) = true;
    if (IsCheckbox(id)) buttons.at(id) = !buttons.at(id);
    return dialog->OnCommand(id);
  }

  // The on radios and checkboxes, as their ids in increasing order.
  std::string OnButtons() const {
    std::string s;
    for (const auto& b : buttons) {
      if (b.second) s += std::to_string(b.first) + " ";
    }
    return s;
  }
  std::string Edits() const {
    return edits.at(IDC_UPDATE_INTERVAL) + " " + edits.at(IDC_MEMORY_THRESHOLD) + " " +
           edits.at(IDC_MEMORY_TO_FREE) + " " + edits.at(IDC_MEMORY_TO_REACH);
  }
  void SetEdits(const char* interval, const char* threshold, const char* toFree, const char* toReach) {
    edits[IDC_UPDATE_INTERVAL] = interval;
    edits[IDC_MEMORY_THRESHOLD] = threshold;
    edits[IDC_MEMORY_TO_FREE] = toFree;
    edits[IDC_MEMORY_TO_REACH] = toReach;
  }

  static bool IsRadio(int id) {
    for (int r : kRadios) {
      if (r == id) return true;
    }
    return false;
  }
  static bool IsCheckbox(int id) {
    for (int c : kCheckboxes) {
      if (c == id) return true;
    }
    return false;
  }

  static constexpr int kEdits[] = {IDC_UPDATE_INTERVAL, IDC_MEMORY_TO_FREE, IDC_MEMORY_THRESHOLD,
                                   IDC_MEMORY_TO_REACH};
  static constexpr int kCheckboxes[] = {IDC_AUTO_START, IDC_RUN_HIDDEN, IDC_SOUND,
                                        IDC_ALWAYS_FREE, IDC_FREE_EXTRA, IDC_REACH_TARGET};
  static constexpr int kRadios[] = {IDC_STYLE_NORMAL,  IDC_STYLE_GREEN,   IDC_STYLE_WHITE,  IDC_STYLE_GRAPH1,
                                    IDC_STYLE_GRAPH2,  IDC_STYLE_GRAPH3,  IDC_DETAIL_MBYTES, IDC_DETAIL_BYTES,
                                    IDC_DEFRAG_LOW,    IDC_DEFRAG_NEVER,  IDC_DEFRAG_ALWAYS};
  static constexpr int kButtons[] = {IDC_AUTO_START,   IDC_RUN_HIDDEN,    IDC_SOUND,         IDC_ALWAYS_FREE,
                                     IDC_FREE_EXTRA,   IDC_REACH_TARGET,  IDC_STYLE_NORMAL,  IDC_STYLE_GREEN,
                                     IDC_STYLE_WHITE,  IDC_STYLE_GRAPH1,  IDC_STYLE_GRAPH2,  IDC_STYLE_GRAPH3,
                                     IDC_DETAIL_MBYTES, IDC_DETAIL_BYTES, IDC_DEFRAG_LOW,    IDC_DEFRAG_NEVER,
                                     IDC_DEFRAG_ALWAYS};
};

#endif
