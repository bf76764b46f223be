// The tray icon's picture: a 16 x 16 image of palette indexes that the tray
// monitor draws itself, as digits over a status bar, a level gauge or a
// scrolling graph, in a status colour that turns yellow and then red as free
// memory runs short.
#ifndef VELMORA_MONITOR_TRAY_ICON_PICTURE_H
#define VELMORA_MONITOR_TRAY_ICON_PICTURE_H

#include <stdint.h>

#include "options.h"

const int kPictureSide = 16;
const int kPictureRowBytes = 8;
const int kPictureBytes = 128;
const int kPaletteSize = 8;

// Status colours: two palette indexes, high nibble and low nibble.
const uint8_t kColourNormalSmooth = 0x54;
const uint8_t kColourNormalLcd = 0x44;
const uint8_t kColourWarning = 0x77;
const uint8_t kColourCritical = 0x66;

// The line graph's previous height before its first sample.
const int kNoHeight = 20;
const int kGraphLevels = 14;

struct IconPicture {
  // Rows stored bottom-up, 8 bytes a row, the high nibble the left pixel.
  uint8_t bits[kPictureBytes];
  // Graph height of the last tick, for the line graph.
  int previousHeight;
};

// The bitmap info header and colour table shared by the picture and its
// mask, laid out byte for byte as the platform expects them.
struct PictureHeader {
  uint32_t size;
  int32_t width;
  int32_t height;  // positive: rows bottom-up
  uint16_t planes;
  uint16_t bitCount;
  uint32_t compression;
  uint32_t imageSize;
  int32_t xPixelsPerMeter;
  int32_t yPixelsPerMeter;
  uint32_t coloursUsed;
  uint32_t coloursImportant;
  uint8_t colours[kPaletteSize][4];  // blue, green, red, 0
};
extern const PictureHeader kPictureHeader;
// The mask: every pixel opaque.
extern const uint8_t kOpaqueMask[kPictureBytes];

// Glyphs of 4 x 8 pixels. Smooth: one byte a row, 2 bits a pixel (leftmost
// in the top bits), the value being the palette index. LCD: 4 bytes, row 2k
// the high nibble of byte k and row 2k + 1 its low nibble, bit 8 leftmost.
extern const uint8_t kSmoothFont[10][8];
extern const uint8_t kLcdFont[10][4];

// At start-up: all pixels 0, no previous height.
void ResetPicture(IconPicture* p);
// All pixels 0; the previous height is kept.
void ClearPixels(IconPicture* p);

// Row 0 is the top of the image, column 0 its left.
int PixelAt(const IconPicture& p, int column, int row);
void SetPixel(IconPicture* p, int column, int row, int index);

// Status colour for free and total RAM in MB.
uint8_t StatusColour(uint32_t freeMb, uint32_t totalMb, int32_t style, int digitFont);
// Graph level 1 to 14 for free and total RAM in MB.
int GraphHeight(uint32_t freeMb, uint32_t totalMb);

// Draws one reading in the style; the graphs build on the picture of the
// previous tick.
void DrawPicture(IconPicture* p, uint32_t freeMb, uint32_t totalMb, int32_t style, int digitFont);

// A free pass begins: the graphs go black, the digits go and leave the
// status bar standing.
void BlankForFreePass(IconPicture* p, int32_t style);
// A free pass has ended: the graphs start afresh; the digits are left alone.
void ClearAfterFreePass(IconPicture* p, int32_t style);

#endif
