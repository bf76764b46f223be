// The uninstaller: its arguments, the key path and warning, and what it
// leaves of the registry and the product's windows.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "fake_system.h"
#include "uninstall.h"

namespace {

const char kSuiteCall[] = "\"C:\\Velmora\\VelmoraUninstall.exe\" Velmora Velmora N Y Y";
const std::string kV259(259, 'v'), kP271(271, 'p');

TEST(Uninstall, Arguments) {
  // What was read: "vendor|product|switches", "" when the line is refused.
  const struct { std::string line, read; } cases[] = {
      {"u.exe Acme \"Big Tool\" \"Yes\" \"No\" \"Y\"", "Acme|Big Tool|YNY"},
      {"u.exe " + kV259 + " \"" + kP271 + "\" Y Y Y", kV259 + "|" + kP271 + "|YYY"},
      {"u.exe " + kV259 + "v Tool Y Y Y", ""},
      {"u.exe Acme \"" + kP271 + "p\" Y Y Y", ""},
      {"u.exe Velmora Velmora N Y", ""},
      {"u.exe \"\" Velmora N Y Y", ""},
      {"u.exe Velmora Velmora \"\" Y Y", ""},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    // A valid line just before leaves its arguments on the stack, where a
    // reader that claimed one more argument at the end would find them.
    UninstallArgs a;
    ASSERT_TRUE(ParseUninstallArgs(kSuiteCall, &a));
    memset(&a, 0xA5, sizeof a);
    bool ok = ParseUninstallArgs(cases[i].line.c_str(), &a);
    EXPECT_EQ(ok ? std::string(a.vendor) + "|" + a.product + "|" + "NY"[a.wholeVendor] + "NY"[a.removeRunValues] +
                       "NY"[a.closeWindows] : "", cases[i].read) << "case " << i;
  }
}

TEST(Uninstall, KeyPathAndWarning) {
  // An empty key name would select the key above it; a path is never cut to fit.
  const struct { std::string line; size_t room; std::string want; } cases[] = {
      {kSuiteCall, 0, "refused:"},
      {"u.exe Acme \\ Y Y Y", kKeyPathRoom, "Software\\Acme"},
      {"u.exe Acme Tool\\ N Y Y", kKeyPathRoom, "refused:"},
      {"u.exe " + kV259 + " pp N Y Y", kKeyPathRoom, "Software\\" + kV259 + "\\pp"},
      {"u.exe " + kV259 + " ppp N Y Y", kKeyPathRoom, "refused:"},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    UninstallArgs a;
    ASSERT_TRUE(ParseUninstallArgs(cases[i].line.c_str(), &a)) << "case " << i;
    EXPECT_EQ(Written(cases[i].room, [&a](char* out, size_t room) { return BuildKeyPath(a, out, room); }), cases[i].want)
        << "case " << i;
  }
  const std::string warning =
      "WARNING: Registry entries could not be removed.\n\nThe uninstall process will continue anyway.\n\n"
      "The failed Registry key is:\n\nHKEY_CURRENT_USER\\Software\\Velmora";
  for (size_t room : {kWarningRoom, warning.size() + 1, warning.size(), size_t(1), size_t(0)}) {
    EXPECT_EQ(Written(room, [](char* out, size_t n) { return BuildWarningText("Software\\Velmora", out, n); }),
              room > warning.size() ? warning : "refused:") << room;
  }
}

// The program on a fake registry and windows, with one log of registry
// deletions, the box and window requests.
struct Uninstaller : WarningBox {
  FakeRegistry registry;
  FakeWindows windows;
  Lines log;
  Uninstaller() {
    registry.log = windows.log = &log;
    for (const char* k : {"\\Velmora\\Settings", "\\Velmora\\1.3", "\\Velmora\\Deep\\A\\B", "\\Velmora", "\\Other", ""})
      registry.PutText(std::string("Software\\Velmora") + k, "V", "1");
  }
  void ShowMessage(const char* text, const char* caption) override {
    log.push_back(std::string("box ") + caption + ": " + (strrchr(text, '\n') + 1));
  }
};

std::set<std::string> Set(const Lines& lines) { return {lines.begin(), lines.end()}; }

const char kProduct[] = "Software\\Velmora\\Velmora";
const std::string kBox = std::string("box Unable to remove Registry Key: HKEY_CURRENT_USER\\") + kProduct;
const std::map<char, bool FakeKey::*> kKeyFlags = {
    {'L', &FakeKey::locked}, {'U', &FakeKey::unopenable}, {'N', &FakeKey::unreadable}, {'G', &FakeKey::ghost}};

// The suite's own call over set-up items below Software\Velmora: "key!F"
// flags a key (Locked, Unopenable, a Name too long, Ghost), "key:value!L"
// adds a locked value. What is left is given the same way beside what
// always stays; a box shows when something of the product's key stays.
TEST(Uninstall, WhatIsLeftOfTheTree) {
  const struct { std::string setUp, left; bool box; } cases[] = {
      {"Velmora\\X!U Velmora\\X\\C:c", "Velmora Velmora\\X Velmora\\X\\C Velmora\\X\\C:c", true},
      {"Velmora\\X!U", "", false},  // empty, so deleted unopened
      // What stays is passed over from then on, never asked for again, and
      // what comes after it goes.
      {"Velmora\\0L!L Velmora\\0N!N Velmora\\0G!G Velmora:A!L", "Velmora Velmora\\0L Velmora\\0N Velmora\\0G Velmora:A", true},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Uninstaller u;
    std::istringstream setUp(cases[i].setUp), left(cases[i].left);
    for (std::string item; setUp >> item;) {
      size_t bang = std::min(item.find('!'), item.size());
      std::string path = "Software\\Velmora\\" + item.substr(0, bang), key = path.substr(0, path.find(':'));
      char flag = item[std::min(bang + 1, item.size())];
      if (key != path) u.registry.PutText(key, path.substr(key.size() + 1), "1");
      if (key != path && flag == 'L') u.registry.lockedValues.insert(path);
      if (key == path) u.registry.Make(key).*kKeyFlags.at(flag) = true;
    }
    Lines want = {"Software", "Software\\Velmora", "Software\\Velmora:V", "Software\\Velmora\\Other",
                  "Software\\Velmora\\Other:V"};
    for (std::string item; left >> item;) want.push_back("Software\\Velmora\\" + item);
    RunUninstall(&u.registry, &u.windows, &u, kSuiteCall);
    EXPECT_EQ(Set(u.registry.Dump()), Set(want)) << "case " << i;
    EXPECT_EQ(Set(u.log).count(kBox), cases[i].box ? 1u : 0u) << "case " << i;
    EXPECT_EQ(Set(u.log).size(), u.log.size()) << "case " << i << ": asked twice";
    EXPECT_EQ(u.registry.OpenHandles(), 0u) << "case " << i;
  }
}

// After the tree and its warning: the Run values, the machine's first, then
// the windows (an Explorer window titled as the product passed over);
// nothing at all when the arguments or the key path are refused.
TEST(Uninstall, RunValuesAndWindowsLast) {
  const std::string run = kRunKeyPath, tree = "delete " + std::string(kProduct);
  const std::string machine = "delete HKLM\\" + run + ":Velmora", user = "delete " + run + ":Velmora";
  const struct { const char* line; Lines log; } cases[] = {
      {kSuiteCall, {tree, kBox, machine, user, "close 1", "pause 500", "close 3", "pause 500"}},
      {"u.exe Velmora Velmora N N Y", {tree, kBox, "close 1", "pause 500", "close 3", "pause 500"}},
      {"u.exe Velmora Velmora N Y N", {tree, kBox, machine, user}},
      {"u.exe Velmora Velmora N Y y", {}},
      {"u.exe \\ Velmora N Y Y", {}},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Uninstaller u;
    u.registry.Make(kProduct).unopenable = true;
    for (const std::string& key : {"HKLM\\" + run, run})
      for (const char* name : {"Velmora", "Other"}) u.registry.PutText(key, name, name);
    u.windows.windows = {{"Velmora", "", 1, 0}, {"ExploreWClass", "Velmora", 0, 0}, {"Other", "Velmora", 1, 0}};
    RunUninstall(&u.registry, &u.windows, &u, cases[i].line);
    EXPECT_EQ(u.log, cases[i].log) << "case " << i;
    EXPECT_EQ(u.registry.Show(run, "Other"), "Other=Other") << "case " << i;
    EXPECT_EQ(u.registry.OpenHandles(), 0u) << "case " << i;
  }
}

// The lookups by class and by title share one count of requests.
TEST(Uninstall, OneCountOfCloseRequests) {
  FakeWindows f;
  f.windows = {{"Other", "Velmora", 0, 0}, {"Velmora", "x", 9, 0}};
  EXPECT_EQ(CloseProductWindows(&f, "Velmora"), 10);
}

}  // namespace
