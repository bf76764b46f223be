#include <gtest/gtest.h>
#include <string.h>

#include "options.h"
#include "program_name.h"

namespace {

// Everything a command line sets, in finished units (ms, bytes).
struct Parsed {
  uint32_t intervalMs;
  uint32_t freeAmount;
  bool reachTarget;
  uint32_t threshold;
  char defragment;
  bool runOnce, sound, keepTrying, byteUnits;
  int32_t displayStyle;
  int digitFont;
  const char* path;
};

const uint32_t MB = 1u << 20;
const Parsed kDefaults = {5000, 10 * MB, false, 0, 'I', false, false, false, false, 0, 0, ""};

void ExpectParsed(const MonitorSettings& s, const Parsed& want, const std::string& context) {
  EXPECT_EQ(s.intervalMs, want.intervalMs) << context;
  EXPECT_EQ(s.freeAmountBytes, want.freeAmount) << context;
  EXPECT_EQ(s.reachTarget, want.reachTarget) << context;
  EXPECT_EQ(s.thresholdBytes, want.threshold) << context;
  EXPECT_EQ(s.defragment, want.defragment) << context;
  EXPECT_EQ(s.runOnce, want.runOnce) << context;
  EXPECT_EQ(s.sound, want.sound) << context;
  EXPECT_EQ(s.keepTrying, want.keepTrying) << context;
  EXPECT_EQ(s.byteUnits, want.byteUnits) << context;
  EXPECT_EQ(s.displayStyle, want.displayStyle) << context;
  EXPECT_EQ(s.digitFont, want.digitFont) << context;
  EXPECT_STREQ(s.configPath, want.path) << context;
}

Parsed Defaults() { return kDefaults; }

struct ScanCase {
  const char* line;  // the whole process command line
  Parsed want;
};

Parsed D(void (*edit)(Parsed*)) {
  Parsed p = kDefaults;
  edit(&p);
  return p;
}

TEST(OptionScanner, TrayCommandLines) {
  const ScanCase cases[] = {
      {"Velmora.exe", Defaults()},
      {"Velmora.exe ", Defaults()},
      {"\"C:\\Program Files\\Velmora.exe\"", Defaults()},
      {"Velmora.exe U=3 M=20", D([](Parsed* p) { p->intervalMs = 3000; p->freeAmount = 20 * MB; })},
      {"Velmora.exe u=3 m=20", D([](Parsed* p) { p->intervalMs = 3000; p->freeAmount = 20 * MB; })},
      {"Velmora.exe Update=3 Memory 20", D([](Parsed* p) { p->intervalMs = 3000; p->freeAmount = 20 * MB; })},
      {"Velmora.exe U==3", D([](Parsed* p) { p->intervalMs = 3000; })},
      {"Velmora.exe U=x", Defaults()},
      {"Velmora.exe U=12abc", D([](Parsed* p) { p->intervalMs = 12000; })},
      {"Velmora.exe U=+3", D([](Parsed* p) { p->intervalMs = 3000; })},
      {"Velmora.exe U=\t\n\v\f\r7", D([](Parsed* p) { p->intervalMs = 7000; })},
      {"Velmora.exe U=-+3", Defaults()},
      {"Velmora.exe D=z", D([](Parsed* p) { p->defragment = 'Z'; })},
      {"Velmora.exe D={", D([](Parsed* p) { p->defragment = '{'; })},
      {"Velmora.exe D=`", D([](Parsed* p) { p->defragment = '`'; })},
      {"Velmora.exe M=0", Defaults()},
      {"Velmora.exe R=0", D([](Parsed* p) { p->reachTarget = true; })},
      {"Velmora.exe R=40 M=20", D([](Parsed* p) { p->reachTarget = true; p->freeAmount = 20 * MB; })},
      {"Velmora.exe M=20 R=40", D([](Parsed* p) { p->reachTarget = true; p->freeAmount = 40 * MB; })},
      {"Velmora.exe T=4", D([](Parsed* p) { p->threshold = 4 * MB; })},
      {"Velmora.exe T=4 T=0", Defaults()},
      {"Velmora.exe L", D([](Parsed* p) { p->digitFont = 1; })},
      {"Velmora.exe LG", D([](Parsed* p) { p->digitFont = 1; })},
      {"Velmora.exe LW", D([](Parsed* p) { p->digitFont = 2; })},
      {"Velmora.exe lw", D([](Parsed* p) { p->digitFont = 2; })},
      {"Velmora.exe L=W", D([](Parsed* p) { p->digitFont = 1; })},
      {"Velmora.exe LW L", D([](Parsed* p) { p->digitFont = 1; })},
      {"Velmora.exe D=Y", D([](Parsed* p) { p->defragment = 'Y'; })},
      {"Velmora.exe D=yes", D([](Parsed* p) { p->defragment = 'Y'; })},
      {"Velmora.exe D=n", D([](Parsed* p) { p->defragment = 'N'; })},
      {"Velmora.exe D=X", D([](Parsed* p) { p->defragment = 'X'; })},
      {"Velmora.exe D=1", D([](Parsed* p) { p->defragment = '1'; })},
      {"Velmora.exe S=1 A=Y", D([](Parsed* p) { p->sound = true; p->keepTrying = true; })},
      {"Velmora.exe S S", D([](Parsed* p) { p->sound = true; })},
      {"Velmora.exe O B", D([](Parsed* p) { p->runOnce = true; p->byteUnits = true; })},
      {"Velmora.exe G=2", D([](Parsed* p) { p->displayStyle = 2; })},
      {"Velmora.exe G=-7", D([](Parsed* p) { p->displayStyle = -7; })},
      {"Velmora.exe Xyz=5 q", Defaults()},
      {"Velmora.exe\tU=3", Defaults()},  // a tab is no delimiter: one program name
      {"Velmora.exe U=3\tM=20", D([](Parsed* p) { p->intervalMs = 3000; })},
      // A value-taking option last on the line is absent.
      {"Velmora.exe U=3 U", D([](Parsed* p) { p->intervalMs = 3000; })},
      {"Velmora.exe R", Defaults()},
      {"Velmora.exe T=4 T", D([](Parsed* p) { p->threshold = 4 * MB; })},
      {"Velmora.exe D=N D", D([](Parsed* p) { p->defragment = 'N'; })},
      {"Velmora.exe P", Defaults()},
      {"Velmora.exe G=3 G", D([](Parsed* p) { p->displayStyle = 3; })},
      // A path in quotes keeps its blanks, and the scan goes on after it.
      {"Velmora.exe U=2 P=\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\" S G=2",
       D([](Parsed* p) {
         p->intervalMs = 2000; p->sound = true; p->displayStyle = 2;
         p->path = "C:\\Program Files\\Velmora\\VelmoraConfig.exe";
       })},
      {"\"C:\\Tools\\Velmora.exe\" M=10 T=4 P=\"C:\\Tools\\VelmoraConfig.exe\"",
       D([](Parsed* p) { p->threshold = 4 * MB; p->path = "C:\\Tools\\VelmoraConfig.exe"; })},
      // An unquoted path runs on to the next equals sign; what follows is
      // read as tokens again.
      {"Velmora.exe P=C:\\a b\\c.exe U=3",
       D([](Parsed* p) { p->path = "C:\\a b\\c.exe U"; })},
      {"Velmora.exe P=C:\\Tools\\VelmoraConfig.exe",
       D([](Parsed* p) { p->path = "C:\\Tools\\VelmoraConfig.exe"; })},
      // The quote that ends the program name also ends nothing else.
      {"\"Velmora.exe\"U=3", D([](Parsed* p) { p->intervalMs = 3000; })},
      // An opening quote with no closing one: the whole line is scanned.
      {"\"Velmora.exe U=3", D([](Parsed* p) { p->intervalMs = 3000; })},
      {"\"Sound U=3", D([](Parsed* p) { p->intervalMs = 3000; })},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    MonitorSettings s;
    Backoff b;
    memset(&s, 0x5A, sizeof s);
    ParseMonitorCommandLine(cases[i].line, kTrayOptions, &s, &b);
    ExpectParsed(s, cases[i].want, "case " + std::to_string(i) + ": " + cases[i].line);
  }
}

TEST(OptionScanner, AmountsHoldAt4095Megabytes) {
  const struct {
    const char* line;
    uint32_t freeAmount, threshold;
  } cases[] = {
      {"V M=4095 T=4095", 4095 * MB, 4095 * MB},
      {"V M=4096 T=4096", 4095 * MB, 4095 * MB},
      {"V R=8192 T=5000", 4095 * MB, 4095 * MB},
      {"V M=99999999999 T=99999999999", 4095 * MB, 4095 * MB},
      {"V M=-1 T=-1", 4095 * MB, 4095 * MB},
      {"V M=2048 T=2047", 2048 * MB, 2047 * MB},
  };
  for (const auto& c : cases) {
    MonitorSettings s;
    Backoff b;
    ParseMonitorCommandLine(c.line, kTrayOptions, &s, &b);
    EXPECT_EQ(s.freeAmountBytes, c.freeAmount) << c.line;
    EXPECT_EQ(s.thresholdBytes, c.threshold) << c.line;
  }
}

TEST(OptionScanner, TimingValues) {
  const struct {
    const char* line;
    uint32_t base, maximum, intervalMs;
  } cases[] = {
      {"V", 4, 120, 5000},
      {"V U=1", 16, 600, 1000},
      {"V U=2", 12, 300, 2000},
      {"V U=3", 8, 200, 3000},
      {"V U=4", 4, 150, 4000},
      {"V U=5", 4, 120, 5000},
      {"V U=120", 4, 5, 120000},
      {"V U=121", 4, 4, 121000},
      {"V U=150", 4, 4, 150000},
      {"V U=151", 4, 3, 151000},
      {"V U=600", 4, 1, 600000},
      // Over ten minutes a tick is still the least wait.
      {"V U=601", 4, 1, 601000},
      // A negative interval takes the default; a huge one is held at the
      // longest the timer accepts.
      {"V U=-3", 4, 120, 5000},
      {"V U=99999999", 4, 1, 2147483000},
      {"V U=2147483", 4, 1, 2147483000},
  };
  for (const auto& c : cases) {
    MonitorSettings s;
    Backoff b;
    memset(&b, 0x5A, sizeof b);
    ParseMonitorCommandLine(c.line, kTrayOptions, &s, &b);
    EXPECT_EQ(b.baseWait, c.base) << c.line;
    EXPECT_EQ(b.currentWait, c.base) << c.line;
    EXPECT_EQ(b.maximumWait, c.maximum) << c.line;
    EXPECT_EQ(b.tickCounter, 0u) << c.line;
    EXPECT_EQ(s.intervalMs, c.intervalMs) << c.line;
    EXPECT_GT(static_cast<int32_t>(s.intervalMs), 0) << c.line;
  }
}

TEST(OptionScanner, PathThatDoesNotFitIsNotKept) {
  std::string line = "Velmora.exe P=\"";
  std::string path = "C:\\" + std::string(kConfigPathRoom - 4, 'x');  // room - 1 characters
  MonitorSettings s;
  Backoff b;
  ParseMonitorCommandLine((line + path + "\" U=3").c_str(), kTrayOptions, &s, &b);
  EXPECT_EQ(std::string(s.configPath), path);
  EXPECT_EQ(s.intervalMs, 3000u);

  ParseMonitorCommandLine((line + path + "y\" U=3").c_str(), kTrayOptions, &s, &b);
  EXPECT_STREQ(s.configPath, "");
  EXPECT_EQ(s.intervalMs, 3000u) << "the options after a dropped path are still read";
}

TEST(OptionScanner, HiddenIgnoresDisplayOnlyLetters) {
  // The hidden monitor reads what a tray line says about freeing, whatever
  // display letters the line holds.
  const char* base = "VelmoraH.exe U=2 R=32 T=4 S A D=N P=\"C:\\Program Files\\V\\VelmoraConfig.exe\" O";
  const char* extras[] = {"", " LW", " LG", " G=2", " B", " LW G=3 B"};
  MonitorSettings want;
  Backoff wantBackoff;
  ParseMonitorCommandLine(base, kHiddenOptions, &want, &wantBackoff);
  EXPECT_EQ(want.intervalMs, 2000u);
  EXPECT_EQ(want.freeAmountBytes, 32 * MB);
  EXPECT_TRUE(want.reachTarget);
  EXPECT_EQ(want.thresholdBytes, 4 * MB);
  EXPECT_EQ(want.defragment, 'N');
  EXPECT_TRUE(want.sound && want.keepTrying && want.runOnce);
  EXPECT_STREQ(want.configPath, "") << "the hidden monitor drops the path";
  for (const char* extra : extras) {
    for (int before = 0; before < 2; ++before) {
      std::string line = before ? std::string("VelmoraH.exe") + extra + (base + 12) : std::string(base) + extra;
      MonitorSettings s;
      Backoff b;
      ParseMonitorCommandLine(line.c_str(), kHiddenOptions, &s, &b);
      const std::string& context = line;
      EXPECT_EQ(s.intervalMs, want.intervalMs) << context;
      EXPECT_EQ(s.freeAmountBytes, want.freeAmountBytes) << context;
      EXPECT_EQ(s.reachTarget, want.reachTarget) << context;
      EXPECT_EQ(s.thresholdBytes, want.thresholdBytes) << context;
      EXPECT_EQ(s.defragment, want.defragment) << context;
      EXPECT_EQ(s.sound, want.sound) << context;
      EXPECT_EQ(s.keepTrying, want.keepTrying) << context;
      EXPECT_EQ(s.runOnce, want.runOnce) << context;
      EXPECT_EQ(s.digitFont, 0) << context;
      EXPECT_FALSE(s.byteUnits) << context;
      EXPECT_EQ(b.maximumWait, wantBackoff.maximumWait) << context;
    }
  }
}

TEST(OptionScanner, HiddenTakesLAndBAsPlainTokens) {
  // In the tray monitor L decides by its own token; in the hidden monitor it
  // is no option, so the token after it is read as usual either way.
  const struct {
    const char* line;
    uint32_t intervalMs;
    int32_t style;
  } cases[] = {
      {"H L U=3", 3000, 0},
      {"H B U=3", 3000, 0},
      {"H G=2 U=3", 3000, 2},
      {"H G U=3", 5000, 0},  // G takes U as its value token: no number, 0
  };
  for (const auto& c : cases) {
    MonitorSettings s;
    Backoff b;
    ParseMonitorCommandLine(c.line, kHiddenOptions, &s, &b);
    EXPECT_EQ(s.intervalMs, c.intervalMs) << c.line;
    EXPECT_EQ(s.displayStyle, c.style) << c.line;
  }
}

TEST(ProgramName, SkipsNameAndBlanks) {
  const struct {
    const char* line;
    const char* rest;
  } cases[] = {
      {"Velmora.exe", ""},
      {"Velmora.exe   U=3", "U=3"},
      {"\"C:\\a b\\Velmora.exe\"  U=3 M=2", "U=3 M=2"},
      {"\"C:\\a b\\Velmora.exe\"", ""},
      {"\"C:\\a b\\Velmora.exe U=3", "\"C:\\a b\\Velmora.exe U=3"},
      {"", ""},
      {"   U=3", "U=3"},
  };
  for (const auto& c : cases) EXPECT_STREQ(SkipProgramName(c.line), c.rest) << c.line;
}

}  // namespace
