// A settings file in a fresh scratch folder, read and written through the
// system's private-profile functions.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "platform/text.h"
#include "support/sandbox_win.h"

namespace tidemark::test {

struct SettingsFile {
  TempFolder folder;
  std::string path = folder / "Tidemark.ini";
  platform::PrivateProfileFile ini{path};

  std::string Text() const {
    auto text = platform::RealFileSystem().ReadFile(path);
    return text ? *text : "<no file>";
  }
  void SetText(const std::string& text) const { folder.Write("Tidemark.ini", text); }
};

// The settings file with the writes of one key failing, as when the disk
// fills up half way through.
struct FailingKeyFile : platform::PrivateProfileFile {
  FailingKeyFile(std::string path, std::string failingKey)
      : PrivateProfileFile(std::move(path)), failingKey_(std::move(failingKey)) {}
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
    if (key != failingKey_) return PrivateProfileFile::WriteString(section, key, value);
    lastError_ = ERROR_DISK_FULL;
    return false;
  }

 private:
  std::string failingKey_;
};

// Holds a file open for reading, sharing only what `share` allows, as a
// backup program or editor might.
class FileLock {
 public:
  explicit FileLock(const std::string& path, DWORD share = FILE_SHARE_READ)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr)) {}
  ~FileLock() {
    if (held()) CloseHandle(handle_);
  }
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

// The file text with one key's value replaced where it stands; a test
// failure when the section has no such key.
inline std::string WithValue(const std::string& text, const std::string& section, const std::string& key,
                             const std::string& value) {
  size_t sectionStart = text.find("[" + section + "]");
  if (sectionStart == std::string::npos) {
    ADD_FAILURE() << "no section " << section;
    return text;
  }
  size_t sectionEnd = text.find("\n[", sectionStart);
  for (size_t line = text.find('\n', sectionStart) + 1; line < text.size() && line < sectionEnd;
       line = text.find('\n', line) + 1) {
    size_t lineEnd = text.find_first_of("\r\n", line);
    if (StartsWithNoCase(std::string_view(text).substr(line), key + "="))
      return text.substr(0, line) + key + "=" + value + text.substr(lineEnd);
    if (text.find('\n', line) == std::string::npos) break;
  }
  ADD_FAILURE() << "no key " << key << " in " << section;
  return text;
}

}  // namespace tidemark::test
