// Any old Run value data, dialog fields and directories through the monitor
// command line and the Run value it writes.
#include <stdint.h>
#include <string.h>

#include <string>

#include "fake_control_surface.h"
#include "fake_launch_platform.h"
#include "fake_registry.h"
#include "fuzz_check.h"
#include "monitor_command_line.h"
#include "run_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 12) return 0;
  FakeRegistry registry;
  ConfigProgram program(&registry);
  program.SetApplicationName(kApplicationName);
  program.SetRegistryKey(kRegistryKeyName);
  FakeSurface surface;
  ConfigDialog dialog;
  dialog.Attach(&surface);
  dialog.BeginInitialisation();
  dialog.FinishInitialisation(&program);

  auto number = [&](size_t at) {
    return data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24;
  };
  dialog.UpdateInterval = number(0);
  dialog.MemoryToFree = number(4);
  dialog.MemoryThreshold = number(8) >> (data[8] & 31);
  uint8_t flags = size > 12 ? data[12] : 0;
  dialog.ReachTarget = flags & 1;
  dialog.Sound = (flags >> 1) & 1;
  dialog.AlwaysFree = (flags >> 2) & 1;
  dialog.RunHidden = (flags >> 3) & 1;
  for (int id : FakeSurface::kRadios) surface.buttons[id] = (flags >> (id % 8)) & 1;

  // The rest: the old Run value, then after a NUL the current directory.
  std::string rest(reinterpret_cast<const char*>(data) + 13 - (size == 12), size - 13 + (size == 12));
  size_t split = rest.find('\0');
  std::string old = rest.substr(0, split);
  std::string current = split == std::string::npos ? "C:\\Tools" : rest.substr(split + 1, 300);
  current.resize(strlen(current.c_str()));

  FakeLaunch platform;
  platform.run[kMachineRun]["Velmora"] = old;
  platform.current = current;
  platform.files.insert(current + "\\Velmora.exe");

  char options[kLaunchTextRoom + 8];
  char directory[kLaunchTextRoom + 8];
  memset(options, '#', sizeof options);
  memset(directory, '#', sizeof directory);
  ComposeMonitorCommandLine(dialog.ForLaunch(), &platform, &platform, options, directory);
  for (size_t i = kLaunchTextRoom; i < sizeof options; ++i) FUZZ_CHECK(options[i] == '#' && directory[i] == '#');
  FUZZ_CHECK(memchr(options, '\0', kLaunchTextRoom) != nullptr);
  FUZZ_CHECK(memchr(directory, '\0', kLaunchTextRoom) != nullptr);
  std::string line = options;
  const std::string tail = std::string(directory) + "\\VelmoraConfig.exe\"";
  FUZZ_CHECK(line.size() <= 259 && line[0] == ' ');
  FUZZ_CHECK(line.size() >= tail.size() && line.compare(line.size() - tail.size(), tail.size(), tail) == 0);
  FUZZ_CHECK(line.find(" P=\"") != std::string::npos);
  FUZZ_CHECK(platform.openKeys == 0);

  // The Run value is written whole within its room, or not at all with the
  // warning.
  platform.run[kMachineRun].erase("Velmora");
  WriteRunValue(&platform, &platform, options, directory, dialog.RunHidden == 1);
  bool written = platform.run[kMachineRun].count("Velmora") != 0;
  FUZZ_CHECK(written != (platform.Warnings() == std::string(kRunValueMessage) + "\n"));
  if (written) {
    const std::string& value = platform.run[kMachineRun]["Velmora"];
    FUZZ_CHECK(value.size() <= 259 && value[0] == '"');
    FUZZ_CHECK(value.compare(value.size() - line.size(), line.size(), line) == 0);
  }
  FUZZ_CHECK(platform.openKeys == 0);
  return 0;
}
