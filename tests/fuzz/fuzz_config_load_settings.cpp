// Any registry contents (types, sizes and bytes) under the settings key:
// the dialog opens, and confirming it leaves a clean store.
#include <stdint.h>
#include <string.h>

#include <set>
#include <string>
#include <vector>

#include "config_dialog.h"
#include "fake_control_surface.h"
#include "fake_launch_platform.h"
#include "fake_registry.h"
#include "fuzz_check.h"

namespace {

const char kStore[] = "Software\\Velmora\\Velmora\\Settings";
const char* const kTexts[] = {"AutoStart", "RunHidden", "ReachTarget", "Sound", "AlwaysFree",
                              "DisplayStyle", "Defragment", "DetailStyle"};
const char* const kNumbers[] = {"UpdateInterval", "MemoryToFree", "MemoryToReach", "MemoryThreshold"};

// Reads the input as a sequence of values: a name index, a type, a length
// and that many bytes.
struct Input {
  const uint8_t* p;
  const uint8_t* end;
  bool More() const { return p < end; }
  uint8_t Byte() { return p < end ? *p++ : 0; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input in = {data, data + size};
  FakeRegistry registry;
  registry.Make("Software\\Velmora\\Velmora\\Settings");
  uint32_t totalMb = 1 + (in.Byte() << 4);
  while (in.More()) {
    uint8_t which = in.Byte() % 12;
    uint32_t type = in.Byte() % 12;
    size_t length = in.Byte() % 100;
    std::vector<unsigned char> bytes;
    while (bytes.size() < length && in.More()) bytes.push_back(in.Byte());
    const char* name = which < 8 ? kTexts[which] : kNumbers[which - 8];
    registry.Put(kStore, name, type, bytes);
  }

  ConfigProgram program(&registry);
  program.SetApplicationName(kApplicationName);
  program.SetRegistryKey(kRegistryKeyName);
  FakeSurface surface;
  surface.totalPhys = totalMb << 20;
  ConfigDialog dialog;
  FakeLaunch launch;
  dialog.SetLauncher(launch.Everything());
  dialog.Attach(&surface);
  dialog.BeginInitialisation();
  dialog.FinishInitialisation(&program);

  // Every edit shows a plain decimal number.
  for (int id : FakeSurface::kEdits) {
    const std::string& t = surface.edits.at(id);
    FUZZ_CHECK(!t.empty() && t.size() <= 10 && t.find_first_not_of("0123456789") == std::string::npos);
  }
  FUZZ_CHECK(dialog.FreeExtra + dialog.ReachTarget == 1);

  DialogAction action = surface.Click(&dialog, 1);  // OK
  FUZZ_CHECK(action == kDialogEndsOk || action == kDialogStays);
  if (action != kDialogEndsOk) return 0;  // a loaded value out of range: the message and the focus

  // A clean store: the twelve values, each of its own type and words.
  const std::set<std::string> words = {"Yes", "No", "Normal", "Green", "White", "Graph1", "Graph2",
                                       "Graph3", "Low", "Never", "Always", "MBytes", "Bytes"};
  FUZZ_CHECK(dialog.UpdateInterval >= 1 && dialog.UpdateInterval <= 600);
  for (const char* name : kTexts) {
    char text[kSettingTextRoom];
    size_t n = program.ReadText(kSettingsSection, name, text, sizeof text);
    FUZZ_CHECK(n == strlen(text) && words.count(text) == 1);
  }
  for (const char* name : kNumbers) {
    uint32_t a = program.ReadNumber(kSettingsSection, name, 1), b = program.ReadNumber(kSettingsSection, name, 2);
    FUZZ_CHECK(a == b);  // stored as a real 32-bit number
  }
  FUZZ_CHECK(registry.OpenHandles() == 0);
  return 0;
}
