// Writing a text into a fixed buffer: the last byte is always left for the
// terminating NUL, and whatever does not fit is dropped and remembered, so
// that a caller can give up a text that came out cut.
#ifndef VELMORA_COMMON_TEXT_WRITER_H
#define VELMORA_COMMON_TEXT_WRITER_H

#include <stddef.h>
#include <stdint.h>

struct TextWriter {
  char* out;
  char* end;  // the last byte, kept for the NUL
  bool fits;  // nothing has been dropped so far

  // A writer over room bytes (room at least 1).
  static TextWriter Over(char* buffer, size_t room) { return TextWriter{buffer, buffer + room - 1, true}; }

  void Char(char c) {
    if (out < end)
      *out++ = c;
    else
      fits = false;
  }
  void Text(const char* text) {
    while (*text != '\0') Char(*text++);
  }
  // Unsigned decimal, right-aligned in the width (0: no padding); a wider
  // number takes more room.
  void Number(uint32_t value, int width = 0) {
    char digits[10];
    int n = 0;
    do {
      digits[n++] = static_cast<char>('0' + value % 10);
      value /= 10;
    } while (value != 0);
    for (int pad = width - n; pad > 0; --pad) Char(' ');
    while (n > 0) Char(digits[--n]);
  }
  // Ends the text; the writer is spent. True when all of it fitted.
  bool Finish() {
    *out = '\0';
    return fits;
  }
  // Ends the text that starts at start, and gives it up, left empty, when
  // any of it was dropped or keep is false: a cut text would name something
  // else. True when it was kept.
  bool FinishWhole(char* start, bool keep = true) {
    bool whole = Finish() && keep;
    if (!whole) *start = '\0';
    return whole;
  }
};

// Copies text into room bytes, cut to fit; true when it fitted whole.
inline bool CopyText(char* out, size_t room, const char* text) {
  TextWriter w = TextWriter::Over(out, room);
  w.Text(text);
  return w.Finish();
}

#endif
