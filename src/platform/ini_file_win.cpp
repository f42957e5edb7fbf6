#include <windows.h>

#include "platform/ini_file.h"

namespace tidemark::platform {

std::string PrivateProfileFile::ReadString(const std::string& section, const std::string& key,
                                           const std::string& fallback) {
  // Without a data folder there is no settings file: never let the system
  // fall back to a file of its own choosing.
  if (Path().empty()) return fallback;
  // The system answers size - 1 when the value did not fit: grow and ask again.
  std::string buffer(256, '\0');
  for (;;) {
    DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), fallback.c_str(), buffer.data(),
                                            static_cast<DWORD>(buffer.size()), Path().c_str());
    if (length + 1 < buffer.size()) {
      buffer.resize(length);
      return buffer;
    }
    buffer.resize(buffer.size() * 2);
  }
}

bool PrivateProfileFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (Path().empty()) {
    lastError_ = ERROR_PATH_NOT_FOUND;
    return false;
  }
  if (value.find_first_of("\r\n") != std::string::npos) {
    lastError_ = ERROR_INVALID_PARAMETER;
    return false;
  }
  if (WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), Path().c_str())) return true;
  lastError_ = GetLastError();
  return false;
}

}  // namespace tidemark::platform
