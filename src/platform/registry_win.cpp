#include <windows.h>

#include "platform/registry.h"

namespace tidemark::platform {
namespace {

HKEY RootKey(RegistryRoot root) {
  switch (root) {
    case RegistryRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
    case RegistryRoot::CurrentUser: return HKEY_CURRENT_USER;
    case RegistryRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case RegistryRoot::Users: return HKEY_USERS;
    case RegistryRoot::CurrentConfig: return HKEY_CURRENT_CONFIG;
  }
  return HKEY_CURRENT_USER;
}

// Closes the key it holds when it goes out of scope.
class OpenKey {
 public:
  OpenKey(RegistryRoot root, const std::string& path, REGSAM access, bool create, LONG& status) {
    status = create ? RegCreateKeyExA(RootKey(root), path.c_str(), 0, nullptr, 0, access, nullptr, &key_, nullptr)
                    : RegOpenKeyExA(RootKey(root), path.c_str(), 0, access, &key_);
    if (status != ERROR_SUCCESS) key_ = nullptr;
  }
  ~OpenKey() {
    if (key_) RegCloseKey(key_);
  }
  OpenKey(const OpenKey&) = delete;
  OpenKey& operator=(const OpenKey&) = delete;
  HKEY get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

class Win32Registry : public Registry {
 public:
  bool KeyExists(RegistryRoot root, const std::string& key) override {
    LONG status;
    OpenKey open(root, key, KEY_READ, false, status);
    return Check(status);
  }

  std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    LONG status;
    OpenKey open(root, key, KEY_QUERY_VALUE, false, status);
    if (!Check(status)) return std::nullopt;
    DWORD type = 0, size = 0;
    if (!Check(RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, nullptr, &size))) return std::nullopt;
    std::string data(size, '\0');
    if (!Check(RegQueryValueExA(open.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)))
      return std::nullopt;
    data.resize(size);
    if ((type == REG_SZ || type == REG_EXPAND_SZ) && !data.empty() && data.back() == '\0') data.pop_back();
    return RegistryValue{static_cast<RegistryType>(type), data};
  }

  bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name,
                  const RegistryValue& value) override {
    LONG status;
    OpenKey open(root, key, KEY_SET_VALUE, true, status);
    if (!Check(status)) return false;
    std::string data = value.data;
    if (value.type == RegistryType::String || value.type == RegistryType::ExpandString) data.push_back('\0');
    return Check(RegSetValueExA(open.get(), name.c_str(), 0, static_cast<DWORD>(value.type),
                                reinterpret_cast<const BYTE*>(data.data()), DWORD(data.size())));
  }

  bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) override {
    LONG status;
    OpenKey open(root, key, KEY_SET_VALUE, false, status);
    return Check(status) && Check(RegDeleteValueA(open.get(), name.c_str()));
  }

  bool DeleteKey(RegistryRoot root, const std::string& key) override {
    for (const std::string& sub : SubKeys(root, key))
      if (!DeleteKey(root, key + "\\" + sub)) return false;
    return Check(RegDeleteKeyA(RootKey(root), key.c_str()));
  }

  std::vector<std::string> SubKeys(RegistryRoot root, const std::string& key) override {
    std::vector<std::string> names;
    LONG status;
    OpenKey open(root, key, KEY_READ, false, status);
    if (!Check(status)) return names;
    char name[256];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (RegEnumKeyExA(open.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }

  std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) override {
    std::vector<std::string> names;
    LONG status;
    OpenKey open(root, key, KEY_READ, false, status);
    if (!Check(status)) return names;
    char name[16384];
    for (DWORD index = 0;; ++index) {
      DWORD length = sizeof name;
      if (RegEnumValueA(open.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, length);
    }
    return names;
  }

  uint32_t LastError() const override { return lastError_; }

 private:
  bool Check(LONG status) {
    if (status != ERROR_SUCCESS) lastError_ = DWORD(status);
    return status == ERROR_SUCCESS;
  }

  DWORD lastError_ = 0;
};

}  // namespace

Registry& RealRegistry() {
  static Win32Registry registry;
  return registry;
}

}  // namespace tidemark::platform
