#include "program_name.h"

#include <string.h>

const char* SkipProgramName(const char* line) {
  const char* p = line;
  if (*p == '"') {
    const char* close = strchr(p + 1, '"');
    if (close == nullptr) return line;
    p = close + 1;
  } else {
    while (*p != '\0' && *p != ' ') ++p;
  }
  while (*p == ' ') ++p;
  return p;
}
