#include "platform/registry.h"

#include <cstring>

namespace tidemark::platform {

std::optional<std::string> Registry::ReadString(RegistryRoot root, const std::string& key, const std::string& name) {
  auto value = ReadValue(root, key, name);
  if (!value || (value->type != RegistryType::String && value->type != RegistryType::ExpandString)) return std::nullopt;
  std::string text = value->data;
  if (size_t zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
  return text;
}

std::optional<uint32_t> Registry::ReadDword(RegistryRoot root, const std::string& key, const std::string& name) {
  auto value = ReadValue(root, key, name);
  if (!value || value->type != RegistryType::Dword || value->data.size() < 4) return std::nullopt;
  uint32_t number = 0;
  std::memcpy(&number, value->data.data(), 4);
  return number;
}

bool Registry::WriteString(RegistryRoot root, const std::string& key, const std::string& name, const std::string& text) {
  return WriteValue(root, key, name, {RegistryType::String, text});
}

bool Registry::WriteDword(RegistryRoot root, const std::string& key, const std::string& name, uint32_t number) {
  std::string bytes(4, '\0');
  std::memcpy(bytes.data(), &number, 4);
  return WriteValue(root, key, name, {RegistryType::Dword, bytes});
}

}  // namespace tidemark::platform
