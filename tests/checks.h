// What the host tests share: the unit memory is counted in, and the check
// of a text written into a room.
#ifndef VELMORA_TESTS_CHECKS_H
#define VELMORA_TESTS_CHECKS_H

#include <stdint.h>
#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

const uint32_t MB = 1u << 20;

// What write(buffer, room) left in a buffer filled with 0xA5: "refused:"
// first when it returned false, then the text, and a note when it is not
// terminated within the room or bytes past the room changed.
template <typename Write>
std::string Written(size_t room, Write write) {
  std::vector<char> out(room + 16, '\xA5');
  std::string refused = write(out.data(), room) ? "" : "refused:";
  size_t n = strnlen(out.data(), room);
  bool kept = std::count(out.begin() + static_cast<std::ptrdiff_t>(room), out.end(), '\xA5') == 16;
  return refused + std::string(out.data(), n) + (room > 0 && n == room ? " unterminated" : "") + (kept ? "" : " past its room");
}

#endif
