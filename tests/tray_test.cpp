#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <new>
#include <sstream>
#include <string>
#include <vector>

#include "fake_engine_platform.h"
#include "resource.h"
#include "tray_icon.h"
#include "tray_menu.h"

namespace {

// The picture read from its raw bytes (rows bottom-up, 8 bytes a row, the
// high nibble the left pixel), top row first, . for 0.
std::string Grid(const IconPicture& p) {
  std::string g;
  for (int row = 15; row >= 0; --row, g += "\n")
    for (int i = 0; i < 8; ++i) g += {".123456789ABCDEF"[p.bits[row * 8 + i] >> 4], ".123456789ABCDEF"[p.bits[row * 8 + i] & 15]};
  return g;
}

// A name's place in the list, or the number it is.
int Code(const std::string& name, const std::vector<std::string>& names) {
  auto at = std::find(names.begin(), names.end(), name);
  return at != names.end() ? static_cast<int>(at - names.begin()) : std::stoi(name);
}

TEST(TrayPicture, Golden) {
  std::ifstream in(VELMORA_TEST_DATA "/tray_pictures.txt");
  ASSERT_TRUE(in.good());
  IconPicture p;
  std::string step, row;
  for (int n = 1; std::getline(in, step);) {
    if (step.empty() || step[0] == '#') continue;
    std::istringstream words(step);
    std::string verb, style, font, times = "x1";
    uint32_t freeMb = 0, totalMb = 0;
    words >> verb >> style >> freeMb >> totalMb >> font >> times;
    if (verb == "header") {  // its fields, then each index's colour, whose fourth byte must be 0
      const PictureHeader& h = kPictureHeader;
      char f[160];
      int at = snprintf(f, sizeof f, "header %u %d %d %u %u %u %u %d %d %u %u", h.size, h.width, h.height, h.planes, h.bitCount,
                        h.compression, h.imageSize, h.xPixelsPerMeter, h.yPixelsPerMeter, h.coloursUsed, h.coloursImportant);
      for (auto& c : h.colours) at += snprintf(f + at, 9, " %02X%02X%02X%s", c[2], c[1], c[0], c[3] ? "?" : "");
      EXPECT_EQ(step, f);
      continue;
    }
    if (verb == "reset") {
      memset(&p, 0xA5, sizeof p);  // all of it must be cleared
      ResetPicture(&p);
      continue;
    }
    int32_t s = Code(style, {"digits", "gauge", "area", "line"});
    for (int k = std::stoi(times.substr(1)); verb == "draw" && k > 0; --k)
      DrawPicture(&p, freeMb, totalMb, s, Code(font, {"smooth", "green", "white"}));
    if (verb == "blank") BlankForFreePass(&p, s);
    if (verb == "clear") ClearAfterFreePass(&p, s);
    std::string want;
    for (int r = 0; r < 16 && std::getline(in, row); ++r) want += row + "\n";
    EXPECT_EQ(Grid(p), want) << "step " << n++ << ": " << step;
  }
}

// The lit part of a picture: the columns and rows it spans, or - if none.
std::string Span(const IconPicture& p) {
  int c0 = 16, c1 = -1, r0 = 16, r1 = -1;
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c)
      if (PixelAt(p, c, r) != 0) c0 = std::min(c0, c), c1 = std::max(c1, c), r0 = std::min(r0, r), r1 = std::max(r1, r);
  return c1 < 0 ? "-" : "c" + std::to_string(c0) + "-" + std::to_string(c1) + " r" + std::to_string(r0) + "-" + std::to_string(r1);
}

// The tray monitor: the engine drawing through the tray display into a
// notification area that logs what it is shown. The display is made over
// poisoned memory, so that nothing it shows can be left over.
struct Tray : Monitor, TrayIconPlatform {
  std::string shown;
  int refusals = 0;  // hand-overs the notification area is yet to refuse
  alignas(TrayDisplay) unsigned char raw[sizeof(TrayDisplay)] = {};
  TrayDisplay* icon = new (memset(raw, 0xA5, sizeof raw)) TrayDisplay(&engine.settings, this);
  explicit Tray(const char* line) : Monitor(line) { AttachEngine(&engine, &platform, icon); }
  bool Show(bool add, const char* tip, const IconPicture& p) override {
    bool taken = refusals-- <= 0;
    shown += (add ? "add " : "") + std::string(tip) + " " + Span(p) + (taken ? "|" : " refused|");
    return taken;
  }
  void Remove() override { shown += "remove|"; }
};

TEST(TrayDisplay, WhatTheIconShows) {
  // Steps: a add, s sample (forced), t tick; a number sets free RAM in MB
  // first, with r how many hand-overs the notification area refuses next.
  const std::string r32 = "RAM: 32M  Page: 150M c1-14 r3-13";
  const struct { const char *line, *steps; std::string shown; } cases[] = {
      // The graphs go black for a pass and start afresh after it; a tick
      // that runs one draws nothing more.
      /* 0 */ {"V G=2 T=50", "a 64s t 32t", "add Velmora -|RAM: 64M  Page: 150M c14-14 r1-14|RAM: 64M  Page: 150M c13-14 r1-14|"
                                          "Attempting to Free RAM -|RAM: 32M  Page: 150M c14-14 r8-14|"},
      /* 1 */ {"V", "a 0t", "add Velmora -|RAM: 0M  Page: 150M c1-14 r3-13|"},  // no threshold: nothing freed even at no free RAM at all
      // Not taken: added again, and tried as a modify, on every tick, changed or not, until an add is taken.
      /* 2 */ {"V", "4r a 32t 32t 32t", "add Velmora - refused|Velmora - refused|add " + r32 + " refused|" + r32 + " refused|add " + r32 + "|"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    Tray t(cases[i].line);
    std::istringstream steps(cases[i].steps);
    for (std::string step; steps >> step;) {
      if (isdigit(step[0])) t.platform.status.availPhys = static_cast<uint32_t>(std::stod(step) * MB);
      switch (step.back()) {
        case 'a': t.icon->AddIcon(); break;
        case 's': SamplingUpdate(&t.engine, true); break;
        case 't': SamplingUpdate(&t.engine, false); break;
        case 'r': t.refusals = std::stoi(step); break;
      }
    }
    EXPECT_EQ(t.shown, cases[i].shown) << "case " << i;
  }
}

// What the menu's commands show: the details text in its room, and the
// configuration program or the about box for Help.
TEST(TrayMenu, DetailsAndHelp) {
  const struct { MemoryStatus status; bool bytes; std::string want; } cases[] = {
      // Rounded to MB with M, right-aligned in six.
      /* 0 */ {{32, 50, 63 * MB + 629146, 524287, 524288, 150 * MB, 4294443008u, 2000 * MB}, false,
               "Total RAM:\t    64M\nFree RAM:\t     0M\n\nTotal Page:\t     1M \nFree Page:\t   150M\n\nTotal Virtual:\t  4096M\nFree Virtual:\t  2000M"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    for (size_t room : {cases[i].want.size() + 1, cases[i].want.size(), size_t{7}, size_t{1}, size_t{0}}) {
      const auto& c = cases[i];
      EXPECT_EQ(Written(room, [&c](char* out, size_t n) { return FormatDetails(out, n, c.status, c.bytes), true; }),
                c.want.substr(0, room == 0 ? 0 : room - 1)) << "case " << i << " room " << room;
    }
  }
  MonitorSettings none = {}, path = {};
  path.configPath[0] = 'C';
  EXPECT_TRUE(!HelpStartsConfiguration(none) && HelpStartsConfiguration(path));
}

}  // namespace
