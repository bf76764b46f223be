// Every input a program takes from outside, the first byte picking which:
// 0 a monitor's command line, 1 the command line and Run value composed from
// any dialog fields, old Run value and directory, 2 the dialog's number
// rule, 3 whatever is stored under the settings key, 4 the uninstaller's
// arguments. Each checks what came out, not only that nothing broke.
#include <ctype.h>
#include <stdio.h>
#include <stdlib.h>

#include "fake_config.h"
#include "engine.h"
#include "uninstall.h"

#define CHECK(condition) \
  ((condition) ? (void)0 : (fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition), abort()))

namespace {

// Both option sets over the line: settings in their ranges and a back-off
// at rest.
void MonitorCommandLine(const std::string& line) {
  Engine e[2] = {};
  for (int hidden = 0; hidden < 2; ++hidden) {
    const MonitorSettings& s = e[hidden].settings;
    ParseMonitorCommandLine(line.c_str(), hidden ? kHiddenOptions : kTrayOptions, &e[hidden].settings, &e[hidden].backoff);
    CHECK(s.intervalMs >= 1000 && s.intervalMs <= kMaxIntervalSeconds * 1000 && s.intervalMs % 1000 == 0);
    CHECK(s.freeAmountBytes >= MB && s.freeAmountBytes <= kMaxMegabytes * MB && s.freeAmountBytes % MB == 0);
    CHECK(s.thresholdBytes <= kMaxMegabytes * MB && s.thresholdBytes % MB == 0 && s.digitFont >= 0 && s.digitFont <= 2);
    CHECK(memchr(s.configPath, '\0', sizeof s.configPath) != nullptr && strpbrk(s.configPath, "=\"") == nullptr);
  }
  const Backoff& b = e[1].backoff;
  CHECK(b.currentWait == b.baseWait && b.tickCounter == 0 && b.baseWait >= 1 && b.maximumWait >= 1);
}

// Three numbers, a byte of flags and radios, the old Run value, then after a
// NUL the current directory: the line fits and ends in the directory's P
// token; the Run value holds it whole, or is not written and a warning says so.
void ComposedCommandLine(const uint8_t* data, size_t size) {
  if (size < 13) return;
  Dialog d;
  uint32_t* numbers[] = {&d.dialog.UpdateInterval, &d.dialog.MemoryToFree, &d.dialog.MemoryThreshold};
  for (int i = 0; i < 3; ++i) memcpy(numbers[i], data + 4 * i, 4);
  d.dialog.MemoryThreshold >>= data[8] & 31;
  int32_t* flags[] = {&d.dialog.ReachTarget, &d.dialog.Sound, &d.dialog.AlwaysFree, &d.dialog.RunHidden};
  for (int i = 0; i < 4; ++i) *flags[i] = (data[12] >> i) & 1;
  for (int id : FakeSurface::kRadios) d.surface.buttons[id] = (data[12] >> (id % 8)) & 1;
  std::string rest(reinterpret_cast<const char*>(data) + 13, size - 13);
  size_t split = rest.find('\0');
  d.launch.current = split == std::string::npos ? "C:\\Tools" : rest.substr(split + 1, 300).c_str();
  d.launch.files = {d.launch.current + "\\Velmora.exe"};
  d.registry.PutText(kRun, "Velmora", rest.substr(0, split));
  char directory[kLaunchTextRoom];
  std::string line = Written(kLaunchTextRoom, [&](char* out, size_t) {
    return ComposeMonitorCommandLine(d.dialog.ForLaunch(), &d.launch, &d.registry, out, directory), true;
  });
  const std::string tail = std::string(directory) + "\\VelmoraConfig.exe\"";
  CHECK(line.size() <= 259 && line[0] == ' ' && line.size() >= tail.size() + 4);
  CHECK(line.compare(line.size() - tail.size() - 4, tail.size() + 4, " P=\"" + tail) == 0);
  d.registry.keys[kRun].values.clear();
  WriteRunValue(&d.registry, &d.launch, line.c_str(), directory, d.dialog.RunHidden == 1);
  std::string value = d.registry.Show(kRun, "Velmora");
  CHECK(value.empty() == (*d.launch.log == Lines{"warn " + std::string(kRunValueMessage)}));
  CHECK(value.empty() || (value.size() <= 8 + 259 && value[8] == '"' && value.compare(value.size() - line.size(), line.size(), line) == 0));
  CHECK(d.registry.OpenHandles() == 0);
  // Fields the dialog accepts come back from the line as chosen, to both
  // monitors; a directory can be read back only without the P token's ends.
  const ConfigDialog& c = d.dialog;
  if (c.UpdateInterval < 1 || c.UpdateInterval > 600 || std::max(c.MemoryToFree, c.MemoryThreshold) > kMaxMegabytes) return;
  if (strpbrk(directory, "=\"") != nullptr) return;
  for (int hidden = 0; hidden < 2; ++hidden) {
    Engine e;
    ParseMonitorCommandLine(("\"V.exe\"" + line).c_str(), hidden ? kHiddenOptions : kTrayOptions, &e.settings, &e.backoff);
    const MonitorSettings& m = e.settings;
    uint32_t amount = c.ReachTarget ? c.MemoryToReach : c.MemoryToFree;
    CHECK(m.intervalMs == c.UpdateInterval * 1000 && m.freeAmountBytes == (amount != 0 ? amount : kMonitorFreeAmountMb) * MB);
    CHECK(m.reachTarget == (c.ReachTarget == 1) && m.thresholdBytes == c.MemoryThreshold * MB);
    CHECK(m.sound == (c.Sound == 1) && m.keepTrying == (c.AlwaysFree == 1) && !m.runOnce);
    CHECK(m.configPath == (hidden ? std::string() : std::string(directory) + "\\VelmoraConfig.exe"));
  }
}

// The field's text as the dialog holds it: blanks, white space strtoul
// skips, a sign and decimal digits, blanks; held at the largest number, a
// minus taken modulo 2^32, and no number but 0 written as a 0.
void NumberRule(std::string text) {
  uint32_t value = 0xA5A5A5A5u;
  bool ok = ParseNumberField(text.c_str(), &value);
  text.resize(std::min(text.size(), kNumberTextRoom - 1));
  size_t p = text.find_first_not_of(" \t"), first = p;
  while (p < text.size() && isspace(static_cast<unsigned char>(text[p]))) ++p;
  bool negative = p < text.size() && text[p] == '-';
  p += p < text.size() && (text[p] == '-' || text[p] == '+');
  size_t digits = p;
  uint64_t n = 0;
  for (; p < text.size() && isdigit(static_cast<unsigned char>(text[p])); ++p) n = std::min<uint64_t>(n * 10 + (text[p] - '0'), 1ull << 32);
  uint32_t want = n > 0xFFFFFFFFu ? 0xFFFFFFFFu : negative ? 0u - static_cast<uint32_t>(n) : static_cast<uint32_t>(n);
  bool whole = p > digits && text.find_first_not_of(" \t", p) == std::string::npos;
  CHECK(ok == (whole && (want != 0 || text[first] == '0')) && value == (ok ? want : 0xA5A5A5A5u));
}

// Values of any type, size and bytes under the settings key, each name
// picked by a byte (names in the order saving writes them): the dialog only
// reads, leaves no key open, and shows this machine's defaults when no
// AutoStart text marks the store as configured. (How each value is shown:
// the unit tests.)
void StoredSettings(const uint8_t* data, size_t size) {
  Dialog d, defaults;
  for (size_t at = 0, length; at + 3 <= size; at += length) {
    length = std::min<size_t>(data[at + 2] % 72, size - at - 3);
    d.registry.Put(kStore, kNames[data[at] % 12], data[at + 1] % 5, {data + at + 3, data + at + 3 + length});
    at += 3;
  }
  d.dialog.FinishInitialisation(&d.program);
  for (const std::string& entry : *d.registry.log) CHECK(entry.compare(0, 5, "read ") == 0);
  CHECK(d.registry.OpenHandles() == 0);
  char text[kSettingTextRoom];
  if (d.program.ReadText(kSettingsSection, kNames[0], text, sizeof text) == 0)
    CHECK(d.surface.Edits() == defaults.surface.Edits() && d.surface.On() == defaults.surface.On());
}

struct Box : WarningBox {
  int shown = 0;
  void ShowMessage(const char*, const char*) override { ++shown; }
};

// The uninstaller over neighbours of the key it names: it removes that key
// with all below it and nothing else, the product's Run values when asked,
// and asks only the product's windows to close when asked.
void UninstallArguments(const std::string& line) {
  UninstallArgs a;
  char path[kKeyPathRoom];
  bool valid = ParseUninstallArgs(line.c_str(), &a) && BuildKeyPath(a, path, sizeof path);
  std::string key = valid ? path : "-", product = valid ? a.product : "-";
  CHECK(!valid || key == "Software\\" + std::string(a.vendor) + (a.wholeVendor ? "" : "\\" + product));
  FakeRegistry r;
  FakeWindows w;
  Box box;
  for (const std::string& k : {std::string("Software\\Velmora\\Velmora\\Settings"), std::string("Software\\Velmora Tools"), key + "\\Child"})
    r.PutText(k, "V", "1");
  for (const std::string& run : {"HKLM\\" + std::string(kRunKeyPath), std::string(kRunKeyPath)})
    for (const std::string& name : {product, std::string()}) r.PutText(run, name, name);
  w.windows = {{product, "", 1, 0}, {"", product, 1, 0}, {"", "", 1, 0}};
  Lines left;
  for (const std::string& k : r.Dump()) {
    bool below = valid && k.compare(0, key.size(), key) == 0 && (k.size() == key.size() || strchr("\\:", k[key.size()]));
    if (!below && !(valid && a.removeRunValues && k == kRunKeyPath + (":" + product))) left.push_back(k);
  }
  RunUninstall(&r, &w, &box, line.c_str());
  CHECK(r.Dump() == left && box.shown == 0 && r.OpenHandles() == 0);
  for (size_t i = 0; i < w.windows.size(); ++i) CHECK(w.windows[i].requests == (valid && a.closeWindows && i < 2 ? 1 : 0));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string line = text.substr(0, text.find('\0'));  // a command line ends at its first NUL
  switch (data[0] % 5) {
    case 0: MonitorCommandLine(line); break;
    case 1: ComposedCommandLine(data + 1, size - 1); break;
    case 2: NumberRule(line); break;
    case 3: StoredSettings(data + 1, size - 1); break;
    case 4: UninstallArguments(line); break;
  }
  return 0;
}
