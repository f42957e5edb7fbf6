// A settings file in a fresh scratch folder, and one whose writes are
// recorded ("Section/Key=value") with those of one key failing (a full disk).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/ini_file.h"
#include "support/sandbox_win.h"

namespace tidemark::test {

struct RecordingFile : platform::PrivateProfileFile {
  explicit RecordingFile(const std::string& path, std::string failing = "") : PrivateProfileFile(path), failingKey(failing) {}
  bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
    written.push_back(section + "/" + key + "=" + value);
    return key == failingKey ? (lastError_ = ERROR_DISK_FULL, false) : PrivateProfileFile::WriteString(section, key, value);
  }
  std::vector<std::string> written;
  std::string failingKey;
};

struct SettingsFile {
  TempFolder folder;
  std::string path = folder / "Tidemark.ini";
  platform::PrivateProfileFile ini{path};
  void SetText(const std::string& text) const { folder.Write("Tidemark.ini", text); }
  // Whether `save` fails once the write of `key` fails.
  bool FailsAt(const std::string& key, const auto& save) const { RecordingFile failing(path, key); return !save(failing); }
};

}  // namespace tidemark::test
