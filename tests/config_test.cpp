// The configuration program's core on fake controls, a fake registry and a
// fake launcher: the settings store, the dialog's rules and handlers, what
// confirming stores and starts, the help page's targets and uninstall mode.
#include <gtest/gtest.h>
#include <string.h>

#include "fake_config.h"
#include "fake_engine_platform.h"
#include "help_page.h"
#include "launch.h"
#include "uninstall_mode.h"

namespace {

const std::string kTail = " P=\"C:\\Tools\\VelmoraConfig.exe\"";
const char kDefaults[] = "1003 1006 1010 1016 1063 ";  // Normal, MBytes, AutoStart, Low, FreeExtra
const std::string kNum = "Velmora: Please enter a positive integer.|";
std::string Range(int lo, int hi) {
  return "Velmora: Please enter an integer between " + std::to_string(lo) + " and " + std::to_string(hi) + ".|";
}

const std::string kHidden = "Velmora: To select \"Run hidden\" you must specify non-zero memory values.|";

// The fields as "interval|threshold|to free|to reach" and the flags AutoStart,
// RunHidden, Sound, AlwaysFree, FreeExtra and ReachTarget.
std::string Fields(const ConfigDialog& d) {
  char s[96];
  snprintf(s, sizeof s, "%u|%u|%u|%u %d%d%d%d%d%d", d.UpdateInterval, d.MemoryThreshold, d.MemoryToFree, d.MemoryToReach,
           d.AutoStart, d.RunHidden, d.Sound, d.AlwaysFree, d.FreeExtra, d.ReachTarget);
  return s;
}

TEST(Registry, ReadTextValueWhateverIsStored) {
  const std::string y63(63, 'y'), y64(64, 'y');
  const struct { uint32_t type; std::string data; RegResult result; std::string text; size_t length; } cases[] = {
      {kTextValue, y63, kRegDone, y63, 63},
      {kTextValue, y63 + '\0', kRegDone, y63, 63},
      {kTextValue, y64, kRegTooLong, "refused:", 64},  // fills the room without a NUL of its own
      {0, "", kRegNotFound, "refused:", 0},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FakeRegistry r;
    if (cases[i].type != 0) r.Put("Software", "V", cases[i].type, {cases[i].data.begin(), cases[i].data.end()});
    RegistryKey key;
    ASSERT_EQ(r.OpenKey(kCurrentUser, "Software", kKeyRead, &key), kRegDone);
    size_t length = 999;
    RegResult result = kRegFailed;
    std::string text = Written(64, [&](char* out, size_t room) {
      return (result = ReadTextValue(&r, key, "V", out, room, &length)) == kRegDone;
    });
    EXPECT_EQ(text + "|" + std::to_string(length), cases[i].text + "|" + std::to_string(cases[i].length)) << "case " << i;
    EXPECT_EQ(result, cases[i].result) << "case " << i;
  }
}

TEST(SettingsStore, NumbersAndLevelsThatCannotBeOpened) {
  Dialog w;
  ASSERT_TRUE(w.program.WriteNumber(kSettingsSection, "N", 0x12345678u));
  EXPECT_EQ(w.program.ReadNumber(kSettingsSection, "N", 7), 0x12345678u);
  ASSERT_TRUE(w.program.WriteText(kSettingsSection, "AutoStart", "Yes"));
  for (const char* level : {"Software", "Software\\Velmora", "Software\\Velmora\\Velmora", kStore}) {
    w.registry.keys[level].unopenable = true;
    char out[8] = "PPPPPPP";
    EXPECT_EQ(w.program.ReadText(kSettingsSection, "AutoStart", out, sizeof out), 0u) << level;
    EXPECT_STREQ(out, "") << level;
    EXPECT_EQ(w.registry.OpenHandles(), 0u) << level;
    w.registry.keys[level].unopenable = false;
  }
  w.registry.Put(kStore, "N", kTextValue, {5, 0, 0, 0});  // four bytes, but no number
  EXPECT_EQ(w.program.ReadNumber(kSettingsSection, "N", 77), 77u);
}

TEST(SettingsStore, DefaultsForInstalledMemory) {
  const uint32_t cases[][3] = {{19 * MB - 1, 3, 1}, {19 * MB, 4, 2},   {35 * MB, 8, 2},   {43 * MB, 10, 4},
                               {67 * MB, 16, 4},    {99 * MB, 20, 4},  {131 * MB, 28, 4}};
  for (const auto& c : cases) {
    InstalledMemoryDefaults d = DefaultsForInstalledMemory(c[0]);
    EXPECT_EQ(d.memoryToFree * 100 + d.memoryThreshold, c[1] * 100 + c[2]) << c[0];
  }
}

// An empty AutoStart is a store never configured: the defaults for this
// machine. A number stored with all bits set reads as a missing one.
TEST(ConfigDialog, OpensUnconfiguredOrWithoutANumber) {
  const struct { const char* autoStart; unsigned char interval; const char* edits; } cases[] = {
      {"", 9, "5|4|10|0"}, {"No", 9, "9|0|0|0"}, {"No", 255, "5|0|0|0"}};
  for (size_t i = 0; i < std::size(cases); ++i) {
    Dialog d;
    d.registry.PutText(kStore, "AutoStart", cases[i].autoStart);
    const unsigned char n = cases[i].interval, high = n == 255 ? n : 0;
    d.registry.Put(kStore, "UpdateInterval", kNumberValue, {n, high, high, high});
    d.registry.Put(kStore, "MemoryToFree", kNumberValue, {255, 255, 255, 255});
    d.Open();
    EXPECT_EQ(d.surface.Edits(), cases[i].edits) << "case " << i;
  }
}

TEST(ConfigDialog, NumberRule) {
  const struct { std::string text; bool ok; uint32_t value; } cases[] = {
      {"\n\t\r5", true, 5}, {"4294967294", true, 4294967294u}, {"-5", true, 4294967291u},  // not blanks, but strtoul skips them
      {"-4294967296", true, 4294967295u}, {"1 2", false, 0}, {"5\n", false, 0},
  };
  for (const auto& c : cases) {
    uint32_t value = 0xA5A5A5A5u;
    EXPECT_EQ(ParseNumberField(c.text.c_str(), &value), c.ok) << "\"" << c.text << "\"";
    EXPECT_EQ(value, c.ok ? c.value : 0xA5A5A5A5u) << "\"" << c.text << "\"";
  }
}

// A click over these edits and buttons (the platform's own toggle still to
// come): the edits, buttons and fields after it, and the box and focus.
TEST(ConfigDialog, Clicks) {
  const struct { int id; const char* edits; const char* on; const char* edits2; const char* on2; const char* fields;
                 std::string box; } cases[] = {
      // The save exchange stops at its first failure; the memory bound is the machine's whole MB.
      {1003, "x|x|12|x", "1003", "x|x|12|x", "1003 ", "5|4|12|0 100010", kNum + "1002"},
      {1003, "x|3|12|x", "1003", "x|3|12|x", "1003 ", "5|3|12|0 100010", kNum + "1000"},
      {1003, "0|4|10|x", "1003", "0|4|10|x", "1003 ", "0|4|10|0 100010", Range(1, 600) + "1000"},
      {1003, "1|999|999|", "1003 1014", "1|999|999|", "1003 1014 ", "1|999|999|0 001010", kNum + "1024"},
      {1003, "5|65|64|65", "1003", "5|65|64|65", "1003 ", "5|65|64|65 000000", Range(0, 64) + "1024"},
      // Radios: the clicked one alone in its group, a graph sets 1 s; after a failure too.
      {1009, "30|04| 10|00", kDefaults, "1|4|10|0", "1006 1009 1010 1016 1063 ", "1|4|10|0 100010", ""},
      {1009, "30|4|x|0", kDefaults, "30|4|x|0", "1006 1009 1010 1016 1063 ", "5|4|10|0 100010", kNum + "1001"},
      // The free choice boxes act as two options.
      {1064, "5|4|10|8", kDefaults, "5|4|10|8", "1003 1006 1010 1016 1064 ", "5|4|10|8 100001", ""},
      {1063, "5|4|10|8", "1064", "5|4|10|8", "1063 ", "5|4|10|8 000010", ""},
      // Run hidden needs a threshold and memory to free or to reach.
      {1011, "5|4|1|0", "1064", "5|4|1|0", "1011 1064 ", "5|4|1|0 010001", ""},
      {1011, "5|4|0|0", "", "5|4|0|0", "", "5|4|0|0 000000", kHidden},
      {1011, "5|0|10|8", "", "5|0|10|8", "", "5|0|10|8 000000", kHidden},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Dialog d(cases[i].edits, cases[i].on);
    d.surface.totalPhys = 65 * MB - 1;
    EXPECT_EQ(d.surface.Click(&d.dialog, cases[i].id), kDialogStays) << "case " << i;
    EXPECT_EQ(d.surface.Edits() + " " + d.surface.On(), cases[i].edits2 + std::string(" ") + cases[i].on2) << "case " << i;
    EXPECT_EQ(Fields(d.dialog), cases[i].fields) << "case " << i;
    std::string box;
    for (const std::string& e : *d.surface.log) box += e[0] == 'b' ? e.substr(4) + "|" : e[0] == 'f' ? e.substr(6) : "";
    EXPECT_EQ(box, cases[i].box) << "case " << i;
    EXPECT_TRUE(d.registry.log->empty()) << "case " << i;
  }
  Dialog small("5|1|1|2", "");  // under 1 MB counts as 1
  small.surface.totalPhys = MB - 1;
  EXPECT_FALSE(small.dialog.SaveExchange());
  EXPECT_EQ(small.surface.log->at(1), "box " + Range(0, 1).substr(0, Range(0, 1).size() - 1));
}

// A window-menu command opens the help page by its id without the low four
// bits; the others are the platform's.
TEST(ConfigDialog, WindowMenuCommands) {
  Dialog d;
  for (uint32_t id : {15u, 31u, 32u}) EXPECT_EQ(d.dialog.OnSystemCommand(id), id == 31 ? kDialogShowsHelp : kDialogDefault) << id;
}

// What OK stores and hands the monitor before the P token, and the dialog
// opened again over it.
TEST(ConfigDialog, StoredLaunchedAndOpenedAgain) {
  const struct { const char *edits, *on, *stored, *options, *on2; } cases[] = {
      {" 600 |64|0|64", "1007 1011 1014 1018 1020 1023 1064", "No Yes Yes Yes Yes Graph3 Always Bytes #600 #0 #64 #64",
       " U=600 R=64 T=64 S A G=3 D=Y B", "1007 1011 1014 1018 1020 1023 1064 "},
      // Two radios of a group on: the store takes the lowest rank, the command line the first in the table.
      {"5|4|10|0", "1010 1003 1009 1017 1018 1006 1007 1023 1063", "Yes No No No Yes Graph1 Always Bytes #5 #10 #0 #4",
       " M=10 T=4 A G=1 D=N B", "1007 1009 1010 1018 1023 1063 "},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Dialog d(cases[i].edits, cases[i].on);
    EXPECT_EQ(d.surface.Click(&d.dialog, IDC_DIALOG_OK), kDialogEndsOk) << "case " << i;
    std::string stored;
    for (const char* name : kNames) stored += (stored.empty() ? "" : " ") + d.registry.Show(kStore, name).substr(strlen(name) + 1);
    EXPECT_EQ(stored, cases[i].stored) << "case " << i;
    const std::string& start = d.launch.log->back();
    EXPECT_EQ(start.substr(start.find('|')), "|" + (cases[i].options + kTail) + "|C:\\Tools") << "case " << i;
    Dialog again;
    again.registry.keys = d.registry.keys;
    again.dialog.FinishInitialisation(&again.program);
    EXPECT_EQ(again.surface.On() + Fields(again.dialog), cases[i].on2 + Fields(d.dialog)) << "case " << i;
    EXPECT_EQ(again.surface.Click(&again.dialog, IDC_DEFAULT), kDialogStays) << "case " << i;
    EXPECT_EQ(again.surface.On() + Fields(again.dialog), kDefaults + std::string("5|4|10|0 100010")) << "case " << i << ": Default";
  }
}

// The line OK starts the monitor with, read as each monitor reads it: the
// settings chosen, by the letters that monitor knows.
TEST(MonitorCommandLine, ReadBackByBothMonitors) {
  const std::string deep = "D:\\" + std::string(208, 'd'), tools = "P=C:\\Tools\\VelmoraConfig.exe ";  // the line's 259
  const struct { const char *edits, *on; std::string dir, tray, hidden; } cases[] = {
      /* 0 */ {"1|1|0|64", "1004 1014 1017 1023 1064", "C:\\", "U=1000 M=64M R T=1M D=N S A L=1 P=C:\\VelmoraConfig.exe wait 16..600 ",
               "U=1000 M=64M R T=1M D=N S A wait 16..600 "},
      /* 1 */ {"600|64|64|0", "1005 1007 1018 1063", deep, "U=600000 M=64M T=64M D=Y B L=2 P=" + deep + "\\VelmoraConfig.exe wait 4..1 ",
               "U=600000 M=64M T=64M D=Y wait 4..1 "},
      /* 2 */ {"3|6|12|40", "1019 1011 1064", "C:\\Tools", "U=3000 M=40M R T=6M G=2 " + tools + "wait 8..200 ", "U=3000 M=40M R T=6M G=2 wait 8..200 "},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Dialog d(cases[i].edits, cases[i].on);
    d.launch.current = cases[i].dir;
    d.launch.files = {cases[i].dir + "\\Velmora.exe", cases[i].dir + "\\VelmoraH.exe"};
    ASSERT_EQ(d.surface.Click(&d.dialog, IDC_DIALOG_OK), kDialogEndsOk) << "case " << i;
    const std::string& start = d.launch.log->back();  // "start PATH|PARAMETERS|DIRECTORY"
    std::string line = "\"" + start.substr(6, start.find('|') - 6) + "\"" + start.substr(start.find('|') + 1), read;
    line.resize(line.rfind('|'));
    for (const OptionTable* table : {&kTrayOptions, &kHiddenOptions}) {
      MonitorSettings s;
      Backoff b;
      ParseMonitorCommandLine(line.c_str(), *table, &s, &b);
      read += Describe(s, b) + "| ";
    }
    EXPECT_EQ(read, cases[i].tray + "| " + cases[i].hidden + "| ") << "case " << i << ": " << line;
  }
}

TEST(MonitorCommandLine, ProgramDirectory) {
  const std::string c228 = "C:\\" + std::string(225, 'c'), tools = "C:\\Tools";
  const struct { std::string run, current, own; std::set<std::string> files; bool hidden; std::string want; } cases[] = {
      {"\"x\" P=\"", tools, "", {"C:\\Tools\\Velmora.exe"}, false, tools},  // an empty recorded directory
      // A recorded directory as short as it can be; a root loses its backslash.
      {"\"x\" P=\"\\VelmoraConfig.exe\"", "C:\\Windows", "", {}, false, "\\VelmoraConfig.exe\""},  // just the file name
      {"\"x\" P=\"\\\\VelmoraConfig.exe\"", "C:\\Windows", "", {"\\Velmora.exe"}, false, ""},  // the root of the drive
      {"\"x\" P=\"D\\VelmoraConfig.exe\"", tools, "", {"D\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, false, "D"},  // one character
      // A recorded directory too long for the budget left beside the options is not used.
      {"\"x\" P=\"" + c228 + "\\VelmoraConfig.exe\"", tools, "", {c228 + "\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, false, tools},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Dialog d;
    if (!cases[i].run.empty()) d.registry.PutText(kRun, "Velmora", cases[i].run);
    d.launch.current = cases[i].current;
    d.launch.own = cases[i].own;
    d.launch.files = cases[i].files;
    char options[kLaunchTextRoom], dir[kLaunchTextRoom];
    ComposeMonitorCommandLine({5, 10, 0, 4, false, false, false, cases[i].hidden, {"", "", ""}}, &d.launch, &d.registry, options, dir);
    EXPECT_EQ(dir, cases[i].want) << "case " << i;
    EXPECT_EQ(options, " M=10 T=4 P=\"" + cases[i].want + "\\VelmoraConfig.exe\"") << "case " << i;
    EXPECT_EQ(d.registry.OpenHandles(), 0u) << "case " << i;
  }
  FakeRegistry none;  // no Run key at all: no text, whatever the room held
  EXPECT_EQ(Written(kLaunchTextRoom, [&none](char* out, size_t) { return ReadRunValue(&none, out), true; }), "");
}

// OK, in this order: the exchange, with autostart off the Run values gone
// (a machine-wide one that stays shown as a warning), the Run value read for
// the command line, with autostart on the new Run
// value (its failures as warnings), the twelve values, the monitors closed,
// a pause, the start and a second exchange.
TEST(Confirm, InItsOrder) {
  const std::string read = "read " + kRun + ":Velmora", write = "write " + kRun + ":Velmora", p117(117, 'p');
  const std::string warnKey = "warn " + std::string(kRunKeyMessage), warnValue = "warn " + std::string(kRunValueMessage);
  const std::string warnStays = "warn " + std::string(kRunValueStaysMessage);
  const std::string dm = "delete " + kRun + ":Velmora", du = "delete " + kUserRun + ":Velmora";
  const std::string old = "\"D:\\Old\\Velmora.exe\" P=\"D:\\Old\\VelmoraConfig.exe\"", deep = "C:\\" + p117;
  const std::string over = "\"" + std::string(kLaunchTextRoom, 'o') + "\"";  // too long to be read, but there
  const std::string tools = "C:\\Tools\\Velmora.exe| M=10 T=4" + kTail + "|C:\\Tools", hidden = "\"C:\\VelmoraH.exe\" M=10 T=4 P=\"C:\\VelmoraConfig.exe\"";
  // The machine's Run key refuses: 1 to be opened, 2 to be changed, 3 to be
  // changed while it holds no value.
  const struct { const char* on; const char* edits; std::string current; int refuse; Lines before; std::string start, value; } cases[] = {
      {"1003 1006 1016 1063", "5|4|10|0", "C:\\Tools", 2, {dm, du, read, warnStays, read}, tools, over},
      {"1003 1006 1016 1063", "5|4|10|0", "C:\\Tools", 3, {dm, du, read, read}, tools, ""},
      {"1003 1006 1010 1011 1016 1063", "5|4|10|0", "C:\\", 0, {read, write}, "C:\\VelmoraH.exe| M=10 T=4 P=\"C:\\VelmoraConfig.exe\"|C:", hidden},
      {kDefaults, "5|4|10|0", "C:\\Tools", 1, {warnKey}, tools, old},
      {kDefaults, "5|4|10|0", deep, 0, {read, warnValue}, deep + "\\Velmora.exe| M=10 T=4 P=\"" + deep + "\\VelmoraConfig.exe\"|" + deep, old},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Dialog d(cases[i].edits, cases[i].on);
    if (cases[i].refuse != 3) d.registry.PutText(kRun, "Velmora", cases[i].refuse == 2 ? over : old);
    d.registry.keys[kRun].unopenable = cases[i].refuse == 1;
    d.registry.keys[kRun].locked = cases[i].refuse >= 2;
    d.launch.windows.windows = {{"", "Velmora", 2, 0}};
    d.launch.current = cases[i].current;
    d.launch.files = {"C:\\Tools\\Velmora.exe", "C:\\VelmoraH.exe", deep + "\\Velmora.exe"};
    Lines log, want = {"exchange"};
    d.surface.log = d.registry.log = d.launch.windows.log = d.launch.log = &log;
    EXPECT_EQ(d.surface.Click(&d.dialog, IDC_DIALOG_OK), kDialogEndsOk) << i;
    want.insert(want.end(), cases[i].before.begin(), cases[i].before.end());
    for (const char* name : kNames) want.push_back("write " + std::string(kStore) + ":" + name);
    Lines after = {"close 1", "pause 50", "close 1", "pause 50", "pause 100", "start " + cases[i].start, "exchange"};
    want.insert(want.end(), after.begin(), after.end());
    EXPECT_EQ(log, want) << "case " << i;
    EXPECT_EQ(d.registry.Show(kRun, "Velmora"), cases[i].value.empty() ? "" : "Velmora=" + cases[i].value) << "case " << i;
    EXPECT_EQ(d.registry.OpenHandles(), 0u) << "case " << i;
  }
}

// Monitors closed, both Run values and the settings keys gone, deepest
// first; a key that holds another product's stays.
TEST(UninstallMode, ArgumentAndRemoval) {
  EXPECT_TRUE(IsUninstallMode("VelmoraConfig.exe -uninstall") && !IsUninstallMode("VelmoraConfig.exe -uninstall "));
  const struct { bool oldVersion, otherProduct, runKeysOpen; Lines left; } cases[] = {
      {false, false, true, {"Software"}}, {true, false, false, {"Software"}},
      {true, true, true, {"Software", "Software\\Velmora", "Software\\Velmora\\Other"}}};
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Dialog d;
    d.registry.PutText(kRun, "Velmora", "a");
    d.registry.PutText(kUserRun, "Velmora", "b");
    if (cases[i].oldVersion) d.registry.PutText("Software\\Velmora\\Velmora\\1.3", "Old", "x");
    if (cases[i].otherProduct) d.registry.Make("Software\\Velmora\\Other");
    d.registry.keys[kRun].unopenable = d.registry.keys[kUserRun].unopenable = !cases[i].runKeysOpen;
    // Explorer's folder windows titled as a monitor are passed over.
    d.launch.windows.windows = {{"CabinetWClass", "Velmora", 0, 0}, {"", "Velmora", 1, 0}, {"ExploreWClass", "Velmora", 0, 0},
                                {"CabinetWClassX", "Velmora", 1, 0}};
    RunUninstallMode(d.launch.Everything(), &d.program);
    EXPECT_EQ(*d.launch.windows.log, Lines({"close 2", "pause 50", "close 4", "pause 50"})) << "case " << i;
    Lines left;
    for (const std::string& k : d.registry.Dump()) {
      if (k.find("Microsoft") == std::string::npos) left.push_back(k);
    }
    EXPECT_EQ(left, cases[i].left) << "case " << i;
    EXPECT_EQ(d.registry.Show(kRun, "Velmora") + d.registry.Show(kUserRun, "Velmora"),
              cases[i].runKeysOpen ? "" : "Velmora=aVelmora=b") << "case " << i;
    EXPECT_EQ(d.registry.OpenHandles(), 0u) << "case " << i;
    EXPECT_TRUE(d.launch.log->empty() && d.surface.log->empty()) << "case " << i;
  }
}

TEST(HelpPage, ButtonsAndLinkTargets) {
  std::string actions;  // action and link of each button
  for (int id : {IDC_LINK_FAQ, IDC_LINK_HOME, IDC_LINK_MAIL, IDC_DIALOG_OK, IDC_DIALOG_CANCEL, IDC_HELP_TITLE}) {
    HelpLink link = kHomeLink;
    actions += std::to_string(HelpPageCommand(id, &link));
    actions += std::to_string(link) + " ";
  }
  EXPECT_EQ(actions, "00 01 02 11 11 21 ");  // FAQ, home and mail open; OK and Cancel end; a text is not ours
  const struct { HelpLink link; const char* program; size_t room; const char* want; } cases[] = {
      {kHomeLink, "VelmoraConfig.exe", kLinkTargetRoom, "index.html"}, {kFaqLink, "/x.exe", kLinkTargetRoom, "/Velmora_FAQS.html"},
      {kFaqLink, nullptr, kLinkTargetRoom, ""}, {kHomeLink, "C:\\T\\x.exe", 15, ""}, {kHomeLink, "C:\\T\\x.exe", 1, ""},
      {kFaqLink, "x.exe", 0, ""}, {kMailLink, nullptr, 49, ""}, {kMailLink, nullptr, 1, ""}, {kMailLink, nullptr, 0, ""},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const auto& c = cases[i];
    EXPECT_EQ(Written(c.room, [&c](char* out, size_t room) { return ComposeLinkTarget(c.link, c.program, out, room); }),
              c.want[0] != '\0' ? c.want : "refused:") << "case " << i;
  }
  // Another version's digits, and each neighbour of the unreserved ranges.
  const char* const subjects[][2] = {{"Velmora v2.09", "Velmora%20v2.09"},
                                     {"AZaz09-._~@[`{/:\t\x7f\xff", "AZaz09-._~%40%5B%60%7B%2F%3A%09%7F%FF"}};
  for (auto s : subjects)
    EXPECT_EQ(Written(kLinkTargetRoom, [s](char* out, size_t room) { return ComposeMailTarget(s[0], out, room); }),
              std::string("mailto:velmora@example.org?subject=") + s[1]);
}

}  // namespace
