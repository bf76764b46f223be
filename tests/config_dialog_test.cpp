// The configuration dialog's model on a fake surface and a fake registry:
// what it shows when it opens, the exchanges and their messages, every
// handler, and what confirming stores.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "config_dialog.h"
#include "fake_control_surface.h"
#include "fake_launch_platform.h"
#include "fake_registry.h"

namespace {

const char kStore[] = "Software\\Velmora\\Velmora\\Settings";
const uint32_t MB = kMegabyte;

// The on buttons after the defaults: 1003 Normal, 1006 MBytes, 1010
// AutoStart, 1016 Low, 1063 FreeExtra.
const char kDefaultButtons[] = "1003 1006 1010 1016 1063 ";

struct Dialog {
  FakeRegistry registry;
  ConfigProgram program{&registry};
  FakeSurface surface;
  ConfigDialog dialog;
  FakeLaunch launch;

  explicit Dialog(uint32_t totalPhys = 64 * MB) {
    surface.totalPhys = totalPhys;
    dialog.SetLauncher(launch.Everything());
    program.SetApplicationName(kApplicationName);
    program.SetRegistryKey(kRegistryKeyName);
  }
  // The dialog's initialisation, as the shell runs it.
  void Open() {
    dialog.Attach(&surface);
    dialog.BeginInitialisation();
    dialog.FinishInitialisation(&program);
    surface.log.clear();
    registry.log.clear();
  }
  DialogAction Click(int id) { return surface.Click(&dialog, id); }
  std::string Fields() const {
    const ConfigDialog& d = dialog;
    return std::to_string(d.UpdateInterval) + " " + std::to_string(d.MemoryThreshold) + " " +
           std::to_string(d.MemoryToFree) + " " + std::to_string(d.MemoryToReach) + " flags " +
           std::to_string(d.AutoStart) + std::to_string(d.RunHidden) + std::to_string(d.Sound) +
           std::to_string(d.AlwaysFree) + std::to_string(d.FreeExtra) + std::to_string(d.ReachTarget);
  }
};

std::string Focus(const FakeSurface& s) {
  std::string out;
  for (const auto& entry : s.log) {
    if (entry.compare(0, 6, "focus ") == 0) out += entry.substr(6) + " ";
  }
  return out;
}

// ---- Opening -------------------------------------------------------------

TEST(ConfigDialogOpening, ConstructionValuesReachTheControlsFirst) {
  Dialog d;
  d.dialog.Attach(&d.surface);
  d.dialog.BeginInitialisation();
  EXPECT_EQ(d.surface.Edits(), "0 0 0 0");
  EXPECT_EQ(d.surface.OnButtons(), "1010 ");
  EXPECT_EQ(d.Fields(), "0 0 0 0 flags 100000");
  EXPECT_TRUE(d.registry.log.empty());
}

TEST(ConfigDialogOpening, FirstStartShowsTheDefaultsForTheMachine) {
  const struct {
    uint32_t totalPhys;
    const char* edits;  // interval, threshold, to free, to reach
  } cases[] = {
      {64 * MB, "5 4 10 0"},
      {64 * MB - 1, "5 4 10 0"},  // 63 MB
      {127 * MB, "5 4 20 0"},
      {16 * MB, "5 1 3 0"},
      {2147483647u, "5 4 28 0"},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d(c.totalPhys);
    d.Open();
    EXPECT_EQ(d.surface.Edits(), c.edits) << "case " << i;
    EXPECT_EQ(d.surface.OnButtons(), kDefaultButtons) << "case " << i;
    EXPECT_TRUE(d.surface.messages.empty()) << "case " << i;
    // The empty key chain, and no value.
    EXPECT_TRUE(d.registry.Exists(kStore)) << "case " << i;
    EXPECT_TRUE(d.registry.Dump(kStore).empty()) << "case " << i;
    EXPECT_EQ(d.registry.OpenHandles(), 0u) << "case " << i;
    ++i;
  }
}

// A store to open the dialog on: value name and text (numbers as "#n").
struct Stored {
  const char* name;
  const char* value;
};

void Fill(FakeRegistry* r, const std::vector<Stored>& values) {
  for (const Stored& v : values) {
    if (v.value[0] == '#') {
      r->PutNumber(kStore, v.name, static_cast<uint32_t>(strtoul(v.value + 1, nullptr, 10)));
    } else {
      r->PutText(kStore, v.name, v.value);
    }
  }
}

TEST(ConfigDialogOpening, AConfiguredStoreShowsWhatItHolds) {
  const struct {
    std::vector<Stored> store;
    const char* edits;    // interval, threshold, to free, to reach
    const char* buttons;  // the on radios and checkboxes
  } cases[] = {
      // 0: unconfigured by an empty marker: the defaults for 64 MB.
      {{{"AutoStart", ""}, {"Sound", "Yes"}, {"UpdateInterval", "#9"}}, "5 4 10 0", kDefaultButtons},
      // 1: "No" is configured; missing numbers are 5 and 0, not the table's.
      {{{"AutoStart", "No"}}, "5 0 0 0", "1003 1006 1016 1063 "},
      {{{"AutoStart", "Yes"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      // 3: only "Yes" itself is on.
      {{{"AutoStart", "yes"}, {"RunHidden", "yes"}, {"Sound", "YES"}, {"AlwaysFree", "Yes "}}, "5 0 0 0",
       "1003 1006 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"RunHidden", "Yes"}, {"Sound", "Yes"}, {"AlwaysFree", "Yes"}}, "5 0 0 0",
       "1003 1006 1010 1011 1014 1016 1023 1063 "},
      // 5: every display word, an unknown one and one in other letter case.
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Green"}}, "5 0 0 0", "1004 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "White"}}, "5 0 0 0", "1005 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Graph1"}}, "5 0 0 0", "1006 1009 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Graph2"}}, "5 0 0 0", "1006 1010 1016 1019 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Graph3"}}, "5 0 0 0", "1006 1010 1016 1020 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Normal"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "Purple"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DisplayStyle", "graph2"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      // 13: the reach-target choice.
      {{{"AutoStart", "Yes"}, {"ReachTarget", "Yes"}}, "5 0 0 0", "1003 1006 1010 1016 1064 "},
      {{{"AutoStart", "Yes"}, {"ReachTarget", "No"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"ReachTarget", "YES"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      // 16: defragment and detail words.
      {{{"AutoStart", "Yes"}, {"Defragment", "Always"}}, "5 0 0 0", "1003 1006 1010 1018 1063 "},
      {{{"AutoStart", "Yes"}, {"Defragment", "Never"}}, "5 0 0 0", "1003 1006 1010 1017 1063 "},
      {{{"AutoStart", "Yes"}, {"Defragment", "never"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"Defragment", "Low"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DetailStyle", "Bytes"}}, "5 0 0 0", "1003 1007 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"DetailStyle", "bytes"}}, "5 0 0 0", "1003 1006 1010 1016 1063 "},
      // 22: numbers: all bits set reads as missing; out-of-range shown unchanged.
      {{{"AutoStart", "Yes"}, {"UpdateInterval", "#4294967295"}, {"MemoryToFree", "#4294967295"},
        {"MemoryToReach", "#4294967295"}, {"MemoryThreshold", "#4294967295"}},
       "5 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"UpdateInterval", "#0"}}, "0 0 0 0", "1003 1006 1010 1016 1063 "},
      {{{"AutoStart", "Yes"}, {"UpdateInterval", "#900"}, {"MemoryToFree", "#5000"},
        {"MemoryToReach", "#4294967294"}, {"MemoryThreshold", "#65"}},
       "900 65 5000 4294967294", "1003 1006 1010 1016 1063 "},
      // 25: a number stored as text reads as missing.
      {{{"AutoStart", "Yes"}, {"UpdateInterval", "12"}, {"MemoryToFree", "12"}}, "5 0 0 0",
       "1003 1006 1010 1016 1063 "},
      // 26: a whole store.
      {{{"AutoStart", "No"}, {"RunHidden", "Yes"}, {"ReachTarget", "Yes"}, {"Sound", "No"}, {"AlwaysFree", "Yes"},
        {"DisplayStyle", "Graph2"}, {"Defragment", "Always"}, {"DetailStyle", "Bytes"},
        {"UpdateInterval", "#2"}, {"MemoryToFree", "#12"}, {"MemoryToReach", "#32"}, {"MemoryThreshold", "#4"}},
       "2 4 12 32", "1007 1011 1018 1019 1023 1064 "},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    Fill(&d.registry, c.store);
    d.Open();
    EXPECT_EQ(d.surface.Edits(), c.edits) << "case " << i;
    EXPECT_EQ(d.surface.OnButtons(), c.buttons) << "case " << i;
    EXPECT_EQ(d.dialog.FreeExtra + d.dialog.ReachTarget, 1) << "case " << i;
    ++i;
  }
}

TEST(ConfigDialogOpening, OddMarkersStillCountAsConfigured) {
  const struct {
    uint32_t type;
    std::vector<unsigned char> data;
  } markers[] = {
      {kTextValue, std::vector<unsigned char>(200, 'Y')},  // longer than any word
      {kNumberValue, {1, 0, 0, 0}},                        // another type, not empty
  };
  int i = 0;
  for (const auto& m : markers) {
    Dialog d;
    d.registry.Put(kStore, "AutoStart", m.type, m.data);
    d.registry.PutNumber(kStore, "MemoryToFree", 17);
    d.Open();
    EXPECT_EQ(d.surface.Edits(), "5 0 17 0") << "case " << i;
    EXPECT_EQ(d.surface.OnButtons(), "1003 1006 1016 1063 ") << "case " << i;
    ++i;
  }
}

TEST(ConfigDialogOpening, LoadSettingsReadsInItsOrder) {
  Dialog d;
  d.registry.PutText(kStore, "AutoStart", "Yes");
  d.dialog.Attach(&d.surface);
  d.dialog.program = &d.program;
  d.dialog.LoadSettings();
  std::vector<std::string> names;
  for (const std::string& r : d.registry.LogOf("read")) names.push_back(r.substr(r.find(':') + 1));
  const std::vector<std::string> want = {"AutoStart",    "RunHidden",     "Sound",        "AlwaysFree",
                                         "UpdateInterval", "MemoryToFree", "MemoryToReach", "MemoryThreshold",
                                         "DisplayStyle", "ReachTarget",   "Defragment",   "DetailStyle"};
  EXPECT_EQ(names, want);
  EXPECT_TRUE(d.registry.LogOf("write").empty());
}

TEST(ConfigDialogOpening, AnUnconfiguredStoreIsReadOnce) {
  Dialog d;
  d.Open();
  Dialog e;
  e.dialog.Attach(&e.surface);
  e.dialog.program = &e.program;
  e.dialog.LoadSettings();
  EXPECT_EQ(e.registry.LogOf("read"), std::vector<std::string>{std::string(kStore) + ":AutoStart"});
}

// ---- Defaults --------------------------------------------------------------

TEST(SetDefaultSettings, SetsTheRadiosInOrderAndTouchesNothingElse) {
  Dialog d;
  d.dialog.Attach(&d.surface);
  d.surface.SetEdits("x", "y", "z", "w");
  d.dialog.SetDefaultSettings();
  const std::vector<std::string> want = {
      "check 1004 0", "check 1003 1", "check 1005 0", "check 1009 0", "check 1019 0", "check 1020 0",
      "check 1016 1", "check 1017 0", "check 1018 0", "check 1007 0", "check 1006 1",
  };
  EXPECT_EQ(d.surface.log, want);
  EXPECT_EQ(d.surface.Edits(), "x y z w");
  EXPECT_TRUE(d.registry.log.empty());
  EXPECT_EQ(d.Fields(), "5 4 10 0 flags 100010");
}

TEST(SetDefaultSettings, DefaultButtonOverInvalidTextRestoresEverything) {
  Dialog d(127 * MB);
  d.registry.PutText(kStore, "AutoStart", "No");
  d.registry.PutText(kStore, "DisplayStyle", "Graph3");
  d.registry.PutText(kStore, "ReachTarget", "Yes");
  d.Open();
  d.surface.SetEdits("abc", "", "-", "9x");
  d.surface.buttons[IDC_SOUND] = true;
  d.surface.buttons[IDC_DEFRAG_NEVER] = true;
  EXPECT_EQ(d.Click(IDC_DEFAULT), kDialogStays);
  EXPECT_TRUE(d.surface.messages.empty());
  EXPECT_EQ(d.surface.Edits(), "5 4 20 0");
  EXPECT_EQ(d.surface.OnButtons(), kDefaultButtons);
  EXPECT_EQ(d.Fields(), "5 4 20 0 flags 100010");
  EXPECT_TRUE(d.registry.log.empty()) << "Default touches only the working copy";
}

// ---- The number rule and the range rule ------------------------------------

TEST(NumberRule, TextToNumber) {
  const struct {
    const char* text;
    bool ok;
    uint32_t value;
  } cases[] = {
      {"0", true, 0},
      {"5", true, 5},
      {"600", true, 600},
      {"007", true, 7},
      {"  12", true, 12},
      {"\t12\t ", true, 12},
      {"12  ", true, 12},
      {"+12", true, 12},
      {"4294967295", true, 4294967295u},
      {"4294967296", true, 4294967295u},   // too large
      {"99999999999999999999", true, 4294967295u},
      {"-1", true, 4294967295u},           // negated modulo 2^32
      {"-5", true, 4294967291u},
      {"-4294967295", true, 1},
      {"-4294967296", true, 4294967295u},  // too large before the sign
      {"00", true, 0},
      {"0 ", true, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"abc", false, 0},
      {"-0", false, 0},
      {"+0", false, 0},
      {"-", false, 0},
      {"+", false, 0},
      {"- 5", false, 0},
      {"+-5", false, 0},
      {"12a", false, 0},
      {"12 a", false, 0},
      {"1 2", false, 0},
      {"5-", false, 0},
      {"0x10", false, 0},
      {"0abc", false, 0},
      {"1.5", false, 0},
      {"\n5", true, 5},                    // not a blank, but strtoul skips it
      {" \n5", true, 5},
      {"\n0", false, 0},                   // and then the first character is no "0"
      {"5\n", false, 0},
      // Only 31 bytes count.
      {"1                              x", true, 1},
      {"1                             x", false, 0},
      {"0000000000000000000000000000042", true, 42},
      {"00000000000000000000000000000042", true, 4},
      {"                               5", false, 0},
  };
  int i = 0;
  for (const auto& c : cases) {
    uint32_t value = 0xA5A5A5A5u;
    EXPECT_EQ(ParseNumberField(c.text, &value), c.ok) << "case " << i << " \"" << c.text << "\"";
    EXPECT_EQ(value, c.ok ? c.value : 0xA5A5A5A5u) << "case " << i << " \"" << c.text << "\"";
    ++i;
  }
}

TEST(RangeRule, MessageWithItsBounds) {
  const struct {
    uint32_t minimum, maximum;
    const char* want;
  } cases[] = {
      {1, 600, "Please enter an integer between 1 and 600."},
      {0, 63, "Please enter an integer between 0 and 63."},
      {0, 1, "Please enter an integer between 0 and 1."},
      {0, 4294967295u, "Please enter an integer between 0 and 4294967295."},
      {4294967295u, 10, "Please enter an integer between 4294967295 and 10."},
  };
  int i = 0;
  for (const auto& c : cases) {
    char out[kMessageRoom + 8];
    memset(out, 'P', sizeof out);
    FormatRangeMessage(out, kMessageRoom, c.minimum, c.maximum);
    EXPECT_STREQ(out, c.want) << "case " << i;
    for (size_t b = kMessageRoom; b < sizeof out; ++b) EXPECT_EQ(out[b], 'P') << "case " << i;
    ++i;
  }
}

TEST(RangeRule, ASmallRoomIsNeverOverrun) {
  char out[24];
  memset(out, 'P', sizeof out);
  FormatRangeMessage(out, 16, 0, 600);
  EXPECT_EQ(strnlen(out, 16), 15u);
  EXPECT_EQ(std::string(out, 15), "Please enter an");
  for (size_t b = 16; b < sizeof out; ++b) EXPECT_EQ(out[b], 'P');
}

// ---- The save exchange -----------------------------------------------------

const char kNumber[] = "Velmora: Please enter a positive integer.";

TEST(SaveExchange, ReportsTheFirstFailureInItsOrder) {
  const struct {
    uint32_t totalPhys;
    const char* interval;
    const char* threshold;
    const char* toFree;
    const char* toReach;
    bool ok;
    const char* message;  // empty when none
    int focus;            // 0 when none
  } cases[] = {
      {64 * MB, "5", "4", "10", "0", true, "", 0},
      {64 * MB, " 5 ", "\t4", "10\t", " 0", true, "", 0},
      // Number rule on 1001, 1002, 1000.
      {64 * MB, "x", "x", "x", "x", false, kNumber, IDC_MEMORY_TO_FREE},
      {64 * MB, "x", "x", "10", "x", false, kNumber, IDC_MEMORY_THRESHOLD},
      {64 * MB, "x", "4", "10", "x", false, kNumber, IDC_UPDATE_INTERVAL},
      // Range rule on 1000 before the number rule on 1024.
      {64 * MB, "0", "4", "10", "x", false, "Velmora: Please enter an integer between 1 and 600.", IDC_UPDATE_INTERVAL},
      {64 * MB, "601", "4", "10", "0", false, "Velmora: Please enter an integer between 1 and 600.", IDC_UPDATE_INTERVAL},
      {64 * MB, "-1", "4", "10", "0", false, "Velmora: Please enter an integer between 1 and 600.", IDC_UPDATE_INTERVAL},
      {64 * MB, "1", "4", "10", "0", true, "", 0},
      {64 * MB, "600", "4", "10", "0", true, "", 0},
      // Number rule on 1024 before the range rules of the memory values.
      {64 * MB, "5", "999", "999", "", false, kNumber, IDC_MEMORY_TO_REACH},
      // Range rule on 1001, then 1024, then 1002.
      {64 * MB, "5", "65", "65", "65", false, "Velmora: Please enter an integer between 0 and 64.", IDC_MEMORY_TO_FREE},
      {64 * MB, "5", "65", "64", "65", false, "Velmora: Please enter an integer between 0 and 64.", IDC_MEMORY_TO_REACH},
      {64 * MB, "5", "65", "64", "64", false, "Velmora: Please enter an integer between 0 and 64.", IDC_MEMORY_THRESHOLD},
      {64 * MB, "5", "64", "64", "64", true, "", 0},
      {64 * MB, "5", "0", "0", "0", true, "", 0},
      {64 * MB, "5", "4", "-3", "0", false, "Velmora: Please enter an integer between 0 and 64.", IDC_MEMORY_TO_FREE},
      // The bound is the machine's whole megabytes, at least 1.
      {127 * MB + MB - 1, "5", "4", "128", "0", false, "Velmora: Please enter an integer between 0 and 127.", IDC_MEMORY_TO_FREE},
      {MB - 1, "5", "1", "1", "1", true, "", 0},
      {MB - 1, "5", "1", "2", "1", false, "Velmora: Please enter an integer between 0 and 1.", IDC_MEMORY_TO_FREE},
      {0, "5", "2", "0", "0", false, "Velmora: Please enter an integer between 0 and 1.", IDC_MEMORY_THRESHOLD},
      {2147483647u, "5", "2047", "2047", "2048", false, "Velmora: Please enter an integer between 0 and 2047.", IDC_MEMORY_TO_REACH},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d(c.totalPhys);
    d.Open();
    d.surface.SetEdits(c.interval, c.threshold, c.toFree, c.toReach);
    EXPECT_EQ(d.dialog.SaveExchange(), c.ok) << "case " << i;
    std::vector<std::string> messages;
    if (c.message[0] != '\0') messages.push_back(c.message);
    EXPECT_EQ(d.surface.messages, messages) << "case " << i;
    EXPECT_EQ(Focus(d.surface), c.focus == 0 ? "" : std::to_string(c.focus) + " ") << "case " << i;
    if (c.focus != 0) {
      // The focus follows the box, and nothing else is written.
      ASSERT_EQ(d.surface.log.size(), 2u) << "case " << i;
      EXPECT_EQ(d.surface.log[0].compare(0, 8, "message "), 0) << "case " << i;
    } else {
      EXPECT_TRUE(d.surface.log.empty()) << "case " << i;
    }
    ++i;
  }
}

TEST(SaveExchange, FieldsReadBeforeAFailureKeepTheirNewValues) {
  const struct {
    const char* interval;
    const char* threshold;
    const char* toFree;
    const char* toReach;
    bool sound;
    const char* fields;
  } cases[] = {
      // Opened at 5 4 10 0; a failing number rule keeps the old value.
      {"5", "4", "x", "0", true, "5 4 10 0 flags 100010"},
      {"5", "x", "12", "0", true, "5 4 12 0 flags 100010"},
      {"x", "3", "12", "0", true, "5 3 12 0 flags 100010"},
      // A failing range rule keeps the value that failed it.
      {"601", "3", "12", "0", true, "601 3 12 0 flags 100010"},
      {"7", "3", "12", "x", true, "7 3 12 0 flags 101010"},
      {"7", "3", "99", "8", true, "7 3 99 8 flags 101010"},
      {"7", "99", "9", "8", true, "7 99 9 8 flags 101010"},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    d.Open();
    d.surface.SetEdits(c.interval, c.threshold, c.toFree, c.toReach);
    d.surface.buttons[IDC_SOUND] = c.sound;
    EXPECT_FALSE(d.dialog.SaveExchange()) << "case " << i;
    EXPECT_EQ(d.Fields(), c.fields) << "case " << i;
    ++i;
  }
}

TEST(SaveExchange, ReadsEveryCheckboxIntoItsFlag) {
  Dialog d;
  d.Open();
  const int boxes[] = {IDC_AUTO_START, IDC_RUN_HIDDEN, IDC_SOUND, IDC_ALWAYS_FREE, IDC_FREE_EXTRA, IDC_REACH_TARGET};
  const char* want[] = {"flags 000010", "flags 010010", "flags 011010", "flags 011110", "flags 011100",
                        "flags 011101"};
  d.surface.buttons[IDC_AUTO_START] = false;
  d.surface.buttons[IDC_FREE_EXTRA] = true;
  for (int i = 0; i < 6; ++i) {
    if (i > 0) d.surface.buttons[boxes[i]] = !d.surface.buttons[boxes[i]];
    ASSERT_TRUE(d.dialog.SaveExchange()) << "case " << i;
    std::string fields = d.Fields();
    EXPECT_EQ(fields.substr(fields.find("flags")), want[i]) << "case " << i;
  }
}

TEST(SaveExchange, MeasuresTheMachineEveryTime) {
  Dialog d(128 * MB);
  d.Open();
  d.surface.SetEdits("5", "4", "100", "0");
  EXPECT_TRUE(d.dialog.SaveExchange());
  d.surface.totalPhys = 64 * MB;
  EXPECT_FALSE(d.dialog.SaveExchange());
  EXPECT_EQ(d.surface.messages, std::vector<std::string>{"Velmora: Please enter an integer between 0 and 64."});
}

// ---- Handlers ---------------------------------------------------------------

// The on buttons before a click: the defaults plus these, minus those.
struct ClickCase {
  int id;
  const char* edits;       // interval, threshold, to free, to reach, before
  const char* before;      // on buttons before the click (before the platform's toggle)
  const char* afterEdits;  // edits after
  const char* after;       // on buttons after
  const char* fields;
  size_t messages;
};

void SetButtons(FakeSurface* s, const char* on) {
  for (auto& b : s->buttons) b.second = false;
  for (const char* p = on; *p != '\0';) {
    char* end;
    long id = strtol(p, &end, 10);
    if (end == p) break;
    s->buttons.at(static_cast<int>(id)) = true;
    p = end;
  }
}

void SplitEdits(FakeSurface* s, const char* edits) {
  std::string e = edits;
  std::vector<std::string> part;
  size_t start = 0;
  for (;;) {
    size_t bar = e.find('|', start);
    part.push_back(e.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  s->SetEdits(part[0].c_str(), part[1].c_str(), part[2].c_str(), part[3].c_str());
}

void RunClicks(const std::vector<ClickCase>& cases) {
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    d.Open();
    SplitEdits(&d.surface, c.edits);
    SetButtons(&d.surface, c.before);
    EXPECT_EQ(d.Click(c.id), kDialogStays) << "case " << i;
    EXPECT_EQ(d.surface.Edits(), c.afterEdits) << "case " << i;
    EXPECT_EQ(d.surface.OnButtons(), c.after) << "case " << i;
    EXPECT_EQ(d.Fields(), c.fields) << "case " << i;
    EXPECT_EQ(d.surface.messages.size(), c.messages) << "case " << i;
    EXPECT_TRUE(d.registry.log.empty()) << "case " << i << ": a click stores nothing";
    ++i;
  }
}

TEST(Handlers, OptionRadiosKeepTheirGroupExclusive) {
  RunClicks({
      // Display styles; the graphs set the interval to 1 and every edit is rewritten.
      {1004, "007|4|10|0", "1003 1006 1010 1016 1063", "7 4 10 0", "1004 1006 1010 1016 1063 ", "7 4 10 0 flags 100010", 0},
      {1005, "5|4|10|0", "1004 1006 1010 1016 1063", "5 4 10 0", "1005 1006 1010 1016 1063 ", "5 4 10 0 flags 100010", 0},
      {1003, "5|4|10|0", "1020 1006 1010 1016 1063", "5 4 10 0", "1003 1006 1010 1016 1063 ", "5 4 10 0 flags 100010", 0},
      {1009, "30|04| 10|00", "1003 1006 1010 1016 1063", "1 4 10 0", "1006 1009 1010 1016 1063 ", "1 4 10 0 flags 100010", 0},
      {1019, "30|4|10|0", "1009 1006 1010 1016 1063", "1 4 10 0", "1006 1010 1016 1019 1063 ", "1 4 10 0 flags 100010", 0},
      {1020, "30|4|10|0", "1019 1006 1010 1016 1063", "1 4 10 0", "1006 1010 1016 1020 1063 ", "1 4 10 0 flags 100010", 0},
      // Clicking the radio that is already on.
      {1020, "30|4|10|0", "1020 1006 1010 1016 1063", "1 4 10 0", "1006 1010 1016 1020 1063 ", "1 4 10 0 flags 100010", 0},
      // Detail units.
      {1007, "5|4|10|0", "1003 1006 1010 1016 1063", "5 4 10 0", "1003 1007 1010 1016 1063 ", "5 4 10 0 flags 100010", 0},
      {1006, "5|4|10|0", "1003 1007 1010 1016 1063", "5 4 10 0", "1003 1006 1010 1016 1063 ", "5 4 10 0 flags 100010", 0},
      // Defragment.
      {1017, "5|4|10|0", "1003 1006 1010 1016 1063", "5 4 10 0", "1003 1006 1010 1017 1063 ", "5 4 10 0 flags 100010", 0},
      {1018, "5|4|10|0", "1003 1006 1010 1017 1063", "5 4 10 0", "1003 1006 1010 1018 1063 ", "5 4 10 0 flags 100010", 0},
      {1016, "5|4|10|0", "1003 1006 1010 1018 1063", "5 4 10 0", "1003 1006 1010 1016 1063 ", "5 4 10 0 flags 100010", 0},
      // Other groups and the checkboxes are left as they are.
      {1019, "5|4|10|0", "1003 1007 1011 1014 1018 1064", "1 4 10 0", "1007 1011 1014 1018 1019 1064 ",
       "1 4 10 0 flags 011001", 0},
  });
}

TEST(Handlers, AFailedExchangeStillLeavesOnlyTheClickedRadioOn) {
  RunClicks({
      // The failure is shown, the fields keep what the exchange left, the
      // interval stays, and the edits are not rewritten.
      {1009, "30|4|x|0", "1003 1006 1010 1016 1063", "30 4 x 0", "1006 1009 1010 1016 1063 ", "5 4 10 0 flags 100010", 1},
      {1020, "700|4|10|0", "1019 1006 1010 1016 1063", "700 4 10 0", "1006 1010 1016 1020 1063 ", "700 4 10 0 flags 100010", 1},
      {1018, "5|4|10|99", "1003 1006 1010 1017 1063", "5 4 10 99", "1003 1006 1010 1018 1063 ", "5 4 10 99 flags 100010", 1},
      {1007, "|4|10|0", "1003 1006 1010 1016 1063", " 4 10 0", "1003 1007 1010 1016 1063 ", "5 4 10 0 flags 100010", 1},
      {1004, "5|4|10|0x", "1005 1006 1010 1016 1063", "5 4 10 0x", "1004 1006 1010 1016 1063 ", "5 4 10 0 flags 100010", 1},
  });
}

TEST(Handlers, ARadioClickWithoutThePlatformsToggleStillEndsWithIt) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("5", "4", "x", "0");
  EXPECT_EQ(d.dialog.OnCommand(IDC_STYLE_GRAPH2), kDialogStays);  // no platform toggle
  EXPECT_EQ(d.surface.OnButtons(), "1006 1010 1016 1019 1063 ");
}

TEST(Handlers, TheFreeChoiceBoxesBehaveAsTwoOptions) {
  RunClicks({
      {1064, "5|4|10|8", "1003 1006 1010 1016 1063", "5 4 10 8", "1003 1006 1010 1016 1064 ", "5 4 10 8 flags 100001", 0},
      {1063, "5|4|10|8", "1003 1006 1010 1016 1064", "5 4 10 8", "1003 1006 1010 1016 1063 ", "5 4 10 8 flags 100010", 0},
      // Clicked when already on: the platform turns it off, the handler on.
      {1063, "5|4|10|8", "1003 1006 1010 1016 1063", "5 4 10 8", "1003 1006 1010 1016 1063 ", "5 4 10 8 flags 100010", 0},
      {1064, "5|4|10|8", "1003 1006 1010 1016 1064", "5 4 10 8", "1003 1006 1010 1016 1064 ", "5 4 10 8 flags 100001", 0},
      // Both on or both off before: the click decides.
      {1064, "5|4|10|8", "1003 1006 1010 1016", "5 4 10 8", "1003 1006 1010 1016 1064 ", "5 4 10 8 flags 100001", 0},
      // A failed exchange leaves the box as the platform set it.
      {1064, "5|4|x|8", "1003 1006 1010 1016 1063", "5 4 x 8", "1003 1006 1010 1016 1063 1064 ", "5 4 10 0 flags 100010", 1},
  });
}

TEST(Handlers, RunHiddenRule) {
  const char kRefused[] = "Velmora: To select \"Run hidden\" you must specify non-zero memory values.";
  const struct {
    const char* edits;   // interval, threshold, to free, to reach
    const char* before;  // on buttons before the click
    bool on;             // 1011 after
    bool refused;
  } cases[] = {
      {"5|4|10|0", "1063", true, false},
      {"5|4|0|8", "1063", true, false},  // the reach target counts even with free-extra chosen
      {"5|4|10|0", "1064", true, false},
      {"5|4|0|0", "1063", false, true},
      {"5|4|0|0", "1064", false, true},
      {"5|0|10|8", "1063", false, true},
      {"5|0|0|0", "1063", false, true},
      // Turning it off never refuses.
      {"5|0|0|0", "1011 1063", false, false},
      {"5|4|0|0", "1011 1063", false, false},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    d.Open();
    SplitEdits(&d.surface, c.edits);
    SetButtons(&d.surface, c.before);
    d.surface.log.clear();
    EXPECT_EQ(d.Click(IDC_RUN_HIDDEN), kDialogStays) << "case " << i;
    EXPECT_EQ(d.surface.buttons[IDC_RUN_HIDDEN], c.on) << "case " << i;
    EXPECT_EQ(d.dialog.RunHidden, c.on ? 1 : 0) << "case " << i;
    EXPECT_EQ(d.surface.messages, c.refused ? std::vector<std::string>{kRefused} : std::vector<std::string>{})
        << "case " << i;
    if (c.refused) {
      // 1011 is off before the box shows.
      ASSERT_FALSE(d.surface.log.empty()) << "case " << i;
      EXPECT_EQ(d.surface.log.back().compare(0, 8, "message "), 0) << "case " << i;
      auto off = std::find(d.surface.log.begin(), d.surface.log.end(), "check 1011 0");
      EXPECT_NE(off, d.surface.log.end()) << "case " << i;
    } else {
      // No closing load exchange: the edits keep their own text.
      EXPECT_TRUE(d.surface.log.empty()) << "case " << i;
    }
    ++i;
  }
}

TEST(Handlers, RunHiddenStopsAtAFailedExchange) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("5", "0", "x", "0");
  d.Click(IDC_RUN_HIDDEN);
  EXPECT_EQ(d.surface.messages, std::vector<std::string>{kNumber});
  EXPECT_TRUE(d.surface.buttons[IDC_RUN_HIDDEN]) << "the platform's state stays";
}

TEST(Handlers, HelpAndSystemMenuShowTheHelpPageWithoutAnExchange) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("x", "y", "z", "w");
  d.surface.reads = 0;
  EXPECT_EQ(d.Click(IDC_SHOW_HELP), kDialogShowsHelp);
  const struct {
    uint32_t command;
    DialogAction want;
  } commands[] = {
      {16, kDialogShowsHelp},     {17, kDialogShowsHelp},  {31, kDialogShowsHelp}, {0, kDialogDefault},
      {15, kDialogDefault},       {32, kDialogDefault},    {0xF060, kDialogDefault},  // SC_CLOSE
      {0xF010, kDialogDefault},   {0x10010, kDialogShowsHelp},  // only the low bits are cleared
  };
  int i = 0;
  for (const auto& c : commands) {
    EXPECT_EQ(d.dialog.OnSystemCommand(c.command), c.want) << "case " << i;
    ++i;
  }
  EXPECT_EQ(d.surface.reads, 0);
  EXPECT_TRUE(d.surface.log.empty());
  EXPECT_EQ(d.surface.Edits(), "x y z w");
}

TEST(Handlers, ControlsWithoutAHandlerAreNotOurs) {
  Dialog d;
  d.Open();
  const int ids[] = {IDC_AUTO_START, IDC_SOUND, IDC_ALWAYS_FREE, IDC_UPDATE_INTERVAL, IDC_MEMORY_TO_FREE,
                     IDC_MEMORY_THRESHOLD, IDC_MEMORY_TO_REACH, IDC_INFORMATION, 0, 3};
  int i = 0;
  for (int id : ids) {
    EXPECT_EQ(d.dialog.OnCommand(id), kDialogDefault) << "case " << i;
    ++i;
  }
  EXPECT_TRUE(d.surface.log.empty());
  EXPECT_TRUE(d.surface.messages.empty());
}

// ---- Confirm and cancel ----------------------------------------------------

TEST(ConfirmAndCancel, CancelStoresNothing) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("x", "1", "2", "3");
  d.surface.reads = 0;
  EXPECT_EQ(d.Click(2), kDialogEndsCancel);
  EXPECT_EQ(d.surface.reads, 0);
  EXPECT_TRUE(d.registry.log.empty());
  EXPECT_TRUE(d.surface.messages.empty());
}

TEST(ConfirmAndCancel, AFailedExchangeKeepsTheDialogOpenAndStoresNothing) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("0", "4", "10", "0");
  EXPECT_EQ(d.Click(1), kDialogStays);
  EXPECT_EQ(d.surface.messages, std::vector<std::string>{"Velmora: Please enter an integer between 1 and 600."});
  EXPECT_EQ(Focus(d.surface), "1000 ");
  EXPECT_TRUE(d.registry.log.empty());
}

TEST(ConfirmAndCancel, OkStoresAllTwelveValues) {
  const struct {
    const char* edits;
    const char* buttons;
    std::vector<std::string> store;
  } cases[] = {
      {"5|4|10|0", kDefaultButtons,
       {"AlwaysFree=1:4e6f00", "AutoStart=1:59657300", "Defragment=1:4c6f7700", "DetailStyle=1:4d427974657300",
        "DisplayStyle=1:4e6f726d616c00", "MemoryThreshold=4:04000000", "MemoryToFree=4:0a000000",
        "MemoryToReach=4:00000000", "ReachTarget=1:4e6f00", "RunHidden=1:4e6f00", "Sound=1:4e6f00",
        "UpdateInterval=4:05000000"}},
      {" 600 |64|0|64", "1007 1011 1014 1018 1020 1023 1064",
       {"AlwaysFree=1:59657300", "AutoStart=1:4e6f00", "Defragment=1:416c7761797300", "DetailStyle=1:427974657300",
        "DisplayStyle=1:47726170683300", "MemoryThreshold=4:40000000", "MemoryToFree=4:00000000",
        "MemoryToReach=4:40000000", "ReachTarget=1:59657300", "RunHidden=1:59657300", "Sound=1:59657300",
        "UpdateInterval=4:58020000"}},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    d.Open();
    SplitEdits(&d.surface, c.edits);
    SetButtons(&d.surface, c.buttons);
    EXPECT_EQ(d.Click(1), kDialogEndsOk) << "case " << i;
    EXPECT_EQ(d.registry.Dump(kStore), c.store) << "case " << i;
    EXPECT_TRUE(d.surface.messages.empty()) << "case " << i;
    EXPECT_EQ(d.registry.OpenHandles(), 0u) << "case " << i;
    ++i;
  }
}

TEST(ConfirmAndCancel, SaveSettingsWritesInItsOrder) {
  Dialog d;
  d.Open();
  d.dialog.SaveSettings();
  std::vector<std::string> names;
  for (const std::string& w : d.registry.LogOf("write")) names.push_back(w.substr(w.find(':') + 1));
  const std::vector<std::string> want = {"AutoStart",     "RunHidden",     "ReachTarget",   "Sound",
                                         "AlwaysFree",    "DisplayStyle",  "Defragment",    "DetailStyle",
                                         "UpdateInterval", "MemoryToFree", "MemoryToReach", "MemoryThreshold"};
  EXPECT_EQ(names, want);
}

TEST(ConfirmAndCancel, TwoRadiosOnStoreTheFirstInSavingOrder) {
  const struct {
    const char* buttons;
    const char* display;
    const char* defragment;
    const char* detail;
  } cases[] = {
      {"1003 1006 1016", "Normal", "Low", "MBytes"},
      {"", "Normal", "Low", "MBytes"},
      {"1003 1020 1017 1018 1006 1007", "Graph3", "Always", "Bytes"},
      {"1003 1019", "Graph2", "Low", "MBytes"},
      {"1004 1005 1009 1019 1020 1016 1017", "Green", "Never", "MBytes"},
      {"1005 1009", "White", "Low", "MBytes"},
      {"1009 1020", "Graph1", "Low", "MBytes"},
      {"1016 1018", "Normal", "Always", "MBytes"},
  };
  int i = 0;
  for (const auto& c : cases) {
    Dialog d;
    d.Open();
    SetButtons(&d.surface, c.buttons);
    d.dialog.SaveSettings();
    char text[kSettingTextRoom];
    d.program.ReadText(kSettingsSection, "DisplayStyle", text, sizeof text);
    EXPECT_STREQ(text, c.display) << "case " << i;
    d.program.ReadText(kSettingsSection, "Defragment", text, sizeof text);
    EXPECT_STREQ(text, c.defragment) << "case " << i;
    d.program.ReadText(kSettingsSection, "DetailStyle", text, sizeof text);
    EXPECT_STREQ(text, c.detail) << "case " << i;
    ++i;
  }
}

TEST(ConfirmAndCancel, AFlagIsYesOnlyWhenItIsOne) {
  Dialog d;
  d.Open();
  d.dialog.Sound = 2;
  d.dialog.AutoStart = -1;
  d.dialog.RunHidden = 1;
  d.dialog.SaveSettings();
  char text[kSettingTextRoom];
  d.program.ReadText(kSettingsSection, "Sound", text, sizeof text);
  EXPECT_STREQ(text, "No");
  d.program.ReadText(kSettingsSection, "AutoStart", text, sizeof text);
  EXPECT_STREQ(text, "No");
  d.program.ReadText(kSettingsSection, "RunHidden", text, sizeof text);
  EXPECT_STREQ(text, "Yes");
}

TEST(ConfirmAndCancel, AStoredDialogOpensAsItWasLeft) {
  Dialog d(256 * MB);
  d.Open();
  d.surface.SetEdits("17", "6", "0", "99");
  SetButtons(&d.surface, "1005 1007 1017 1011 1023 1064");
  ASSERT_EQ(d.Click(1), kDialogEndsOk);
  Dialog again(256 * MB);
  again.registry = d.registry;
  again.Open();
  EXPECT_EQ(again.surface.Edits(), "17 6 0 99");
  EXPECT_EQ(again.surface.OnButtons(), "1005 1007 1011 1017 1023 1064 ");
}

// A launch platform that notes the Run value and the start among the
// store's registry calls.
class OrderedLaunch : public FakeLaunch {
 public:
  explicit OrderedLaunch(FakeRegistry* registry) : registry_(registry) {}
  RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) override {
    registry_->log.push_back("run value");
    return FakeLaunch::WriteValue(key, name, type, data, size);
  }
  void StartProgram(const char* path, const char* parameters, const char* directory) override {
    registry_->log.push_back("start");
    FakeLaunch::StartProgram(path, parameters, directory);
  }

 private:
  FakeRegistry* registry_;
};

TEST(ConfirmAndCancel, TheRunValueComesBeforeTheWritesAndTheStartAfter) {
  Dialog d;
  OrderedLaunch launch(&d.registry);
  d.dialog.SetLauncher(launch.Everything());
  d.Open();
  d.surface.SetEdits("9", "4", "10", "0");
  ASSERT_EQ(d.Click(1), kDialogEndsOk);
  std::vector<std::string> order;
  for (const std::string& entry : d.registry.log) {
    if (entry.compare(0, 6, "write ") == 0) {
      if (order.empty() || order.back() != "writes") order.push_back("writes");
    } else if (entry.compare(0, 5, "open ") != 0 && entry.compare(0, 7, "create ") != 0 &&
               entry.compare(0, 6, "close ") != 0) {
      order.push_back(entry);
    }
  }
  EXPECT_EQ(order, (std::vector<std::string>{"run value", "writes", "start"}));
  EXPECT_EQ(d.registry.LogOf("write").size(), 12u);
  EXPECT_EQ(launch.Starts(), "C:\\Tools\\Velmora.exe| U=9 M=10 T=4 P=\"C:\\Tools\\VelmoraConfig.exe\"|C:\\Tools\n");
}

TEST(ConfirmAndCancel, AFailedExchangeNeitherStoresNorLaunches) {
  Dialog d;
  d.Open();
  d.surface.SetEdits("9", "4", "10", "-");
  EXPECT_EQ(d.Click(1), kDialogStays);
  EXPECT_TRUE(d.registry.log.empty());
  EXPECT_TRUE(d.launch.log.empty());
  EXPECT_TRUE(d.launch.run.empty());
}

}  // namespace
