#include "engine.h"

#include <string.h>

#include "text_writer.h"

const char kFreeingTip[] = "Attempting to Free RAM";

namespace {

const uint32_t kReserveBytes = 8u << 20;  // left to the system by every pass
const int kMaxPieces = 16;
const uint32_t kSmallestBlock = 20;
const uint32_t kTinyFollowUp = 16;

// Allocates size bytes, halving while that fails and the size is above the
// smallest block; zero-fills and releases what it got.
void FreeOneBlock(EnginePlatform* platform, uint32_t size) {
  void* block = platform->Allocate(size);
  while (block == nullptr && size > kSmallestBlock) {
    size >>= 1;
    block = platform->Allocate(size);
  }
  if (block == nullptr) return;
  ZeroFill(block, size);
  platform->Release(block);
}

// Sixteen pieces of amount / 16, stopping at the first that fails, all
// released in order; then a follow-up block.
void FreePieces(EnginePlatform* platform, uint32_t amount, uint32_t freeAmount) {
  void* pieces[kMaxPieces];
  uint32_t pieceSize = amount >> 4;
  int obtained = 0;
  while (obtained < kMaxPieces) {
    void* piece = platform->Allocate(pieceSize);
    if (piece == nullptr) break;
    ZeroFill(piece, pieceSize);
    pieces[obtained++] = piece;
  }
  for (int i = 0; i < obtained; ++i) platform->Release(pieces[i]);
  FreeOneBlock(platform, pieceSize < freeAmount ? freeAmount : kTinyFollowUp);
}

}  // namespace

void AttachEngine(Engine* e, EnginePlatform* platform, Display* display) {
  e->platform = platform;
  e->display = display;
  e->lastFreeMb = kNeverShown;
  e->lastPageMb = kNeverShown;
}

uint32_t RoundToMegabytes(uint32_t bytes) {
  return static_cast<uint32_t>((static_cast<uint64_t>(bytes) + 524288u) >> 20);
}

bool AutomaticPassDue(Backoff* b, uint32_t freeBytes, uint32_t threshold, bool keepTrying) {
  bool low = freeBytes <= threshold;
  if (b->tickCounter == b->currentWait) {
    if (!low) b->currentWait = b->baseWait;
    b->tickCounter = 0;
  }
  if (low && (keepTrying || b->tickCounter == 0)) return true;
  // The counter runs while the wait is raised, and also while it is not at
  // rest: when the maximum wait equals the base wait the raised wait looks
  // like the base one, and a stopped counter would end automatic freeing.
  if (b->currentWait != b->baseWait || b->tickCounter != 0) ++b->tickCounter;
  return false;
}

void PassDone(Backoff* b, bool keepTrying) {
  if (keepTrying) return;
  ++b->tickCounter;
  b->currentWait *= 2;
  if (b->currentWait > b->maximumWait) b->currentWait = b->maximumWait;
}

uint32_t FreePassAmount(const MonitorSettings& s, uint32_t freeBytes) {
  if (s.reachTarget) return freeBytes < s.freeAmountBytes ? s.freeAmountBytes : 0;
  uint32_t sum = s.freeAmountBytes + freeBytes;
  return sum < freeBytes ? 0xFFFFFFFFu : sum;
}

uint32_t CapFreePassAmount(uint32_t amount, uint32_t totalBytes) {
  uint32_t cap = totalBytes > kReserveBytes ? totalBytes - kReserveBytes : 0;
  return amount > cap ? cap : amount;
}

bool FreeInPieces(char defragment, uint32_t amount, uint32_t totalBytes) {
  if (defragment == kDefragmentNever) return true;
  if (defragment == kDefragmentAlways) return false;
  return amount > totalBytes / 3;
}

void FormatSampleTip(char* out, size_t room, uint32_t freeMb, uint32_t pageMb) {
  if (room == 0) return;
  TextWriter w = TextWriter::Over(out, room);
  w.Text("RAM: ");
  w.Number(freeMb);
  w.Text("M  Page: ");
  w.Number(pageMb);
  w.Text("M");
  w.Finish();
}

void ZeroFill(void* block, size_t bytes) {
  memset(block, 0, bytes);
  // Tell the compiler the zeros are read: without this it may drop the
  // memset of memory that is only released afterwards.
  __asm__ __volatile__("" : : "r"(block) : "memory");
}

bool StartMonitor(Engine* e) {
  e->platform->StartTimer(e->settings.intervalMs);
  if (!e->settings.runOnce) return false;
  FreePass(e);
  return true;
}

void SamplingUpdate(Engine* e, bool forced) {
  const MonitorSettings& s = e->settings;
  MemoryStatus status;
  e->platform->ReadMemoryStatus(&status);

  if (s.thresholdBytes != 0 && !forced &&
      AutomaticPassDue(&e->backoff, status.availPhys, s.thresholdBytes, s.keepTrying)) {
    if (s.sound) e->platform->Beep();
    FreePass(e);
    PassDone(&e->backoff, s.keepTrying);
    return;
  }

  if (e->display == nullptr) return;
  uint32_t freeMb = RoundToMegabytes(status.availPhys);
  uint32_t pageMb = RoundToMegabytes(status.availPageFile);
  uint32_t totalMb = RoundToMegabytes(status.totalPhys);
  bool unchanged = s.displayStyle == kStyleDigits && freeMb == e->lastFreeMb && pageMb == e->lastPageMb;
  if (!forced && unchanged && e->display->ShowsLatest()) return;
  e->lastFreeMb = freeMb;
  e->lastPageMb = pageMb;
  char tip[kTipRoom];
  FormatSampleTip(tip, sizeof tip, freeMb, pageMb);
  e->display->ShowSample(freeMb, totalMb, tip);
}

void FreePass(Engine* e) {
  const MonitorSettings& s = e->settings;
  EnginePlatform* platform = e->platform;
  MemoryStatus status;
  platform->ReadMemoryStatus(&status);

  uint32_t amount = FreePassAmount(s, status.availPhys);
  if (amount == 0) return;
  platform->StopTimer();
  if (e->display != nullptr) e->display->ShowPassStarting(kFreeingTip);

  amount = CapFreePassAmount(amount, status.totalPhys);
  if (amount != 0) {
    if (FreeInPieces(s.defragment, amount, status.totalPhys))
      FreePieces(platform, amount, s.freeAmountBytes);
    else
      FreeOneBlock(platform, amount);
  }

  if (e->display != nullptr) {
    e->display->ClearAfterPass();
    SamplingUpdate(e, true);
  }
  platform->StartTimer(s.intervalMs);
}
