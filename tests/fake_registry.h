// An in-memory registry below the current user's root for the settings
// store's tests: keys created on open, typed and sized values, names
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

#include "settings_store.h"

const unsigned char kRegistryPoison = 0x5A;

class FakeRegistry : public SettingsRegistry {
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
  bool OpenKey(RegistryKey parent, const char* name, RegistryKey* key) override {
    std::string path = Join(parent, name);
    log.push_back("open " + path);
    if (refuse.count(Lower(path)) || !Exists(path)) return false;
    *key = Hand(path);
    return true;
  }
  bool CreateKey(RegistryKey parent, const char* name, RegistryKey* key) override {
    std::string path = Join(parent, name);
    log.push_back("create " + path);
    if (refuse.count(Lower(path))) return false;
    Make(path);
    *key = Hand(Make(path).path);
    return true;
  }
  ReadResult ReadValue(RegistryKey key, const char* name, uint32_t* type, unsigned char* data, uint32_t room,
                       uint32_t* size) override {
    const std::string& path = PathOf(key);
    log.push_back("read " + path + ":" + name);
    auto& values = Make(path).values;
    auto it = values.find(Lower(name));
    if (it == values.end()) return kValueMissing;
    const Value& v = it->second.second;
    *type = v.type;
    *size = static_cast<uint32_t>(v.data.size());
    if (v.data.size() > room) {
      memset(data, kRegistryPoison, room);  // the platform leaves the room undefined
      return kValueTooLong;
    }
    if (!v.data.empty()) memcpy(data, v.data.data(), v.data.size());
    return kValueRead;
  }
  bool WriteValue(RegistryKey key, const char* name, uint32_t type, const unsigned char* data,
                  uint32_t size) override {
    const std::string& path = PathOf(key);
    log.push_back("write " + path + ":" + name);
    if (refuseWrites.count(Lower(path))) return false;
    Put(path, name, type, std::vector<unsigned char>(data, data + size));
    return true;
  }
  bool DeleteKey(const char* path) override {
    log.push_back(std::string("delete ") + path);
    std::string k = Lower(path);
    if (!keys_.count(k)) return false;
    for (const auto& other : keys_) {
      if (other.first.size() > k.size() && other.first.compare(0, k.size() + 1, k + "\\") == 0) return false;
    }
    keys_.erase(k);
    return true;
  }
  void CloseKey(RegistryKey key) override {
    log.push_back("close " + PathOf(key));
    handles_.erase(reinterpret_cast<uintptr_t>(key));
  }

 private:
  static std::string Lower(std::string s) {
    for (char& c : s) {
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return s;
  }
  std::string Join(RegistryKey parent, const char* name) const {
    if (parent == kCurrentUserRoot) return name;
    return PathOf(parent) + "\\" + name;
  }
  const std::string& PathOf(RegistryKey key) const {
    static const std::string none = "<not open>";
    auto it = handles_.find(reinterpret_cast<uintptr_t>(key));
    return it == handles_.end() ? none : it->second;
  }
  RegistryKey Hand(const std::string& path) {
    uintptr_t h = next_++;
    handles_[h] = path;
    return reinterpret_cast<RegistryKey>(h);
  }

  std::map<std::string, Key> keys_;
  std::map<uintptr_t, std::string> handles_;
  uintptr_t next_ = 1;
};

#endif
