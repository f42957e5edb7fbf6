// The real registry with some keys of HKEY_CURRENT_USER moved to keys of the test's own (the Run key, the shell
// folders), and writes that can be made to fail as without registry rights.
#pragma once
#include <map>
#include <string>

#include "platform/registry.h"
#include "platform/text.h"

namespace tidemark::test {

class RedirectedRegistry : public platform::Registry {
  using Root = platform::RegistryRoot;
  using Value = platform::RegistryValue;
  using Names = std::vector<std::string>;

 public:
  // Every access to key (below HKEY_CURRENT_USER) or a sub-key of it goes to replacement, the longest key that fits
  // first.
  void Redirect(const std::string& key, const std::string& replacement) { moved_[LowerCase(key)] = replacement; }
  // Writes and deletions fail with this error code (0: they work).
  uint32_t failWrites = 0;

  bool KeyExists(Root root, const std::string& key) override { return real_.KeyExists(root, Key(root, key)); }
  std::optional<Value> ReadValue(Root root, const std::string& key, const std::string& name) override {
    return real_.ReadValue(root, Key(root, key), name);
  }
  bool WriteValue(Root root, const std::string& key, const std::string& name, const Value& value) override {
    return !failWrites && real_.WriteValue(root, Key(root, key), name, value);
  }
  bool DeleteValue(Root root, const std::string& key, const std::string& name) override {
    return !failWrites && real_.DeleteValue(root, Key(root, key), name);
  }
  bool DeleteKey(Root root, const std::string& key) override {
    return !failWrites && real_.DeleteKey(root, Key(root, key));
  }
  Names SubKeys(Root root, const std::string& key) override { return real_.SubKeys(root, Key(root, key)); }
  Names ValueNames(Root root, const std::string& key) override { return real_.ValueNames(root, Key(root, key)); }
  uint32_t LastError() const override { return failWrites ? failWrites : real_.LastError(); }

 private:
  std::string Key(Root root, const std::string& key) const {
    std::string lower = LowerCase(key), moved;
    for (const auto& [from, to] : moved_)
      if (root == Root::CurrentUser && from.size() >= moved.size() && (lower == from || StartsWith(lower, from + "\\")))
        moved = from;
    return moved.empty() ? key : moved_.at(moved) + key.substr(moved.size());
  }

  platform::Registry& real_ = platform::RealRegistry();
  std::map<std::string, std::string> moved_;
};

}  // namespace tidemark::test
