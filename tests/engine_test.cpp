#include <gtest/gtest.h>

#include <string>

#include "fake_engine_platform.h"

namespace {

const uint32_t kAny = 0xFFFFFFFFu;
const int kAll = 1 << 30;

TEST(OptionScanner, CommandLines) {
  const std::string fits(kConfigPathRoom - 1, 'x');
  const struct { std::string line, want; } cases[] = {
      /* 0 */ {"   U==\t\n\v\f\r+7", "U=7000 wait 4..85 "},  // no program name; runs of delimiters
      /* 1 */ {"V U=-3 U=-2147483649", ""},  // a negative interval takes the default, held to 32 bits too
      /* 2 */ {"V U=2147483648", "U=2147483000 wait 4..1 "},  // over 2^31 - 1: what SetTimer takes; one tick, not none
      /* 3 */ {"V M=99999999999999999999 T=-1 S", "M=4095M T=4095M S "},
      /* 4 */ {"V S=1 a=Y O B G=-7z Xyz=5 q U=3 U", "U=3000 O S A B G=-7 wait 8..200 "},  // a value-taking option last is absent
      /* 5 */ {"V P=\"C:\\a\" P=\"" + fits + "y\" U=3", "U=3000 wait 8..200 "},  // never cut, and the earlier one gone
      // The quote that closes the program name, or the lack of one.
      /* 6 */ {"\"\"U=3 S\"", "U=3000 S wait 8..200 "},
      /* 7 */ {"V D=z", "D=Z "},
      /* 8 */ {"V T=-4294967296 P C:\\x.exe", "T=4095M P=C:\\x.exe "},  // held to 32 bits; one blank ends P
      /* 9 */ {"V P=\"C:\\long\" P=\"C:\\a\"", "P=C:\\a "},  // the last path, whole
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    MonitorSettings s;
    Backoff b;
    memset(&s, 0x5A, sizeof s), memset(&b, 0x5A, sizeof b);
    ParseMonitorCommandLine(cases[i].line.c_str(), kTrayOptions, &s, &b);
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
      /* 2 */ {"V U=5 T=4", 40, 1, 12, "0 12 20 36 "},  // recovered: back to the base wait
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(Schedule(cases[i].line, cases[i].ticks, cases[i].highFrom, cases[i].highTo), cases[i].passes) << "case " << i;
}

TEST(FreePass, Allocations) {
  const struct { const char* line; uint32_t totalMb, freeMb, refuseAbove; int refuseAfter; const char* asked; } cases[] = {
      /* 0 */ {"V R=32", 96, 0, kAny, kAll, "32M "},  // a third of RAM in one block, more in pieces
      /* 1 */ {"V R=48 D=X", 96, 0, kAny, kAll, "3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 3M 48M "},
      // Pieces stop at the first refusal; not smaller than the free amount, a 16-byte follow-up.
      /* 2 */ {"V M=1 D=N", 1024, 15, kAny, 3, "1M 1M 1M 1M 16 "},
      // A block that fails is halved while it is above 20 bytes.
      /* 3 */ {"V R=40 D=Y", 96, 0, 0, kAll, "40M 20M 10M 5M 2621440 1310720 655360 327680 163840 81920 40960 20480 10240 5120 2560 1280 640 320 160 80 40 20 "},
      /* 4 */ {"V", 8, 4, kAny, kAll, ""},
      // Held at total RAM less 8 MB; the sum holds instead of wrapping to 0.
      /* 5 */ {"V M=1 D=Y", 16, 4095, kAny, kAll, "8M "},
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

}  // namespace
