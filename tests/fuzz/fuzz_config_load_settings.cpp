// Any registry contents (types, sizes and bytes) under the settings key:
// the dialog opens, and confirming it leaves a clean store.
#include <stdint.h>
#include <string.h>

#include "fake_config.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A byte for the memory size, then values: a name index, a type, a length
  // and that many bytes.
  size_t at = 0;
  auto byte = [&]() -> uint8_t { return at < size ? data[at++] : 0; };
  Dialog d;  // the store key is there from its first opening
  d.surface.totalPhys = uint32_t(1 + (byte() << 4)) << 20;
  while (at < size) {
    uint8_t which = byte() % 12;
    uint32_t type = byte() % 12;
    size_t length = byte() % 100;
    std::vector<unsigned char> bytes;
    while (bytes.size() < length && at < size) bytes.push_back(byte());
    d.registry.Put(kStore, kNames[which], type, bytes);
  }
  d.Open();

  // Every edit shows a plain decimal number.
  for (int id : FakeSurface::kEdits) {
    const std::string& t = d.surface.edits.at(id);
    FUZZ_CHECK(!t.empty() && t.size() <= 10 && t.find_first_not_of("0123456789") == std::string::npos);
  }
  FUZZ_CHECK(d.dialog.FreeExtra + d.dialog.ReachTarget == 1);

  DialogAction action = d.surface.Click(&d.dialog, IDC_DIALOG_OK);
  FUZZ_CHECK(action == kDialogEndsOk || action == kDialogStays);
  if (action != kDialogEndsOk) return 0;  // a loaded value out of range: the message and the focus

  // A clean store: the twelve values, each of its own type and words.
  const std::set<std::string> words = {"Yes", "No", "Normal", "Green", "White", "Graph1", "Graph2",
                                       "Graph3", "Low", "Never", "Always", "MBytes", "Bytes"};
  FUZZ_CHECK(d.dialog.UpdateInterval >= 1 && d.dialog.UpdateInterval <= 600);
  for (int i = 0; i < 12; ++i) {
    char text[kSettingTextRoom];
    size_t n = d.program.ReadText(kSettingsSection, kNames[i], text, sizeof text);
    uint32_t a = d.program.ReadNumber(kSettingsSection, kNames[i], 1), b = d.program.ReadNumber(kSettingsSection, kNames[i], 2);
    FUZZ_CHECK(i < 8 ? n == strlen(text) && words.count(text) == 1 : a == b);  // a number as a real 32-bit one
  }
  FUZZ_CHECK(d.registry.OpenHandles() == 0);
  return 0;
}
