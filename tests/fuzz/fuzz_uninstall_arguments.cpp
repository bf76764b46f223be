// Any command line through the uninstaller's argument reading, then the key
// path and the warning built from what it accepted.
#include <stdint.h>
#include <string.h>

#include <string>
#include <vector>

#include "fuzz_check.h"
#include "uninstall.h"

namespace {

const unsigned char kGuard = 0xEE;

bool HasEmptyKeyName(const char* name) {
  size_t n = strlen(name);
  return n == 0 || name[0] == '\\' || name[n - 1] == '\\' || strstr(name, "\\\\") != nullptr;
}

// A text buffer of room bytes with guard bytes after it.
struct Guarded {
  std::vector<unsigned char> bytes;
  explicit Guarded(size_t room) : bytes(room + 16, kGuard) {}
  char* text() { return reinterpret_cast<char*>(bytes.data()); }
  void CheckGuards(size_t room) const {
    for (size_t i = room; i < bytes.size(); ++i) FUZZ_CHECK(bytes[i] == kGuard);
  }
};

}  // namespace

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
  const size_t rooms[] = {kKeyPathRoom, want.size(), want.size() + 1};
  for (size_t room : rooms) {
    Guarded path(room);
    bool built = BuildKeyPath(args, path.text(), room);
    path.CheckGuards(room);
    FUZZ_CHECK(built == (want.size() < room && !HasEmptyKeyName(want.c_str())));
    if (room > 0) FUZZ_CHECK(built ? want == path.text() : path.text()[0] == '\0');
  }

  Guarded path(kKeyPathRoom);
  if (BuildKeyPath(args, path.text(), kKeyPathRoom)) {
    Guarded warning(kWarningRoom);
    if (BuildWarningText(path.text(), warning.text(), kWarningRoom)) {
      FUZZ_CHECK(strstr(warning.text(), path.text()) != nullptr);
      FUZZ_CHECK(strlen(warning.text()) < kWarningRoom);
    }
    warning.CheckGuards(kWarningRoom);
  }
  return 0;
}
