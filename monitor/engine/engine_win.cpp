#include "engine_win.h"

#include <stdlib.h>

#include "names.h"

Engine g_monitor;
HWND g_monitorWindow;

static_assert(static_cast<uint64_t>(kMaxIntervalSeconds) * 1000u <= USER_TIMER_MAXIMUM,
              "the longest interval is one SetTimer takes");

namespace {

class Win32Platform : public EnginePlatform {
 public:
  void ReadMemoryStatus(MemoryStatus* status) override {
    MEMORYSTATUS m;
    m.dwLength = sizeof m;
    GlobalMemoryStatus(&m);
    status->length = m.dwLength;
    status->memoryLoad = m.dwMemoryLoad;
    status->totalPhys = static_cast<uint32_t>(m.dwTotalPhys);
    status->availPhys = static_cast<uint32_t>(m.dwAvailPhys);
    status->totalPageFile = static_cast<uint32_t>(m.dwTotalPageFile);
    status->availPageFile = static_cast<uint32_t>(m.dwAvailPageFile);
    status->totalVirtual = static_cast<uint32_t>(m.dwTotalVirtual);
    status->availVirtual = static_cast<uint32_t>(m.dwAvailVirtual);
  }
  void StartTimer(uint32_t milliseconds) override {
    SetTimer(g_monitorWindow, kUpdateTimerId, milliseconds, nullptr);
  }
  void StopTimer() override { KillTimer(g_monitorWindow, kUpdateTimerId); }
  void Beep() override { MessageBeep(MB_ICONEXCLAMATION); }
  void* Allocate(uint32_t bytes) override { return malloc(bytes); }
  void Release(void* block) override { free(block); }
};

Win32Platform g_platform;

}  // namespace

void StartEngine(const OptionTable& table, Display* display) {
  ParseMonitorCommandLine(GetCommandLineA(), table, &g_monitor.settings, &g_monitor.backoff);
  AttachEngine(&g_monitor, &g_platform, display);
}

namespace {

void OnMonitorCreate() {
  // After the run-once pass the monitor ends, but not by DestroyWindow: a
  // window destroyed inside WM_CREATE makes CreateWindowEx return null, and
  // the monitor would exit with code 1 as if it had no window. The posted
  // WM_DESTROY arrives through the message loop after start-up and runs the
  // teardown of a closed window (tray icon removed, timer stopped, quit
  // message): exit code 0. The window itself ends with the process.
  if (StartMonitor(&g_monitor)) PostMessageA(g_monitorWindow, WM_DESTROY, 0, 0);
}

void OnMonitorDestroy() {
  g_platform.StopTimer();
  PostQuitMessage(0);
}

}  // namespace

// Every message the monitor handles returns 1, not the documented 0: creation
// goes on for any result but -1, and nothing reads what WM_TIMER or
// WM_DESTROY return, so the one value marks a handled message throughout.
LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  g_monitorWindow = window;
  switch (message) {
    case WM_CREATE: OnMonitorCreate(); return 1;
    case WM_TIMER: SamplingUpdate(&g_monitor, false); return 1;
    case WM_DESTROY: OnMonitorDestroy(); return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool CreateMonitorWindow(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = VELMORA_PRODUCT;
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, VELMORA_PRODUCT, VELMORA_PRODUCT, WS_POPUP, 0, 0, 0, 0,
                                nullptr, nullptr, instance, nullptr);
  if (window == nullptr) return false;
  // Elevated, the window hears nothing from unelevated programs (integrity levels); WM_CLOSE is all they send it.
  LetMessageThrough(window, WM_CLOSE);
  return true;
}

// Both calls are looked up, not imported, so that the monitors still start
// on a system that has neither.
void LetMessageThrough(HWND window, UINT message) {
  HMODULE user32 = GetModuleHandleA("user32.dll");
  if (FARPROC perWindow = GetProcAddress(user32, "ChangeWindowMessageFilterEx")) {
    auto allow = reinterpret_cast<decltype(&ChangeWindowMessageFilterEx)>(reinterpret_cast<void (*)()>(perWindow));
    allow(window, message, MSGFLT_ALLOW, nullptr);
  } else if (FARPROC perProcess = GetProcAddress(user32, "ChangeWindowMessageFilter")) {
    auto add = reinterpret_cast<decltype(&ChangeWindowMessageFilter)>(reinterpret_cast<void (*)()>(perProcess));
    add(message, MSGFLT_ADD);
  }
}

int RunMessageLoop() {
  MSG message;
  BOOL got;
  while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return got == 0 ? static_cast<int>(message.wParam) : 0;
}
