#include "icon_picture.h"

#include <string.h>

const PictureHeader kPictureHeader = {
    40, kPictureSide, kPictureSide, 1, 4, 0, 0, 0, 0, kPaletteSize, kPaletteSize,
    {
        {0, 0, 0, 0},        // background
        {192, 192, 192, 0},  // smooth digits, anti-aliasing
        {240, 240, 240, 0},  // smooth digits, white LCD digits
        {128, 128, 128, 0},  // smooth digits, anti-aliasing
        {0, 255, 0, 0},      // green LCD digits, normal status
        {0, 255, 0, 0},      // normal status
        {0, 0, 255, 0},      // critical status (red)
        {0, 255, 255, 0},    // warning status (yellow)
    }};

const uint8_t kOpaqueMask[kPictureBytes] = {};

const uint8_t kSmoothFont[10][8] = {
    {0x28, 0x82, 0x82, 0x82, 0x82, 0x82, 0x82, 0x28},
    {0x08, 0x28, 0x08, 0x08, 0x08, 0x08, 0x08, 0x08},
    {0xEB, 0x82, 0x82, 0x07, 0x38, 0x2C, 0xD0, 0xAA},
    {0x2B, 0x82, 0x02, 0x39, 0x39, 0x02, 0x82, 0x2B},
    {0x3B, 0x27, 0x77, 0x87, 0x87, 0xA9, 0x0B, 0x0B},
    {0xA9, 0x80, 0x80, 0x97, 0x02, 0x02, 0x02, 0xAB},
    {0xEB, 0x82, 0x80, 0xAB, 0xBE, 0x82, 0x82, 0xEB},
    {0xAA, 0x0E, 0x0D, 0x0B, 0x38, 0x2C, 0xE0, 0xD0},
    {0xEB, 0x82, 0x82, 0xEB, 0xBE, 0x82, 0x82, 0xEB},
    {0x28, 0x82, 0x82, 0x69, 0x2E, 0x02, 0x82, 0xD8},
};

const uint8_t kLcdFont[10][4] = {
    {0xF9, 0x99, 0x99, 0x9F}, {0x22, 0x22, 0x22, 0x22}, {0xF1, 0x1F, 0x88, 0x8F},
    {0xF1, 0x1F, 0x11, 0x1F}, {0x89, 0x99, 0xF1, 0x11}, {0xF8, 0x8F, 0x11, 0x1F},
    {0x88, 0x8F, 0x99, 0x9F}, {0xF3, 0x11, 0x11, 0x11}, {0xF9, 0x9F, 0x99, 0x9F},
    {0xF9, 0x9F, 0x11, 0x11},
};

namespace {

const int kGlyphWidth = 4;
const int kGlyphHeight = 8;
const int kGlyphTopRow = 3;
const int kStatusBarRow = 13;
const int kDigitRows = 12;  // rows 0-11 hold the digits
const int kFirstColumn = 1;
const int kLastColumn = 14;

uint8_t High(uint8_t colour) { return static_cast<uint8_t>(colour >> 4); }
uint8_t Low(uint8_t colour) { return static_cast<uint8_t>(colour & 0x0F); }

// (100 x free) div total; only called with a total above 0.
uint32_t Percent(uint32_t freeMb, uint32_t totalMb) {
  return static_cast<uint32_t>(static_cast<uint64_t>(freeMb) * 100u / totalMb);
}

uint32_t Thousands(uint32_t mb) { return mb % 10000u / 1000u; }

int GlyphPixel(int digit, int digitFont, int x, int y) {
  if (digitFont == kFontSmooth) return (kSmoothFont[digit][y] >> (6 - 2 * x)) & 3;
  uint8_t pair = kLcdFont[digit][y / 2];
  uint8_t nibble = (y % 2 == 0) ? static_cast<uint8_t>(pair >> 4) : static_cast<uint8_t>(pair & 0x0F);
  if (((nibble >> (3 - x)) & 1) == 0) return 0;
  return digitFont == kFontWhiteLcd ? 2 : 4;
}

void DrawGlyph(IconPicture* p, int digit, int digitFont, int leftColumn) {
  for (int y = 0; y < kGlyphHeight; ++y)
    for (int x = 0; x < kGlyphWidth; ++x)
      SetPixel(p, leftColumn + x, kGlyphTopRow + y, GlyphPixel(digit, digitFont, x, y));
}

void DrawDigits(IconPicture* p, uint32_t freeMb, uint8_t colour, int digitFont) {
  ClearPixels(p);
  int thousands = static_cast<int>(Thousands(freeMb));
  int hundreds = static_cast<int>(freeMb % 1000u / 100u);
  int tens = static_cast<int>(freeMb % 100u / 10u);
  int ones = static_cast<int>(freeMb % 10u);
  if (hundreds != 0 || thousands != 0) {
    DrawGlyph(p, hundreds, digitFont, 1);
    DrawGlyph(p, tens, digitFont, 6);
    DrawGlyph(p, ones, digitFont, 11);
  } else if (tens != 0) {
    DrawGlyph(p, tens, digitFont, 4);
    DrawGlyph(p, ones, digitFont, 9);
  } else {
    DrawGlyph(p, ones, digitFont, 6);
  }
  for (int c = kFirstColumn; c <= kLastColumn; ++c)
    SetPixel(p, c, kStatusBarRow, c % 2 == 1 ? Low(colour) : High(colour));
}

int RowOfLevel(int level) { return kPictureSide - 1 - level; }

void ClearRow(IconPicture* p, int row) {
  for (int c = 0; c < kPictureSide; ++c) SetPixel(p, c, row, 0);
}

void DrawGauge(IconPicture* p, int height, uint8_t colour) {
  for (int level = 1; level <= kGraphLevels; ++level) {
    int row = RowOfLevel(level);
    if (level > height) {
      ClearRow(p, row);
      continue;
    }
    SetPixel(p, kFirstColumn, row, High(colour));
    for (int c = kFirstColumn + 1; c < kLastColumn; ++c)
      SetPixel(p, c, row, c % 2 == 0 ? High(colour) : Low(colour));
    SetPixel(p, kLastColumn, row, Low(colour));
  }
}

bool NewColumnPainted(int32_t style, int level, int height, int previous) {
  if (style == kStyleAreaGraph) return level <= height;
  if (level == height) return true;
  return (level > previous && level < height) || (level < previous && level > height);
}

// Moves the history one pixel to the left in the current colour and adds
// the new sample as column 14.
void ScrollGraph(IconPicture* p, int height, uint8_t colour, int32_t style) {
  if (p->previousHeight == kNoHeight) p->previousHeight = height;
  for (int level = 1; level <= kGraphLevels; ++level) {
    int row = RowOfLevel(level);
    SetPixel(p, 0, row, 0);
    for (int c = kFirstColumn; c < kLastColumn; ++c) {
      int painted = PixelAt(*p, c + 1, row) != 0;
      SetPixel(p, c, row, painted ? (c % 2 == 1 ? High(colour) : Low(colour)) : 0);
    }
    bool paint = NewColumnPainted(style, level, height, p->previousHeight);
    SetPixel(p, kLastColumn, row, paint ? Low(colour) : 0);
    SetPixel(p, kPictureSide - 1, row, 0);
  }
  p->previousHeight = height;
}

}  // namespace

void ResetPicture(IconPicture* p) {
  ClearPixels(p);
  p->previousHeight = kNoHeight;
}

void ClearPixels(IconPicture* p) { memset(p->bits, 0, sizeof p->bits); }

int PixelAt(const IconPicture& p, int column, int row) {
  uint8_t byte = p.bits[(kPictureSide - 1 - row) * kPictureRowBytes + column / 2];
  return column % 2 == 0 ? byte >> 4 : byte & 0x0F;
}

void SetPixel(IconPicture* p, int column, int row, int index) {
  uint8_t* byte = &p->bits[(kPictureSide - 1 - row) * kPictureRowBytes + column / 2];
  uint8_t value = static_cast<uint8_t>(index & 0x0F);
  if (column % 2 == 0)
    *byte = static_cast<uint8_t>((*byte & 0x0F) | (value << 4));
  else
    *byte = static_cast<uint8_t>((*byte & 0xF0) | value);
}

uint8_t StatusColour(uint32_t freeMb, uint32_t totalMb, int32_t style, int digitFont) {
  uint8_t colour = digitFont == kFontSmooth ? kColourNormalSmooth : kColourNormalLcd;
  if (style == kStyleDigits && Thousands(totalMb) != 0) {
    if (Thousands(freeMb) == 0) colour = kColourWarning;
  } else if (totalMb != 0 && Percent(freeMb, totalMb) < 20) {
    colour = kColourWarning;
  }
  // A total of 0 MB gives no share to judge: the colour stays as it is.
  if (totalMb != 0 && Percent(freeMb, totalMb) < 5) colour = kColourCritical;
  return colour;
}

int GraphHeight(uint32_t freeMb, uint32_t totalMb) {
  // A total of 0 MB gives the lowest level, which is always painted.
  if (totalMb == 0) return 1;
  uint64_t h = (static_cast<uint64_t>(freeMb) * kGraphLevels + totalMb / 28u) / totalMb;
  if (h == 0) return 1;
  // More free than total (a reading no platform should give) fills the graph.
  if (h > static_cast<uint64_t>(kGraphLevels)) return kGraphLevels;
  return static_cast<int>(h);
}

void DrawPicture(IconPicture* p, uint32_t freeMb, uint32_t totalMb, int32_t style, int digitFont) {
  uint8_t colour = StatusColour(freeMb, totalMb, style, digitFont);
  if (style == kStyleDigits) {
    DrawDigits(p, freeMb, colour, digitFont);
    return;
  }
  int height = GraphHeight(freeMb, totalMb);
  if (style == kStyleAreaGraph || style == kStyleLineGraph)
    ScrollGraph(p, height, colour, style);
  else
    DrawGauge(p, height, colour);
}

void BlankForFreePass(IconPicture* p, int32_t style) {
  if (style != kStyleDigits) {
    ClearPixels(p);
    return;
  }
  for (int row = 0; row < kDigitRows; ++row) ClearRow(p, row);
}

void ClearAfterFreePass(IconPicture* p, int32_t style) {
  if (style != kStyleDigits) ClearPixels(p);
}
