#include <gtest/gtest.h>

#include <string>

#include "fake_engine_platform.h"

namespace {

const OptionTable* const T = &kTrayOptions;
const OptionTable* const H = &kHiddenOptions;
const uint32_t kAny = 0xFFFFFFFFu;
const int kAll = 1 << 30;

TEST(OptionScanner, CommandLines) {
  const std::string fits(kConfigPathRoom - 1, 'x');
  const struct { const OptionTable* table; std::string line, want; } cases[] = {
      /* 0 */ {T, "   U==\t\n\v\f\r+7", "U=7000 wait 4..85 "},  // no program name; runs of delimiters
      /* 1 */ {T, "V U=-3 U=-2147483649", ""},  // a negative interval takes the default, held to 32 bits too
      /* 2 */ {T, "V U=2147483648", "U=2147483000 wait 4..1 "},  // over 2^31 - 1: what SetTimer takes; one tick, not none
      /* 3 */ {T, "V D={", "D={ "},
      /* 4 */ {T, "V D=` S", "D=` S "},
      /* 5 */ {T, "V Memory 20 Reach=40", "M=40M R "},  // only the first letter counts
      /* 6 */ {T, "V M=99999999999999999999 T=-1 S", "M=4095M T=4095M S "},
      /* 7 */ {T, "V L=W LG", "L=1 "},
      /* 8 */ {T, "V LG lw", "L=2 "},
      /* 9 */ {T, "V S=1 a=Y O B G=-7z Xyz=5 q U=3 U", "U=3000 O S A B G=-7 wait 8..200 "},  // a value-taking option last is absent
      // A tab is no delimiter: one program name; and the line ends at its NUL.
      /* 10 */ {T, std::string("Velmora.exe\tU=3 U\0" "3", 19), ""},
      // A quoted path keeps its blanks; an unquoted one runs on to the next
      // equals sign. The scan goes on after either.
      /* 11 */ {T, "V P=\"C:\\Program Files\\VelmoraConfig.exe\" S", "S P=C:\\Program Files\\VelmoraConfig.exe "},
      /* 12 */ {T, "V P=C:\\a b\\c.exe U=3", "P=C:\\a b\\c.exe U "},
      /* 13 */ {T, "V P=\"" + fits + "\" U=3", "U=3000 P=" + fits + " wait 8..200 "},
      /* 14 */ {T, "V P=\"C:\\a\" P=\"" + fits + "y\" U=3", "U=3000 wait 8..200 "},  // never cut, and the earlier one gone
      // The quote that closes the program name, or the lack of one.
      /* 15 */ {T, "\"C:\\Program Files\\Velmora.exe\"U=3", "U=3000 wait 8..200 "},
      /* 16 */ {T, "\"Velmora.exe U=3", "U=3000 wait 8..200 "},
      /* 17 */ {T, "\"\"U=3 S\"", "U=3000 S wait 8..200 "},
      // The hidden monitor drops the path and the display-only letters.
      /* 18 */ {H, "VH U=1 R=32 T=4 S A D=N P=\"C:\\V.exe\" O LW G=2 B", "U=1000 M=32M R T=4M D=N O S A G=2 wait 16..600 "},
      /* 19 */ {T, "V D=z", "D=Z "},
      /* 20 */ {T, "V T=-4294967296 P C:\\x.exe", "T=4095M P=C:\\x.exe "},  // held to 32 bits; one blank ends P
      /* 21 */ {T, "V P=\"C:\\long\" P=\"C:\\a\"", "P=C:\\a "},  // the last path, whole
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    MonitorSettings s;
    Backoff b;
    memset(&s, 0x5A, sizeof s), memset(&b, 0x5A, sizeof b);
    ParseMonitorCommandLine(cases[i].line.c_str(), *cases[i].table, &s, &b);
    EXPECT_EQ(Describe(s, b), cases[i].want) << "case " << i << ": " << cases[i].line;
  }
}

// Unforced ticks with free RAM at 4 MB, or 40 MB on ticks [highFrom, highTo):
// the ticks on which a pass ran, marked ! when a beep came first.
std::string Schedule(const char* line, int ticks, int highFrom, int highTo) {
  Monitor m(line);
  m.platform.status.totalPhys = 9 * MB;  // passes of 1 MB keep the runs quick
  std::string passes;
  for (int tick = 0; tick < ticks; ++tick) {
    m.platform.status.availPhys = tick >= highFrom && tick < highTo ? 40 * MB : 4 * MB;
    size_t logged = m.platform.log.size(), reads = m.platform.reads;
    SamplingUpdate(&m.engine, false);
    if (static_cast<size_t>(m.platform.reads) > reads + 1)
      passes += std::to_string(tick) + (m.platform.log.compare(logged, 5, "beep ") == 0 ? "! " : " ");
  }
  return passes;
}

TEST(Backoff, Schedules) {
  const struct { const char* line; int ticks, highFrom, highTo; const char* passes; } cases[] = {
      /* 0 */ {"V U=5 T=4 S", 481, 0, 0, "0! 8! 24! 56! 120! 240! 360! 480! "},
      /* 1 */ {"V U=121 T=4", 17, 0, 0, "0 4 8 12 16 "},  // the maximum wait is the base wait
      /* 2 */ {"V U=600 T=4", 4, 0, 0, "0 1 2 3 "},
      /* 3 */ {"V U=5 T=4 A", 5, 0, 0, "0 1 2 3 4 "},
      /* 4 */ {"V U=5 T=4", 40, 1, 12, "0 12 20 36 "},  // recovered: back to the base wait
      /* 5 */ {"V U=5 R=4 T=4", 60, 0, 0, "0 8 24 56 "},  // a pass with the target reached counts
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Schedule(cases[i].line, cases[i].ticks, cases[i].highFrom, cases[i].highTo), cases[i].passes) << "case " << i;
}

TEST(FreePass, Allocations) {
  const struct { const char* line; uint32_t totalMb, freeMb, refuseAbove; int refuseAfter; const char* asked; } cases[] = {
      /* 0 */ {"V", 128, 20, kAny, kAll, "30M "},
      /* 1 */ {"V R=32", 96, 0, kAny, kAll, "32M "},  // a third of RAM in one block, more in pieces
      /* 2 */ {"V R=48 D=X", 96, 0, kAny, kAll, "3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 48M "},
      // Pieces stop at the first refusal; not smaller than the free amount, a 16-byte follow-up.
      /* 3 */ {"V M=1 D=N", 1024, 15, kAny, 3, "1M 1M 1M 1M 16 "},
      // A block that fails is halved while it is above 20 bytes.
      /* 4 */ {"V R=1", 1024, 0, 300000, kAll, "1M 524288 262144 "},
      /* 5 */ {"V R=40 D=Y", 96, 0, 0, kAll, "40M 20M 10M 5M 2621440 1310720 655360 327680 163840 81920 40960 20480 10240 5120 2560 1280 640 320 160 80 40 20 "},
      /* 6 */ {"V", 8, 4, kAny, kAll, ""},
      // Held at total RAM less 8 MB; the sum holds instead of wrapping to 0.
      /* 7 */ {"V M=1 D=Y", 16, 4095, kAny, kAll, "8M "},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const auto& c = cases[i];
    Monitor m(c.line);
    m.platform.status.totalPhys = c.totalMb * MB, m.platform.status.availPhys = c.freeMb * MB;
    m.platform.refuseAbove = c.refuseAbove, m.platform.refuseAfter = c.refuseAfter;
    FreePass(&m.engine);
    EXPECT_EQ(m.platform.asked, c.asked) << "case " << i;
    EXPECT_TRUE(m.platform.live.empty() && m.platform.dirty == 0) << "case " << i << ": every block zeroed and released";
  }
}

TEST(FreePass, StartAndRunOnce) {
  const struct { const char* line; int refuseAfter; bool ends; const char* log; } cases[] = {
      /* 0 */ {"V U=3 T=4095 S", kAll, false, "start 3000 "},
      /* 1 */ {"V U=3 O S R=40 T=4095", kAll, true, "start 3000 stop alloc 40M free 40M start 3000 "},  // never a beep
      /* 2 */ {"V O R=32", kAll, true, "start 5000 "},  // nothing to do still ends it
      // Every piece is obtained before the first is released.
      /* 3 */ {"V O R=40 D=N", 2, true, "start 5000 stop alloc 2621440 alloc 2621440 free 2621440 free 2621440 start 5000 "},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Monitor m(cases[i].line);
    m.platform.status.totalPhys = 128 * MB, m.platform.refuseAfter = cases[i].refuseAfter;
    EXPECT_EQ(StartMonitor(&m.engine), cases[i].ends) << "case " << i;
    EXPECT_EQ(m.platform.log, cases[i].log) << "case " << i;
    EXPECT_EQ(m.engine.backoff.tickCounter, 0u) << "case " << i;
  }
}

}  // namespace
