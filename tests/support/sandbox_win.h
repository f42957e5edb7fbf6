// Scratch places for tests under Wine: a fresh folder below %TEMP% and a fresh key below HKCU\Software\TidemarkTests,
// both removed afterwards.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace tidemark::test {

// What a test holds for its duration and puts back once: never copied.
struct Scoped {
  Scoped() = default;
  Scoped(const Scoped&) = delete;
  Scoped& operator=(const Scoped&) = delete;
};

inline std::string UniqueName() {
  static std::atomic<int> counter{0};
  return "tm" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
         std::to_string(++counter);
}

// Deletes a folder tree (never following links); true when it is gone.
inline bool RemoveTree(const std::string& path) {
  auto& files = platform::RealFileSystem();
  auto attributes = files.Attributes(path);
  if (!attributes) return true;
  if ((*attributes & platform::kAttrDirectory) && !(*attributes & platform::kAttrReparsePoint))
    files.ListFolder(path, [&](const platform::DirEntry& entry) { return RemoveTree(path + "\\" + entry.name), true; });
  if (*attributes & platform::kAttrReadOnly) files.SetAttributes(path, *attributes & ~platform::kAttrReadOnly);
  return (*attributes & platform::kAttrDirectory) ? files.RemoveFolder(path) : files.RemoveFile(path);
}

// A file or folder (or a link) is there.
inline bool Exists(const std::string& path) { return platform::RealFileSystem().Attributes(path).has_value(); }

class TempFolder : Scoped {
 public:
  TempFolder() : path_(JoinPath(platform::RealShell().TempPath(), UniqueName())) {
    if (!platform::RealFileSystem().CreateFolders(path_)) throw std::runtime_error("cannot create " + path_);
  }
  ~TempFolder() { RemoveTree(path_); }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return JoinPath(path_, name); }
  // Writes a file (creating its folders) below path().
  std::string Write(const std::string& relative, const std::string& content) const {
    std::string full = JoinPath(path_, relative);
    if (!platform::RealFileSystem().CreateFolders(ParentFolder(full)) ||
        !platform::RealFileSystem().WriteFile(full, content))
      throw std::runtime_error("cannot write " + full);
    return full;
  }

 private:
  std::string path_;
};

class TempRegistryKey : Scoped {
 public:
  TempRegistryKey() { platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, path_, "", ""); }
  ~TempRegistryKey() { platform::RealRegistry().DeleteKey(platform::RegistryRoot::CurrentUser, path_); }
  // Key path below HKEY_CURRENT_USER, no leading backslash.
  const std::string& path() const { return path_; }

 private:
  std::string path_ = "Software\\TidemarkTests\\" + UniqueName();
};

// Sets environment variables of this process for one test and puts them back afterwards.
class EnvironmentVariables : Scoped {
 public:
  ~EnvironmentVariables() {
    for (auto& [name, value] : saved_) SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
  }
  // nullopt removes the variable.
  void Set(const std::string& name, const std::optional<std::string>& value) {
    if (!saved_.count(name)) saved_[name] = platform::RealShell().EnvironmentVariable(name);
    SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
  }

 private:
  std::map<std::string, std::optional<std::string>> saved_;
};

// The clipboard is one for all tests running at once: a test that puts something there and reads it back holds this for
// its duration.
class ClipboardLock : Scoped {
 public:
  ClipboardLock() { WaitForSingleObject(mutex_, 60000); }
  ~ClipboardLock() {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }

 private:
  HANDLE mutex_ = CreateMutexA(nullptr, FALSE, "TidemarkTestsClipboard");
};

// File times as one FILETIME number: now, and a file's or folder's last write set to one.
constexpr uint64_t kFileTimeHour = 36'000'000'000;
inline uint64_t FileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}
inline bool SetWriteTime(const std::string& path, uint64_t time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME stamp{DWORD(time & 0xFFFFFFFF), DWORD(time >> 32)};
  bool ok = SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);
  return ok;
}

}  // namespace tidemark::test
