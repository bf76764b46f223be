// The tray display between the engine and the notification area: what each
// tray icon update hands over (added or modified, tip, picture), driven by
// hand and by the real engine over a fake platform.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "fake_engine_platform.h"
#include "tray_icon.h"

namespace {

struct Shown {
  bool add;
  std::string tip;
  IconPicture picture;
};

class FakeNotificationArea : public TrayIconPlatform {
 public:
  std::vector<Shown> shown;
  void ShowIcon(bool add, const char* tip, const IconPicture& picture) override {
    shown.push_back({add, tip, picture});
  }
};

// The picture's palette indexes as 16 rows of hex digits, top first.
std::vector<std::string> GridOf(const IconPicture& p) {
  std::vector<std::string> g;
  for (int row = 0; row < 16; ++row) {
    std::string line;
    for (int c = 0; c < 16; ++c) line += "0123456789ABCDEF"[PixelAt(p, c, row)];
    g.push_back(line);
  }
  return g;
}

bool Blank(const IconPicture& p) {
  static const uint8_t zeros[kPictureBytes] = {};
  return memcmp(p.bits, zeros, kPictureBytes) == 0;
}

// The picture of one reading drawn afresh, for comparison.
IconPicture DrawnAlone(uint32_t freeMb, uint32_t totalMb, int32_t style, int font) {
  IconPicture p;
  ResetPicture(&p);
  DrawPicture(&p, freeMb, totalMb, style, font);
  return p;
}

TEST(TrayIconUpdate, AddsTheIconAsVelmora) {
  MonitorSettings s;
  Backoff b;
  ParseMonitorCommandLine("V", kTrayOptions, &s, &b);
  FakeNotificationArea area;
  TrayDisplay display(&s, &area);
  display.AddIcon();
  ASSERT_EQ(area.shown.size(), 1u);
  EXPECT_TRUE(area.shown[0].add);
  EXPECT_EQ(area.shown[0].tip, "Velmora");
  EXPECT_TRUE(Blank(area.shown[0].picture));
}

TEST(TrayIconUpdate, TipIsCut) {
  const struct {
    size_t length;  // of the tooltip text
    size_t shown;   // characters that reach the icon
  } cases[] = {{1, 1}, {22, 22}, {62, 62}, {63, 63}, {64, 63}, {100, 63}, {126, 63}};
  int i = 0;
  for (const auto& c : cases) {
    MonitorSettings s;
    Backoff b;
    ParseMonitorCommandLine("V", kTrayOptions, &s, &b);
    FakeNotificationArea area;
    TrayDisplay display(&s, &area);
    char tooltip[128];
    for (size_t k = 0; k < c.length; ++k) tooltip[k] = static_cast<char>('a' + k % 26);
    memset(tooltip + c.length, kPoison, sizeof tooltip - c.length);
    tooltip[c.length] = '\0';
    std::string whole(tooltip, c.length);
    display.UpdateIcon(tooltip);
    ASSERT_EQ(area.shown.size(), 1u) << "case " << i;
    EXPECT_FALSE(area.shown[0].add) << "case " << i;
    EXPECT_EQ(area.shown[0].tip, whole.substr(0, c.shown)) << "case " << i;
    ++i;
  }
}

// The tray monitor as it runs: the engine over a fake platform, drawing
// through the tray display into a fake notification area.
struct TrayMonitor {
  FakePlatform platform;
  FakeNotificationArea area;
  Engine engine = {};
  TrayDisplay display;

  explicit TrayMonitor(const char* line, uint32_t totalMb = 64)
      : display(&engine.settings, &area) {
    ParseMonitorCommandLine(line, kTrayOptions, &engine.settings, &engine.backoff);
    AttachEngine(&engine, &platform, &display);
    platform.status.totalPhys = totalMb * MB;
  }
  // Start-up: the picture cleared, the icon added, the first sample.
  void Start() {
    display.Reset();
    display.AddIcon();
    SamplingUpdate(&engine, true);
  }
  void Free(uint32_t mb) { platform.status.availPhys = mb * MB; }
};

TEST(TrayMonitor, StartUpAddsThenDraws) {
  TrayMonitor m("V");
  m.Free(45);
  m.platform.status.availPageFile = 150 * MB;
  m.Start();
  ASSERT_EQ(m.area.shown.size(), 2u);
  EXPECT_TRUE(m.area.shown[0].add);
  EXPECT_EQ(m.area.shown[0].tip, "Velmora");
  EXPECT_TRUE(Blank(m.area.shown[0].picture));
  EXPECT_FALSE(m.area.shown[1].add);
  EXPECT_EQ(m.area.shown[1].tip, "RAM: 45M  Page: 150M");
  EXPECT_EQ(GridOf(m.area.shown[1].picture), GridOf(DrawnAlone(45, 64, kStyleDigits, kFontSmooth)));
}

TEST(TrayMonitor, TipsReachTheIconRounded) {
  const struct {
    uint32_t freeBytes, pageBytes;
    const char* tip;
  } cases[] = {
      {61 * MB + 419430, 250 * MB + 629146, "RAM: 61M  Page: 251M"},  // 61.4 and 250.6
      {61 * MB + 524288, 0, "RAM: 62M  Page: 0M"},                    // 61.5
      {2147483647u, 4294967295u, "RAM: 2048M  Page: 4096M"},          // Wine on a large machine
      {2147483647u, 4294443008u, "RAM: 2048M  Page: 4096M"},
      {2147483647u, 4294443007u, "RAM: 2048M  Page: 4095M"},
  };
  int i = 0;
  for (const auto& c : cases) {
    TrayMonitor m("V", 4095);
    m.platform.status.availPhys = c.freeBytes;
    m.platform.status.availPageFile = c.pageBytes;
    m.Start();
    ASSERT_EQ(m.area.shown.size(), 2u) << "case " << i;
    EXPECT_EQ(m.area.shown[1].tip, c.tip) << "case " << i;
    ++i;
  }
}

TEST(TrayMonitor, FreePassInTheDigitStyle) {
  TrayMonitor m("V M=10");
  m.Free(45);
  m.Start();
  m.Free(30);  // what the pass leaves
  FreePass(&m.engine);
  ASSERT_EQ(m.area.shown.size(), 4u);
  // While it runs: the tip and the status bar of the last drawing only.
  EXPECT_FALSE(m.area.shown[2].add);
  EXPECT_EQ(m.area.shown[2].tip, "Attempting to Free RAM");
  std::vector<std::string> during(16, "0000000000000000");
  during[13] = "0454545454545450";
  EXPECT_EQ(GridOf(m.area.shown[2].picture), during);
  // Afterwards: the new reading.
  EXPECT_EQ(m.area.shown[3].tip, "RAM: 30M  Page: 150M");
  EXPECT_EQ(GridOf(m.area.shown[3].picture), GridOf(DrawnAlone(30, 64, kStyleDigits, kFontSmooth)));
}

TEST(TrayMonitor, FreePassInTheGraphStyles) {
  const char* lines[] = {"V G=1", "V G=2", "V G=3 LW"};
  for (const char* line : lines) {
    TrayMonitor m(line);
    m.Free(64);
    m.Start();
    SamplingUpdate(&m.engine, false);
    SamplingUpdate(&m.engine, false);
    ASSERT_EQ(m.area.shown.size(), 4u) << line << ": every tick redraws a graph";
    m.Free(32);
    FreePass(&m.engine);
    ASSERT_EQ(m.area.shown.size(), 6u) << line;
    EXPECT_EQ(m.area.shown[4].tip, "Attempting to Free RAM") << line;
    EXPECT_TRUE(Blank(m.area.shown[4].picture)) << line << ": black while the pass runs";
    // The graph starts afresh with only the new sample; the line graph
    // joins it to the last height before the pass (14).
    int32_t style = m.engine.settings.displayStyle;
    int font = m.engine.settings.digitFont;
    IconPicture want;
    ResetPicture(&want);
    want.previousHeight = 14;
    DrawPicture(&want, 32, 64, style, font);
    if (style == kStyleLineGraph) {
      EXPECT_NE(GridOf(want), GridOf(DrawnAlone(32, 64, style, font))) << line;
    }
    EXPECT_EQ(GridOf(m.area.shown[5].picture), GridOf(want)) << line;
  }
}

TEST(TrayMonitor, RunOnceBeforeTheIconExists) {
  // The run-once pass runs on window creation, before the icon is added:
  // its updates modify, then start-up adds the icon as usual.
  TrayMonitor m("V O M=10");
  m.Free(45);
  m.display.Reset();
  FreePass(&m.engine);
  m.display.AddIcon();
  SamplingUpdate(&m.engine, true);
  ASSERT_EQ(m.area.shown.size(), 4u);
  const bool added[] = {false, false, true, false};
  const char* tips[] = {"Attempting to Free RAM", "RAM: 45M  Page: 150M", "Velmora",
                        "RAM: 45M  Page: 150M"};
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(m.area.shown[i].add, added[i]) << i;
    EXPECT_EQ(m.area.shown[i].tip, tips[i]) << i;
  }
}

TEST(TrayMonitor, AddedAgainWithTheCurrentPictureAndTip) {
  TrayMonitor m("V G=2");
  m.Free(32);
  m.Start();
  SamplingUpdate(&m.engine, false);
  m.display.AddIconAgain();
  ASSERT_EQ(m.area.shown.size(), 4u);
  EXPECT_TRUE(m.area.shown[3].add);
  EXPECT_EQ(m.area.shown[3].tip, "RAM: 32M  Page: 150M");
  EXPECT_EQ(GridOf(m.area.shown[3].picture), GridOf(m.area.shown[2].picture));
  EXPECT_EQ(GridOf(m.area.shown[3].picture), GridOf(m.display.Picture()));
  // Nothing else changes: the next tick modifies and scrolls on.
  SamplingUpdate(&m.engine, false);
  ASSERT_EQ(m.area.shown.size(), 5u);
  EXPECT_FALSE(m.area.shown[4].add);
  EXPECT_EQ(GridOf(m.area.shown[4].picture)[8], "0000000000004540");
}

TEST(TrayMonitor, NoTotalRamDrawsWithoutDividing) {
  const char* lines[] = {"V", "V G=1", "V G=2", "V G=3"};
  for (const char* line : lines) {
    TrayMonitor m(line, 0);
    m.platform.status.totalPhys = 524287;  // rounds to 0 MB
    m.Free(0);
    m.Start();
    ASSERT_EQ(m.area.shown.size(), 2u) << line;
    IconPicture want = DrawnAlone(0, 0, m.engine.settings.displayStyle, kFontSmooth);
    EXPECT_EQ(GridOf(m.area.shown[1].picture), GridOf(want)) << line;
    // Green at the lowest level (or the digit 0 over a green bar).
    std::string bottom = GridOf(m.area.shown[1].picture)[strlen(line) > 1 ? 14 : 13];
    EXPECT_NE(bottom.find('4'), std::string::npos) << line << ": " << bottom;
    EXPECT_EQ(bottom.find('6'), std::string::npos) << line << ": " << bottom;
  }
}

}  // namespace
