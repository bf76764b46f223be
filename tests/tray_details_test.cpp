// The texts of the tray menu's boxes, byte for byte, and what the tray
// callback and the menu choices lead to.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "details.h"
#include "fake_engine_platform.h"
#include "tray_menu.h"

namespace {

MemoryStatus Status(uint32_t totalPhys, uint32_t availPhys, uint32_t totalPage, uint32_t availPage,
                    uint32_t totalVirtual, uint32_t availVirtual) {
  return {32, 50, totalPhys, availPhys, totalPage, availPage, totalVirtual, availVirtual};
}

std::string Details(const MemoryStatus& s, bool bytes) {
  char out[kDetailsRoom + 16];
  memset(out, kPoison, sizeof out);
  FormatDetails(out, kDetailsRoom, s, bytes);
  for (size_t i = kDetailsRoom; i < sizeof out; ++i)
    EXPECT_EQ(static_cast<unsigned char>(out[i]), kPoison) << "written past the room at " << i;
  return out;
}

const uint32_t k63_6 = 63 * MB + 629146;  // 63.6 MB

TEST(DetailsText, Layout) {
  const struct {
    MemoryStatus status;
    bool bytes;
    const char* want;
  } cases[] = {
      // 0: megabytes, rounded, unit letter M, numbers right-aligned in six.
      {Status(k63_6, 32 * MB, 200 * MB, 150 * MB, 2047 * MB, 2000 * MB), false,
       "Total RAM:\t    64M\nFree RAM:\t    32M\n\nTotal Page:\t   200M \nFree Page:\t   150M\n\n"
       "Total Virtual:\t  2047M\nFree Virtual:\t  2000M"},
      // 1: the same in bytes: unrounded, a blank for the unit letter, wider
      // numbers take more room.
      {Status(k63_6, 32 * MB, 200 * MB, 150 * MB, 2047 * MB, 2000 * MB), true,
       "Total RAM:\t66689434 \nFree RAM:\t33554432 \n\nTotal Page:\t209715200  \nFree Page:\t157286400 \n\n"
       "Total Virtual:\t2146435072 \nFree Virtual:\t2097152000 "},
      // 2: what Wine reports on a large machine: byte counts of 2 GB and
      // more print unsigned, and 4 GB less half a MB and more round to 4096.
      {Status(2147483647u, 2147483647u, 4294443007u, 4294967295u, 2147352576u, 2100000000u), false,
       "Total RAM:\t  2048M\nFree RAM:\t  2048M\n\nTotal Page:\t  4095M \nFree Page:\t  4096M\n\n"
       "Total Virtual:\t  2048M\nFree Virtual:\t  2003M"},
      {Status(2147483647u, 2147483647u, 4294443007u, 4294967295u, 2147352576u, 2100000000u), true,
       "Total RAM:\t2147483647 \nFree RAM:\t2147483647 \n\nTotal Page:\t4294443007  \nFree Page:\t4294967295 \n\n"
       "Total Virtual:\t2147352576 \nFree Virtual:\t2100000000 "},
      // 4: the rounding edges: half a MB less one byte, half a MB, the first
      // amount that would wrap, and 2 GB exactly.
      {Status(524287, 524288, 4294443008u, 2147483648u, 0, 1), false,
       "Total RAM:\t     0M\nFree RAM:\t     1M\n\nTotal Page:\t  4096M \nFree Page:\t  2048M\n\n"
       "Total Virtual:\t     0M\nFree Virtual:\t     0M"},
      // 5: six digits fill the width, five are padded, seven widen it.
      {Status(999999, 12345, 1234567, 0, 100000, 3000000000u), true,
       "Total RAM:\t999999 \nFree RAM:\t 12345 \n\nTotal Page:\t1234567  \nFree Page:\t     0 \n\n"
       "Total Virtual:\t100000 \nFree Virtual:\t3000000000 "},
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(Details(c.status, c.bytes), c.want) << "case " << i;
    ++i;
  }
}

TEST(DetailsText, NeverPassesItsRoom) {
  MemoryStatus s = Status(4294967295u, 4294967295u, 4294967295u, 4294967295u, 4294967295u, 4294967295u);
  char full[kDetailsRoom];
  FormatDetails(full, sizeof full, s, true);
  std::string whole = full;
  ASSERT_LT(whole.size(), kDetailsRoom - 1) << "the widest text fits its room";
  for (size_t room = 1; room <= whole.size() + 3; ++room) {
    char out[kDetailsRoom + 8];
    memset(out, kPoison, sizeof out);
    FormatDetails(out, room, s, true);
    EXPECT_EQ(std::string(out), whole.substr(0, room - 1)) << "room " << room;
    for (size_t k = room; k < sizeof out; ++k)
      ASSERT_EQ(static_cast<unsigned char>(out[k]), kPoison) << "room " << room << " byte " << k;
  }
  char untouched = static_cast<char>(kPoison);
  FormatDetails(&untouched, 0, s, false);
  EXPECT_EQ(static_cast<unsigned char>(untouched), kPoison) << "no room, nothing written";
}

TEST(AboutText, SevenLines) {
  EXPECT_STREQ(kAboutText,
               "Velmora v1.6\n"
               "\n"
               "By the Velmora authors\t\t\tvelmora@example.org\n"
               "\n"
               "http://www.velmora.example/\n"
               "\n"
               "Note: Use VelmoraConfig.exe for full Help");
  std::string text = kAboutText;
  int lines = 1;
  for (char c : text) lines += c == '\n';
  EXPECT_EQ(lines, 7);
  EXPECT_STREQ(kBoxTitle, "Velmora");
}

TEST(TrayActions, MouseEvents) {
  const struct {
    uint32_t message;
    TrayAction want;
  } cases[] = {
      {0x203, kActionFreePass},  // left double click
      {0x205, kActionOpenMenu},  // right button up
      {0x200, kActionNone},      // mouse move
      {0x201, kActionNone},      // left button down
      {0x202, kActionNone},      // left button up
      {0x204, kActionNone},      // right button down
      {0x206, kActionNone},      // right double click
      {0x207, kActionNone},      {0x208, kActionNone}, {0, kActionNone},
      {0x400, kActionNone},      {0x10205, kActionNone},
  };
  int i = 0;
  for (const auto& c : cases) EXPECT_EQ(ActionForMouse(c.message), c.want) << "case " << i++;
}

TEST(TrayActions, MenuChoices) {
  MonitorSettings without, with;
  Backoff b;
  ParseMonitorCommandLine("V", kTrayOptions, &without, &b);
  ParseMonitorCommandLine("V P=\"C:\\Program Files\\Velmora\\VelmoraConfig.exe\"", kTrayOptions, &with, &b);
  ASSERT_STREQ(with.configPath, "C:\\Program Files\\Velmora\\VelmoraConfig.exe");
  const struct {
    uint32_t id;
    TrayAction withoutPath, withPath;
  } cases[] = {
      {0, kActionNone, kActionNone},  // dismissed
      {21, kActionNone, kActionNone},
      {22, kActionShowDetails, kActionShowDetails},
      {23, kActionExit, kActionExit},
      {24, kActionFreePass, kActionFreePass},
      {25, kActionShowAbout, kActionStartConfiguration},
      {26, kActionNone, kActionNone},
      {20, kActionNone, kActionNone},
      {0xFFFFFFFFu, kActionNone, kActionNone},
  };
  int i = 0;
  for (const auto& c : cases) {
    EXPECT_EQ(ActionForMenuChoice(c.id, without), c.withoutPath) << "case " << i;
    EXPECT_EQ(ActionForMenuChoice(c.id, with), c.withPath) << "case " << i;
    ++i;
  }
}

}  // namespace
