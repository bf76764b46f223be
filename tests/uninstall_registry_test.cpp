// What the uninstaller leaves of the registry: the product's tree, entries
// that cannot be removed, the Run values, and the warning.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "fake_uninstall_platform.h"

namespace {

typedef std::vector<std::string> Lines;

const char kSuiteCall[] = "\"C:\\Velmora\\VelmoraUninstall.exe\" Velmora Velmora N Y Y";
const char kWarningPrefix[] =
    "WARNING: Registry entries could not be removed.\n\n"
    "The uninstall process will continue anyway.\n\n"
    "The failed Registry key is:\n\n"
    "HKEY_CURRENT_USER\\";

std::string Box(const std::string& keyPath) {
  return kWarningPrefix + keyPath + "|Unable to remove Registry Key";
}

// The suite's keys as an installed copy leaves them, with neighbours that
// must stay.
void Installed(FakeUninstallPlatform* f) {
  FakeKey& product = f->Key(kCurrentUser, "Software\\Velmora\\Velmora");
  product.values["Version"] = "1.6";
  FakeKey& settings = f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Settings");
  settings.values["UpdateInterval"] = "5";
  settings.values["MemoryThreshold"] = "0";
  settings.values["DisplayStyle"] = "Graph1";
  f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\1.3").values["Old"] = "x";
  f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Deep\\A\\B\\C").values["Leaf"] = "1";
  f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Deep\\A").values["Mid"] = "1";
  f->Key(kCurrentUser, "Software\\Velmora\\Other").values["Keep"] = "1";
  f->Key(kCurrentUser, "Software\\Velmora").values["VendorValue"] = "1";
  f->Key(kCurrentUser, "Software\\Velmorb").values["Keep"] = "1";
}

const Lines kNeighbours = {"Software", "Software\\Velmora", "Software\\Velmora:VendorValue",
                           "Software\\Velmora\\Other", "Software\\Velmora\\Other:Keep",
                           "Software\\Velmorb", "Software\\Velmorb:Keep"};

Lines Plus(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  std::sort(lines.begin(), lines.end());
  return lines;
}

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

struct TreeCase {
  const char* name;
  const char* line;
  std::function<void(FakeUninstallPlatform*)> setUp;
  Lines left;      // under HKEY_CURRENT_USER afterwards
  Lines boxes;
};

const std::vector<TreeCase>& TreeCases() {
  static const std::vector<TreeCase> cases = {
      {"product tree with nested keys and values", kSuiteCall, Installed, kNeighbours, {}},
      {"whole vendor", "u.exe Velmora Velmora Y N N", Installed,
       {"Software", "Software\\Velmorb", "Software\\Velmorb:Keep"}, {}},
      {"a quoted vendor of two words", "u.exe \"Two Words\" Tool N N N",
       [](FakeUninstallPlatform* f) {
         f->Key(kCurrentUser, "Software\\Two Words\\Tool\\Sub").values["v"] = "1";
         f->Key(kCurrentUser, "Software\\Two").values["v"] = "1";
       },
       {"Software", "Software\\Two", "Software\\Two:v", "Software\\Two Words"}, {}},
      {"no vendor key at all", kSuiteCall, [](FakeUninstallPlatform*) {}, {}, {}},
      {"vendor key without the product", kSuiteCall,
       [](FakeUninstallPlatform* f) { f->Key(kCurrentUser, "Software\\Velmora\\Other"); },
       {"Software", "Software\\Velmora", "Software\\Velmora\\Other"}, {}},
      // 5
      {"a subkey that cannot be deleted stays, its neighbours go", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         FakeKey& stuck = f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Locked");
         stuck.locked = true;
         stuck.values["Inside"] = "1";
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Locked\\Child").values["c"] = "1";
       },
       Plus(kNeighbours, {"Software\\Velmora\\Velmora", "Software\\Velmora\\Velmora\\Locked"}),
       {Box("Software\\Velmora\\Velmora")}},
      {"a subkey that cannot be opened keeps its children", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Closed").unopenable = true;
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Closed\\Child").values["c"] = "1";
       },
       Plus(kNeighbours,
            {"Software\\Velmora\\Velmora", "Software\\Velmora\\Velmora\\Closed",
             "Software\\Velmora\\Velmora\\Closed\\Child",
             "Software\\Velmora\\Velmora\\Closed\\Child:c"}),
       {Box("Software\\Velmora\\Velmora")}},
      {"an empty subkey that cannot be opened is still deleted", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Closed").unopenable = true;
       },
       kNeighbours, {}},
      {"a subkey whose name cannot be read is passed over", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\0Unreadable").unreadable = true;
       },
       Plus(kNeighbours, {"Software\\Velmora\\Velmora", "Software\\Velmora\\Velmora\\0Unreadable"}),
       {Box("Software\\Velmora\\Velmora")}},
      {"a subkey listed but not found by its name is passed over", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\0Ghost").ghost = true;
       },
       Plus(kNeighbours, {"Software\\Velmora\\Velmora", "Software\\Velmora\\Velmora\\0Ghost"}),
       {Box("Software\\Velmora\\Velmora")}},
      // 10
      {"values that cannot be deleted go with their key", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->lockedValues.insert("HKCU\\Software\\Velmora\\Velmora\\Settings:DisplayStyle");
         f->ghostValues.insert("HKCU\\Software\\Velmora\\Velmora:Version");
       },
       kNeighbours, {}},
      {"a value that cannot be deleted in a key that stays", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\Settings").locked = true;
         f->lockedValues.insert("HKCU\\Software\\Velmora\\Velmora\\Settings:DisplayStyle");
       },
       Plus(kNeighbours,
            {"Software\\Velmora\\Velmora", "Software\\Velmora\\Velmora\\Settings",
             "Software\\Velmora\\Velmora\\Settings:DisplayStyle"}),
       {Box("Software\\Velmora\\Velmora")}},
      {"the product key itself cannot be deleted", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora").locked = true;
       },
       Plus(kNeighbours, {"Software\\Velmora\\Velmora"}), {Box("Software\\Velmora\\Velmora")}},
      {"the whole vendor key cannot be deleted", "u.exe Velmora Velmora Y N N",
       [](FakeUninstallPlatform* f) {
         Installed(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Other").locked = true;
       },
       {"Software", "Software\\Velmora", "Software\\Velmora\\Other", "Software\\Velmorb",
        "Software\\Velmorb:Keep"},
       {Box("Software\\Velmora")}},
      {"many entries", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         for (int i = 0; i < 300; ++i) {
           FakeKey& k = f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\K" + std::to_string(i));
           k.values["V" + std::to_string(i)] = "1";
           f->Key(kCurrentUser, "Software\\Velmora\\Velmora").values["W" + std::to_string(i)] = "1";
         }
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora\\K150").locked = true;
       },
       {"Software", "Software\\Velmora", "Software\\Velmora\\Velmora",
        "Software\\Velmora\\Velmora\\K150"},
       {Box("Software\\Velmora\\Velmora")}},
      // 15
      {"a deep chain", kSuiteCall,
       [](FakeUninstallPlatform* f) {
         std::string path = "Software\\Velmora\\Velmora";
         for (int i = 0; i < 60; ++i) path += "\\L" + std::to_string(i);
         f->Key(kCurrentUser, path).values["end"] = "1";
       },
       {"Software", "Software\\Velmora"}, {}},
  };
  return cases;
}

TEST(UninstallTree, WhatIsLeftAndWhatIsShown) {
  const std::vector<TreeCase>& cases = TreeCases();
  for (size_t i = 0; i < cases.size(); ++i) {
    const TreeCase& c = cases[i];
    FakeUninstallPlatform f;
    c.setUp(&f);
    RunUninstall(&f, &f, &f, c.line);
    EXPECT_FALSE(f.runaway) << "case " << i << ": " << c.name;
    EXPECT_EQ(Sorted(f.Dump(kCurrentUser)), Sorted(c.left)) << "case " << i << ": " << c.name;
    EXPECT_EQ(f.boxes, c.boxes) << "case " << i << ": " << c.name;
    EXPECT_EQ(f.OpenHandles(), 0u) << "case " << i << ": " << c.name;
    for (uint32_t room : f.enumRooms) EXPECT_EQ(room, kRegistryNameRoom) << "case " << i;
  }
}

// Every entry is asked to go once; one that stays is not asked again.
TEST(UninstallTree, EachEntryIsDeletedOnce) {
  FakeUninstallPlatform f;
  Installed(&f);
  f.Key(kCurrentUser, "Software\\Velmora\\Velmora\\Settings").locked = true;
  f.lockedValues.insert("HKCU\\Software\\Velmora\\Velmora\\Settings:DisplayStyle");
  f.Key(kCurrentUser, "Software\\Velmora\\Velmora\\Settings\\Z").locked = true;
  RunUninstall(&f, &f, &f, kSuiteCall);
  Lines deletes;
  for (const std::string& entry : f.log) {
    if (entry.compare(0, 7, "delete ") == 0) deletes.push_back(entry);
  }
  const std::string p = "HKCU\\Software\\Velmora\\Velmora";
  EXPECT_EQ(Sorted(deletes),
            Sorted({"delete key " + p + "\\1.3", "delete value " + p + "\\1.3:Old",
                    "delete key " + p + "\\Deep", "delete key " + p + "\\Deep\\A",
                    "delete value " + p + "\\Deep\\A:Mid", "delete key " + p + "\\Deep\\A\\B",
                    "delete key " + p + "\\Deep\\A\\B\\C",
                    "delete value " + p + "\\Deep\\A\\B\\C:Leaf", "delete key " + p + "\\Settings",
                    "delete key " + p + "\\Settings\\Z",
                    "delete value " + p + "\\Settings:DisplayStyle",
                    "delete value " + p + "\\Settings:MemoryThreshold",
                    "delete value " + p + "\\Settings:UpdateInterval",
                    "delete value " + p + ":Version", "delete key " + p}));
}

TEST(UninstallTree, EveryKeyOpenedWithFullAccess) {
  FakeUninstallPlatform f;
  Installed(&f);
  RunUninstall(&f, &f, &f, "u.exe Velmora Velmora N N N");
  ASSERT_EQ(f.openAccess.size(), 7u);  // the product, 1.3, Deep, A, B, C, Settings
  for (uint32_t access : f.openAccess) EXPECT_EQ(access, kKeyAllAccess);
}

// Both Run keys hold the product's value and a neighbour.
void WithRunValues(FakeUninstallPlatform* f) {
  Installed(f);
  for (RegistryKey root : {kLocalMachine, kCurrentUser}) {
    FakeKey& run = f->Key(root, kRunKeyPath);
    run.values["Velmora"] = "\"C:\\Velmora\\Velmora.exe\" U=2";
    run.values["Other"] = "other.exe";
  }
}

struct RunCase {
  const char* name;
  const char* line;
  std::function<void(FakeUninstallPlatform*)> setUp;
  Lines machineRun, userRun;  // values left under each Run key
  Lines boxes;
};

TEST(UninstallRunValues, BothRunKeys) {
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  const RunCase cases[] = {
      {"switch Y", kSuiteCall, WithRunValues, {"Other"}, {"Other"}, {}},
      {"switch N", "u.exe Velmora Velmora N N Y", WithRunValues, {"Other", "Velmora"},
       {"Other", "Velmora"}, {}},
      {"the machine's Run key cannot be opened", kSuiteCall,
       [&](FakeUninstallPlatform* f) {
         WithRunValues(f);
         f->Key(kLocalMachine, run).unopenable = true;
       },
       {"Other", "Velmora"}, {"Other"}, {}},
      {"no Run key under the machine", kSuiteCall,
       [&](FakeUninstallPlatform* f) {
         WithRunValues(f);
         f->localMachine.subkeys.clear();
       },
       {}, {"Other"}, {}},
      {"the value cannot be deleted, the tree is already gone", kSuiteCall,
       [&](FakeUninstallPlatform* f) {
         WithRunValues(f);
         f->lockedValues.insert("HKLM\\" + run + ":Velmora");
         f->currentUser.subkeys["Software"].subkeys.erase("Velmora");
       },
       {"Other", "Velmora"}, {"Other"}, {}},
      // 5: after the warning, as its text says
      {"the product key stays", kSuiteCall,
       [&](FakeUninstallPlatform* f) {
         WithRunValues(f);
         f->Key(kCurrentUser, "Software\\Velmora\\Velmora").locked = true;
       },
       {"Other"}, {"Other"}, {Box("Software\\Velmora\\Velmora")}},
      {"an invalid switch", "u.exe Velmora Velmora N Y y", WithRunValues, {"Other", "Velmora"},
       {"Other", "Velmora"}, {}},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const RunCase& c = cases[i];
    FakeUninstallPlatform f;
    c.setUp(&f);
    RunUninstall(&f, &f, &f, c.line);
    Lines left[2];
    int n = 0;
    for (RegistryKey root : {kLocalMachine, kCurrentUser}) {
      const FakeKey* k = f.Find(root, run);
      if (k != nullptr) {
        for (const auto& v : k->values) left[n].push_back(v.first);
      }
      ++n;
    }
    EXPECT_EQ(left[0], c.machineRun) << "case " << i << ": " << c.name;
    EXPECT_EQ(left[1], c.userRun) << "case " << i << ": " << c.name;
    EXPECT_EQ(f.boxes, c.boxes) << "case " << i << ": " << c.name;
    EXPECT_EQ(f.OpenHandles(), 0u) << "case " << i << ": " << c.name;
  }
}

// The Run keys come after the tree and its warning, the machine's first,
// opened for setting values only.
TEST(UninstallRunValues, OrderAndAccess) {
  FakeUninstallPlatform f;
  WithRunValues(&f);
  f.Key(kCurrentUser, "Software\\Velmora\\Velmora").locked = true;
  RunUninstall(&f, &f, &f, kSuiteCall);
  const std::string run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  Lines tail(std::find(f.log.begin(), f.log.end(), "box"), f.log.end());
  EXPECT_EQ(tail, Lines({"box", "open HKLM\\" + run, "delete value HKLM\\" + run + ":Velmora",
                         "open HKCU\\" + run, "delete value HKCU\\" + run + ":Velmora"}));
  ASSERT_GE(f.openAccess.size(), 2u);
  EXPECT_EQ(f.openAccess[f.openAccess.size() - 2], kKeySetValue);
  EXPECT_EQ(f.openAccess.back(), kKeySetValue);
}

// Any fault in the arguments: not one call reaches the platform.
TEST(UninstallTree, InvalidArgumentsTouchNothing) {
  const std::string tooLong(kVendorRoom, 'v');
  const std::string lines[] = {
      "u.exe Velmora Velmora N Y",
      "u.exe \"\" Velmora N Y Y",
      "u.exe Velmora Velmora y Y Y",
      "u.exe Velmora Velmora N n Y",
      "u.exe Velmora Velmora N Y 1",
      "u.exe " + tooLong + " Velmora Y Y Y",
      "u.exe Velmora " + std::string(kProductRoom, 'p') + " Y Y Y",
      // the key path alone is too long
      "u.exe " + std::string(200, 'v') + " " + std::string(100, 'p') + " N Y Y",
      // a vendor that would name Software itself, or an empty key name
      "u.exe \\ Velmora Y Y Y",
      "u.exe Velmora\\ Velmora Y Y Y",
      "u.exe Velmora \\ N Y Y",
  };
  for (size_t i = 0; i < sizeof lines / sizeof lines[0]; ++i) {
    FakeUninstallPlatform f;
    WithRunValues(&f);
    f.windows.push_back({"Velmora", "Velmora", 1});
    Lines before = f.Dump(kCurrentUser);
    RunUninstall(&f, &f, &f, lines[i].c_str());
    EXPECT_TRUE(f.log.empty()) << "case " << i << ": " << f.log.front();
    EXPECT_TRUE(f.openAccess.empty()) << "case " << i;
    EXPECT_EQ(f.finds, 0) << "case " << i;
    EXPECT_EQ(f.Dump(kCurrentUser), before) << "case " << i;
  }
}

// At the room the named key is the one removed; one past, nothing is.
TEST(UninstallTree, LongestNamesRemoveTheirOwnKey) {
  const std::string vendor(130, 'v');
  for (size_t productLength : {131, 132}) {
    const std::string product(productLength, 'p');
    FakeUninstallPlatform f;
    f.Key(kCurrentUser, "Software\\" + vendor + "\\" + product).values["x"] = "1";
    f.Key(kCurrentUser, "Software\\" + vendor + "\\" + product.substr(0, 131)).values["y"] = "1";
    RunUninstall(&f, &f, &f, ("u.exe " + vendor + " " + product + " N N N").c_str());
    Lines want = {"Software", "Software\\" + vendor};
    if (productLength == 131) {
      EXPECT_EQ(Sorted(f.Dump(kCurrentUser)), Sorted(want)) << productLength;
    } else {
      EXPECT_EQ(f.Dump(kCurrentUser).size(), 6u) << productLength;
      EXPECT_TRUE(f.log.empty()) << productLength;
    }
  }
}

}  // namespace
