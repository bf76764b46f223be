// The monitor engine: the sampling update run on every timer tick and the
// free pass, shared by both monitors. It reaches the platform only through
// the two interfaces below; a monitor without a display passes none.
#ifndef VELMORA_MONITOR_ENGINE_ENGINE_H
#define VELMORA_MONITOR_ENGINE_ENGINE_H

#include <stddef.h>
#include <stdint.h>

#include "options.h"

// The platform's memory status record: all amounts in bytes.
struct MemoryStatus {
  uint32_t length;
  uint32_t memoryLoad;
  uint32_t totalPhys;
  uint32_t availPhys;
  uint32_t totalPageFile;
  uint32_t availPageFile;
  uint32_t totalVirtual;
  uint32_t availVirtual;
};

class EnginePlatform {
 public:
  virtual void ReadMemoryStatus(MemoryStatus* status) = 0;
  virtual void StartTimer(uint32_t milliseconds) = 0;
  virtual void StopTimer() = 0;
  virtual void Beep() = 0;
  virtual void* Allocate(uint32_t bytes) = 0;
  virtual void Release(void* block) = 0;

 protected:
  ~EnginePlatform() = default;
};

// What the tray monitor shows. A tip is read during the call only.
class Display {
 public:
  // A free pass begins: show the tip and the blanked picture.
  virtual void ShowPassStarting(const char* tip) = 0;
  // A free pass has freed its memory; the next picture starts afresh.
  virtual void ClearAfterPass() = 0;
  // A new reading to draw (amounts in whole MB) with its tip.
  virtual void ShowSample(uint32_t freeMb, uint32_t totalMb, const char* tip) = 0;
  // Whether the screen shows what was last handed over; while it does not,
  // every tick hands over its reading, changed or not.
  virtual bool ShowsLatest() const = 0;

 protected:
  ~Display() = default;
};

const uint32_t kNeverShown = 0xFFFFFFFFu;
// A tip's room, the notification area's: at most 63 characters reach the
// icon.
const size_t kTipRoom = 64;
extern const char kFreeingTip[];

struct Engine {
  MonitorSettings settings;
  Backoff backoff;
  uint32_t lastFreeMb;
  uint32_t lastPageMb;
  EnginePlatform* platform;
  Display* display;  // null in the hidden monitor
};

// Gives the engine its platform and display and forgets every shown value;
// settings and back-off are the caller's (ParseMonitorCommandLine).
void AttachEngine(Engine* e, EnginePlatform* platform, Display* display);

// Amounts are rounded to the nearest MB, halves up.
uint32_t RoundToMegabytes(uint32_t bytes);

// The back-off's verdict on one unforced tick with threshold on: whether an
// automatic pass runs now. Moves the counter and the waits as it goes; a
// pass it allows is followed by PassDone.
bool AutomaticPassDue(Backoff* b, uint32_t freeBytes, uint32_t threshold, bool keepTrying);
void PassDone(Backoff* b, bool keepTrying);

// How much a free pass allocates for this reading, before the cap.
uint32_t FreePassAmount(const MonitorSettings& s, uint32_t freeBytes);
// The amount held at total RAM less 8 MB (0 on a machine with less).
uint32_t CapFreePassAmount(uint32_t amount, uint32_t totalBytes);
// Sixteen pieces instead of one block?
bool FreeInPieces(char defragment, uint32_t amount, uint32_t totalBytes);

// "RAM: %dM  Page: %dM" into out, always NUL-terminated within room.
void FormatSampleTip(char* out, size_t room, uint32_t freeMb, uint32_t pageMb);

// Writes zeros over every byte, in a way no optimiser may drop even when
// the memory is released right after.
void ZeroFill(void* block, size_t bytes);

// The monitor window exists: starts the update timer and, with the
// run-once flag, runs the one free pass (never with a beep). True when the
// monitor is to end now.
bool StartMonitor(Engine* e);

void SamplingUpdate(Engine* e, bool forced);
void FreePass(Engine* e);

#endif
