#include "options.h"

#include <string.h>

#include "program_name.h"

namespace {

// Every letter a monitor may know, the display-only ones last: the hidden
// monitor, which shows nothing, knows all but those.
const char kLetters[] = {kIntervalLetter, kFreeAmountLetter, kReachTargetLetter, kThresholdLetter,
                         kDefragmentLetter, kConfigPathLetter, kRunOnceLetter, kSoundLetter,
                         kKeepTryingLetter, kStyleLetter, kLcdFontLetter, kByteUnitsLetter};
const size_t kDisplayOnlyLetters = 2;

const char kDelimiters[] = {' ', kValueMark, '\0'};
const char kPathDelimiters[] = {kValueMark, kPathQuote, '\0'};

// strtok without writing into the line: a token is a run of characters that
// are no delimiter, and the one delimiter that ends it is consumed with it.
struct Tokens {
  const char* next;
};

bool IsDelimiter(char c, const char* delimiters) {
  return c != '\0' && strchr(delimiters, c) != nullptr;
}

bool NextToken(Tokens* t, const char* delimiters, const char** start, size_t* length) {
  const char* p = t->next;
  while (IsDelimiter(*p, delimiters)) ++p;
  if (*p == '\0') {
    t->next = p;
    return false;
  }
  *start = p;
  while (*p != '\0' && !IsDelimiter(*p, delimiters)) ++p;
  *length = static_cast<size_t>(p - *start);
  t->next = (*p == '\0') ? p : p + 1;
  return true;
}

// atoi on a token: leading white space, an optional sign, then digits up to
// the first other character; no digits read as 0. Held to 32 bits.
int32_t TokenToInt(const char* p, size_t length) {
  const char* end = p + length;
  while (p < end && (*p == '\t' || *p == '\n' || *p == '\v' || *p == '\f' || *p == '\r')) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
  int64_t value = 0;
  for (; p < end && *p >= '0' && *p <= '9'; ++p) {
    value = value * 10 + (*p - '0');
    if (value > 0x80000000LL) value = 0x80000000LL;
  }
  if (negative) return static_cast<int32_t>(-value);
  return value > 0x7FFFFFFFLL ? 0x7FFFFFFF : static_cast<int32_t>(value);
}

// An amount given in MB, in bytes: the MB are the unsigned number the line
// holds, held at the largest amount whose bytes still fit in 32 bits.
uint32_t AmountBytes(int32_t value) {
  uint32_t mb = static_cast<uint32_t>(value);
  return (mb > kMaxMegabytes ? kMaxMegabytes : mb) << 20;
}

// An interval given in seconds, in milliseconds: nothing below 0 (so a
// negative interval takes the default) and nothing the timer would refuse.
uint32_t IntervalMs(int32_t value) {
  if (value < 0) return 0;
  uint32_t seconds = static_cast<uint32_t>(value);
  return (seconds > kMaxIntervalSeconds ? kMaxIntervalSeconds : seconds) * 1000;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

void StorePath(MonitorSettings* s, const char* start, size_t length) {
  if (length >= sizeof s->configPath) {
    s->configPath[0] = '\0';
    return;
  }
  memcpy(s->configPath, start, length);
  s->configPath[length] = '\0';
}

// Start values of every setting.
void ResetSettings(MonitorSettings* s) {
  memset(s, 0, sizeof *s);
  s->defragment = kDefragmentBySize;
}

// Scans the option text into s, which holds the start values.
void ScanOptions(const char* args, const OptionTable& table, MonitorSettings* s) {
  Tokens t = {args};
  const char* token;
  size_t length;
  while (NextToken(&t, kDelimiters, &token, &length)) {
    char letter = Upper(token[0]);
    if (memchr(kLetters, letter, table.letterCount) == nullptr) continue;
    const char* value;
    size_t valueLength;
    switch (letter) {
      case kIntervalLetter:
        if (NextToken(&t, kDelimiters, &value, &valueLength))
          s->intervalMs = IntervalMs(TokenToInt(value, valueLength));
        break;
      case kFreeAmountLetter:
      case kReachTargetLetter:  // one free amount; R also switches reach-target mode on
        if (NextToken(&t, kDelimiters, &value, &valueLength)) {
          s->freeAmountBytes = AmountBytes(TokenToInt(value, valueLength));
          if (letter == kReachTargetLetter) s->reachTarget = true;
        }
        break;
      case kThresholdLetter:
        if (NextToken(&t, kDelimiters, &value, &valueLength))
          s->thresholdBytes = AmountBytes(TokenToInt(value, valueLength));
        break;
      case kDefragmentLetter:
        if (NextToken(&t, kDelimiters, &value, &valueLength)) s->defragment = Upper(value[0]);
        break;
      case kConfigPathLetter:
        if (NextToken(&t, kPathDelimiters, &value, &valueLength) && table.keepPath)
          StorePath(s, value, valueLength);
        break;
      case kStyleLetter:
        if (NextToken(&t, kDelimiters, &value, &valueLength))
          s->displayStyle = TokenToInt(value, valueLength);
        break;
      case kLcdFontLetter:
        s->digitFont = (length > 1 && Upper(token[1]) == kWhiteFont) ? kFontWhiteLcd : kFontGreenLcd;
        break;
      case kRunOnceLetter: s->runOnce = true; break;
      case kSoundLetter: s->sound = true; break;
      case kKeepTryingLetter: s->keepTrying = true; break;
      case kByteUnitsLetter: s->byteUnits = true; break;
    }
  }
}

// Applies the defaults and derives the back-off from the interval.
void FinishSettings(MonitorSettings* s, Backoff* b) {
  if (s->intervalMs == 0) s->intervalMs = kMonitorIntervalSeconds * 1000;
  if (s->freeAmountBytes == 0) s->freeAmountBytes = kMonitorFreeAmountMb << 20;
  uint32_t seconds = s->intervalMs / 1000;
  b->baseWait = seconds < 5 ? 4 * (5 - seconds) : 4;
  b->currentWait = b->baseWait;
  // Ten minutes' worth of ticks; an interval over ten minutes still gets one
  // tick, or the back-off would never let a second pass run.
  b->maximumWait = 600 / seconds;
  if (b->maximumWait == 0) b->maximumWait = 1;
  b->tickCounter = 0;
}

}  // namespace

const OptionTable kTrayOptions = {sizeof kLetters, true};
const OptionTable kHiddenOptions = {sizeof kLetters - kDisplayOnlyLetters, false};

void ParseMonitorCommandLine(const char* commandLine, const OptionTable& table,
                             MonitorSettings* s, Backoff* b) {
  ResetSettings(s);
  ScanOptions(SkipProgramName(commandLine), table, s);
  FinishSettings(s, b);
}
