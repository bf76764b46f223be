// The settings store: where it lives, how each primitive reaches it, what
// odd data reads as, and how its keys are removed.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "fake_registry.h"
#include "settings_store.h"

namespace {

const char kStore[] = "Software\\Velmora\\Velmora\\Settings";
const uint32_t MB = 1u << 20;

struct Store {
  FakeRegistry registry;
  ConfigProgram program{&registry};
  Store() {
    program.SetApplicationName("Velmora");
    program.SetRegistryKey("Velmora");
  }
  std::string Text(const char* name, size_t* length = nullptr, size_t room = kSettingTextRoom) {
    char out[kSettingTextRoom + 16];
    memset(out, 'P', sizeof out);
    size_t n = program.ReadText(kSettingsSection, name, out, room);
    for (size_t i = room; i < sizeof out; ++i) {
      EXPECT_EQ(out[i], 'P') << "byte " << i << " past the room of " << room;
    }
    if (length != nullptr) *length = n;
    return std::string(out, strnlen(out, room));
  }
};

std::vector<unsigned char> Bytes(const std::string& s) { return std::vector<unsigned char>(s.begin(), s.end()); }

TEST(InstalledMemory, TableAtItsBorders) {
  const struct {
    uint32_t bytes;
    uint32_t toFree, threshold;
  } cases[] = {
      {0, 3, 1},
      {MB - 1, 3, 1},
      {18 * MB, 3, 1},
      {19 * MB - 1, 3, 1},  // cut down to 18
      {19 * MB, 4, 2},
      {34 * MB, 4, 2},
      {35 * MB, 8, 2},
      {42 * MB, 8, 2},
      {43 * MB, 10, 4},
      {63 * MB + MB / 2, 10, 4},
      {64 * MB, 10, 4},
      {66 * MB, 10, 4},
      {67 * MB, 16, 4},
      {98 * MB, 16, 4},
      {99 * MB, 20, 4},
      {127 * MB, 20, 4},
      {130 * MB, 20, 4},
      {131 * MB - 1, 20, 4},
      {131 * MB, 28, 4},
      {2147483647u, 28, 4},  // what a 32-bit program sees on a large machine
      {0xFFFFFFFFu, 28, 4},
  };
  int i = 0;
  for (const auto& c : cases) {
    InstalledMemoryDefaults d = DefaultsForInstalledMemory(c.bytes);
    EXPECT_EQ(d.memoryToFree, c.toFree) << "case " << i << " bytes " << c.bytes;
    EXPECT_EQ(d.memoryThreshold, c.threshold) << "case " << i << " bytes " << c.bytes;
    ++i;
  }
}

TEST(SettingsPrimitives, EveryAccessOpensTheChainLevelByLevelAndClosesIt) {
  Store s;
  s.Text("AutoStart");
  s.program.WriteNumber(kSettingsSection, "UpdateInterval", 7);
  const std::vector<std::string> want = {
      "open Software",
      "create Software\\Velmora",
      "create Software\\Velmora\\Velmora",
      "create Software\\Velmora\\Velmora\\Settings",
      "read Software\\Velmora\\Velmora\\Settings:AutoStart",
      "close Software\\Velmora\\Velmora\\Settings",
      "close Software\\Velmora\\Velmora",
      "close Software\\Velmora",
      "close Software",
      "open Software",
      "create Software\\Velmora",
      "create Software\\Velmora\\Velmora",
      "create Software\\Velmora\\Velmora\\Settings",
      "write Software\\Velmora\\Velmora\\Settings:UpdateInterval",
      "close Software\\Velmora\\Velmora\\Settings",
      "close Software\\Velmora\\Velmora",
      "close Software\\Velmora",
      "close Software",
  };
  EXPECT_EQ(s.registry.log, want);
  EXPECT_EQ(s.registry.OpenHandles(), 0u);
}

TEST(SettingsPrimitives, AFirstReadLeavesTheEmptyChain) {
  Store s;
  EXPECT_EQ(s.Text("AutoStart"), "");
  EXPECT_EQ(s.program.ReadNumber(kSettingsSection, "UpdateInterval", 77), 77u);
  const std::vector<std::string> want = {"Software", "Software\\Velmora", "Software\\Velmora\\Velmora",
                                         "Software\\Velmora\\Velmora\\Settings"};
  EXPECT_EQ(s.registry.KeyPaths(), want);
  EXPECT_TRUE(s.registry.Dump(kStore).empty());
}

TEST(SettingsPrimitives, AnyLevelThatCannotBeOpenedGivesTheEmptyTextOrTheFallback) {
  const char* levels[] = {"software", "software\\velmora", "software\\velmora\\velmora", "software\\velmora\\velmora\\settings"};
  int i = 0;
  for (const char* level : levels) {
    Store s;
    s.registry.PutText(kStore, "AutoStart", "Yes");
    s.registry.PutNumber(kStore, "UpdateInterval", 9);
    s.registry.refuse.insert(level);
    size_t length = 99;
    EXPECT_EQ(s.Text("AutoStart", &length), "") << "case " << i;
    EXPECT_EQ(length, 0u) << "case " << i;
    EXPECT_EQ(s.program.ReadNumber(kSettingsSection, "UpdateInterval", 1234), 1234u) << "case " << i;
    EXPECT_FALSE(s.program.WriteText(kSettingsSection, "Sound", "Yes")) << "case " << i;
    EXPECT_FALSE(s.program.WriteNumber(kSettingsSection, "MemoryToFree", 3)) << "case " << i;
    EXPECT_EQ(s.registry.OpenHandles(), 0u) << "case " << i;
    EXPECT_EQ(s.registry.LogOf("write").size(), 0u) << "case " << i;
    ++i;
  }
}

TEST(SettingsPrimitives, NoSoftwareKeyIsNeverCreated) {
  Store s;
  s.registry.DeleteKey(kCurrentUser, "Software");
  EXPECT_FALSE(s.program.WriteText(kSettingsSection, "AutoStart", "Yes"));
  EXPECT_TRUE(s.registry.KeyPaths().empty());
}

TEST(SettingsPrimitives, ReadTextWhateverIsStored) {
  const std::string longText(200, 'x');
  const struct {
    uint32_t type;
    std::vector<unsigned char> data;
    std::string text;
    size_t length;
  } cases[] = {
      {kTextValue, Bytes(std::string("Yes", 4)), "Yes", 3},
      {kTextValue, Bytes("Yes"), "Yes", 3},                       // stored without its NUL
      {kTextValue, Bytes(std::string("", 1)), "", 0},
      {kTextValue, {}, "", 0},
      {kTextValue, Bytes(std::string("\0Yes", 5)), "", 0},
      {kTextValue, Bytes(std::string("Ye\0s", 5)), "Ye", 2},
      {kNumberValue, {1, 0, 0, 0}, "\x01", 1},                    // the type is not checked
      {kNumberValue, {0, 0, 0, 0}, "", 0},
      {3, Bytes("Graph2"), "Graph2", 6},
      {kTextValue, Bytes(std::string(63, 'y')), std::string(63, 'y'), 63},
      {kTextValue, Bytes(std::string(63, 'y') + '\0'), std::string(63, 'y'), 63},
      {kTextValue, Bytes(std::string(64, 'y')), "", 64},          // one more than the room keeps
      {kTextValue, Bytes(longText + '\0'), "", 201},
  };
  int i = 0;
  for (const auto& c : cases) {
    Store s;
    s.registry.Put(kStore, "DisplayStyle", c.type, c.data);
    size_t length = 999;
    EXPECT_EQ(s.Text("DisplayStyle", &length), c.text) << "case " << i;
    EXPECT_EQ(length, c.length) << "case " << i;
    ++i;
  }
}

TEST(SettingsPrimitives, ReadTextStaysInsideASmallRoom) {
  Store s;
  s.registry.PutText(kStore, "DisplayStyle", "Graph3");
  size_t length = 0;
  EXPECT_EQ(s.Text("DisplayStyle", &length, 7), "Graph3");
  EXPECT_EQ(length, 6u);
  EXPECT_EQ(s.Text("DisplayStyle", &length, 6), "");  // no room for its terminator
  EXPECT_EQ(length, 7u);
  EXPECT_EQ(s.Text("DisplayStyle", &length, 1), "");
}

TEST(SettingsPrimitives, ReadNumberWhateverIsStored) {
  const uint32_t fallback = 0xFFFFFFFFu;
  const struct {
    bool present;
    uint32_t type;
    std::vector<unsigned char> data;
    uint32_t want;
  } cases[] = {
      {true, kNumberValue, {5, 0, 0, 0}, 5},
      {true, kNumberValue, {0x58, 0x02, 0, 0}, 600},
      {true, kNumberValue, {0x78, 0x56, 0x34, 0x12}, 0x12345678u},
      {true, kNumberValue, {0, 0, 0, 0x80}, 0x80000000u},
      {true, kNumberValue, {0xFF, 0xFF, 0xFF, 0xFF}, 0xFFFFFFFFu},
      {true, kNumberValue, {0, 0, 0, 0}, 0},
      {false, 0, {}, fallback},
      {true, kNumberValue, {5, 0, 0, 0, 0, 0, 0, 0}, fallback},  // longer than 4 bytes
      {true, 11, {5, 0, 0, 0, 0, 0, 0, 0}, fallback},            // a 64-bit number
      {true, kNumberValue, {5, 0}, fallback},                    // shorter than 4 bytes
      {true, kTextValue, Bytes(std::string("12", 3)), fallback},
      {true, kTextValue, {5, 0, 0, 0}, fallback},                // four bytes of another type
      {true, 3, {5, 0, 0, 0}, fallback},
  };
  int i = 0;
  for (const auto& c : cases) {
    Store s;
    if (c.present) s.registry.Put(kStore, "UpdateInterval", c.type, c.data);
    EXPECT_EQ(s.program.ReadNumber(kSettingsSection, "UpdateInterval", fallback), c.want) << "case " << i;
    ++i;
  }
}

TEST(SettingsPrimitives, WritesAreTypedAndSized) {
  Store s;
  EXPECT_TRUE(s.program.WriteText(kSettingsSection, "DisplayStyle", "Graph1"));
  EXPECT_TRUE(s.program.WriteText(kSettingsSection, "Sound", ""));
  EXPECT_TRUE(s.program.WriteNumber(kSettingsSection, "MemoryToFree", 0x01020304u));
  EXPECT_TRUE(s.program.WriteNumber(kSettingsSection, "UpdateInterval", 0xFFFFFFFFu));
  const std::vector<std::string> want = {
      "DisplayStyle=1:47726170683100",
      "MemoryToFree=4:04030201",
      "Sound=1:00",
      "UpdateInterval=4:ffffffff",
  };
  EXPECT_EQ(s.registry.Dump(kStore), want);
  // A value written is read back as it was.
  EXPECT_EQ(s.Text("DisplayStyle"), "Graph1");
  EXPECT_EQ(s.program.ReadNumber(kSettingsSection, "MemoryToFree", 0), 0x01020304u);
}

TEST(SettingsPrimitives, AFailedWriteIsReported) {
  Store s;
  s.registry.refuseWrites.insert("software\\velmora\\velmora\\settings");
  EXPECT_FALSE(s.program.WriteText(kSettingsSection, "Sound", "Yes"));
  EXPECT_FALSE(s.program.WriteNumber(kSettingsSection, "MemoryToFree", 1));
  EXPECT_TRUE(s.registry.Dump(kStore).empty());
  EXPECT_EQ(s.registry.OpenHandles(), 0u);
}

TEST(SettingsPrimitives, ThePathTakesTheApplicationNameAtSetRegistryKey) {
  FakeRegistry registry;
  ConfigProgram program(&registry);
  program.SetApplicationName("Velmora");
  program.SetRegistryKey("Maker");
  program.SetApplicationName("Other");
  program.WriteText(kSettingsSection, "AutoStart", "No");
  EXPECT_EQ(registry.Dump("Software\\Maker\\Velmora\\Settings"), std::vector<std::string>{"AutoStart=1:4e6f00"});
  EXPECT_FALSE(registry.Exists("Software\\Maker\\Other"));
}

TEST(RemoveSettingsKeys, DeletesDeepestFirstAndPassesOverFailures) {
  const struct {
    bool oldVersion;   // the 1.3 key exists
    bool otherProduct; // Software\Velmora holds another product's key
    std::vector<std::string> remaining;
  } cases[] = {
      {false, false, {"Software"}},
      {true, false, {"Software"}},
      {false, true, {"Software", "Software\\Velmora", "Software\\Velmora\\Other"}},
  };
  int i = 0;
  for (const auto& c : cases) {
    Store s;
    s.program.WriteText(kSettingsSection, "AutoStart", "Yes");
    if (c.oldVersion) s.registry.PutText("Software\\Velmora\\Velmora\\1.3", "Old", "x");
    if (c.otherProduct) s.registry.Make("Software\\Velmora\\Other");
    s.registry.log.clear();
    RemoveSettingsKeys(&s.program);
    const std::vector<std::string> order = {
        "Software\\Velmora\\Velmora\\1.3",
        "Software\\Velmora\\Velmora\\Settings",
        "Software\\Velmora\\Velmora",
        "Software\\Velmora",
    };
    EXPECT_EQ(s.registry.LogOf("delete"), order) << "case " << i;
    EXPECT_EQ(s.registry.log.size(), 4u) << "case " << i << ": nothing is opened";
    EXPECT_EQ(s.registry.KeyPaths(), c.remaining) << "case " << i;
    ++i;
  }
}

TEST(RemoveSettingsKeys, WithNothingThereEveryDeletionFailsQuietly) {
  FakeRegistry registry;
  ConfigProgram program(&registry);
  program.SetApplicationName("Velmora");
  program.SetRegistryKey("Velmora");
  RemoveSettingsKeys(&program);
  EXPECT_EQ(registry.LogOf("delete").size(), 4u);
  EXPECT_EQ(registry.KeyPaths(), std::vector<std::string>{"Software"});
}

}  // namespace
