#include "text.h"

#include <string.h>

bool CopyText(char* out, size_t room, const char* text) {
  if (room == 0) return false;
  size_t n = strlen(text);
  bool fits = n < room;
  if (!fits) n = room - 1;
  memcpy(out, text, n);
  out[n] = '\0';
  return fits;
}

bool AppendText(char* out, size_t room, const char* text) {
  size_t used = strnlen(out, room);
  size_t n = strlen(text);
  if (used >= room || n >= room - used) return false;
  memcpy(out + used, text, n + 1);
  return true;
}

bool AppendUnsigned(char* out, size_t room, uint32_t value) {
  char digits[11];
  size_t n = sizeof digits - 1;
  digits[n] = '\0';
  do {
    digits[--n] = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return AppendText(out, room, digits + n);
}

bool SameText(const char* a, const char* b) { return strcmp(a, b) == 0; }
