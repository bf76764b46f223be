// The tray icon's picture, checked against pictures written out by hand:
// 16 strings of 16 palette indexes, top row first, decoded from the raw
// bottom-up bytes by the test itself.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "icon_picture.h"

namespace {

typedef std::vector<std::string> Grid;

const char kEmptyRow[] = "0000000000000000";

// Reads the raw bytes: rows bottom-up, 8 bytes a row, high nibble left.
Grid GridOf(const IconPicture& p) {
  Grid g;
  for (int row = 0; row < 16; ++row) {
    std::string line;
    const uint8_t* bytes = p.bits + (15 - row) * 8;
    for (int i = 0; i < 8; ++i) {
      line += "0123456789ABCDEF"[bytes[i] >> 4];
      line += "0123456789ABCDEF"[bytes[i] & 15];
    }
    g.push_back(line);
  }
  return g;
}

// A picture from rows given top first; rows not given are empty.
Grid Rows(std::initializer_list<std::pair<int, const char*>> rows) {
  Grid g(16, kEmptyRow);
  for (const auto& r : rows) g[r.first] = r.second;
  return g;
}

std::string Show(const Grid& g) {
  std::string s = "\n";
  for (const std::string& row : g) s += "  " + row + "\n";
  return s;
}

void ExpectPicture(const IconPicture& p, const Grid& want, const std::string& what) {
  Grid got = GridOf(p);
  EXPECT_EQ(got, want) << what << "\ngot:" << Show(got) << "want:" << Show(want);
}

IconPicture Fresh() {
  IconPicture p;
  memset(p.bits, 0xA5, sizeof p.bits);  // ResetPicture must clear all of it
  p.previousHeight = -7;
  ResetPicture(&p);
  return p;
}

IconPicture Drawn(uint32_t freeMb, uint32_t totalMb, int32_t style, int font) {
  IconPicture p = Fresh();
  DrawPicture(&p, freeMb, totalMb, style, font);
  return p;
}

// The glyphs as pixel rows, top to bottom.
const char* const kSmoothRows[10][8] = {
    {"0220", "2002", "2002", "2002", "2002", "2002", "2002", "0220"},
    {"0020", "0220", "0020", "0020", "0020", "0020", "0020", "0020"},
    {"3223", "2002", "2002", "0013", "0320", "0230", "3100", "2222"},
    {"0223", "2002", "0002", "0321", "0321", "0002", "2002", "0223"},
    {"0323", "0213", "1313", "2013", "2013", "2221", "0023", "0023"},
    {"2221", "2000", "2000", "2113", "0002", "0002", "0002", "2223"},
    {"3223", "2002", "2000", "2223", "2332", "2002", "2002", "3223"},
    {"2222", "0032", "0031", "0023", "0320", "0230", "3200", "3100"},
    {"3223", "2002", "2002", "3223", "2332", "2002", "2002", "3223"},
    {"0220", "2002", "2002", "1221", "0232", "0002", "2002", "3120"},
};
const char* const kLcdRows[10][8] = {
    {"1111", "1001", "1001", "1001", "1001", "1001", "1001", "1111"},
    {"0010", "0010", "0010", "0010", "0010", "0010", "0010", "0010"},
    {"1111", "0001", "0001", "1111", "1000", "1000", "1000", "1111"},
    {"1111", "0001", "0001", "1111", "0001", "0001", "0001", "1111"},
    {"1000", "1001", "1001", "1001", "1111", "0001", "0001", "0001"},
    {"1111", "1000", "1000", "1111", "0001", "0001", "0001", "1111"},
    {"1000", "1000", "1000", "1111", "1001", "1001", "1001", "1111"},
    {"1111", "0011", "0001", "0001", "0001", "0001", "0001", "0001"},
    {"1111", "1001", "1001", "1111", "1001", "1001", "1001", "1111"},
    {"1111", "1001", "1001", "1111", "0001", "0001", "0001", "0001"},
};

// Every glyph of every font, drawn alone (one digit at columns 6-9, glyph
// rows at image rows 3-10), with nothing else around it but the status bar.
TEST(TrayPicture, EveryGlyphOfEveryFont) {
  const struct {
    int font;
    char set;  // palette index of a set LCD pixel
  } fonts[] = {{kFontSmooth, 0}, {kFontGreenLcd, '4'}, {kFontWhiteLcd, '2'}};
  for (const auto& f : fonts) {
    for (int digit = 0; digit <= 9; ++digit) {
      Grid want(16, kEmptyRow);
      for (int y = 0; y < 8; ++y) {
        std::string glyph = f.font == kFontSmooth ? kSmoothRows[digit][y] : kLcdRows[digit][y];
        if (f.font != kFontSmooth)
          for (char& c : glyph) c = c == '1' ? f.set : '0';
        want[3 + y].replace(6, 4, glyph);
      }
      // 100 MB total: the digits 0-9 are below 20 % (yellow) and 0-4 below
      // 5 % (red).
      want[13] = digit < 5 ? "0666666666666660" : "0777777777777770";
      ExpectPicture(Drawn(static_cast<uint32_t>(digit), 100, kStyleDigits, f.font), want,
                    "font " + std::to_string(f.font) + " digit " + std::to_string(digit));
    }
  }
}

TEST(TrayPicture, DigitLayouts) {
  const struct {
    uint32_t freeMb, totalMb;
    int font;
    Grid want;
  } cases[] = {
      // 0: one digit at columns 6-9; 7 of 64 is 10 %, yellow.
      {7, 64, kFontSmooth,
       Rows({{3, "0000002222000000"}, {4, "0000000032000000"}, {5, "0000000031000000"},
             {6, "0000000023000000"}, {7, "0000000320000000"}, {8, "0000000230000000"},
             {9, "0000003200000000"}, {10, "0000003100000000"}, {13, "0777777777777770"}})},
      // 1: two digits at 4-7 and 9-12; 70 %, green: odd columns 4, even 5.
      {45, 64, kFontSmooth,
       Rows({{3, "0000032302221000"}, {4, "0000021302000000"}, {5, "0000131302000000"},
             {6, "0000201302113000"}, {7, "0000201300002000"}, {8, "0000222100002000"},
             {9, "0000002300002000"}, {10, "0000002302223000"}, {13, "0454545454545450"}})},
      // 2: three digits at 1-4, 6-9 and 11-14.
      {345, 512, kFontSmooth,
       Rows({{3, "0022300323022210"}, {4, "0200200213020000"}, {5, "0000201313020000"},
             {6, "0032102013021130"}, {7, "0032102013000020"}, {8, "0000202221000020"},
             {9, "0200200023000020"}, {10, "0022300023022230"}, {13, "0454545454545450"}})},
      // 3: 3 of 64 is 4 %, red.
      {3, 64, kFontSmooth,
       Rows({{3, "0000000223000000"}, {4, "0000002002000000"}, {5, "0000000002000000"},
             {6, "0000000321000000"}, {7, "0000000321000000"}, {8, "0000000002000000"},
             {9, "0000002002000000"}, {10, "0000000223000000"}, {13, "0666666666666660"}})},
      // 4: 1234 shows 234 in green LCD digits; 1000 MB and more free of a
      // total in the thousands stays green.
      {1234, 2048, kFontGreenLcd,
       Rows({{3, "0444404444040000"}, {4, "0000400004040040"}, {5, "0000400004040040"},
             {6, "0444404444040040"}, {7, "0400000004044440"}, {8, "0400000004000040"},
             {9, "0400000004000040"}, {10, "0444404444000040"}, {13, "0444444444444440"}})},
      // 5: 1050 shows 050 in white LCD digits.
      {1050, 2048, kFontWhiteLcd,
       Rows({{3, "0222202222022220"}, {4, "0200202000020020"}, {5, "0200202000020020"},
             {6, "0200202222020020"}, {7, "0200200002020020"}, {8, "0200200002020020"},
             {9, "0200200002020020"}, {10, "0222202222022220"}, {13, "0444444444444440"}})},
      // 6: 0 MB free: the single digit 0, red.
      {0, 64, kFontGreenLcd,
       Rows({{3, "0000004444000000"}, {4, "0000004004000000"}, {5, "0000004004000000"},
             {6, "0000004004000000"}, {7, "0000004004000000"}, {8, "0000004004000000"},
             {9, "0000004004000000"}, {10, "0000004444000000"}, {13, "0666666666666660"}})},
  };
  int i = 0;
  for (const auto& c : cases) {
    // Drawn over a full picture: the digit style clears it first.
    IconPicture p = Fresh();
    memset(p.bits, 0x77, sizeof p.bits);
    DrawPicture(&p, c.freeMb, c.totalMb, kStyleDigits, c.font);
    ExpectPicture(p, c.want, "case " + std::to_string(i++));
  }
}

TEST(TrayPicture, StatusColour) {
  const struct {
    uint32_t freeMb, totalMb;
    int32_t style;
    int font;
    uint8_t want;
  } cases[] = {
      {12, 64, kStyleDigits, kFontSmooth, 0x77},  // 18 %
      {3, 64, kStyleDigits, kFontSmooth, 0x66},   // 4 %
      {13, 64, kStyleDigits, kFontSmooth, 0x54},  // 20 %
      {13, 64, kStyleDigits, kFontGreenLcd, 0x44},
      {13, 64, kStyleGauge, kFontWhiteLcd, 0x44},
      {4, 64, kStyleAreaGraph, kFontSmooth, 0x77},  // 6 %
      {3, 64, kStyleLineGraph, kFontGreenLcd, 0x66},
      // A total in the thousands: the digit style goes by the thousands
      // digit of free RAM, the graphs by the share.
      {900, 2048, kStyleDigits, kFontSmooth, 0x77},
      {900, 2048, kStyleAreaGraph, kFontSmooth, 0x54},  // 43 %
      {1000, 2048, kStyleDigits, kFontSmooth, 0x54},
      {999, 1000, kStyleDigits, kFontSmooth, 0x77},
      {999, 1000, kStyleGauge, kFontSmooth, 0x54},
      {50, 1000, kStyleDigits, kFontSmooth, 0x77},  // 5 % exactly
      {49, 1000, kStyleDigits, kFontSmooth, 0x66},
      {102, 2048, kStyleDigits, kFontSmooth, 0x66},   // 4 %
      {10500, 12000, kStyleDigits, kFontSmooth, 0x77},  // thousands digit 0 of 2
      {10500, 20000, kStyleDigits, kFontSmooth, 0x54},  // total's thousands 0: 52 %
      {4096, 4096, kStyleDigits, kFontSmooth, 0x54},
      // A total whose thousands digit is 0 again uses the share.
      {900, 10000, kStyleDigits, kFontSmooth, 0x77},
      {2500, 10000, kStyleDigits, kFontSmooth, 0x54},
      // A total of 0 MB divides by nothing: the colour stays normal.
      {0, 0, kStyleDigits, kFontSmooth, 0x54},
      {5, 0, kStyleLineGraph, kFontGreenLcd, 0x44},
      // Larger than any reading, still no overflow in 100 x free.
      {0xFFFFFFFFu, 0xFFFFFFFFu, kStyleGauge, kFontSmooth, 0x54},
      {0x10000000u, 0xFFFFFFFFu, kStyleGauge, kFontSmooth, 0x77},  // 6 %
  };
  int i = 0;
  for (const auto& c : cases)
    EXPECT_EQ(StatusColour(c.freeMb, c.totalMb, c.style, c.font), c.want) << "case " << i++;
}

TEST(TrayPicture, GraphHeight) {
  const struct {
    uint32_t freeMb, totalMb;
    int want;
  } cases[] = {
      {0, 64, 1},  {32, 64, 7},    {64, 64, 14},     {16, 64, 3},      {28, 64, 6},
      {4, 64, 1},  {1, 28, 1},     {2, 28, 1},       {3, 28, 1},       {4, 28, 2},       {2048, 2048, 14},
      {1, 4096, 1}, {2047, 4096, 7}, {4095, 4096, 14},
      // No total: the lowest level. More free than total: the full graph.
      {0, 0, 1},   {100, 0, 1},    {65, 64, 14},     {200, 64, 14},
      {0xFFFFFFFFu, 1, 14},
  };
  int i = 0;
  for (const auto& c : cases)
    EXPECT_EQ(GraphHeight(c.freeMb, c.totalMb), c.want) << "case " << i++;
}

TEST(TrayPicture, Gauge) {
  const struct {
    uint32_t freeMb, totalMb;
    int32_t style;
    Grid want;
  } cases[] = {
      // Half full and green: column 1 high, 2-13 high at even and low at
      // odd columns, 14 low.
      {32, 64, kStyleGauge,
       Rows({{8, "0554545454545440"}, {9, "0554545454545440"}, {10, "0554545454545440"},
             {11, "0554545454545440"}, {12, "0554545454545440"}, {13, "0554545454545440"},
             {14, "0554545454545440"}})},
      {12, 64, kStyleGauge, Rows({{13, "0777777777777770"}, {14, "0777777777777770"}})},
      {0, 64, kStyleGauge, Rows({{14, "0666666666666660"}})},
      // Any other non-zero style draws the gauge.
      {64, 64, 7, Grid{kEmptyRow, "0554545454545440", "0554545454545440", "0554545454545440",
                        "0554545454545440", "0554545454545440", "0554545454545440",
                        "0554545454545440", "0554545454545440", "0554545454545440",
                        "0554545454545440", "0554545454545440", "0554545454545440",
                        "0554545454545440", "0554545454545440", kEmptyRow}},
      {0, 64, -1, Rows({{14, "0666666666666660"}})},
  };
  int i = 0;
  for (const auto& c : cases) {
    // Over a full gauge: the levels above the height are cleared.
    IconPicture p = Fresh();
    DrawPicture(&p, 64, 64, kStyleGauge, kFontSmooth);
    DrawPicture(&p, c.freeMb, c.totalMb, c.style, kFontSmooth);
    ExpectPicture(p, c.want, "case " + std::to_string(i));
    EXPECT_EQ(p.previousHeight, kNoHeight) << "the gauge leaves the previous height, case " << i;
    ++i;
  }
}

struct Tick {
  uint32_t freeMb;  // of 64 MB; a value of kPass runs a free pass instead
  Grid want;
  int previousHeight;
};
const uint32_t kPass = 0xFFFFFFFFu;

void RunTicks(int32_t style, const std::vector<Tick>& ticks) {
  IconPicture p = Fresh();
  int i = 0;
  for (const Tick& t : ticks) {
    if (t.freeMb == kPass) {
      BlankForFreePass(&p, style);
      ClearAfterFreePass(&p, style);
    } else {
      DrawPicture(&p, t.freeMb, 64, style, kFontSmooth);
    }
    ExpectPicture(p, t.want, "style " + std::to_string(style) + " tick " + std::to_string(i));
    EXPECT_EQ(p.previousHeight, t.previousHeight) << "style " << style << " tick " << i;
    ++i;
  }
}

TEST(TrayPicture, AreaGraphOverTicks) {
  const char* k14 = "0000000000000040";
  RunTicks(kStyleAreaGraph,
           {
               // Height 7: the new column 14 in the low nibble.
               {32, Rows({{8, k14}, {9, k14}, {10, k14}, {11, k14}, {12, k14}, {13, k14}, {14, k14}}), 7},
               // Height 14: the old column moves to 13 (odd: the high nibble).
               {64,
                Rows({{1, k14}, {2, k14}, {3, k14}, {4, k14}, {5, k14}, {6, k14}, {7, k14},
                      {8, "0000000000000540"}, {9, "0000000000000540"}, {10, "0000000000000540"},
                      {11, "0000000000000540"}, {12, "0000000000000540"}, {13, "0000000000000540"},
                      {14, "0000000000000540"}}),
                14},
               // Height 2 and yellow: the whole history takes the new colour.
               {12,
                Rows({{1, "0000000000000700"}, {2, "0000000000000700"}, {3, "0000000000000700"},
                      {4, "0000000000000700"}, {5, "0000000000000700"}, {6, "0000000000000700"},
                      {7, "0000000000000700"}, {8, "0000000000007700"}, {9, "0000000000007700"},
                      {10, "0000000000007700"}, {11, "0000000000007700"}, {12, "0000000000007700"},
                      {13, "0000000000007770"}, {14, "0000000000007770"}}),
                2},
               // A free pass: black, and the graph starts afresh.
               {kPass, Grid(16, kEmptyRow), 2},
               {32, Rows({{8, k14}, {9, k14}, {10, k14}, {11, k14}, {12, k14}, {13, k14}, {14, k14}}), 7},
           });
}

TEST(TrayPicture, LineGraphOverTicks) {
  const char* k14 = "0000000000000040";
  RunTicks(kStyleLineGraph,
           {
               // First tick: one pixel at column 14, level 3.
               {16, Rows({{12, k14}}), 3},
               // Three higher: the old pixel moves to column 13, column 14 is
               // painted at the two levels between and at the new height.
               {28, Rows({{9, k14}, {10, k14}, {11, k14}, {12, "0000000000000500"}}), 6},
               // Down to level 1 in yellow: joined downwards.
               {4,
                Rows({{9, "0000000000000700"}, {10, "0000000000000770"}, {11, "0000000000000770"},
                      {12, "0000000000007070"}, {13, "0000000000000070"}, {14, "0000000000000070"}}),
                1},
               // After a pass the picture is black but the height carries
               // over: the first new sample is joined to level 1.
               {kPass, Grid(16, kEmptyRow), 1},
               {28, Rows({{9, k14}, {10, k14}, {11, k14}, {12, k14}, {13, k14}}), 6},
               // The same height again: a single pixel.
               {28, Rows({{9, "0000000000000540"}, {10, "0000000000000500"}, {11, "0000000000000500"},
                          {12, "0000000000000500"}, {13, "0000000000000500"}}),
                6},
           });
}

TEST(TrayPicture, HistoryLeavesAtTheLeftEdge) {
  // Full height for 20 ticks: columns 1-14 full, columns 0 and 15 never
  // painted, the same picture from the 14th tick on.
  IconPicture p = Fresh();
  Grid full(16, "0545454545454540");
  full[0] = kEmptyRow;
  full[15] = kEmptyRow;
  for (int tick = 1; tick <= 20; ++tick) {
    DrawPicture(&p, 64, 64, kStyleAreaGraph, kFontSmooth);
    Grid got = GridOf(p);
    int filled = tick < 14 ? tick : 14;
    for (int row = 1; row <= 14; ++row) {
      std::string want = kEmptyRow;
      for (int c = 15 - filled; c <= 14; ++c) want[c] = full[row][c];
      EXPECT_EQ(got[row], want) << "tick " << tick << " row " << row;
    }
    EXPECT_EQ(got[0], kEmptyRow) << "tick " << tick;
    EXPECT_EQ(got[15], kEmptyRow) << "tick " << tick;
  }
  ExpectPicture(p, full, "after 20 ticks");
  // Critical now: the whole history turns red.
  DrawPicture(&p, 2, 64, kStyleAreaGraph, kFontSmooth);
  Grid red(16, "0666666666666600");
  red[0] = kEmptyRow;
  red[14] = "0666666666666660";
  red[15] = kEmptyRow;
  ExpectPicture(p, red, "after a red tick");
}

TEST(TrayPicture, BlankingForAFreePass) {
  // The digits go and the status bar stays; the graphs go black. After the
  // pass the digits are left for the next drawing; the graphs are cleared.
  const struct {
    int32_t style;
    uint32_t freeMb;
    Grid duringPass;
  } cases[] = {
      {kStyleDigits, 45, Rows({{13, "0454545454545450"}})},
      {kStyleDigits, 3, Rows({{13, "0666666666666660"}})},
      {kStyleGauge, 64, Grid(16, kEmptyRow)},
      {kStyleAreaGraph, 64, Grid(16, kEmptyRow)},
      {kStyleLineGraph, 30, Grid(16, kEmptyRow)},
  };
  int i = 0;
  for (const auto& c : cases) {
    IconPicture p = Fresh();
    DrawPicture(&p, c.freeMb, 64, c.style, kFontSmooth);
    int height = p.previousHeight;
    BlankForFreePass(&p, c.style);
    ExpectPicture(p, c.duringPass, "during pass, case " + std::to_string(i));
    ClearAfterFreePass(&p, c.style);
    ExpectPicture(p, c.duringPass, "after pass, case " + std::to_string(i));
    EXPECT_EQ(p.previousHeight, height) << "case " << i;
    ++i;
  }
}

TEST(TrayPicture, BytesAreBottomUpWithTheLeftPixelHigh) {
  IconPicture p = Fresh();
  DrawPicture(&p, 0, 64, kStyleGauge, kFontSmooth);  // level 1 only, red
  uint8_t want[128] = {};
  const uint8_t row14[8] = {0x06, 0x66, 0x66, 0x66, 0x66, 0x66, 0x66, 0x60};
  memcpy(want + 8, row14, 8);  // image row 14 is the second row stored
  EXPECT_EQ(memcmp(p.bits, want, 128), 0);

  p = Fresh();
  SetPixel(&p, 0, 0, 0xA);   // top left
  SetPixel(&p, 15, 15, 0xB); // bottom right
  SetPixel(&p, 1, 15, 0xC);
  SetPixel(&p, 14, 0, 0xD);
  uint8_t corners[128] = {};
  corners[0] = 0x0C;   // bottom row, columns 0 and 1
  corners[7] = 0x0B;   // bottom row, columns 14 and 15
  corners[120] = 0xA0; // top row, columns 0 and 1
  corners[127] = 0xD0; // top row, columns 14 and 15
  EXPECT_EQ(memcmp(p.bits, corners, 128), 0);
  EXPECT_EQ(PixelAt(p, 0, 0), 0xA);
  EXPECT_EQ(PixelAt(p, 15, 15), 0xB);
  EXPECT_EQ(PixelAt(p, 1, 15), 0xC);
  EXPECT_EQ(PixelAt(p, 14, 0), 0xD);
  EXPECT_EQ(PixelAt(p, 15, 0), 0);
}

TEST(TrayPicture, HeaderPaletteAndMask) {
  const uint8_t want[72] = {
      40, 0, 0, 0, 16, 0, 0, 0, 16, 0, 0, 0,  // size, width, height (bottom-up)
      1, 0, 4, 0,                             // planes, bits per pixel
      0, 0, 0, 0, 0, 0, 0, 0,                 // no compression, image size 0
      0, 0, 0, 0, 0, 0, 0, 0,                 // resolution 0 x 0
      8, 0, 0, 0, 8, 0, 0, 0,                 // 8 colours used, 8 important
      // blue, green, red, 0
      0, 0, 0, 0,        // 0 background
      192, 192, 192, 0,  // 1
      240, 240, 240, 0,  // 2
      128, 128, 128, 0,  // 3
      0, 255, 0, 0,      // 4 green
      0, 255, 0, 0,      // 5 green
      0, 0, 255, 0,      // 6 red
      0, 255, 255, 0,    // 7 yellow
  };
  ASSERT_EQ(sizeof kPictureHeader, sizeof want);
  EXPECT_EQ(memcmp(&kPictureHeader, want, sizeof want), 0);
  const uint8_t zeros[128] = {};
  EXPECT_EQ(memcmp(kOpaqueMask, zeros, 128), 0);
}

}  // namespace
