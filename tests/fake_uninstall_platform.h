// An in-memory registry and window list for the uninstaller's tests. The
// registry behaves as the real one does where the uninstaller depends on
// it: names compare without case and are listed in order, a key with
// subkeys cannot be deleted but its values go with it, empty names in a
// path are passed over, and entries can be made to stay. Every call is
// logged in order; a run that asks for too many entries is cut off and
// flagged instead of hanging the test.
#ifndef VELMORA_TESTS_FAKE_UNINSTALL_PLATFORM_H
#define VELMORA_TESTS_FAKE_UNINSTALL_PLATFORM_H

#include <string.h>
#include <strings.h>

#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "uninstall.h"

struct NoCase {
  bool operator()(const std::string& a, const std::string& b) const {
    return strcasecmp(a.c_str(), b.c_str()) < 0;
  }
};

struct FakeKey {
  std::map<std::string, FakeKey, NoCase> subkeys;
  std::map<std::string, std::string, NoCase> values;
  bool locked = false;      // DeleteKey refuses it
  bool unopenable = false;  // OpenKey refuses it (access denied)
  bool unreadable = false;  // listed as too long for any room (a long class name)
  bool ghost = false;       // listed, but not found by its name
};

inline const char* RootName(RegistryKey root) { return root == kCurrentUser ? "HKCU" : "HKLM"; }

class FakeUninstallPlatform : public Registry, public WindowCloser, public WarningBox {
 public:
  static const int kCallBudget = 100000;

  FakeKey currentUser, localMachine;
  std::vector<std::string> log;      // every call that changes or shows something, in order
  std::vector<std::string> boxes;    // text + "|" + caption of every box
  std::vector<uint32_t> enumRooms;   // room of every SubkeyAt / ValueAt request
  std::vector<uint32_t> openAccess;  // access of every OpenKey, in order
  bool runaway = false;              // the call budget ran out

  struct Window {
    std::string windowClass, title;
    int closesAfter;  // requests until it is gone; 0: never
    int requests = 0;
    bool alive = true;
  };
  std::vector<Window> windows;  // in Z order
  int finds = 0;

  // Creates the key (and every key above it) and returns it.
  FakeKey& Key(RegistryKey root, const std::string& path) {
    FakeKey* k = &Root(root);
    for (const std::string& name : Split(path)) k = &k->subkeys[name];
    return *k;
  }
  const FakeKey* Find(RegistryKey root, const std::string& path) const {
    const FakeKey* k = root == kCurrentUser ? &currentUser : &localMachine;
    for (const std::string& name : Split(path)) {
      auto it = k->subkeys.find(name);
      if (it == k->subkeys.end()) return nullptr;
      k = &it->second;
    }
    return k;
  }
  // Every key and value below root, one a line: "A\B" and "A\B:value".
  std::vector<std::string> Dump(RegistryKey root) const {
    std::vector<std::string> out;
    DumpKey(root == kCurrentUser ? currentUser : localMachine, "", &out);
    return out;
  }
  size_t OpenHandles() const { return handles.size(); }

  RegResult OpenKey(RegistryKey parent, const char* subkey, uint32_t access, RegistryKey* key) override {
    openAccess.push_back(access);
    Path path;
    if (!Spend() || !Resolve(parent, &path)) return kRegFailed;
    for (const std::string& name : Split(subkey)) path.names.push_back(name);
    FakeKey* k = At(path);
    log.push_back("open " + Text(path));
    if (k == nullptr || k->ghost) return kRegNotFound;
    if (k->unopenable) return kRegFailed;
    nextHandle += 4;
    handles[nextHandle] = path;
    *key = nextHandle;
    return kRegDone;
  }
  // The uninstaller never creates a key, reads or writes a value.
  RegResult CreateKey(RegistryKey, const char*, uint32_t, RegistryKey*) override { return kRegFailed; }
  RegResult ReadValue(RegistryKey, const char*, uint32_t*, void*, uint32_t*) override { return kRegFailed; }
  RegResult WriteValue(RegistryKey, const char*, uint32_t, const void*, uint32_t) override { return kRegFailed; }
  RegResult SubkeyAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override {
    enumRooms.push_back(room);
    FakeKey* k = Open(key);
    if (!Spend() || k == nullptr) return kRegFailed;
    if (index >= k->subkeys.size()) return kRegNotFound;
    auto it = k->subkeys.begin();
    std::advance(it, index);
    if (it->second.unreadable) return kRegTooLong;
    return Give(it->first, name, room);
  }
  RegResult ValueAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override {
    enumRooms.push_back(room);
    FakeKey* k = Open(key);
    if (!Spend() || k == nullptr) return kRegFailed;
    if (index >= k->values.size()) return kRegNotFound;
    auto it = k->values.begin();
    std::advance(it, index);
    return Give(it->first, name, room);
  }
  RegResult DeleteValue(RegistryKey key, const char* name) override {
    FakeKey* k = Open(key);
    if (!Spend() || k == nullptr) return kRegFailed;
    std::string id = Text(handles[key]) + ":" + name;
    log.push_back("delete value " + id);
    auto it = k->values.find(name);
    if (it == k->values.end() || ghostValues.count(id) != 0) return kRegNotFound;
    if (lockedValues.count(id) != 0) return kRegFailed;
    k->values.erase(it);
    return kRegDone;
  }
  RegResult DeleteKey(RegistryKey parent, const char* subkey) override {
    Path path;
    if (!Spend() || !Resolve(parent, &path)) return kRegFailed;
    for (const std::string& name : Split(subkey)) path.names.push_back(name);
    log.push_back("delete key " + Text(path));
    if (path.names.empty()) return kRegFailed;
    Path above = path;
    above.names.pop_back();
    FakeKey* owner = At(above);
    FakeKey* k = At(path);
    if (owner == nullptr || k == nullptr || k->ghost) return kRegNotFound;
    if (k->locked || !k->subkeys.empty()) return kRegFailed;
    owner->subkeys.erase(path.names.back());
    return kRegDone;
  }
  void CloseKey(RegistryKey key) override {
    if (handles.erase(key) == 0) log.push_back("close unknown key");
  }

  WindowRef FindTopWindow(WindowLookup by, const char* name) override {
    return FindWindow([&](const Window& w) { return (by == kByClass ? w.windowClass : w.title) == name; });
  }
  void RequestClose(WindowRef ref) override {
    log.push_back("close window " + std::to_string(ref));
    if (ref == 0 || ref > windows.size() || !windows[ref - 1].alive) return;
    Window& w = windows[ref - 1];
    ++w.requests;
    if (w.closesAfter > 0 && w.requests >= w.closesAfter) w.alive = false;
  }
  void Pause(uint32_t milliseconds) override {
    log.push_back("pause " + std::to_string(milliseconds));
  }
  void ShowMessage(const char* text, const char* caption) override {
    log.push_back("box");
    boxes.push_back(std::string(text) + "|" + caption);
  }

  // Values, as "HKCU\path:name", that DeleteValue refuses, or does not
  // find although they are listed.
  std::set<std::string> lockedValues, ghostValues;

 private:
  struct Path {
    RegistryKey root;
    std::vector<std::string> names;
  };
  std::map<RegistryKey, Path> handles;
  RegistryKey nextHandle = 0x1000;
  int calls = 0;

  static std::vector<std::string> Split(const std::string& path) {
    std::vector<std::string> names;
    std::string name;
    for (char c : path + "\\") {
      if (c != '\\') {
        name += c;
      } else if (!name.empty()) {
        names.push_back(name);
        name.clear();
      }
    }
    return names;
  }
  static std::string Text(const Path& p) {
    std::string s = RootName(p.root);
    for (const std::string& n : p.names) s += "\\" + n;
    return s;
  }
  FakeKey& Root(RegistryKey root) { return root == kCurrentUser ? currentUser : localMachine; }
  bool Spend() {
    if (++calls <= kCallBudget) return true;
    runaway = true;
    return false;
  }
  bool Resolve(RegistryKey key, Path* path) {
    if (key == kCurrentUser || key == kLocalMachine) {
      *path = Path{key, {}};
      return true;
    }
    auto it = handles.find(key);
    if (it == handles.end()) return false;
    *path = it->second;
    return true;
  }
  FakeKey* At(const Path& path) {
    FakeKey* k = &Root(path.root);
    for (const std::string& name : path.names) {
      auto it = k->subkeys.find(name);
      if (it == k->subkeys.end()) return nullptr;
      k = &it->second;
    }
    return k;
  }
  FakeKey* Open(RegistryKey key) {
    auto it = handles.find(key);
    return it == handles.end() ? nullptr : At(it->second);
  }
  static RegResult Give(const std::string& found, char* name, uint32_t room) {
    if (found.size() >= room) return kRegTooLong;
    memcpy(name, found.c_str(), found.size() + 1);
    return kRegDone;
  }
  template <typename Match>
  WindowRef FindWindow(Match match) {
    ++finds;
    for (size_t i = 0; i < windows.size(); ++i) {
      if (windows[i].alive && match(windows[i])) return i + 1;
    }
    return 0;
  }
  static void DumpKey(const FakeKey& k, const std::string& path, std::vector<std::string>* out) {
    for (const auto& v : k.values) out->push_back(path + ":" + v.first);
    for (const auto& s : k.subkeys) {
      std::string below = path.empty() ? s.first : path + "\\" + s.first;
      out->push_back(below);
      DumpKey(s.second, below, out);
    }
  }
};

#endif
