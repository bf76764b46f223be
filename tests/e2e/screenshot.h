// Screenshots of the virtual X display the Wine session runs on, taken with
// ImageMagick's import as the X server shows them, for tests that check the
// pixels the platform really put on the screen.
#ifndef VELMORA_TESTS_E2E_SCREENSHOT_H
#define VELMORA_TESTS_E2E_SCREENSHOT_H

#include <windows.h>

#include <string>
#include <vector>

struct Image {
  int width = 0;
  int height = 0;
  std::vector<unsigned char> rgb;  // 3 bytes a pixel, rows top first

  // 0xRRGGBB of a pixel.
  unsigned Pixel(int x, int y) const;
};

// The Unix path of a file beside the test programs (in the build tree).
std::string UnixPathBesideTests(const char* name);

// Takes a screenshot of the whole display and keeps the area (screen
// coordinates). The crop is also saved as name.png beside the test
// programs. False when no screenshot arrived in time.
bool Screenshot(const RECT& area, const char* name, Image* out);

#endif
