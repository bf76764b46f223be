// The monitor command line: the one contract between the configuration
// program, which writes it, and the two monitors, which read it. Tokens are
// cut at blanks and equals signs and known by their first letter in either
// case; a value follows its letter after an equals sign, and the
// configuration program's path comes last, quoted.
#ifndef VELMORA_COMMON_MONITOR_COMMAND_LINE_H
#define VELMORA_COMMON_MONITOR_COMMAND_LINE_H

#include <stddef.h>
#include <stdint.h>

// The letters, and what follows each.
const char kIntervalLetter = 'U';     // =seconds between samples
const char kFreeAmountLetter = 'M';   // =MB to free beyond what is free
const char kReachTargetLetter = 'R';  // =MB of free memory to reach, in place of M
const char kThresholdLetter = 'T';    // =MB at or below which memory is freed; 0: never
const char kDefragmentLetter = 'D';   // =one of the defragment values below
const char kConfigPathLetter = 'P';   // ="the configuration program's full path"
const char kRunOnceLetter = 'O';      // free once at start
const char kSoundLetter = 'S';        // beep before an automatic pass
const char kKeepTryingLetter = 'A';   // free on every low tick, without back-off
const char kStyleLetter = 'G';        // =the display style's number
const char kLcdFontLetter = 'L';      // LCD digits, green; with the white font's letter, white
const char kByteUnitsLetter = 'B';    // the details in bytes

const char kValueMark = '=';
const char kPathQuote = '"';
const char kGreenFont = 'G';  // after L, as L alone
const char kWhiteFont = 'W';  // after L

// Display styles (G); any other non-zero value draws as the gauge.
enum : int32_t { kStyleDigits = 0, kStyleGauge = 1, kStyleAreaGraph = 2, kStyleLineGraph = 3 };

// Defragment values (D): one block, or sixteen pieces; anything else
// chooses by the amount.
const char kDefragmentAlways = 'Y';
const char kDefragmentNever = 'N';
const char kDefragmentBySize = 'I';

// What a monitor does when a token is left out.
const uint32_t kMonitorIntervalSeconds = 5;
const uint32_t kMonitorFreeAmountMb = 10;

// Room of a whole line, terminator included: 259 characters at most.
const size_t kCommandLineRoom = 260;

// A token that carries no number: a flag's letter, a letter with its value
// after the equals sign, or the LCD letter with its font; none at all for
// what a monitor does by itself.
struct OptionToken {
  char text[4];
};
constexpr OptionToken NoToken() { return {{'\0'}}; }
constexpr OptionToken FlagToken(char letter) { return {{letter, '\0'}}; }
constexpr OptionToken ValueToken(char letter, char value) { return {{letter, kValueMark, value, '\0'}}; }
constexpr OptionToken FontToken(char font) { return {{kLcdFontLetter, font, '\0'}}; }
constexpr char StyleValue(int32_t style) { return static_cast<char>('0' + style); }

#endif
