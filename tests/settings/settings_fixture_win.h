// A settings file in a fresh scratch folder, read and written through the
// system's private-profile functions.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "support/sandbox_win.h"

namespace tidemark::test {

struct SettingsFile {
  TempFolder folder;
  std::string path = folder / "Tidemark.ini";
  platform::PrivateProfileFile ini{path};
  std::string Text() const { return platform::RealFileSystem().ReadFile(path).value_or("<no file>"); }
  void SetText(const std::string& text) const { folder.Write("Tidemark.ini", text); }
};

// The settings file recording every write ("Section/Key=value"), with the
// writes of one key failing, as when the disk fills up half way through.
struct RecordingFile : platform::PrivateProfileFile {
  explicit RecordingFile(std::string path, std::string failingKey = "")
      : PrivateProfileFile(std::move(path)), failingKey_(std::move(failingKey)) {}
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
    written.push_back(section + "/" + key + "=" + value);
    if (key != failingKey_) return PrivateProfileFile::WriteString(section, key, value);
    lastError_ = ERROR_DISK_FULL;
    return false;
  }
  std::vector<std::string> written;

 private:
  std::string failingKey_;
};

}  // namespace tidemark::test
