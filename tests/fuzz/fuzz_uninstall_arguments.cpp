// Any command line through the uninstaller's argument reading, then the key
// path and the warning built from what it accepted.
#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "fuzz_check.h"
#include "uninstall.h"

const char kGuard = '\xEE';  // in the 16 bytes after the room of each buffer

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string line(reinterpret_cast<const char*>(data), size);
  line.resize(strlen(line.c_str()));  // a command line ends at its first NUL

  UninstallArgs args;
  if (!ParseUninstallArgs(line.c_str(), &args)) return 0;
  FUZZ_CHECK(memchr(args.vendor, '\0', sizeof args.vendor) != nullptr);
  FUZZ_CHECK(memchr(args.product, '\0', sizeof args.product) != nullptr);
  // An accepted name appears whole in the line: nothing was cut.
  FUZZ_CHECK(line.find(args.vendor) != std::string::npos);
  FUZZ_CHECK(line.find(args.product) != std::string::npos);

  // The key path is the exact concatenation, or nothing when it does not fit
  // or would hold an empty key name (which the registry passes over).
  std::string want = std::string("Software\\") + args.vendor;
  if (!args.wholeVendor) want += std::string("\\") + args.product;
  bool emptyName = want.back() == '\\' || want.find("\\\\") != std::string::npos;
  for (size_t room : {want.size(), want.size() + 1, kKeyPathRoom}) {
    std::vector<char> path(room + 16, kGuard);
    bool built = BuildKeyPath(args, path.data(), room);
    FUZZ_CHECK(std::count(path.end() - 16, path.end(), kGuard) == 16);
    FUZZ_CHECK(built == (want.size() < room && !emptyName));
    FUZZ_CHECK(built ? want == path.data() : path[0] == '\0');
    if (!built || room != kKeyPathRoom) continue;
    // Whatever path was built fits in the warning.
    std::vector<char> warning(kWarningRoom + 16, kGuard);
    FUZZ_CHECK(BuildWarningText(path.data(), warning.data(), kWarningRoom));
    FUZZ_CHECK(strstr(warning.data(), path.data()) != nullptr);
    FUZZ_CHECK(std::count(warning.end() - 16, warning.end(), kGuard) == 16);
  }
  return 0;
}
