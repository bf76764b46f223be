// Closing the product's windows: by class, then by title, one shared count.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fake_uninstall_platform.h"

namespace {

typedef FakeUninstallPlatform::Window Window;

const int kNever = 0;

struct CloseCase {
  const char* name;
  std::vector<Window> windows;
  std::vector<int> requests;  // per window
  int sent;
};

const std::vector<CloseCase>& CloseCases() {
  static const std::vector<CloseCase> cases = {
      {"none", {}, {}, 0},
      {"three of the class that close",
       {{"Velmora", "", 1}, {"Velmora", "x", 1}, {"Velmora", "Velmora", 1}}, {1, 1, 1}, 3},
      {"both monitors", {{"Velmora", "Velmora", 1}, {"Velmora", "Velmora", 1}}, {1, 1}, 2},
      {"one of the class that never closes", {{"Velmora", "x", kNever}}, {10}, 10},
      {"one of the title that never closes", {{"Other", "Velmora", kNever}}, {10}, 10},
      // 5: the title search goes on with the count of the class search
      {"class closes after three, title never",
       {{"Velmora", "x", 3}, {"Other", "Velmora", kNever}}, {3, 7}, 10},
      {"four of the class close, title never",
       {{"Other", "Velmora", kNever},
        {"Velmora", "a", 1},
        {"Velmora", "b", 1},
        {"Velmora", "c", 1},
        {"Velmora", "d", 1}},
       {6, 1, 1, 1, 1}, 10},
      {"class never, title never: the title search gets nothing",
       {{"Other", "Velmora", kNever}, {"Velmora", "x", kNever}}, {0, 10}, 10},
      {"twelve that close: two are left",
       std::vector<Window>(12, Window{"Velmora", "Velmora", 1}),
       {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, 10},
      {"title windows that close", {{"A", "Velmora", 1}, {"B", "Velmora", 1}}, {1, 1}, 2},
  };
  return cases;
}

TEST(UninstallWindows, RequestsByClassThenTitle) {
  const std::vector<CloseCase>& cases = CloseCases();
  for (size_t i = 0; i < cases.size(); ++i) {
    const CloseCase& c = cases[i];
    FakeUninstallPlatform f;
    f.windows = c.windows;
    EXPECT_EQ(CloseProductWindows(&f, "Velmora"), c.sent) << "case " << i << ": " << c.name;
    std::vector<int> requests;
    for (const Window& w : f.windows) requests.push_back(w.requests);
    EXPECT_EQ(requests, c.requests) << "case " << i << ": " << c.name;
    // Every request is followed by its wait, and nothing else happens.
    ASSERT_EQ(f.log.size(), 2u * c.sent) << "case " << i;
    for (size_t k = 0; k < f.log.size(); k += 2) {
      EXPECT_EQ(f.log[k].compare(0, 13, "close window "), 0) << "case " << i << ": " << f.log[k];
      EXPECT_EQ(f.log[k + 1], "pause 500") << "case " << i;
    }
  }
}

TEST(UninstallWindows, ClassesFirstInTheirOrder) {
  FakeUninstallPlatform f;
  f.windows = {{"Other", "Velmora", 1}, {"Velmora", "a", 1}, {"Velmora", "b", 1}};
  CloseProductWindows(&f, "Velmora");
  EXPECT_EQ(f.log, std::vector<std::string>({"close window 2", "pause 500", "close window 3",
                                             "pause 500", "close window 1", "pause 500"}));
}

// The close switch decides, and windows come last of all.
TEST(UninstallWindows, FromTheCommandLine) {
  struct Case {
    const char* line;
    int sent;
  } cases[] = {
      {"u.exe Velmora Velmora N N Y", 2},
      {"u.exe Velmora Velmora N N Yes", 2},
      {"u.exe Velmora Velmora N N N", 0},
      {"u.exe Velmora Velmora N N y", 0},
      {"u.exe \"Big Tool\" \"Big Tool\" N N Y", 1},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    FakeUninstallPlatform f;
    f.windows = {{"Velmora", "Velmora", 1}, {"Other", "Velmora", 1}, {"Big Tool", "", 1}};
    f.Key(kCurrentUser, "Software\\Velmora\\Velmora").locked = true;
    f.Key(kCurrentUser, "Software\\Big Tool\\Big Tool").locked = true;
    f.Key(kLocalMachine, kRunKeyPath).values["Velmora"] = "x";
    RunUninstall(&f, &f, &f, cases[i].line);
    int sent = 0;
    for (const Window& w : f.windows) sent += w.requests;
    EXPECT_EQ(sent, cases[i].sent) << "case " << i;
    if (sent == 0) continue;
    // Nothing but requests and waits after the first request.
    size_t first = 0;
    while (first < f.log.size() && f.log[first].compare(0, 13, "close window ") != 0) ++first;
    EXPECT_EQ(f.log.size() - first, 2u * sent) << "case " << i;
    EXPECT_NE(std::find(f.log.begin(), f.log.begin() + first, "box"), f.log.begin() + first)
        << "case " << i;
  }
}

}  // namespace
