// Any edit text through the dialog's number rule, and any bounds through
// the range message.
#include <stdint.h>
#include <string.h>

#include <string>

#include "config_dialog.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text.resize(strlen(text.c_str()));

  uint32_t value = 0xDEADBEEF;
  bool accepted = ParseNumberField(text.c_str(), &value);
  if (!accepted) FUZZ_CHECK(value == 0xDEADBEEF);

  // Plain digits between blanks, as an edit holds them: exactly their value;
  // nothing but blanks is no number.
  std::string counted = text.substr(0, kNumberTextRoom - 1);
  size_t first = counted.find_first_not_of(' ');
  std::string digits = first == std::string::npos ? "" : counted.substr(first, counted.find_last_not_of(' ') - first + 1);
  uint64_t want = strtoull(digits.c_str(), nullptr, 10);
  if (digits.empty()) {
    FUZZ_CHECK(!accepted);
  } else if (digits.size() <= 10 && digits.find_first_not_of("0123456789") == std::string::npos && want <= 0xFFFFFFFFu) {
    FUZZ_CHECK(accepted && value == want);
  }

  // The range message always fits and ends within its room.
  uint32_t minimum = size >= 4 ? data[0] | data[1] << 8 | data[2] << 16 | static_cast<uint32_t>(data[3]) << 24 : 0;
  char message[kMessageRoom + 8];
  memset(message, '#', sizeof message);
  FormatRangeMessage(message, kMessageRoom, minimum, 0xFFFFFFFFu);
  FUZZ_CHECK(memchr(message, '\0', kMessageRoom) != nullptr);
  for (size_t i = kMessageRoom; i < sizeof message; ++i) FUZZ_CHECK(message[i] == '#');
  return 0;
}
