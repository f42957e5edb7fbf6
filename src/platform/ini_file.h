// INI files through the system's private-profile functions. Every call opens
// and closes the file (the system's own behaviour), so nothing is cached here
// and another program's edits are seen at once.
#pragma once
#include <cstdint>
#include <string>
#include <utility>

namespace tidemark::platform {

class IniFile {
 public:
  explicit IniFile(std::string path) : path_(std::move(path)) {}
  virtual ~IniFile() = default;
  const std::string& Path() const { return path_; }

  // The key's text as the system reads it (surrounding blanks and quotes
  // removed); fallback when the file, section or key is missing. A key that
  // is present with an empty value reads as "".
  virtual std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) = 0;
  // Creates the file, section or key when missing. Values holding a line
  // break are refused: they would turn into further keys or sections.
  virtual bool WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
  // Windows error code of the last failed write.
  virtual uint32_t LastError() const = 0;

 private:
  std::string path_;
};

// GetPrivateProfileStringA / WritePrivateProfileStringA on a full path
// (Windows only; tests derive from it to inject a fault).
class PrivateProfileFile : public IniFile {
 public:
  explicit PrivateProfileFile(std::string path) : IniFile(std::move(path)) {}
  std::string ReadString(const std::string& section, const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  uint32_t LastError() const override { return lastError_; }

 protected:
  uint32_t lastError_ = 0;
};

}  // namespace tidemark::platform
