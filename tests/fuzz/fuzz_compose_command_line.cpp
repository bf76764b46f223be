// Any old Run value data, dialog fields and directories through the monitor
// command line and the Run value it writes.
#include <stdint.h>
#include <string.h>

#include "fake_config.h"
#include "fuzz_check.h"
#include "launch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Three numbers, a byte of flags and radios, the old Run value, then after
  // a NUL the current directory.
  if (size < 13) return 0;
  auto number = [&](size_t at) {
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
  };
  Dialog d;
  d.dialog.UpdateInterval = number(0);
  d.dialog.MemoryToFree = number(4);
  d.dialog.MemoryThreshold = number(8) >> (data[8] & 31);
  int32_t* flags[] = {&d.dialog.ReachTarget, &d.dialog.Sound, &d.dialog.AlwaysFree, &d.dialog.RunHidden};
  for (int i = 0; i < 4; ++i) *flags[i] = (data[12] >> i) & 1;
  for (int id : FakeSurface::kRadios) d.surface.buttons[id] = (data[12] >> (id % 8)) & 1;
  std::string rest(reinterpret_cast<const char*>(data) + 13, size - 13);
  size_t split = rest.find('\0');
  std::string current = split == std::string::npos ? "C:\\Tools" : rest.substr(split + 1, 300);
  current.resize(strlen(current.c_str()));
  d.registry.PutText(kRun, "Velmora", rest.substr(0, split));
  d.launch.current = current;
  d.launch.files = {current + "\\Velmora.exe"};

  char options[kLaunchTextRoom + 8], directory[kLaunchTextRoom + 8];
  memset(options, '#', sizeof options);
  memset(directory, '#', sizeof directory);
  ComposeMonitorCommandLine(d.dialog.ForLaunch(), &d.launch, &d.registry, options, directory);
  for (size_t i = kLaunchTextRoom; i < sizeof options; ++i) FUZZ_CHECK(options[i] == '#' && directory[i] == '#');
  FUZZ_CHECK(memchr(options, '\0', kLaunchTextRoom) != nullptr);
  FUZZ_CHECK(memchr(directory, '\0', kLaunchTextRoom) != nullptr);
  std::string line = options;
  const std::string tail = std::string(directory) + "\\VelmoraConfig.exe\"";
  FUZZ_CHECK(line.size() <= 259 && line[0] == ' ' && line.find(" P=\"") != std::string::npos);
  FUZZ_CHECK(line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
  FUZZ_CHECK(d.registry.OpenHandles() == 0);

  // The Run value is written whole within its room, or not at all with the
  // warning.
  d.registry.keys[kRun].values.clear();
  WriteRunValue(&d.registry, &d.launch, options, directory, d.dialog.RunHidden == 1);
  std::string shown = d.registry.Show(kRun, "Velmora");
  FUZZ_CHECK(shown.empty() == (*d.launch.log == Lines{"warn " + std::string(kRunValueMessage)}));
  if (!shown.empty()) {
    const std::string value = shown.substr(strlen("Velmora="));
    FUZZ_CHECK(value.size() <= 259 && value[0] == '"');
    FUZZ_CHECK(value.compare(value.size() - line.size(), line.size(), line) == 0);
  }
  FUZZ_CHECK(d.registry.OpenHandles() == 0);
  return 0;
}
