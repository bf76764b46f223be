// The uninstaller's command line, key path and warning text.
#include <gtest/gtest.h>
#include <string.h>

#include <algorithm>
#include <string>

#include "uninstall.h"

namespace {

const unsigned char kPoison = 0xA5;

// The arguments with poisoned room behind them.
struct Guarded {
  UninstallArgs args;
  unsigned char guard[64];
};

bool Poisoned(const void* p, size_t n) {
  const unsigned char* b = static_cast<const unsigned char*>(p);
  for (size_t i = 0; i < n; ++i) {
    if (b[i] != kPoison) return false;
  }
  return true;
}

// Whether a name was written whole and nothing behind its NUL was touched.
void ExpectName(const char* field, size_t room, const std::string& want, int i) {
  EXPECT_EQ(std::string(field), want) << "case " << i;
  EXPECT_TRUE(Poisoned(field + want.size() + 1, room - want.size() - 1)) << "case " << i;
}

struct ParseCase {
  const char* line;
  bool ok;
  const char* vendor;
  const char* product;
  bool wholeVendor, run, close;
};

const ParseCase kParseCases[] = {
    // 0: the suite's own call, quoted program path with blanks
    {"\"C:\\Program Files\\Velmora\\VelmoraUninstall.exe\" Velmora Velmora N Y Y", true, "Velmora",
     "Velmora", false, true, true},
    {"VelmoraUninstall.exe Velmora Velmora Y N N", true, "Velmora", "Velmora", true, false, false},
    {"u.exe Velmora Velmora No Yes Nope", true, "Velmora", "Velmora", false, true, false},
    {"u.exe \"Two Words\" Velmora N N N", true, "Two Words", "Velmora", false, false, false},
    {"u.exe Acme \"Big Tool\" \"Y\" \"N\" \"Yes\"", true, "Acme", "Big Tool", true, false, true},
    // 5: runs of blanks, arguments after the fifth
    {"u.exe    Acme   Tool  N  N  Y  extra \"more\"", true, "Acme", "Tool", false, false, true},
    // only the space is a blank
    {"u.exe Ac\tme Tool N N N", true, "Ac\tme", "Tool", false, false, false},
    // a quote runs to the end of the line when it is not closed
    {"u.exe Acme Tool N N \"Y and more", true, "Acme", "Tool", false, false, true},
    // a closed quote ends its argument
    {"u.exe \"Acme\"Tool N N N Y", true, "Acme", "Tool", false, false, false},
    {"u.exe Acme\\Sub Tool N N N", true, "Acme\\Sub", "Tool", false, false, false},
    // 10: a quoted program name right before the first argument
    {"\"u.exe\"Acme Tool N N N", true, "Acme", "Tool", false, false, false},
    // faults: fewer than five
    {"u.exe Velmora Velmora N Y", false, "", "", false, false, false},
    {"u.exe", false, "", "", false, false, false},
    {"", false, "", "", false, false, false},
    // an unclosed quote in the program name skips nothing: one argument
    {"\"C:\\u.exe Velmora Velmora N Y Y", false, "", "", false, false, false},
    // 15: empty arguments
    {"u.exe \"\" Velmora N Y Y", false, "", "", false, false, false},
    {"u.exe Velmora \"\" N Y Y", false, "", "", false, false, false},
    {"u.exe Velmora Velmora \"\" Y Y", false, "", "", false, false, false},
    {"u.exe Velmora Velmora N Y \"\"", false, "", "", false, false, false},
    // switches judged by their first character, case counts
    {"u.exe Velmora Velmora y Y Y", false, "", "", false, false, false},
    // 20
    {"u.exe Velmora Velmora N n Y", false, "", "", false, false, false},
    {"u.exe Velmora Velmora N Y 1", false, "", "", false, false, false},
    {"u.exe Velmora Velmora yes Y Y", false, "", "", false, false, false},
    {"u.exe Velmora Velmora N Y \" Y\"", false, "", "", false, false, false},
};

TEST(UninstallArgs, ReadsFiveArgumentsOrNothing) {
  for (size_t i = 0; i < sizeof kParseCases / sizeof kParseCases[0]; ++i) {
    const ParseCase& c = kParseCases[i];
    Guarded g;
    memset(&g, kPoison, sizeof g);
    ASSERT_EQ(ParseUninstallArgs(c.line, &g.args), c.ok) << "case " << i << ": " << c.line;
    EXPECT_TRUE(Poisoned(g.guard, sizeof g.guard)) << "case " << i;
    if (!c.ok) continue;
    ExpectName(g.args.vendor, kVendorRoom, c.vendor, i);
    ExpectName(g.args.product, kProductRoom, c.product, i);
    EXPECT_EQ(g.args.wholeVendor, c.wholeVendor) << "case " << i;
    EXPECT_EQ(g.args.removeRunValues, c.run) << "case " << i;
    EXPECT_EQ(g.args.closeWindows, c.close) << "case " << i;
  }
}

TEST(UninstallArgs, NoCommandLineAtAll) {
  UninstallArgs args;
  EXPECT_FALSE(ParseUninstallArgs(nullptr, &args));
}

TEST(UninstallArgs, NamesAtTheirRoomAndOnePast) {
  struct Case {
    size_t vendorLength, productLength;
    bool ok;
  } cases[] = {
      {kVendorRoom - 1, 7, true},
      {kVendorRoom, 7, false},
      {7, kProductRoom - 1, true},
      {7, kProductRoom, false},
      {kVendorRoom - 1, kProductRoom - 1, true},
      {kVendorRoom + 40, kProductRoom + 40, false},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    std::string vendor(cases[i].vendorLength, 'v');
    std::string product(cases[i].productLength, 'p');
    // Quoted, so that the product's characters run right up to the switches.
    std::string line = "u.exe " + vendor + " \"" + product + "\" Y Y Y";
    Guarded g;
    memset(&g, kPoison, sizeof g);
    EXPECT_EQ(ParseUninstallArgs(line.c_str(), &g.args), cases[i].ok) << "case " << i;
    EXPECT_TRUE(Poisoned(g.guard, sizeof g.guard)) << "case " << i;
    if (!cases[i].ok) continue;
    ExpectName(g.args.vendor, kVendorRoom, vendor, i);
    ExpectName(g.args.product, kProductRoom, product, i);
  }
}

UninstallArgs Args(const std::string& vendor, const std::string& product, bool wholeVendor) {
  UninstallArgs a = {};
  memcpy(a.vendor, vendor.c_str(), std::min(vendor.size() + 1, sizeof a.vendor));
  memcpy(a.product, product.c_str(), std::min(product.size() + 1, sizeof a.product));
  a.wholeVendor = wholeVendor;
  return a;
}

TEST(UninstallKeyPath, ProductOrWholeVendor) {
  struct Case {
    std::string vendor, product;
    bool wholeVendor;
    const char* want;  // null: refused
  } cases[] = {
      {"Velmora", "Velmora", false, "Software\\Velmora\\Velmora"},
      {"Velmora", "Velmora", true, "Software\\Velmora"},
      {"Two Words", "Tool", false, "Software\\Two Words\\Tool"},
      {"Acme\\Sub", "Tool", false, "Software\\Acme\\Sub\\Tool"},
      // the product names no key when the whole vendor goes
      {"Acme", "\\", true, "Software\\Acme"},
      // 5: an empty key name would select the key above it
      {"\\", "Tool", true, nullptr},
      {"\\Acme", "Tool", true, nullptr},
      {"Acme\\", "Tool", true, nullptr},
      {"Acme\\\\Sub", "Tool", true, nullptr},
      {"Acme", "\\", false, nullptr},
      // 10
      {"Acme", "Tool\\", false, nullptr},
      {"Acme", "\\Tool", false, nullptr},
      // at the room: "Software\" + 130 + "\" + 131 = 271 characters
      {std::string(130, 'v'), std::string(131, 'p'), false, ""},
      {std::string(130, 'v'), std::string(132, 'p'), false, nullptr},
      {std::string(kVendorRoom - 1, 'v'), std::string(kProductRoom - 1, 'p'), true, ""},
      // 15: "Software\" + 259 + "\" + 2 = 271 characters
      {std::string(kVendorRoom - 1, 'v'), "pp", false, ""},
      {std::string(kVendorRoom - 1, 'v'), "ppp", false, nullptr},
  };
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    const Case& c = cases[i];
    std::string want = c.want == nullptr ? "" : c.want;
    if (c.want != nullptr && want.empty()) {
      want = "Software\\" + c.vendor + (c.wholeVendor ? "" : "\\" + c.product);
    }
    char out[kKeyPathRoom + 16];
    memset(out, kPoison, sizeof out);
    EXPECT_EQ(BuildKeyPath(Args(c.vendor, c.product, c.wholeVendor), out, kKeyPathRoom),
              c.want != nullptr)
        << "case " << i;
    EXPECT_EQ(std::string(out), want) << "case " << i;
    EXPECT_TRUE(Poisoned(out + kKeyPathRoom, 16)) << "case " << i;
  }
}

TEST(UninstallKeyPath, NeverCutToFit) {
  UninstallArgs a = Args("Velmora", "Velmora", false);
  const std::string want = "Software\\Velmora\\Velmora";
  for (size_t room = 0; room <= want.size() + 1; ++room) {
    char out[64];
    memset(out, kPoison, sizeof out);
    bool fits = room > want.size();
    EXPECT_EQ(BuildKeyPath(a, out, room), fits) << "room " << room;
    if (room > 0) {
      EXPECT_EQ(std::string(out), fits ? want : "") << "room " << room;
    }
    EXPECT_TRUE(Poisoned(out + room, sizeof out - room)) << "room " << room;
  }
}

const char kWarningForVelmora[] =
    "WARNING: Registry entries could not be removed.\n\n"
    "The uninstall process will continue anyway.\n\n"
    "The failed Registry key is:\n\n"
    "HKEY_CURRENT_USER\\Software\\Velmora\\Velmora";

TEST(UninstallWarning, TextAndRoom) {
  const size_t length = sizeof kWarningForVelmora - 1;
  const size_t rooms[] = {kWarningRoom, length + 1, length, 1, 0};
  for (size_t i = 0; i < sizeof rooms / sizeof rooms[0]; ++i) {
    char out[kWarningRoom + 16];
    memset(out, kPoison, sizeof out);
    bool fits = rooms[i] > length;
    EXPECT_EQ(BuildWarningText("Software\\Velmora\\Velmora", out, rooms[i]), fits) << "case " << i;
    if (rooms[i] > 0) {
      EXPECT_STREQ(out, fits ? kWarningForVelmora : "") << "case " << i;
    }
    EXPECT_TRUE(Poisoned(out + rooms[i], sizeof out - rooms[i])) << "case " << i;
  }
  EXPECT_STREQ(kWarningCaption, "Unable to remove Registry Key");
}

TEST(UninstallWarning, LongestKeyPathFits) {
  std::string path(kKeyPathRoom - 1, 'k');
  char out[kWarningRoom];
  ASSERT_TRUE(BuildWarningText(path.c_str(), out, sizeof out));
  const size_t fixed = sizeof kWarningForVelmora - 1 - strlen("Software\\Velmora\\Velmora");
  EXPECT_EQ(std::string(out), std::string(kWarningForVelmora, fixed) + path);
}

}  // namespace
