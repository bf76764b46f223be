// An in-memory registry for the settings store's tests, its keys named by
// their path below the current user's root ("HKLM\" before a path below
// the machine's): keys created on open, typed and sized values, names
// compared without regard to case (as the platform does), keys that can be
// made to refuse opening or writing, and a log of every call in order.
#ifndef VELMORA_TESTS_FAKE_REGISTRY_H
#define VELMORA_TESTS_FAKE_REGISTRY_H

#include <stdint.h>
#include <string.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "registry.h"

const unsigned char kRegistryPoison = 0x5A;

class FakeRegistry : public Registry {
 public:
  struct Value {
    uint32_t type;
    std::vector<unsigned char> data;
  };
  struct Key {
    std::string path;  // as first created, below the root
    std::map<std::string, std::pair<std::string, Value>> values;  // lower-case name -> (name, value)
  };

  std::vector<std::string> log;
  std::set<std::string> refuse;        // lower-case paths that cannot be opened or created
  std::set<std::string> refuseWrites;  // lower-case paths whose values cannot be written

  FakeRegistry() { Make("Software"); }

  // ---- Test set-up and inspection ----
  Key& Make(const std::string& path) {
    std::string k = Lower(path);
    auto it = keys_.find(k);
    if (it == keys_.end()) it = keys_.emplace(k, Key{path, {}}).first;
    return it->second;
  }
  bool Exists(const std::string& path) const { return keys_.count(Lower(path)) != 0; }
  void Put(const std::string& path, const std::string& name, uint32_t type, const std::vector<unsigned char>& data) {
    Make(path).values[Lower(name)] = {name, Value{type, data}};
  }
  void PutText(const std::string& path, const std::string& name, const std::string& text) {
    std::vector<unsigned char> data(text.begin(), text.end());
    data.push_back(0);
    Put(path, name, kTextValue, data);
  }
  void PutNumber(const std::string& path, const std::string& name, uint32_t v) {
    Put(path, name, kNumberValue,
        {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8), static_cast<unsigned char>(v >> 16),
         static_cast<unsigned char>(v >> 24)});
  }
  // The values of a key in name order: "Name=type:bytes" with bytes in hex.
  std::vector<std::string> Dump(const std::string& path) const {
    std::vector<std::string> out;
    auto it = keys_.find(Lower(path));
    if (it == keys_.end()) return out;
    for (const auto& v : it->second.values) {
      std::string line = v.second.first + "=" + std::to_string(v.second.second.type) + ":";
      for (unsigned char b : v.second.second.data) {
        static const char hex[] = "0123456789abcdef";
        line += hex[b >> 4];
        line += hex[b & 15];
      }
      out.push_back(line);
    }
    return out;
  }
  std::vector<std::string> KeyPaths() const {
    std::vector<std::string> out;
    for (const auto& k : keys_) out.push_back(k.second.path);
    return out;
  }
  size_t OpenHandles() const { return handles_.size(); }
  std::vector<std::string> LogOf(const std::string& verb) const {
    std::vector<std::string> out;
    for (const auto& entry : log) {
      if (entry.compare(0, verb.size() + 1, verb + " ") == 0) out.push_back(entry.substr(verb.size() + 1));
    }
    return out;
  }

  // ---- The interface ----
  RegResult OpenKey(RegistryKey parent, const char* name, uint32_t, RegistryKey* key) override {
    std::string path = Join(parent, name);
    log.push_back("open " + path);
    if (refuse.count(Lower(path))) return kRegFailed;
    if (!Exists(path)) return kRegNotFound;
    *key = Hand(path);
    return kRegDone;
  }
  RegResult CreateKey(RegistryKey parent, const char* name, uint32_t, RegistryKey* key) override {
    std::string path = Join(parent, name);
    log.push_back("create " + path);
    if (refuse.count(Lower(path))) return kRegFailed;
    *key = Hand(Make(path).path);
    return kRegDone;
  }
  RegResult ReadValue(RegistryKey key, const char* name, uint32_t* type, void* data, uint32_t* size) override {
    const std::string& path = PathOf(key);
    log.push_back("read " + path + ":" + name);
    auto& values = Make(path).values;
    auto it = values.find(Lower(name));
    if (it == values.end()) return kRegNotFound;
    const Value& v = it->second.second;
    uint32_t room = *size;
    *type = v.type;
    *size = static_cast<uint32_t>(v.data.size());
    if (v.data.size() > room) {
      memset(data, kRegistryPoison, room);  // the platform leaves the room undefined
      return kRegTooLong;
    }
    if (!v.data.empty()) memcpy(data, v.data.data(), v.data.size());
    return kRegDone;
  }
  RegResult WriteValue(RegistryKey key, const char* name, uint32_t type, const void* data, uint32_t size) override {
    const std::string& path = PathOf(key);
    log.push_back("write " + path + ":" + name);
    if (refuseWrites.count(Lower(path))) return kRegFailed;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    Put(path, name, type, std::vector<unsigned char>(bytes, bytes + size));
    return kRegDone;
  }
  RegResult DeleteValue(RegistryKey key, const char* name) override {
    const std::string& path = PathOf(key);
    log.push_back("delete value " + path + ":" + name);
    return Make(path).values.erase(Lower(name)) != 0 ? kRegDone : kRegNotFound;
  }
  RegResult DeleteKey(RegistryKey parent, const char* name) override {
    std::string path = Join(parent, name);
    log.push_back("delete " + path);
    std::string k = Lower(path);
    if (!keys_.count(k)) return kRegNotFound;
    for (const auto& other : keys_) {
      if (other.first.size() > k.size() && other.first.compare(0, k.size() + 1, k + "\\") == 0) return kRegFailed;
    }
    keys_.erase(k);
    return kRegDone;
  }
  // The store never lists a key.
  RegResult SubkeyAt(RegistryKey, uint32_t, char*, uint32_t) override { return kRegFailed; }
  RegResult ValueAt(RegistryKey, uint32_t, char*, uint32_t) override { return kRegFailed; }
  void CloseKey(RegistryKey key) override {
    log.push_back("close " + PathOf(key));
    handles_.erase(key);
  }

 private:
  static std::string Lower(std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  }
  std::string Join(RegistryKey parent, const char* name) const {
    if (parent == kCurrentUser) return name;
    if (parent == kLocalMachine) return std::string("HKLM\\") + name;
    return PathOf(parent) + "\\" + name;
  }
  const std::string& PathOf(RegistryKey key) const {
    static const std::string none = "<not open>";
    auto it = handles_.find(key);
    return it == handles_.end() ? none : it->second;
  }
  RegistryKey Hand(const std::string& path) {
    RegistryKey h = next_++;
    handles_[h] = path;
    return h;
  }

  std::map<std::string, Key> keys_;
  std::map<RegistryKey, std::string> handles_;
  RegistryKey next_ = 1;
};

#endif
