// VelmoraUninstall.exe: no window, no message loop; everything it does is
// decided by the core from the command line. Exit code 0 on every path.
#include <windows.h>

#include "uninstall.h"

namespace {

HKEY Native(RegKey key) {
  if (key == kCurrentUser) return HKEY_CURRENT_USER;
  if (key == kLocalMachine) return HKEY_LOCAL_MACHINE;
  return reinterpret_cast<HKEY>(key);
}

RegResult Result(LONG status) {
  switch (status) {
    case ERROR_SUCCESS: return kRegDone;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_NO_MORE_ITEMS: return kRegNotFound;
    case ERROR_MORE_DATA: return kRegTooLong;
  }
  return kRegFailed;
}

HWND Window(WindowRef w) { return reinterpret_cast<HWND>(w); }
WindowRef Ref(HWND w) { return reinterpret_cast<WindowRef>(w); }

class Win32Uninstall : public UninstallPlatform {
 public:
  RegResult OpenKey(RegKey parent, const char* subkey, uint32_t access, RegKey* key) override {
    HKEY opened = nullptr;
    LONG status = RegOpenKeyExA(Native(parent), subkey, 0, access, &opened);
    if (status == ERROR_SUCCESS) *key = reinterpret_cast<RegKey>(opened);
    return Result(status);
  }
  RegResult SubkeyAt(RegKey key, uint32_t index, char* name, uint32_t room) override {
    // The class name is read with the same room and not used.
    char className[kRegistryNameRoom];
    DWORD nameLength = room;
    DWORD classLength = sizeof className;
    FILETIME written;
    return Result(RegEnumKeyExA(Native(key), index, name, &nameLength, nullptr, className,
                                &classLength, &written));
  }
  RegResult ValueAt(RegKey key, uint32_t index, char* name, uint32_t room) override {
    DWORD nameLength = room;
    DWORD type;
    return Result(RegEnumValueA(Native(key), index, name, &nameLength, nullptr, &type, nullptr,
                                nullptr));
  }
  RegResult DeleteValue(RegKey key, const char* name) override {
    return Result(RegDeleteValueA(Native(key), name));
  }
  RegResult DeleteKey(RegKey parent, const char* subkey) override {
    return Result(RegDeleteKeyA(Native(parent), subkey));
  }
  void CloseKey(RegKey key) override { RegCloseKey(Native(key)); }

  WindowRef FindWindowByClass(const char* name) override { return Ref(FindWindowA(name, nullptr)); }
  WindowRef FindWindowByTitle(const char* name) override { return Ref(FindWindowA(nullptr, name)); }
  void RequestClose(WindowRef window) override { SendMessageA(Window(window), WM_CLOSE, 0, 0); }
  void Pause(uint32_t milliseconds) override { Sleep(milliseconds); }
  void ShowMessage(const char* text, const char* caption) override {
    MessageBoxA(nullptr, text, caption, 0);
  }
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Win32Uninstall platform;
  RunUninstall(&platform, GetCommandLineA());
  return 0;
}
