// Build tool: draws the configuration program's pictures (the six option
// pictures, the banner and the dialog icon) and writes them as 16-colour
// .bmp and .ico files into the folder given as its argument.
//
// The option pictures preview the tray icon styles with the tray icon's own
// glyphs, palette and drawing rules, so that the dialog shows what the
// notification area will show.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "icon_picture.h"

namespace {

// The tray icon's eight colours, then the banner's greens; the rest black.
const uint8_t kPalette[16][3] = {
    {0, 0, 0},       {192, 192, 192}, {240, 240, 240}, {128, 128, 128}, {0, 255, 0},
    {0, 255, 0},     {255, 0, 0},     {255, 255, 0},   {144, 238, 144}, {0, 128, 0},
    {0, 64, 0},      {0, 0, 0},       {0, 0, 0},       {0, 0, 0},       {0, 0, 0},
    {0, 0, 0},
};
const int kLightGreen = 8;
const int kDarkGreen = 9;
const int kDeepGreen = 10;

struct Picture {
  int width, height;
  uint8_t pixel[64][328];  // [row from the top][column], palette indexes
};

// ---- The tray icon's drawing rules --------------------------------------

// The digit fonts are the tray icon's own (icon_picture.h).

const int kNormalColour = 0x54;  // smooth digits
const int kLcdColour = 0x44;

void Clear(Picture* p, int width, int height) {
  memset(p, 0, sizeof *p);
  p->width = width;
  p->height = height;
}

void DrawGlyph(Picture* p, int font, int digit, int column) {
  for (int row = 0; row < 8; ++row) {
    for (int x = 0; x < 4; ++x) {
      int value;
      if (font == kFontSmooth) {
        value = (kSmoothFont[digit][row] >> (6 - 2 * x)) & 3;
      } else {
        int nibble = (row % 2 == 0) ? kLcdFont[digit][row / 2] >> 4 : kLcdFont[digit][row / 2] & 15;
        value = (nibble >> (3 - x)) & 1 ? (font == kFontGreenLcd ? 4 : 2) : 0;
      }
      p->pixel[3 + row][column + x] = static_cast<uint8_t>(value);
    }
  }
}

// Two digits over the status bar, as the digit style draws 10 to 99 MB.
void DrawDigits(Picture* p, int font, int megabytes) {
  Clear(p, 16, 16);
  DrawGlyph(p, font, megabytes / 10 % 10, 4);
  DrawGlyph(p, font, megabytes % 10, 9);
  int colour = font == kFontSmooth ? kNormalColour : kLcdColour;
  for (int column = 1; column <= 14; ++column) {
    p->pixel[13][column] = static_cast<uint8_t>(column % 2 ? colour & 15 : colour >> 4);
  }
}

void DrawGauge(Picture* p, int height) {
  Clear(p, 16, 16);
  for (int level = 1; level <= height; ++level) {
    for (int column = 1; column <= 14; ++column) {
      // cppcheck-suppress duplicateValueTernary
      p->pixel[15 - level][column] = static_cast<uint8_t>(column % 2 ? kLcdColour & 15 : kLcdColour >> 4);
    }
  }
}

// The scrolling graphs after a run of samples (heights 1 to 14).
void DrawGraph(Picture* p, bool area, const int* heights, int count) {
  Clear(p, 16, 16);
  int previous = 20;
  for (int i = 0; i < count; ++i) {
    int h = heights[i];
    if (previous == 20) previous = h;
    for (int level = 1; level <= 14; ++level) {
      uint8_t* row = p->pixel[15 - level];
      for (int column = 1; column <= 13; ++column) row[column] = row[column + 1] ? 4 : 0;
      row[0] = 0;
      bool paint = area ? level <= h
                        : level == h || (level > previous && level < h) || (level < previous && level > h);
      row[14] = paint ? 4 : 0;
      row[15] = 0;
    }
    previous = h;
  }
}

// ---- The banner --------------------------------------------------------

// 5 x 7 capitals, one byte per row, bit 16 leftmost.
struct Letter {
  char c;
  uint8_t rows[7];
};
const Letter kLetters[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}}, {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}},
    {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}}, {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
};

const uint8_t* Rows(char c) {
  for (const Letter& l : kLetters) {
    if (l.c == c) return l.rows;
  }
  return nullptr;
}

void Block(Picture* p, int x, int y, int w, int h, int colour) {
  for (int r = y; r < y + h && r < p->height; ++r) {
    for (int c = x; c < x + w && c < p->width; ++c) p->pixel[r][c] = static_cast<uint8_t>(colour);
  }
}

// A word in scaled capitals with a shadow; returns the x after it.
int DrawWord(Picture* p, const char* word, int x, int y, int sx, int sy, int face, int shadow) {
  for (const char* c = word; *c != '\0'; ++c) {
    const uint8_t* rows = Rows(*c);
    for (int pass = 0; pass < 2; ++pass) {
      for (int r = 0; r < 7; ++r) {
        for (int b = 0; b < 5; ++b) {
          if (!(rows[r] >> (4 - b) & 1)) continue;
          if (pass == 0) Block(p, x + b * sx + 1, y + r * sy + 1, sx, sy, shadow);
          else Block(p, x + b * sx, y + r * sy, sx, sy, face);
        }
      }
    }
    x += 6 * sx;
  }
  return x;
}

void DrawBanner(Picture* p) {
  Clear(p, 328, 40);
  int x = DrawWord(p, "VELMORA", 14, 5, 3, 4, kLightGreen, kDarkGreen);
  DrawWord(p, "CONFIGURATION", x + 8, 19, 2, 2, kLightGreen, kDarkGreen);
  // A thin rule under the whole mark.
  Block(p, 14, 36, 300, 1, kDeepGreen);
}

// The dialog's icon: the smooth digits' preview at twice the size.
void DrawIcon(Picture* p) {
  Picture small;
  DrawDigits(&small, kFontSmooth, 42);
  Clear(p, 32, 32);
  for (int r = 0; r < 32; ++r) {
    for (int c = 0; c < 32; ++c) p->pixel[r][c] = small.pixel[r / 2][c / 2];
  }
}

// ---- Files ---------------------------------------------------------------

void Put16(FILE* f, unsigned v) {
  fputc(v & 255, f);
  fputc(v >> 8 & 255, f);
}
void Put32(FILE* f, unsigned long v) {
  Put16(f, v & 0xFFFF);
  Put16(f, v >> 16 & 0xFFFF);
}

int RowBytes(int width) { return (width * 4 + 31) / 32 * 4; }

void PutInfo(FILE* f, const Picture& p, int heightFactor) {
  Put32(f, 40);
  Put32(f, p.width);
  Put32(f, p.height * heightFactor);
  Put16(f, 1);
  Put16(f, 4);
  Put32(f, 0);
  Put32(f, RowBytes(p.width) * p.height);
  Put32(f, 0);
  Put32(f, 0);
  Put32(f, 16);
  Put32(f, 16);
  for (const auto& colour : kPalette) {
    fputc(colour[2], f);
    fputc(colour[1], f);
    fputc(colour[0], f);
    fputc(0, f);
  }
}

void PutPixels(FILE* f, const Picture& p) {
  for (int r = p.height - 1; r >= 0; --r) {
    int written = 0;
    for (int c = 0; c < p.width; c += 2) {
      int right = c + 1 < p.width ? p.pixel[r][c + 1] : 0;
      fputc(p.pixel[r][c] << 4 | right, f);
      ++written;
    }
    for (; written < RowBytes(p.width); ++written) fputc(0, f);
  }
}

bool WriteBitmap(const char* folder, const char* name, const Picture& p) {
  char path[1024];
  snprintf(path, sizeof path, "%s/%s", folder, name);
  FILE* f = fopen(path, "wb");
  if (f == nullptr) return false;
  unsigned long offset = 14 + 40 + 16 * 4;
  fputc('B', f);
  fputc('M', f);
  Put32(f, offset + RowBytes(p.width) * p.height);
  Put32(f, 0);
  Put32(f, offset);
  PutInfo(f, p, 1);
  PutPixels(f, p);
  return fclose(f) == 0;
}

bool WriteIcon(const char* folder, const char* name, const Picture& p) {
  char path[1024];
  snprintf(path, sizeof path, "%s/%s", folder, name);
  FILE* f = fopen(path, "wb");
  if (f == nullptr) return false;
  int maskRow = (p.width + 31) / 32 * 4;
  unsigned long bytes = 40 + 16 * 4 + RowBytes(p.width) * p.height + maskRow * p.height;
  Put16(f, 0);
  Put16(f, 1);
  Put16(f, 1);
  fputc(p.width, f);
  fputc(p.height, f);
  fputc(16, f);
  fputc(0, f);
  Put16(f, 1);
  Put16(f, 4);
  Put32(f, bytes);
  Put32(f, 6 + 16);
  PutInfo(f, p, 2);
  PutPixels(f, p);
  for (int i = 0; i < maskRow * p.height; ++i) fputc(0, f);  // every pixel opaque
  return fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    fprintf(stderr, "usage: make_art FOLDER\n");
    return 2;
  }
  const char* folder = argv[1];
  static Picture p;
  bool ok = true;
  DrawDigits(&p, kFontSmooth, 42);
  ok &= WriteBitmap(folder, "option_normal.bmp", p);
  DrawDigits(&p, kFontGreenLcd, 42);
  ok &= WriteBitmap(folder, "option_green.bmp", p);
  DrawDigits(&p, kFontWhiteLcd, 42);
  ok &= WriteBitmap(folder, "option_white.bmp", p);
  DrawGauge(&p, 7);
  ok &= WriteBitmap(folder, "option_graph1.bmp", p);
  const int samples[] = {5, 6, 8, 7, 9, 11, 10, 8, 6, 7, 9, 12, 11, 9};
  DrawGraph(&p, true, samples, 14);
  ok &= WriteBitmap(folder, "option_graph2.bmp", p);
  DrawGraph(&p, false, samples, 14);
  ok &= WriteBitmap(folder, "option_graph3.bmp", p);
  DrawBanner(&p);
  ok &= WriteBitmap(folder, "banner.bmp", p);
  DrawIcon(&p);
  ok &= WriteIcon(folder, "config.ico", p);
  if (!ok) fprintf(stderr, "make_art: cannot write into %s\n", folder);
  return ok ? 0 : 1;
}
