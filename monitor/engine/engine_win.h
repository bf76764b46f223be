// The Win32 side of the monitor engine: the real platform calls, the monitor
// window and its message loop, shared by both front ends.
#ifndef VELMORA_MONITOR_ENGINE_ENGINE_WIN_H
#define VELMORA_MONITOR_ENGINE_ENGINE_WIN_H

#include <windows.h>

#include "engine.h"

const UINT_PTR kUpdateTimerId = 666;

// The one engine of this process, set up once at start.
extern Engine g_monitor;
// The monitor window, refreshed from every message the procedure receives.
extern HWND g_monitorWindow;

// Parses this process's command line with the front end's options and
// attaches the real platform and the given display.
void StartEngine(const OptionTable& table, Display* display);

// The monitor window's procedure: timer start (and the run-once pass) on
// creation, the sampling update on every tick, the timer stopped and the
// loop ended on destruction; everything else to the default procedure.
// The tray monitor handles its own messages first and hands on the rest.
LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Registers the class, creates the hidden monitor window and lets WM_CLOSE
// through to it; false when the window could not be created.
bool CreateMonitorWindow(HINSTANCE instance, WNDPROC procedure);

// Lets the message reach the window from processes of lower integrity
// (Windows Vista and later): through the window's own filter where the
// system has one (Windows 7 and later), else the process's. Where the
// system has neither, or the call fails, nothing changes.
void LetMessageThrough(HWND window, UINT message);

// Runs the message loop; the quit message's parameter is the exit code.
int RunMessageLoop();

#endif
