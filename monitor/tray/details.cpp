#include "details.h"

#include "version.h"

#define VELMORA_TEXT(x) #x
#define VELMORA_NUMBER(x) VELMORA_TEXT(x)

const char kAboutText[] =
    "Velmora v" VELMORA_NUMBER(VELMORA_VERSION_MAJOR) "." VELMORA_NUMBER(VELMORA_VERSION_MINOR) "\n"
    "\n"
    "By " VELMORA_AUTHOR_NAME "\t\t\t" VELMORA_AUTHOR_MAIL "\n"
    "\n"
    VELMORA_HOME_PAGE "\n"
    "\n"
    "Note: Use VelmoraConfig.exe for full Help";

const char kBoxTitle[] = "Velmora";

namespace {

const int kNumberWidth = 6;

struct Writer {
  char* out;
  char* end;  // the last byte, kept for the NUL

  void Char(char c) {
    if (out < end) *out++ = c;
  }
  void Text(const char* text) {
    while (*text != '\0') Char(*text++);
  }
  // Unsigned decimal, right-aligned in the width; a wider number takes
  // more room.
  void Number(uint32_t value, int width) {
    char digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int pad = width - n; pad > 0; --pad) Char(' ');
    while (n > 0) Char(digits[--n]);
  }
};

struct Line {
  const char* word;
  const char* label;
  const char* after;  // what follows the unit letter
};

const Line kLines[6] = {
    {"Total ", "RAM:\t", "\n"},     {"Free ", "RAM:\t", "\n\n"},
    {"Total ", "Page:\t", " \n"},   {"Free ", "Page:\t", "\n\n"},
    {"Total ", "Virtual:\t", "\n"}, {"Free ", "Virtual:\t", ""},
};

}  // namespace

void FormatDetails(char* out, size_t room, const MemoryStatus& status, bool byteUnits) {
  if (room == 0) return;
  const uint32_t amounts[6] = {status.totalPhys,     status.availPhys,    status.totalPageFile,
                               status.availPageFile, status.totalVirtual, status.availVirtual};
  Writer w = {out, out + room - 1};
  for (int i = 0; i < 6; ++i) {
    w.Text(kLines[i].word);
    w.Text(kLines[i].label);
    w.Number(byteUnits ? amounts[i] : RoundToMegabytes(amounts[i]), kNumberWidth);
    w.Char(byteUnits ? ' ' : 'M');
    w.Text(kLines[i].after);
  }
  *w.out = '\0';
}
