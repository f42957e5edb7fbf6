// The registry under the five standard roots. Key paths have no leading
// backslash. Failures leave the Windows error code in LastError().
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tidemark::platform {

enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine, Users, CurrentConfig };

enum class RegistryType { None = 0, String = 1, ExpandString = 2, Binary = 3, Dword = 4, MultiString = 7 };

struct RegistryValue {
  RegistryType type = RegistryType::None;
  std::string data;  // raw bytes; strings without their terminating zero
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual bool KeyExists(RegistryRoot root, const std::string& key) = 0;
  virtual std::optional<RegistryValue> ReadValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // A string or expandable string value (not expanded); nothing for other types.
  std::optional<std::string> ReadString(RegistryRoot root, const std::string& key, const std::string& name);
  std::optional<uint32_t> ReadDword(RegistryRoot root, const std::string& key, const std::string& name);
  // Creates the key when missing.
  virtual bool WriteValue(RegistryRoot root, const std::string& key, const std::string& name, const RegistryValue& value) = 0;
  bool WriteString(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text);
  bool WriteDword(RegistryRoot root, const std::string& key, const std::string& name, uint32_t number);
  virtual bool DeleteValue(RegistryRoot root, const std::string& key, const std::string& name) = 0;
  // Deletes the key with all its sub-keys.
  virtual bool DeleteKey(RegistryRoot root, const std::string& key) = 0;
  virtual std::vector<std::string> SubKeys(RegistryRoot root, const std::string& key) = 0;
  virtual std::vector<std::string> ValueNames(RegistryRoot root, const std::string& key) = 0;
  virtual uint32_t LastError() const = 0;
};

Registry& RealRegistry();

}  // namespace tidemark::platform
