// Confirming the configuration dialog with a fake platform: the monitor
// command line, the directory it carries, the Run value, closing and
// starting the monitor, and uninstall mode.
#include <gtest/gtest.h>

#include <string>

#include "fake_control_surface.h"
#include "fake_launch_platform.h"
#include "fake_registry.h"
#include "monitor_command_line.h"
#include "monitor_restart.h"
#include "run_value.h"
#include "uninstall_mode.h"

namespace {

const int kOk = 1;      // the dialog's OK and Cancel buttons
const int kCancel = 2;
const char kTools[] = "C:\\Tools";
const std::string kToolsTail = " P=\"C:\\Tools\\VelmoraConfig.exe\"";

// A dialog opened on a first start with 64 MB, confirmed through the real
// launcher on the fake platform.
struct Confirming {
  FakeRegistry registry;
  ConfigProgram program{&registry};
  FakeSurface surface;
  ConfigDialog dialog;
  FakeLaunch platform;

  Confirming() {
    program.SetApplicationName(kApplicationName);
    program.SetRegistryKey(kRegistryKeyName);
    dialog.SetLauncher(platform.Everything());
    dialog.Attach(&surface);
    dialog.BeginInitialisation();
    dialog.FinishInitialisation(&program);
  }
  void Choose(int on, int off) {
    surface.buttons[on] = true;
    surface.buttons[off] = false;
  }
  std::string Compose(std::string* directory = nullptr) {
    char options[kLaunchTextRoom];
    char dir[kLaunchTextRoom];
    memset(options, '#', sizeof options);
    memset(dir, '#', sizeof dir);
    ComposeMonitorCommandLine(dialog.ForLaunch(), &platform, &platform, options, dir);
    if (directory != nullptr) *directory = dir;
    return options;
  }
  std::string StoredText(const char* name) {
    char text[kSettingTextRoom];
    program.ReadText(kSettingsSection, name, text, sizeof text);
    return text;
  }
  std::string MachineRunValue() {
    auto& values = platform.run[kMachineRun];
    return values.count("Velmora") ? values["Velmora"] : "(none)";
  }
};

TEST(ComposeMonitorCommandLine, TheTwoExamples) {
  Confirming first;
  std::string dir;
  EXPECT_EQ(first.Compose(&dir), " M=10 T=4" + kToolsTail);
  EXPECT_EQ(dir, kTools);

  Confirming second;
  ConfigDialog& d = second.dialog;
  d.UpdateInterval = 2;
  d.ReachTarget = 1;
  d.FreeExtra = 0;
  d.MemoryToReach = 32;
  d.MemoryThreshold = 4;
  d.Sound = 1;
  second.Choose(IDC_STYLE_GRAPH2, IDC_STYLE_NORMAL);
  second.Choose(IDC_DEFRAG_ALWAYS, IDC_DEFRAG_LOW);
  second.Choose(IDC_DETAIL_BYTES, IDC_DETAIL_MBYTES);
  EXPECT_EQ(second.Compose(), " U=2 R=32 T=4 S G=2 D=Y B" + kToolsTail);
}

TEST(ComposeMonitorCommandLine, EveryTokenCondition) {
  const struct {
    void (*set)(Confirming*);
    const char* options;  // before the P token
  } cases[] = {
      {[](Confirming* c) { c->dialog.UpdateInterval = 5; }, " M=10 T=4"},
      {[](Confirming* c) { c->dialog.UpdateInterval = 600; }, " U=600 M=10 T=4"},
      {[](Confirming* c) { c->dialog.UpdateInterval = 1; }, " U=1 M=10 T=4"},
      {[](Confirming* c) { c->dialog.MemoryToFree = 0; }, " M=0 T=4"},
      {[](Confirming* c) { c->dialog.MemoryThreshold = 0; }, " M=10"},
      {[](Confirming* c) { c->dialog.ReachTarget = 1; c->dialog.MemoryToReach = 0; }, " R=0 T=4"},
      {[](Confirming* c) { c->dialog.ReachTarget = 1; c->dialog.MemoryToReach = 64; }, " R=64 T=4"},
      {[](Confirming* c) { c->dialog.Sound = 1; c->dialog.AlwaysFree = 1; }, " M=10 T=4 S A"},
      {[](Confirming* c) { c->dialog.AlwaysFree = 1; }, " M=10 T=4 A"},
      // FreeExtra, AutoStart and RunHidden give no token.
      {[](Confirming* c) { c->dialog.AutoStart = 0; c->dialog.RunHidden = 1; }, " M=10 T=4"},
      {[](Confirming* c) { c->Choose(IDC_STYLE_GREEN, IDC_STYLE_NORMAL); }, " M=10 T=4 LG"},
      {[](Confirming* c) { c->Choose(IDC_STYLE_WHITE, IDC_STYLE_NORMAL); }, " M=10 T=4 LW"},
      {[](Confirming* c) { c->Choose(IDC_STYLE_GRAPH1, IDC_STYLE_NORMAL); }, " M=10 T=4 G=1"},
      {[](Confirming* c) { c->Choose(IDC_STYLE_GRAPH3, IDC_STYLE_NORMAL); }, " M=10 T=4 G=3"},
      {[](Confirming* c) { c->Choose(IDC_DEFRAG_NEVER, IDC_DEFRAG_LOW); }, " M=10 T=4 D=N"},
      {[](Confirming* c) { c->Choose(IDC_DETAIL_BYTES, IDC_DETAIL_MBYTES); }, " M=10 T=4 B"},
      // Two radios of a group on at once: the command line's own order.
      {[](Confirming* c) { c->Choose(IDC_STYLE_GRAPH2, IDC_STYLE_GREEN); }, " M=10 T=4 G=2"},
      {[](Confirming* c) { c->Choose(IDC_STYLE_WHITE, IDC_STYLE_GREEN); c->Choose(IDC_STYLE_GRAPH1, IDC_STYLE_GREEN); },
       " M=10 T=4 LW"},
      {[](Confirming* c) { c->Choose(IDC_DEFRAG_NEVER, IDC_DEFRAG_LOW); c->Choose(IDC_DEFRAG_ALWAYS, IDC_DEFRAG_LOW); },
       " M=10 T=4 D=N"},
      {[](Confirming* c) { c->Choose(IDC_DETAIL_BYTES, IDC_DEFRAG_LOW); }, " M=10 T=4 B"},
      // None of the five display radios on: no token (Normal is not read).
      {[](Confirming* c) { c->surface.buttons[IDC_STYLE_NORMAL] = false; }, " M=10 T=4"},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Confirming c;
    cases[i].set(&c);
    EXPECT_EQ(c.Compose(), cases[i].options + kToolsTail) << "case " << i;
  }
}

std::string RunValueFor(const std::string& dir, const std::string& options) {
  return "\"" + dir + "\\Velmora.exe\"" + options + " P=\"" + dir + "\\VelmoraConfig.exe\"";
}

TEST(ComposeMonitorCommandLine, TheProgramDirectory) {
  const std::string dir106(106, 'd');  // a Run value of exactly 259 characters
  const std::string dir107(107, 'd');  // and of 261
  const std::string long229 = "C:\\" + std::string(226, 'x');  // past the room beside " M=10 T=4"
  const struct {
    std::string runValue;  // "" for none
    std::string current, own;
    std::vector<std::string> files;
    std::string want;
  } cases[] = {
      // No Run value: the current directory.
      {"", kTools, "E:\\Own", {"C:\\Tools\\Velmora.exe"}, kTools},
      // The directory an earlier confirm recorded.
      {RunValueFor("D:\\Apps", " M=10"), kTools, "E:\\Own", {"D:\\Apps\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, "D:\\Apps"},
      // A value without the P marker: the current directory.
      {"\"D:\\Apps\\Velmora.exe\" M=10", kTools, "E:\\Own", {"D:\\Apps\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, kTools},
      {RunValueFor(dir106, " M=10 T=40"), kTools, "E:\\Own", {dir106 + "\\Velmora.exe"}, dir106},
      // Too long to be read back: as if there were none.
      {RunValueFor(dir107, " M=10 T=40"), kTools, "E:\\Own", {dir107 + "\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, kTools},
      // The programs moved away from the recorded directory: the current
      // one, else this program's own, holds them.
      {RunValueFor("D:\\Old", " M=10"), kTools, "E:\\Own", {"C:\\Tools\\Velmora.exe"}, kTools},
      {RunValueFor("D:\\Old", " M=10"), kTools, "E:\\Own", {"E:\\Own\\Velmora.exe"}, "E:\\Own"},
      {"", "C:\\Windows", "E:\\Own", {"E:\\Own\\Velmora.exe"}, "E:\\Own"},
      // Nowhere: the recorded directory (and the start fails), else the
      // current one.
      {RunValueFor("D:\\Old", " M=10"), kTools, "E:\\Own", {}, "D:\\Old"},
      {"", kTools, "E:\\Own", {}, kTools},
      // A recorded directory that does not fit the room is not used.
      {RunValueFor(long229, ""), kTools, "E:\\Own", {long229 + "\\Velmora.exe", "C:\\Tools\\Velmora.exe"}, kTools},
      // A current directory that does not fit: this program's own.
      {"", "", "E:\\Own", {"E:\\Own\\Velmora.exe"}, "E:\\Own"},
      {"", "", "", {}, ""},
      // A root directory loses its backslash.
      {"", "C:\\", "E:\\Own", {"C:\\Velmora.exe"}, "C:"},
      // So does a recorded one written with a backslash of its own.
      {"\"D:\\Apps\\Velmora.exe\" P=\"D:\\Apps\\\\VelmoraConfig.exe\"", kTools, "E:\\Own", {"D:\\Apps\\Velmora.exe"},
       "D:\\Apps"},
      // Nineteen characters or fewer after the marker are not cut.
      {"\"x\" P=\"short\"", "C:\\Windows", "", {}, "short\""},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Confirming c;
    if (!cases[i].runValue.empty()) c.platform.run[kMachineRun]["Velmora"] = cases[i].runValue;
    c.platform.current = cases[i].current;
    c.platform.own = cases[i].own;
    c.platform.files = std::set<std::string>(cases[i].files.begin(), cases[i].files.end());
    std::string dir;
    std::string options = c.Compose(&dir);
    EXPECT_EQ(dir, cases[i].want) << "case " << i;
    EXPECT_EQ(options, " M=10 T=4 P=\"" + cases[i].want + "\\VelmoraConfig.exe\"") << "case " << i;
    EXPECT_LE(options.size(), 259u) << "case " << i;
    EXPECT_EQ(c.platform.openKeys, 0) << "case " << i;
  }
}

TEST(ComposeMonitorCommandLine, TheHiddenMonitorMustBeThereToo) {
  Confirming c;
  c.dialog.RunHidden = 1;
  c.platform.files = {"C:\\Tools\\Velmora.exe", "E:\\Own\\VelmoraH.exe"};
  c.platform.own = "E:\\Own";
  std::string dir;
  c.Compose(&dir);
  EXPECT_EQ(dir, "E:\\Own");
}

TEST(ComposeMonitorCommandLine, AnUnreadableRunKeyIsNoRunValue) {
  Confirming c;
  c.platform.run[kMachineRun]["Velmora"] = RunValueFor("D:\\Apps", " M=10");
  c.platform.files.insert("D:\\Apps\\Velmora.exe");
  c.platform.refuseOpen = {kMachineRun};
  std::string dir;
  c.Compose(&dir);
  EXPECT_EQ(dir, kTools);
}

TEST(ReadRunValue, TheMachinesValueOrNothing) {
  const struct {
    void (*set)(FakeLaunch*);
    std::string want;
  } cases[] = {
      {[](FakeLaunch* p) { p->run[kMachineRun]["Velmora"] = "\"C:\\V.exe\" M=10"; }, "\"C:\\V.exe\" M=10"},
      {[](FakeLaunch*) {}, ""},
      {[](FakeLaunch* p) { p->run[kUserRun]["Velmora"] = "user"; }, ""},
      {[](FakeLaunch* p) {
         p->run[kMachineRun]["Velmora"] = "x";
         p->refuseOpen = {kMachineRun};
       },
       ""},
      // 259 characters and the NUL fit; one more does not.
      {[](FakeLaunch* p) { p->run[kMachineRun]["Velmora"] = std::string(259, 'v'); }, std::string(259, 'v')},
      {[](FakeLaunch* p) { p->run[kMachineRun]["Velmora"] = std::string(260, 'v'); }, ""},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FakeLaunch p;
    cases[i].set(&p);
    char text[kLaunchTextRoom + 8];
    memset(text, '#', sizeof text);
    ReadRunValue(&p, text);
    EXPECT_EQ(text, cases[i].want) << "case " << i;
    for (size_t b = kLaunchTextRoom; b < sizeof text; ++b) EXPECT_EQ(text[b], '#') << "case " << i;
    EXPECT_EQ(p.openKeys, 0) << "case " << i;
  }
}

TEST(ConfirmSequence, FirstStartWritesTheRunValueClosesAndStarts) {
  Confirming c;
  c.platform.windows = {1};
  EXPECT_EQ(c.surface.Click(&c.dialog, kOk), kDialogEndsOk);
  EXPECT_EQ(c.MachineRunValue(), "\"C:\\Tools\\Velmora.exe\" M=10 T=4" + kToolsTail);
  const std::vector<std::string> log = {
      "close 1", "pause 50", "pause 100",
      "start C:\\Tools\\Velmora.exe| M=10 T=4" + kToolsTail + "|C:\\Tools"};
  EXPECT_EQ(c.platform.log, log);
  EXPECT_EQ(c.StoredText("AutoStart"), "Yes");
}

TEST(ConfirmSequence, RootDirectoryAndHiddenMonitor) {
  const struct {
    bool hidden;
    const char* runValue;
    const char* start;
  } cases[] = {
      {false, "\"C:\\Velmora.exe\" M=10 T=4 LW B P=\"C:\\VelmoraConfig.exe\"",
       "C:\\Velmora.exe| M=10 T=4 LW B P=\"C:\\VelmoraConfig.exe\"|C:\n"},
      {true, "\"C:\\VelmoraH.exe\" M=10 T=4 LW B P=\"C:\\VelmoraConfig.exe\"",
       "C:\\VelmoraH.exe| M=10 T=4 LW B P=\"C:\\VelmoraConfig.exe\"|C:\n"},
  };
  for (const auto& k : cases) {
    Confirming c;
    c.platform.current = "C:\\";
    c.platform.files = {"C:\\Velmora.exe", "C:\\VelmoraH.exe"};
    c.Choose(IDC_STYLE_WHITE, IDC_STYLE_NORMAL);
    c.Choose(IDC_DETAIL_BYTES, IDC_DETAIL_MBYTES);
    c.surface.buttons[IDC_RUN_HIDDEN] = k.hidden;
    EXPECT_EQ(c.surface.Click(&c.dialog, kOk), kDialogEndsOk) << k.hidden;
    EXPECT_EQ(c.MachineRunValue(), k.runValue) << k.hidden;
    EXPECT_EQ(c.platform.Starts(), k.start) << k.hidden;
  }
}

TEST(ConfirmSequence, RunValueFailuresAreShownOnceAndEverythingGoesOn) {
  const struct {
    void (*set)(FakeLaunch*);
    const char* warning;
  } cases[] = {
      {[](FakeLaunch* p) { p->refuseSetValue.insert(kMachineRun); }, kRunKeyMessage},
      {[](FakeLaunch* p) { p->refuseWrite = true; }, kRunValueMessage},
      // A value that would not fit its room is not written at all.
      {[](FakeLaunch* p) {
         std::string dir = "C:\\" + std::string(117, 'p');
         p->current = dir;
         p->files = {dir + "\\Velmora.exe"};
       },
       kRunValueMessage},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Confirming c;
    cases[i].set(&c.platform);
    EXPECT_EQ(c.surface.Click(&c.dialog, kOk), kDialogEndsOk) << "case " << i;
    EXPECT_EQ(c.platform.Warnings(), std::string(cases[i].warning) + "\n") << "case " << i;
    EXPECT_EQ(c.MachineRunValue(), "(none)") << "case " << i;
    EXPECT_EQ(c.StoredText("AutoStart"), "Yes") << "case " << i;
    EXPECT_EQ(c.program.ReadNumber(kSettingsSection, "MemoryThreshold", 0), 4u) << "case " << i;
    EXPECT_EQ(c.platform.openKeys, 0) << "case " << i;
    std::string starts = c.platform.Starts();
    EXPECT_NE(starts.find("\\Velmora.exe| M=10 T=4 P=\""), std::string::npos) << "case " << i << ": " << starts;
  }
}

TEST(ConfirmSequence, AutostartOffDeletesBothRunValues) {
  Confirming c;
  c.platform.run[kMachineRun]["Velmora"] = RunValueFor("D:\\Apps", " M=10");
  c.platform.run[kUserRun]["Velmora"] = "x";
  c.platform.run[kUserRun]["Other"] = "y";
  c.platform.files.insert("D:\\Apps\\Velmora.exe");
  c.surface.buttons[IDC_AUTO_START] = false;
  EXPECT_EQ(c.surface.Click(&c.dialog, kOk), kDialogEndsOk);
  EXPECT_EQ(c.platform.run[kMachineRun].count("Velmora"), 0u);
  EXPECT_EQ(c.platform.run[kUserRun].count("Velmora"), 0u);
  EXPECT_EQ(c.platform.run[kUserRun]["Other"], "y");
  // With the value gone, the current directory is the program directory.
  EXPECT_EQ(c.platform.Starts(), "C:\\Tools\\Velmora.exe| M=10 T=4" + kToolsTail + "|C:\\Tools\n");
  EXPECT_EQ(c.StoredText("AutoStart"), "No");
}

TEST(ConfirmSequence, CancelDoesNothing) {
  Confirming c;
  c.platform.windows = {1};
  EXPECT_EQ(c.surface.Click(&c.dialog, kCancel), kDialogEndsCancel);
  EXPECT_TRUE(c.platform.log.empty());
  EXPECT_EQ(c.platform.finds, 0);
  EXPECT_TRUE(c.platform.run[kMachineRun].empty());
}

TEST(CloseRunningMonitors, RequestsAndPauses) {
  const struct {
    std::vector<int> windows;
    int requests;
  } cases[] = {
      {{}, 0},
      {{1}, 1},
      {{1, 1}, 2},
      {{3}, 3},
      {{FakeLaunch::kNever}, 10},
      {{1, FakeLaunch::kNever}, 10},
      {{4, 4, 4}, 10},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FakeLaunch p;
    p.windows = cases[i].windows;
    CloseRunningMonitors(&p, 50);
    EXPECT_EQ(p.Closes(), cases[i].requests) << "case " << i;
    EXPECT_EQ(p.finds, cases[i].requests + 1) << "case " << i;
    for (size_t k = 0; k < p.log.size(); ++k)
      EXPECT_EQ(p.log[k].compare(0, 6, k % 2 ? "pause " : "close "), 0) << "case " << i << " entry " << k;
  }
}

TEST(UninstallMode, RemovesEverythingAndShowsNothing) {
  Confirming c;
  c.platform.windows = {1, 1};
  c.platform.run[kMachineRun]["Velmora"] = "a";
  c.platform.run[kUserRun]["Velmora"] = "b";
  c.registry.PutText("Software\\Velmora\\Velmora\\Settings", "AutoStart", "Yes");
  c.registry.Make("Software\\Velmora\\Velmora\\1.3");
  RunUninstallMode(c.platform.Everything(), &c.program);
  EXPECT_EQ(c.platform.Closes(), 2);
  EXPECT_TRUE(c.platform.run[kMachineRun].empty());
  EXPECT_TRUE(c.platform.run[kUserRun].empty());
  EXPECT_FALSE(c.registry.Exists("Software\\Velmora"));
  EXPECT_EQ(c.platform.Warnings(), "");
  EXPECT_EQ(c.platform.Starts(), "");

  // With nothing there: one lookup, nothing shown.
  Confirming empty;
  empty.platform.refuseOpen = {kMachineRun, kUserRun};
  RunUninstallMode(empty.platform.Everything(), &empty.program);
  EXPECT_EQ(empty.platform.finds, 1);
  EXPECT_TRUE(empty.platform.log.empty());
  EXPECT_EQ(empty.platform.openKeys, 0);
}

TEST(ProgramStart, OnlyTheExactArgumentSelectsUninstallMode) {
  const struct {
    const char* line;
    bool uninstall;
  } cases[] = {
      {"VelmoraConfig.exe -uninstall", true},
      {"VelmoraConfig.exe    -uninstall", true},
      {"\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\" -uninstall", true},
      {"\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\"-uninstall", true},
      {"VelmoraConfig.exe", false},
      {"VelmoraConfig.exe -Uninstall", false},
      {"VelmoraConfig.exe -UNINSTALL", false},
      {"VelmoraConfig.exe /uninstall", false},
      {"VelmoraConfig.exe -uninstall ", false},
      {"VelmoraConfig.exe -uninstallx", false},
      {"VelmoraConfig.exe x -uninstall", false},
      {"-uninstall", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsUninstallMode(c.line), c.uninstall) << c.line;
}

}  // namespace
