// The configuration program as the platform sees it under Wine: its dialog
// and help page, their message boxes, focus and selection, what is drawn on
// the screen, and what ends up in the registry.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e_support.h"
#include "dialog_support.h"
#include "resource.h"

namespace {

const char kConfig[] = "VelmoraConfig.exe";
const wchar_t kCaption[] = L"Velmora 配置";
const char kSettings[] = "Software\\Velmora\\Velmora\\Settings";
const char* const kStoreKeys[] = {"Software\\Velmora\\Velmora\\Settings", "Software\\Velmora\\Velmora",
                                  "Software\\Velmora"};
const DWORD kMegabyte = 1u << 20;

// Control ids of the configuration dialog and the help page, by the
// program's own names (the template tests pin their numbers).
enum {
  kInterval = IDC_UPDATE_INTERVAL, kToFree = IDC_MEMORY_TO_FREE, kThreshold = IDC_MEMORY_THRESHOLD,
  kToReach = IDC_MEMORY_TO_REACH,
  kNormal = IDC_STYLE_NORMAL, kGreen = IDC_STYLE_GREEN, kWhite = IDC_STYLE_WHITE, kGraph1 = IDC_STYLE_GRAPH1,
  kGraph2 = IDC_STYLE_GRAPH2, kGraph3 = IDC_STYLE_GRAPH3,
  kMBytes = IDC_DETAIL_MBYTES, kBytes = IDC_DETAIL_BYTES,
  kLow = IDC_DEFRAG_LOW, kNever = IDC_DEFRAG_NEVER, kAlways = IDC_DEFRAG_ALWAYS,
  kAutoStart = IDC_AUTO_START, kRunHidden = IDC_RUN_HIDDEN, kSound = IDC_SOUND, kAlwaysFree = IDC_ALWAYS_FREE,
  kFreeExtra = IDC_FREE_EXTRA, kReachTarget = IDC_REACH_TARGET,
  kDefault = IDC_DEFAULT, kHelp = IDC_SHOW_HELP, kSecondsLabel = IDC_LABEL_SECONDS, kFreeingLabel = IDC_LABEL_FREEING,
  kVersionLine = IDC_HELP_VERSION, kIntervalHeading = IDC_HELP_INTERVAL, kThresholdHeading = IDC_HELP_THRESHOLD,
};

const int kCheckable[] = {kNormal, kGreen, kWhite, kGraph1, kGraph2, kGraph3, kMBytes, kBytes, kLow,
                          kNever, kAlways, kAutoStart, kRunHidden, kSound, kAlwaysFree, kFreeExtra, kReachTarget};

bool KeyExists(const char* path) {
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

void RemoveStore() {
  for (const char* path : kStoreKeys) RegDeleteKeyA(HKEY_CURRENT_USER, path);
}

struct Stored {
  std::string name;
  DWORD type;
  std::vector<BYTE> data;
};

std::vector<Stored> ReadStore() {
  std::vector<Stored> values;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    BYTE data[512];
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &type, data, &size) != ERROR_SUCCESS) break;
    values.push_back({name, type, std::vector<BYTE>(data, data + size)});
  }
  RegCloseKey(key);
  return values;
}

std::vector<BYTE> Text(const char* s) { return std::vector<BYTE>(s, s + strlen(s) + 1); }
std::vector<BYTE> Number(DWORD v) {
  return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
}

// MemoryToFree and MemoryThreshold for this machine, by the installed-memory
// table.
void MachineDefaults(DWORD* toFree, DWORD* threshold) {
  DWORD n = ProgramsTotalPhys() >> 20;
  const struct {
    DWORD above, toFree, threshold;
  } table[] = {{130, 28, 4}, {98, 20, 4}, {66, 16, 4}, {42, 10, 4}, {34, 8, 2}, {18, 4, 2}, {0, 3, 1}};
  for (const auto& row : table) {
    if (n > row.above || row.above == 0) {
      *toFree = row.toFree;
      *threshold = row.threshold;
      return;
    }
  }
}

DWORD InstalledMegabytes() {
  DWORD n = ProgramsTotalPhys() >> 20;
  return n == 0 ? 1 : n;
}

// Screenshots until the texts of the controls show on the screen (the
// dialog may still be painting), up to the deadline; the last one stays in
// the build tree.
struct Label {
  int id;
  const wchar_t* text;
};

void ExpectTextsDrawn(const char* name, HWND dialog, std::initializer_list<Label> labels) {
  for (const Label& label : labels) {
    EXPECT_EQ(WindowTextW(GetDlgItem(dialog, label.id)), label.text) << name << " control " << label.id;
  }
  std::string details;
  bool drawn = WaitUntil([&] {
    Image shot;
    if (!TakeScreenshot(name, &shot)) {
      details = "no screenshot";
      return false;
    }
    bool all = true;
    details.clear();
    for (const Label& label : labels) {
      TextCheck check = CheckDrawnText(shot, dialog, label.id, label.text);
      all = all && check.drawn;
      details += "\n  control " + std::to_string(label.id) + ": " + check.detail;
    }
    return all;
  });
  EXPECT_TRUE(drawn) << name << details;
}

class ConfigE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    RemoveStore();
    ASSERT_FALSE(KeyExists("Software\\Velmora")) << "a store from elsewhere is in the way";
    ASSERT_EQ(FindDialogs(0, kCaption).size(), 0u) << "a configuration dialog from elsewhere is open";
    // The machine defaults come from this reading; without it they would be
    // compared with those of no memory at all.
    ASSERT_NE(ProgramsTotalPhys(), 0u) << "velmora_memory_probe.exe gave no reading";
  }
  void TearDown() override {
    EndStartedPrograms();
    // OK starts a monitor and writes the Run value.
    CloseAllMonitors();
    DeleteRunValues();
    RemoveStore();
  }

  // Starts the program and waits for its dialog.
  HWND Open() {
    program_ = Start(kConfig, "");
    EXPECT_NE(program_.process, nullptr);
    HWND dialog = WaitForDialog(program_.pid, kCaption, nullptr);
    EXPECT_NE(dialog, nullptr) << "no dialog captioned \"Velmora 配置\"";
    // Initialised and idle.
    if (dialog != nullptr) SendMessageTimeoutA(dialog, WM_NULL, 0, 0, SMTO_NORMAL, kDeadlineMs, nullptr);
    return dialog;
  }
  const Program& program() const { return program_; }
  // OK ends with the start of the tray monitor from the program directory;
  // it is waited for so that it is closed with this test, not left for the
  // next one to find.
  static void ExpectTrayMonitorStarted() {
    EXPECT_NE(WaitForWindow("Velmora", "Velmora", 0), nullptr) << "OK started no monitor";
  }

  std::string Edits(HWND dialog) {
    return EditText(dialog, kInterval) + " " + EditText(dialog, kThreshold) + " " + EditText(dialog, kToFree) + " " +
           EditText(dialog, kToReach);
  }
  std::string OnButtons(HWND dialog) {
    std::string s;
    for (int id : kCheckable) {
      if (IsChecked(dialog, id)) s += std::to_string(id) + " ";
    }
    return s;
  }
  std::string DefaultEdits() {
    DWORD toFree = 0, threshold = 0;
    MachineDefaults(&toFree, &threshold);
    return "5 " + std::to_string(threshold) + " " + std::to_string(toFree) + " 0";
  }

 private:
  Program program_;
};

const char kDefaultButtons[] = "1003 1006 1016 1010 1063 ";

TEST_F(ConfigE2E, OpensWithTheDefaultsForThisMachine) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(WindowTextW(dialog), kCaption);
  EXPECT_EQ(Edits(dialog), DefaultEdits());
  EXPECT_EQ(OnButtons(dialog), kDefaultButtons);
  // The first tab stop has the focus.
  EXPECT_EQ(FocusedWindow(dialog), GetDlgItem(dialog, kInterval));
  LONG style = GetWindowLongA(dialog, GWL_STYLE);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_CHILD), 0) << std::hex << style;
  EXPECT_NE(style & WS_SYSMENU, 0) << std::hex << style;
  EXPECT_EQ(GetWindow(dialog, GW_OWNER), nullptr);
  // Opening creates the empty key chain and writes no value.
  EXPECT_TRUE(KeyExists(kSettings));
  EXPECT_TRUE(ReadStore().empty());

  // The Chinese texts are drawn as themselves.
  ExpectTextsDrawn("config_dialog", dialog, {{kSecondsLabel, L"秒刷新显示"}, {kFreeingLabel, L"释放内存时:"}});
}

TEST_F(ConfigE2E, AWrongEditShowsItsMessageThenHasTheFocusWithAllTextSelected) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  const std::string installed = std::to_string(InstalledMegabytes());
  const struct {
    int edit;
    std::string text;
    int clicked;  // OK or a handled control
    std::string message;
  } cases[] = {
      {kToFree, "abc", IDOK, "Please enter a positive integer."},
      {kThreshold, "", kGreen, "Please enter a positive integer."},
      {kInterval, "601", IDOK, "Please enter an integer between 1 and 600."},
      {kInterval, " 0 ", kFreeExtra, "Please enter an integer between 1 and 600."},
      {kToReach, "12x", IDOK, "Please enter a positive integer."},
      {kToReach, std::to_string(InstalledMegabytes() + 1), IDOK,
       "Please enter an integer between 0 and " + installed + "."},
      {kThreshold, "-5", kRunHidden, "Please enter an integer between 0 and " + installed + "."},
  };
  int i = 0;
  for (const auto& c : cases) {
    SetEditText(dialog, kInterval, "5");
    SetEditText(dialog, kThreshold, "4");
    SetEditText(dialog, kToFree, "10");
    SetEditText(dialog, kToReach, "0");
    SetEditText(dialog, c.edit, c.text.c_str());
    PostClick(dialog, c.clicked);
    HWND box = WaitForMessageBox(program().pid, "Velmora");
    ASSERT_NE(box, nullptr) << "case " << i;
    EXPECT_EQ(MessageBoxText(box), c.message) << "case " << i;
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog) << "case " << i;
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    HWND edit = GetDlgItem(dialog, c.edit);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box) && FocusedWindow(dialog) == edit; })) << "case " << i;
    DWORD length = static_cast<DWORD>(EditText(dialog, c.edit).size());
    EXPECT_EQ(SendMessageA(edit, EM_GETSEL, 0, 0), static_cast<LRESULT>(MAKELONG(0, length))) << "case " << i;
    ++i;
  }
  EXPECT_TRUE(IsWindow(dialog)) << "a failed exchange keeps the dialog open";
  EXPECT_TRUE(ReadStore().empty());
}

TEST_F(ConfigE2E, GraphStylesSetTheIntervalToOne) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  const struct {
    int radio;
    const char* interval;  // after the click, from 30
  } cases[] = {{kGraph1, "1"}, {kWhite, "30"}, {kGraph3, "1"}, {kGreen, "30"}, {kGraph2, "1"}, {kNormal, "30"}};
  int i = 0;
  for (const auto& c : cases) {
    SetEditText(dialog, kInterval, "030");
    ASSERT_TRUE(SendClick(dialog, c.radio)) << "case " << i << ": the click did not return";
    EXPECT_EQ(EditText(dialog, kInterval), c.interval) << "case " << i;
    std::string on;
    for (int r : {kNormal, kGreen, kWhite, kGraph1, kGraph2, kGraph3}) {
      if (IsChecked(dialog, r)) on += std::to_string(r) + " ";
    }
    EXPECT_EQ(on, std::to_string(c.radio) + " ") << "case " << i;
    ++i;
  }
  EXPECT_EQ(FindMessageBox(program().pid, "Velmora"), nullptr);
}

TEST_F(ConfigE2E, RunHiddenNeedsNonZeroMemoryValues) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  SetEditText(dialog, kToFree, "0");
  SetEditText(dialog, kToReach, "0");
  PostClick(dialog, kRunHidden);
  HWND box = WaitForMessageBox(program().pid, "Velmora");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "To select \"Run hidden\" you must specify non-zero memory values.");
  EXPECT_FALSE(IsChecked(dialog, kRunHidden)) << "off before the box shows";
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));

  // With a threshold and an amount to reach, the choice stands.
  SetEditText(dialog, kToReach, "8");
  ASSERT_TRUE(SendClick(dialog, kRunHidden));
  EXPECT_TRUE(IsChecked(dialog, kRunHidden));
  EXPECT_EQ(FindMessageBox(program().pid, "Velmora"), nullptr);
}

TEST_F(ConfigE2E, DefaultRestoresTheDefaultsOverAnything) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  SetEditText(dialog, kInterval, "abc");
  SetEditText(dialog, kToFree, "");
  ASSERT_TRUE(SendClick(dialog, kAutoStart));  // off: no handler
  PostClick(dialog, kBytes);                   // fails its exchange: a box
  HWND box = WaitForMessageBox(program().pid, "Velmora");
  ASSERT_NE(box, nullptr);
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  ASSERT_TRUE(SendClick(dialog, kDefault));
  EXPECT_EQ(Edits(dialog), DefaultEdits());
  EXPECT_EQ(OnButtons(dialog), kDefaultButtons);
  EXPECT_EQ(FindMessageBox(program().pid, "Velmora"), nullptr);
  EXPECT_TRUE(ReadStore().empty());
}

TEST_F(ConfigE2E, HelpPageOpensAboveTheDialogAndLeavesItUnchanged) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  SetEditText(dialog, kInterval, "77x");
  SendClick(dialog, kSound);
  const std::string edits = Edits(dialog);
  const std::string buttons = OnButtons(dialog);

  // From the Help button, the system-menu item, and again from the button.
  const struct {
    bool fromMenu;
    UINT close;  // how the page is closed
  } openings[] = {{false, IDOK}, {true, IDCANCEL}, {false, WM_CLOSE}, {true, IDOK}};
  int i = 0;
  for (const auto& o : openings) {
    if (o.fromMenu) {
      PostMessageA(dialog, WM_SYSCOMMAND, 16, 0);
    } else {
      PostClick(dialog, kHelp);
    }
    HWND page = WaitForDialog(program().pid, kCaption, dialog);
    ASSERT_NE(page, nullptr) << "case " << i;
    EXPECT_EQ(EditText(page, kVersionLine), "Velmora v1.6        01/05/2001") << "case " << i;
    EXPECT_TRUE(WaitUntil([&] { return FocusedWindow(page) == GetDlgItem(page, IDOK); })) << "case " << i;
    EXPECT_FALSE(IsWindowEnabled(dialog)) << "case " << i;
    if (i == 0) {
      ExpectTextsDrawn("help_page", page,
                       {{kIntervalHeading, L"刷新显示间隔:"}, {kThresholdHeading, L"当内存小于等于一定值时自动释放:"}});
    }
    if (o.close == WM_CLOSE) {
      PostMessageA(page, WM_CLOSE, 0, 0);
    } else {
      PostMessageA(page, WM_COMMAND, o.close, 0);
    }
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page) && IsWindowEnabled(dialog); })) << "case " << i;
    EXPECT_EQ(Edits(dialog), edits) << "case " << i;
    EXPECT_EQ(OnButtons(dialog), buttons) << "case " << i;
    ++i;
  }
  EXPECT_EQ(FindMessageBox(program().pid, "Velmora"), nullptr);
  EXPECT_TRUE(ReadStore().empty());
}

TEST_F(ConfigE2E, TheSystemMenuEndsWithTheAboutItem) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  // Open the window menu from the keyboard, step up from the first item
  // to the last one and pick it: the help page opens.
  PostMessageA(dialog, WM_SYSCOMMAND, SC_KEYMENU, ' ');
  HWND menu = WaitForMenu(program().pid);
  ASSERT_NE(menu, nullptr) << "no window menu";
  PostMessageA(menu, WM_KEYDOWN, VK_UP, 0);
  PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
  HWND page = WaitForDialog(program().pid, kCaption, dialog);
  ASSERT_NE(page, nullptr) << "the last item did not open the help page";
  EXPECT_EQ(EditText(page, kVersionLine), "Velmora v1.6        01/05/2001");
  PostMessageA(page, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(page); }));
  EXPECT_TRUE(IsWindow(dialog));
}

TEST_F(ConfigE2E, CancelWritesNothing) {
  const UINT ways[] = {IDCANCEL, WM_CLOSE};
  int i = 0;
  for (UINT way : ways) {
    HWND dialog = Open();
    ASSERT_NE(dialog, nullptr);
    SetEditText(dialog, kInterval, "9");
    SendClick(dialog, kGraph3);
    if (way == WM_CLOSE) {
      PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    } else {
      PostClick(dialog, IDCANCEL);
    }
    EXPECT_EQ(WaitForExit(program()), 0u) << "case " << i;
    EXPECT_TRUE(KeyExists(kSettings)) << "case " << i;
    EXPECT_TRUE(ReadStore().empty()) << "case " << i;
    ++i;
  }
}

TEST_F(ConfigE2E, OkWritesTheTwelveValuesWithTheirTypes) {
  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  SetEditText(dialog, kThreshold, "6");
  SetEditText(dialog, kToFree, "12");
  SetEditText(dialog, kToReach, "40");
  ASSERT_TRUE(SendClick(dialog, kGraph2));  // the interval becomes 1
  ASSERT_TRUE(SendClick(dialog, kAlways));
  ASSERT_TRUE(SendClick(dialog, kBytes));
  ASSERT_TRUE(SendClick(dialog, kReachTarget));
  ASSERT_TRUE(SendClick(dialog, kSound));
  ASSERT_TRUE(SendClick(dialog, kAutoStart));
  SetEditText(dialog, kInterval, " 3 ");
  PostClick(dialog, IDOK);
  EXPECT_EQ(WaitForExit(program()), 0u);
  ExpectTrayMonitorStarted();
  const std::vector<Stored> stored = ReadStore();
  const struct {
    const char* name;
    DWORD type;
    std::vector<BYTE> data;
  } want[] = {
      {"AutoStart", REG_SZ, Text("No")},         {"RunHidden", REG_SZ, Text("No")},
      {"ReachTarget", REG_SZ, Text("Yes")},      {"Sound", REG_SZ, Text("Yes")},
      {"AlwaysFree", REG_SZ, Text("No")},        {"DisplayStyle", REG_SZ, Text("Graph2")},
      {"Defragment", REG_SZ, Text("Always")},    {"DetailStyle", REG_SZ, Text("Bytes")},
      {"UpdateInterval", REG_DWORD, Number(3)},  {"MemoryToFree", REG_DWORD, Number(12)},
      {"MemoryToReach", REG_DWORD, Number(40)},  {"MemoryThreshold", REG_DWORD, Number(6)},
  };
  ASSERT_EQ(stored.size(), 12u);
  for (const auto& w : want) {
    bool found = false;
    for (const Stored& s : stored) {
      if (s.name != w.name) continue;
      found = true;
      EXPECT_EQ(s.type, w.type) << w.name;
      EXPECT_EQ(s.data, w.data) << w.name;
    }
    EXPECT_TRUE(found) << w.name;
  }

  // The next start shows what was stored.
  HWND again = Open();
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(Edits(again), "3 6 12 40");
  EXPECT_EQ(OnButtons(again), "1019 1007 1018 1014 1064 ");
  PostClick(again, IDCANCEL);
  EXPECT_EQ(WaitForExit(program()), 0u);
}

TEST_F(ConfigE2E, OddlyTypedValuesShowTheFallbacksAndSaveACleanStore) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kSettings, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const std::string longText(1000, 'Y');
  const BYTE three[] = {1, 2, 3};
  const DWORD sixtyFour = 64;
  const struct {
    const char* name;
    DWORD type;
    const void* data;
    DWORD size;
  } odd[] = {
      {"AutoStart", REG_SZ, longText.c_str(), 1001},  // still marks the store as configured
      {"RunHidden", REG_BINARY, "Yes", 4},            {"ReachTarget", REG_DWORD, &sixtyFour, 4},
      {"Sound", REG_SZ, "yes", 4},                    {"AlwaysFree", REG_MULTI_SZ, "Yes\0\0", 5},
      {"DisplayStyle", REG_SZ, "Graph9", 7},          {"Defragment", REG_SZ, "", 1},
      {"DetailStyle", REG_EXPAND_SZ, "Bytes", 6},     {"UpdateInterval", REG_SZ, "7", 2},
      {"MemoryToFree", REG_BINARY, three, 3},         {"MemoryToReach", REG_QWORD, "\1\0\0\0\0\0\0\0", 8},
      {"MemoryThreshold", REG_DWORD_BIG_ENDIAN, three, 3},
  };
  for (const auto& v : odd)
    ASSERT_EQ(RegSetValueExA(key, v.name, 0, v.type, static_cast<const BYTE*>(v.data), v.size), ERROR_SUCCESS) << v.name;
  RegCloseKey(key);

  HWND dialog = Open();
  ASSERT_NE(dialog, nullptr);
  // Configured, so no machine defaults: the fallbacks of each value.
  EXPECT_EQ(Edits(dialog), "5 0 0 0");
  PostClick(dialog, IDOK);
  EXPECT_EQ(WaitForExit(program()), 0u);
  ExpectTrayMonitorStarted();
  const std::vector<Stored> stored = ReadStore();
  ASSERT_EQ(stored.size(), 12u);
  for (const Stored& v : stored) {
    bool number = v.name == "UpdateInterval" || v.name.compare(0, 6, "Memory") == 0;
    EXPECT_EQ(v.type, number ? static_cast<DWORD>(REG_DWORD) : static_cast<DWORD>(REG_SZ)) << v.name;
    EXPECT_EQ(v.data.size(), number ? 4u : strlen(reinterpret_cast<const char*>(v.data.data())) + 1) << v.name;
  }
}

}  // namespace
