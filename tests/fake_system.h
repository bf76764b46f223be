// The registry and the top-level windows without a system. Keys are named by
// their path ("HKLM\" before a path below the machine's root) and listed in
// order, values keep their type and bytes. A key refuses what the rights it
// was opened with do not allow, and keys and values can be made to refuse
// what the platform refuses; open handles are counted so that leaks show.
#ifndef VELMORA_TESTS_FAKE_SYSTEM_H
#define VELMORA_TESTS_FAKE_SYSTEM_H

#include <stdio.h>
#include <string.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "checks.h"
#include "registry.h"
#include "window_closer.h"

typedef std::vector<std::string> Lines;

typedef std::pair<uint32_t, std::vector<unsigned char>> FakeValue;  // type and bytes

struct FakeKey {
  std::map<std::string, FakeValue> values;
  bool unopenable = false;  // neither opened nor created
  bool locked = false;      // neither deleted nor written
  bool unreadable = false;  // its name is too long to be listed
  bool ghost = false;       // listed, but not found by the name listed
};

class FakeRegistry : public Registry {
 public:
  std::map<std::string, FakeKey> keys;
  std::set<std::string> lockedValues;  // "path:name" of values that are not deleted
  Lines mine, *log = &mine;  // reads, writes and deletions

  FakeRegistry() { Make("Software"); }
  FakeKey& Make(const std::string& path) {
    size_t cut = path.rfind('\\');
    if (cut != std::string::npos && path.compare(0, cut, "HKLM") != 0) Make(path.substr(0, cut));
    return keys[path];
  }
  void Put(const std::string& path, const std::string& name, uint32_t type, const std::vector<unsigned char>& data) {
    Make(path).values[name] = FakeValue(type, data);
  }
  void PutText(const std::string& path, const std::string& name, const std::string& text) {
    Put(path, name, kTextValue, std::vector<unsigned char>(text.c_str(), text.c_str() + text.size() + 1));
  }
  // "name=text" for a text with its one NUL at the end, "name=#n" for a
  // 4-byte number, "name=?bytes" for anything else; "" when missing.
  std::string Show(const std::string& path, const std::string& name) {
    FakeKey* k = Find(path);
    if (k == nullptr || !k->values.count(name)) return "";
    uint32_t type = k->values[name].first;
    std::string b(k->values[name].second.begin(), k->values[name].second.end());
    uint32_t n = 0;
    memcpy(&n, b.data(), b.size() == 4 ? 4 : 0);
    if (type == kNumberValue && b.size() == 4) return name + "=#" + std::to_string(n);
    bool text = type == kTextValue && b.find('\0') == b.size() - 1;
    return name + "=" + (text ? b.substr(0, b.size() - 1) : "?" + b);
  }
  // Every key and "key:value" below the user's root, in order.
  Lines Dump() const {
    Lines out;
    for (const auto& k : keys) {
      if (k.first.compare(0, 5, "HKLM\\") == 0) continue;
      out.push_back(k.first);
      for (const auto& v : k.second.values) out.push_back(k.first + ":" + v.first);
    }
    return out;
  }
  size_t OpenHandles() const { return handles_.size(); }

  RegResult OpenKey(RegistryKey parent, const char* name, uint32_t access, RegistryKey* key) override {
    FakeKey* k = Find(Join(parent, name));
    if (k != nullptr && k->unopenable) return kRegFailed;
    return k == nullptr || k->ghost ? kRegNotFound : Hand(Join(parent, name), access, key);
  }
  RegResult CreateKey(RegistryKey parent, const char* name, uint32_t access, RegistryKey* key) override {
    if (Find(Join(parent, name)) == nullptr && !May(parent, kCreateSubKey)) return kRegFailed;
    if (Find(Join(parent, name)) == nullptr) Make(Join(parent, name));
    return OpenKey(parent, name, access, key);
  }
  RegResult ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) override {
    FakeKey& k = Open(key, "read ", name);
    if (!May(key, kQueryValue)) return kRegFailed;
    auto v = k.values.find(name);
    if (v == k.values.end()) return kRegNotFound;
    uint32_t room = *size;
    *type = v->second.first;
    *size = static_cast<uint32_t>(v->second.second.size());
    if (*size > room) memset(data, 0x5A, room);  // the room is left undefined
    else if (*size > 0) memcpy(data, v->second.second.data(), *size);
    return *size > room ? kRegTooLong : kRegDone;
  }
  RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) override {
    FakeKey& k = Open(key, "write ", name);
    if (k.locked || !May(key, kSetValue)) return kRegFailed;
    const unsigned char* b = static_cast<const unsigned char*>(data);
    Put(handles_.at(key), name, type, std::vector<unsigned char>(b, b + size));
    return kRegDone;
  }
  RegResult DeleteValue(RegistryKey key, const char* name) override {
    FakeKey& k = Open(key, "delete ", name);
    if (k.locked || lockedValues.count(handles_.at(key) + ":" + name) || !May(key, kSetValue)) return kRegFailed;
    return k.values.erase(name) ? kRegDone : kRegNotFound;
  }
  RegResult DeleteKey(RegistryKey parent, const char* name) override {
    std::string path = Join(parent, name);
    log->push_back("delete " + path);
    FakeKey* k = Find(path);
    if (k == nullptr || k->ghost) return kRegNotFound;
    if (k->locked || !Children(path).empty()) return kRegFailed;
    keys.erase(path);
    return kRegDone;
  }
  RegResult SubkeyAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override {
    Lines below = Children(handles_.at(key));
    if (!May(key, kEnumerateSubKeys)) return kRegFailed;
    if (index >= below.size()) return kRegNotFound;
    const std::string& p = below[index];
    return Give(keys.at(p).unreadable ? std::string(room, 'n') : p.substr(p.rfind('\\') + 1), name, room);
  }
  RegResult ValueAt(RegistryKey key, uint32_t index, char* name, uint32_t room) override {
    const auto& values = keys.at(handles_.at(key)).values;
    if (!May(key, kQueryValue)) return kRegFailed;
    if (index >= values.size()) return kRegNotFound;
    return Give(std::next(values.begin(), index)->first, name, room);
  }
  void CloseKey(RegistryKey key) override {
    if (handles_.erase(key) == 0) log->push_back("close of a key not open");
  }

 private:
  // The platform's rights for each request; the roots allow everything.
  enum : uint32_t { kQueryValue = 1, kSetValue = 2, kCreateSubKey = 4, kEnumerateSubKeys = 8 };
  bool May(RegistryKey key, uint32_t right) const {
    return key == kCurrentUser || key == kLocalMachine || (rights_.at(key) & right) != 0;
  }
  FakeKey* Find(const std::string& path) {
    auto it = keys.find(path);
    return it == keys.end() ? nullptr : &it->second;
  }
  // A key not open (or never opened) throws: a use after a failed open shows.
  FakeKey& Open(RegistryKey key, const char* verb, const char* name) {
    log->push_back(verb + handles_.at(key) + ":" + name);
    return keys.at(handles_.at(key));
  }
  std::string Join(RegistryKey parent, const char* name) const {
    if (parent == kCurrentUser) return name;
    return (parent == kLocalMachine ? std::string("HKLM") : handles_.at(parent)) + "\\" + name;
  }
  Lines Children(const std::string& path) const {
    Lines out;
    for (const auto& k : keys) {
      bool below = k.first.size() > path.size() && k.first[path.size()] == '\\' && !k.first.compare(0, path.size(), path);
      if (below && k.first.find('\\', path.size() + 1) == std::string::npos) out.push_back(k.first);
    }
    return out;
  }
  RegResult Hand(const std::string& path, uint32_t access, RegistryKey* key) {
    rights_[*key = next_++] = access;
    handles_[*key] = keys.find(path)->first;
    return kRegDone;
  }
  static RegResult Give(const std::string& n, char* name, uint32_t room) {
    if (n.size() >= room) return kRegTooLong;
    memcpy(name, n.c_str(), n.size() + 1);
    return kRegDone;
  }
  std::map<RegistryKey, std::string> handles_;
  std::map<RegistryKey, uint32_t> rights_;
  RegistryKey next_ = 0x1000;
};

// Top-level windows that go after so many close requests (0: never).
class FakeWindows : public WindowCloser {
 public:
  struct Window {
    std::string cls, title;
    int closesAfter, requests;
  };
  std::vector<Window> windows;
  Lines mine, *log = &mine;  // "close N" (1-based) and "pause MS"

  WindowRef FindTopWindow(WindowLookup by, const char* name, WindowRef after) override {
    for (size_t i = after; i < windows.size(); ++i) {
      const Window& w = windows[i];
      if ((w.closesAfter == 0 || w.requests < w.closesAfter) && (by == kByClass ? w.cls : w.title) == name) return i + 1;
    }
    return 0;
  }
  void ClassName(WindowRef w, char* out, size_t room) override { snprintf(out, room, "%s", windows.at(w - 1).cls.c_str()); }
  void RequestClose(WindowRef w) override {
    ++windows.at(w - 1).requests;
    log->push_back("close " + std::to_string(w));
  }
  void Pause(uint32_t ms) override { log->push_back("pause " + std::to_string(ms)); }
};

#endif
