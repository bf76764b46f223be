// Build tool: draws the configuration program's pictures (the six option
// pictures, the banner and the dialog icon) and writes them as 16-colour
// .bmp and .ico files into the folder given as its argument.
//
// The option pictures are the tray icon's own pictures: the tray monitor's
// drawing makes them from a few readings, so the dialog shows what the
// notification area will show.
#include <stdint.h>
#include <stdio.h>
#include <string.h>

#include "icon_picture.h"

namespace {

// The files' palette: the tray picture's colours, then the banner's greens
// (blue, green, red, 0); the rest black.
const int kFileColours = 16;
const uint8_t kBannerColours[kFileColours - kPaletteSize][4] = {{144, 238, 144, 0}, {0, 128, 0, 0}, {0, 64, 0, 0}};
const int kLightGreen = kPaletteSize;
const int kDarkGreen = kPaletteSize + 1;
const int kDeepGreen = kPaletteSize + 2;

struct Picture {
  int width, height;
  uint8_t pixel[64][328];  // [row from the top][column], palette indexes
};

void Clear(Picture* p, int width, int height) {
  memset(p, 0, sizeof *p);
  p->width = width;
  p->height = height;
}

// ---- The option pictures -------------------------------------------------

// The readings are in MB of a 140 MB machine: enough free for the normal
// status colour, and ten MB to a graph level.
const uint32_t kTotalMb = 140;

// The tray picture after the readings, drawn one a tick from start-up on.
void DrawTrayPicture(Picture* p, int32_t style, int digitFont, const uint32_t* freeMb, int count) {
  IconPicture tray;
  ResetPicture(&tray);
  for (int i = 0; i < count; ++i) DrawPicture(&tray, freeMb[i], kTotalMb, style, digitFont);
  Clear(p, kPictureSide, kPictureSide);
  for (int row = 0; row < kPictureSide; ++row) {
    for (int column = 0; column < kPictureSide; ++column) {
      p->pixel[row][column] = static_cast<uint8_t>(PixelAt(tray, column, row));
    }
  }
}

const uint32_t kDigitReading[] = {42};
const uint32_t kGaugeReading[] = {70};  // level 7
const int kGraphTicks = 14;
const uint32_t kGraphReadings[kGraphTicks] = {50, 60, 80, 70, 90, 110, 100, 80, 60, 70, 90, 120, 110, 90};

// Each option as the monitor runs it: the digit options choose the font,
// the graph options the style (with the default font).
struct OptionPicture {
  const char* file;
  int32_t style;
  int digitFont;
  const uint32_t* freeMb;
  int count;
};
const OptionPicture kOptionPictures[] = {
    {"option_normal.bmp", kStyleDigits, kFontSmooth, kDigitReading, 1},
    {"option_green.bmp", kStyleDigits, kFontGreenLcd, kDigitReading, 1},
    {"option_white.bmp", kStyleDigits, kFontWhiteLcd, kDigitReading, 1},
    {"option_graph1.bmp", kStyleGauge, kFontSmooth, kGaugeReading, 1},
    {"option_graph2.bmp", kStyleAreaGraph, kFontSmooth, kGraphReadings, kGraphTicks},
    {"option_graph3.bmp", kStyleLineGraph, kFontSmooth, kGraphReadings, kGraphTicks},
};

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
  DrawTrayPicture(&small, kStyleDigits, kFontSmooth, kDigitReading, 1);
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
  Put32(f, kFileColours);
  Put32(f, kFileColours);
  fwrite(kPictureHeader.colours, 4, kPaletteSize, f);
  fwrite(kBannerColours, 4, kFileColours - kPaletteSize, f);
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
  unsigned long offset = 14 + 40 + kFileColours * 4;
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
  unsigned long bytes = 40 + kFileColours * 4 + RowBytes(p.width) * p.height + maskRow * p.height;
  Put16(f, 0);
  Put16(f, 1);
  Put16(f, 1);
  fputc(p.width, f);
  fputc(p.height, f);
  fputc(kFileColours, f);
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
  for (const OptionPicture& option : kOptionPictures) {
    DrawTrayPicture(&p, option.style, option.digitFont, option.freeMb, option.count);
    ok &= WriteBitmap(folder, option.file, p);
  }
  DrawBanner(&p);
  ok &= WriteBitmap(folder, "banner.bmp", p);
  DrawIcon(&p);
  ok &= WriteIcon(folder, "config.ico", p);
  if (!ok) fprintf(stderr, "make_art: cannot write into %s\n", folder);
  return ok ? 0 : 1;
}
