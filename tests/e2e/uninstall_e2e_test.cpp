// The uninstaller as the platform sees it: what is left in the registry,
// which monitors have ended, how many close requests a window received,
// and the one box it may show.
#include <aclapi.h>
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace {

typedef std::vector<std::string> Lines;

const char kUninstaller[] = "VelmoraUninstall.exe";
const char kMonitor[] = "Velmora";  // class, title and Run value name
const char kVendorKey[] = "Software\\Velmora";
const char kProductKey[] = "Software\\Velmora\\Velmora";
const char kNeighbourVendorKey[] = "Software\\Velmora Tools";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kNeighbourRunValue[] = "VelmoraKeep";
const char kBoxClass[] = "#32770";
const char kBoxCaption[] = "Unable to remove Registry Key";
const char kWarning[] =
    "WARNING: Registry entries could not be removed.\n\n"
    "The uninstall process will continue anyway.\n\n"
    "The failed Registry key is:\n\n"
    "HKEY_CURRENT_USER\\Software\\Velmora\\Velmora";
const HKEY kRunRoots[] = {HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER};

// --- the registry as the test sets it up and reads it back -------------

void Put(HKEY root, const std::string& path, const char* name, const char* data) {
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | kProgramsView, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS)
      << path;
  if (name != nullptr) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data), static_cast<DWORD>(strlen(data)) + 1);
  }
  RegCloseKey(key);
}

bool KeyExists(HKEY root, const std::string& path) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ | kProgramsView, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool ValueExists(HKEY root, const char* path, const char* name) {
  HKEY key;
  if (RegOpenKeyExA(root, path, 0, KEY_QUERY_VALUE | kProgramsView, &key) != ERROR_SUCCESS) return false;
  bool found = RegQueryValueExA(key, name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return found;
}

std::string Narrow(const wchar_t* text) {
  char out[600];
  WideCharToMultiByte(CP_UTF8, 0, text, -1, out, sizeof out, nullptr, nullptr);
  return out;
}

// Every key and value below root\path, read with the wide calls so that
// no name is changed on the way: "sub\key" and "sub\key:value".
void Walk(HKEY key, const std::string& at, Lines* out) {
  wchar_t name[300];
  for (DWORD i = 0;; ++i) {
    DWORD length = 300;
    if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    out->push_back(at + ":" + Narrow(name));
  }
  for (DWORD i = 0;; ++i) {
    DWORD length = 300;
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      break;
    }
    std::string below = at.empty() ? Narrow(name) : at + "\\" + Narrow(name);
    out->push_back(below);
    HKEY sub;
    if (RegOpenKeyExW(key, name, 0, KEY_READ, &sub) == ERROR_SUCCESS) {
      Walk(sub, below, out);
      RegCloseKey(sub);
    }
  }
}

Lines Tree(const char* path) {
  Lines out;
  HKEY key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return out;
  Walk(key, "", &out);
  RegCloseKey(key);
  std::sort(out.begin(), out.end());
  return out;
}

// Gives everyone just the rights in the key's own access list, so that a
// key with KEY_READ only cannot be opened for removal.
void SetAccess(HKEY root, const std::string& path, DWORD rights) {
  HKEY key;
  if (RegOpenKeyExA(root, path.c_str(), 0, READ_CONTROL | WRITE_DAC | kProgramsView, &key) != ERROR_SUCCESS) return;
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  EXPLICIT_ACCESSA grant = {};
  grant.grfAccessPermissions = rights;
  grant.grfAccessMode = SET_ACCESS;
  grant.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  grant.Trustee.ptstrName = static_cast<LPSTR>(everyone);
  PACL acl = nullptr;
  if (SetEntriesInAclA(1, &grant, nullptr, &acl) == ERROR_SUCCESS) {
    SetSecurityInfo(key, SE_REGISTRY_KEY,
                    DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                    nullptr, acl, nullptr);
    LocalFree(acl);
  }
  FreeSid(everyone);
  RegCloseKey(key);
}

const char kLockedKey[] = "Software\\Velmora\\Velmora\\Locked";

// Everything these tests create, gone.
void RemoveTestEntries() {
  SetAccess(HKEY_CURRENT_USER, kLockedKey, KEY_ALL_ACCESS);
  RegDeleteTreeA(HKEY_CURRENT_USER, kVendorKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kVendorKey);
  RegDeleteTreeA(HKEY_CURRENT_USER, kNeighbourVendorKey);
  RegDeleteKeyA(HKEY_CURRENT_USER, kNeighbourVendorKey);
  for (HKEY root : kRunRoots) {
    HKEY run;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE | kProgramsView, &run) != ERROR_SUCCESS) continue;
    RegDeleteValueA(run, kMonitor);
    RegDeleteValueA(run, kNeighbourRunValue);
    RegCloseKey(run);
  }
}

// What an installed copy of the suite leaves, with neighbours that must
// stay.
void Install() {
  Put(HKEY_CURRENT_USER, kProductKey, "Version", "1.6.0");
  const char* settings[] = {"UpdateInterval", "MemoryThreshold", "FreeAmount", "DisplayStyle"};
  for (const char* name : settings) {
    Put(HKEY_CURRENT_USER, std::string(kProductKey) + "\\Settings", name, "5");
  }
  Put(HKEY_CURRENT_USER, std::string(kProductKey) + "\\1.3", "Old", "x");
  Put(HKEY_CURRENT_USER, std::string(kProductKey) + "\\Deep\\A\\B", "Leaf", "1");
  Put(HKEY_CURRENT_USER, std::string(kVendorKey) + "\\Other", "Keep", "1");
  Put(HKEY_CURRENT_USER, kVendorKey, "VendorValue", "1");
  Put(HKEY_CURRENT_USER, kNeighbourVendorKey, "Keep", "1");
  for (HKEY root : kRunRoots) {
    Put(root, kRunKey, kMonitor, "\"C:\\Velmora\\Velmora.exe\" U=2 P=\"C:\\Velmora\\Cfg.exe\"");
    Put(root, kRunKey, kNeighbourRunValue, "keep.exe");
  }
}

const Lines kVendorAfterProduct = {":VendorValue", "Other", "Other:Keep"};

// --- the uninstaller's run, watched ------------------------------------

struct Watched {
  DWORD exitCode = kStillRunning;
  Lines windows;  // "class|title" of every top-level window of its process
  Lines boxes;    // the text of every warning box, in order
};

struct Owned {
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectOwned(HWND window, LPARAM context) {
  Owned* o = reinterpret_cast<Owned*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == o->pid) o->found.push_back(window);
  return TRUE;
}

std::string Describe(HWND window) {
  char windowClass[64] = "", title[128] = "";
  GetClassNameA(window, windowClass, sizeof windowClass);
  GetWindowTextA(window, title, sizeof title);
  return std::string(windowClass) + "|" + title;
}

// Style 0: one button, OK, and an icon control (if the box has one) that
// holds no icon.
void ExpectOkButtonOnlyAndNoIcon(HWND box) {
  std::vector<int> buttons;
  for (HWND c = GetWindow(box, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
    char windowClass[32] = "";
    GetClassNameA(c, windowClass, sizeof windowClass);
    if (lstrcmpiA(windowClass, "Button") == 0) buttons.push_back(GetDlgCtrlID(c));
    bool iconControl = lstrcmpiA(windowClass, "Static") == 0 &&
                       (GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    if (iconControl) {
      EXPECT_EQ(SendMessageA(c, STM_GETICON, 0, 0), 0) << "the box shows an icon";
    }
  }
  EXPECT_EQ(buttons, std::vector<int>({IDOK}));
}

// Messages sent to this test's own windows are handled while it waits.
void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

// Runs the uninstaller to its end. A warning box is read once it shows,
// handed to whileShown (the program waits for it meanwhile) and dismissed.
Watched RunUninstaller(const std::string& arguments,
                       const std::function<void()>& whileShown = [] {}) {
  Watched w;
  Program p = Start(kUninstaller, arguments);
  if (p.process == nullptr) return w;
  std::vector<HWND> known, dismissed;
  DWORD start = GetTickCount();
  while (GetTickCount() - start < kDeadlineMs) {
    Owned o = {p.pid, {}};
    EnumWindows(CollectOwned, reinterpret_cast<LPARAM>(&o));
    for (HWND window : o.found) {
      const std::string seen = Describe(window);
      // A window that ended since the enumeration has no class left to
      // describe. The per-thread window of the input method comes with the
      // box and never shows; it is the system's, not the program's.
      if (seen == "|" || seen == "IME|Default IME") continue;
      // Noted as last seen: a box gets its caption only after it is made.
      size_t k = std::find(known.begin(), known.end(), window) - known.begin();
      if (k == known.size()) {
        known.push_back(window);
        w.windows.push_back("");
      }
      w.windows[k] = seen;
      bool isBox = seen == std::string(kBoxClass) + "|" + kBoxCaption;
      if (!isBox || !IsWindowVisible(window)) continue;
      if (std::find(dismissed.begin(), dismissed.end(), window) != dismissed.end()) continue;
      char text[600] = "";
      GetDlgItemTextA(window, 0xFFFF, text, sizeof text);
      ExpectOkButtonOnlyAndNoIcon(window);
      w.boxes.push_back(text);
      EXPECT_EQ(GetWindow(window, GW_OWNER), nullptr) << "the box has an owner";
      whileShown();
      dismissed.push_back(window);
      PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    if (MsgWaitForMultipleObjects(1, &p.process, FALSE, 20, QS_ALLINPUT) == WAIT_OBJECT_0) break;
    Pump();
  }
  w.exitCode = WaitForExit(p, 0);
  return w;
}

Program StartMonitor(const char* exe) {
  Program p = Start(exe, "U=60");
  EXPECT_NE(WaitForWindow(kMonitor, kMonitor, p.pid), nullptr) << exe << " shows no window";
  return p;
}

class UninstallE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(FindWindows(kMonitor, nullptr).empty()) << "a monitor from elsewhere is running";
    ASSERT_TRUE(FindWindows(nullptr, kMonitor).empty()) << "a window titled Velmora is open";
    RemoveTestEntries();
    for (int i = 0; i < 2; ++i) runKeyExisted[i] = KeyExists(kRunRoots[i], kRunKey);
  }
  void TearDown() override {
    EndStartedPrograms();
    RemoveTestEntries();
    for (int i = 0; i < 2; ++i) {
      if (!runKeyExisted[i]) RegDeleteKeyExA(kRunRoots[i], kRunKey, kProgramsView, 0);
    }
  }
  bool runKeyExisted[2] = {true, true};
};

TEST_F(UninstallE2E, SuiteCallRemovesProductRunValuesAndMonitors) {
  Install();
  Program tray = StartMonitor("Velmora.exe");
  Program hidden = StartMonitor("VelmoraH.exe");
  ASSERT_EQ(FindWindows(kMonitor, kMonitor).size(), 2u);

  Watched w = RunUninstaller("Velmora Velmora N Y Y");
  EXPECT_EQ(w.exitCode, 0u);
  EXPECT_EQ(w.windows, Lines()) << "the uninstaller showed a window";
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kProductKey));
  EXPECT_EQ(Tree(kVendorKey), kVendorAfterProduct);
  EXPECT_EQ(Tree(kNeighbourVendorKey), Lines({":Keep"}));
  for (HKEY root : kRunRoots) {
    EXPECT_FALSE(ValueExists(root, kRunKey, kMonitor)) << root;
    EXPECT_TRUE(ValueExists(root, kRunKey, kNeighbourRunValue)) << root;
  }
  EXPECT_EQ(WaitForExit(tray), 0u);
  EXPECT_EQ(WaitForExit(hidden), 0u);
  EXPECT_TRUE(FindWindows(kMonitor, nullptr).empty());
}

TEST_F(UninstallE2E, WholeVendorSwitchRemovesTheVendorKey) {
  Install();
  Program tray = StartMonitor("Velmora.exe");
  Watched w = RunUninstaller("Velmora Velmora Y N N");
  EXPECT_EQ(w.exitCode, 0u);
  EXPECT_EQ(w.windows, Lines());
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kVendorKey));
  EXPECT_EQ(Tree(kNeighbourVendorKey), Lines({":Keep"}));
  // Run values and windows are left alone by their switches.
  for (HKEY root : kRunRoots) EXPECT_TRUE(ValueExists(root, kRunKey, kMonitor)) << root;
  EXPECT_EQ(WaitForExit(tray, 1000), kStillRunning);
}

TEST_F(UninstallE2E, QuotedVendorOfTwoWords) {
  Install();
  Put(HKEY_CURRENT_USER, std::string(kNeighbourVendorKey) + "\\Velmora\\Settings", "A", "1");
  Watched w = RunUninstaller("\"Velmora Tools\" Velmora N N N");
  EXPECT_EQ(w.exitCode, 0u);
  EXPECT_EQ(w.windows, Lines());
  EXPECT_EQ(Tree(kNeighbourVendorKey), Lines({":Keep"}));
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kProductKey));
}

TEST_F(UninstallE2E, InvalidArgumentsChangeNothing) {
  const std::string lines[] = {
      "Velmora Velmora N Y y",
      "Velmora Velmora n Y Y",
      "Velmora Velmora N 1 Y",
      "Velmora Velmora N Y",
      "\"\" Velmora N Y Y",
      std::string(260, 'V') + " Velmora Y Y Y",
      "\\ Velmora Y Y Y",
  };
  Install();
  Program tray = StartMonitor("Velmora.exe");
  const Lines vendor = Tree(kVendorKey);
  ASSERT_EQ(vendor.size(), 16u);
  for (size_t i = 0; i < sizeof lines / sizeof lines[0]; ++i) {
    Watched w = RunUninstaller(lines[i]);
    EXPECT_EQ(w.exitCode, 0u) << "case " << i;
    EXPECT_EQ(w.windows, Lines()) << "case " << i;
    EXPECT_EQ(Tree(kVendorKey), vendor) << "case " << i;
    for (HKEY root : kRunRoots) EXPECT_TRUE(ValueExists(root, kRunKey, kMonitor)) << "case " << i;
    EXPECT_EQ(WaitForExit(tray, 0), kStillRunning) << "case " << i;
  }
  EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Microsoft"));
}

TEST_F(UninstallE2E, MissingProductKeyIsNoFailure) {
  for (HKEY root : kRunRoots) Put(root, kRunKey, kMonitor, "x");
  Watched w = RunUninstaller("Velmora Velmora N Y Y");
  EXPECT_EQ(w.exitCode, 0u);
  EXPECT_EQ(w.windows, Lines()) << "a box for a key that was never there";
  for (HKEY root : kRunRoots) EXPECT_FALSE(ValueExists(root, kRunKey, kMonitor)) << root;
}

// A subkey this user may only read, holding a child, cannot be emptied nor
// deleted: it stays, everything around it goes, the warning names the
// product key, and only after it the Run values and monitors go.
TEST_F(UninstallE2E, KeyThatCannotBeRemovedShowsTheWarning) {
  Install();
  Put(HKEY_CURRENT_USER, std::string(kLockedKey) + "\\Child", "c", "1");
  SetAccess(HKEY_CURRENT_USER, kLockedKey, KEY_READ | WRITE_DAC);
  HKEY probe;
  ASSERT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kLockedKey, 0, KEY_ALL_ACCESS, &probe), ERROR_SUCCESS)
      << "the platform does not keep the key's access list";
  Program tray = StartMonitor("Velmora.exe");

  bool runValuesWhileShown = false, monitorWhileShown = false;
  Watched w = RunUninstaller("Velmora Velmora N Y Y", [&] {
    runValuesWhileShown = ValueExists(HKEY_LOCAL_MACHINE, kRunKey, kMonitor) &&
                          ValueExists(HKEY_CURRENT_USER, kRunKey, kMonitor);
    monitorWhileShown = WaitForExit(tray, 0) == kStillRunning;
  });
  EXPECT_EQ(w.exitCode, 0u);
  EXPECT_EQ(w.boxes, Lines({kWarning}));
  EXPECT_EQ(w.windows, Lines({std::string(kBoxClass) + "|" + kBoxCaption}));
  EXPECT_TRUE(runValuesWhileShown);
  EXPECT_TRUE(monitorWhileShown);
  EXPECT_EQ(Tree(kProductKey), Lines({"Locked", "Locked\\Child", "Locked\\Child:c"}));
  EXPECT_EQ(Tree(kVendorKey), Lines({":VendorValue", "Other", "Other:Keep", "Velmora",
                                     "Velmora\\Locked", "Velmora\\Locked\\Child",
                                     "Velmora\\Locked\\Child:c"}));
  for (HKEY root : kRunRoots) EXPECT_FALSE(ValueExists(root, kRunKey, kMonitor)) << root;
  EXPECT_EQ(WaitForExit(tray), 0u);
}

// Names that the ANSI code page cannot hold come back from the A calls
// with a '?' and are then not found by that name: they are passed over
// instead of being asked for again and again.
TEST_F(UninstallE2E, NamesTheCodePageCannotHoldArePassedOver) {
  const wchar_t ghost[] = L"Ghost\x4E2D";
  const wchar_t value[] = L"Value\x4E2D";
  char narrow[32];
  BOOL lost = FALSE;
  WideCharToMultiByte(CP_ACP, 0, ghost, -1, narrow, sizeof narrow, nullptr, &lost);
  ASSERT_TRUE(lost) << "the ANSI code page " << GetACP() << " holds the name";
  Install();
  HKEY product, sub;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, kProductKey, 0, KEY_ALL_ACCESS, &product),
            ERROR_SUCCESS);
  ASSERT_EQ(RegCreateKeyExW(product, ghost, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(sub);
  RegSetValueExW(product, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(L"1"), 4);
  RegCloseKey(product);

  Watched w = RunUninstaller("Velmora Velmora N Y N");
  EXPECT_EQ(w.exitCode, 0u) << "still running: asking for the same entry forever?";
  EXPECT_EQ(w.boxes, Lines({kWarning}));
  EXPECT_EQ(Tree(kProductKey), Lines({":" + Narrow(value), Narrow(ghost)}));
  for (HKEY root : kRunRoots) EXPECT_FALSE(ValueExists(root, kRunKey, kMonitor)) << root;
}

// Windows of this test's own that count the close requests they receive.
struct Counted {
  int requests = 0;
  bool closeOnRequest = false;
};

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Counted* c = reinterpret_cast<Counted*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_CLOSE && c != nullptr) {
    ++c->requests;
    if (c->closeOnRequest) DestroyWindow(window);
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND CountingWindow(const char* windowClass, const char* title, Counted* counted) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = windowClass;
  RegisterClassA(&wc);
  HWND window = CreateWindowExA(0, windowClass, title, WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                wc.hInstance, nullptr);
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(counted));
  return window;
}

TEST_F(UninstallE2E, AtMostTenCloseRequestsInAll) {
  struct Case {
    bool classWindowCloses;
    int classRequests, titleRequests;
  } cases[] = {{false, 10, 0}, {true, 1, 9}};
  for (size_t i = 0; i < sizeof cases / sizeof cases[0]; ++i) {
    Counted byClass, byTitle;
    byClass.closeOnRequest = cases[i].classWindowCloses;
    HWND a = CountingWindow(kMonitor, "not the title", &byClass);
    HWND b = CountingWindow("VelmoraE2ETitleOnly", kMonitor, &byTitle);
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    // No product key at all: nothing to remove, no box, straight to the windows.
    Watched w = RunUninstaller("Nobody Velmora N N Y");
    EXPECT_EQ(w.exitCode, 0u) << "case " << i;
    EXPECT_EQ(w.windows, Lines()) << "case " << i;
    EXPECT_EQ(byClass.requests, cases[i].classRequests) << "case " << i;
    EXPECT_EQ(byTitle.requests, cases[i].titleRequests) << "case " << i;
    if (IsWindow(a)) DestroyWindow(a);
    DestroyWindow(b);
    Pump();
  }
}

}  // namespace
