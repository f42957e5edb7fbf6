// Scratch places for tests under Wine: a fresh folder below %TEMP% and a fresh key below HKCU\Software\TidemarkTests,
// both removed afterwards.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace tidemark::test {

// What a test holds for its duration and puts back once: never copied.
struct Scoped {
  Scoped() = default;
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
};

class TempFolder : Scoped {
 public:
  TempFolder();
  ~TempFolder();
  const std::string& path() const { return path_; }
  // path() + "\" + name
  std::string operator/(const std::string& name) const;
  // Writes a file (creating its folders) below path().
  std::string Write(const std::string& relative, const std::string& content) const;

 private:
  std::string path_;
};

class TempRegistryKey : Scoped {
 public:
  TempRegistryKey();
  ~TempRegistryKey();
  // Key path below HKEY_CURRENT_USER, no leading backslash.
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// Sets environment variables of this process for one test and puts them back afterwards.
class EnvironmentVariables : Scoped {
 public:
  ~EnvironmentVariables();
  // nullopt removes the variable.
  void Set(const std::string& name, const std::optional<std::string>& value);

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// The clipboard is one for all tests running at once: a test that puts something there and reads it back holds this for
// its duration.
class ClipboardLock : Scoped {
 public:
  ClipboardLock();
  ~ClipboardLock();

 private:
  void* mutex_;
};

// Deletes a folder tree (never following links); true when it is gone.
bool RemoveTree(const std::string& path);

// File times as one FILETIME number: now, and a file's or folder's last write set to one.
constexpr uint64_t kFileTimeHour = 36'000'000'000;
uint64_t FileTimeNow();
bool SetWriteTime(const std::string& path, uint64_t time);

}  // namespace tidemark::test
