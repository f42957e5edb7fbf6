#include "support/sandbox_win.h"

#include <windows.h>

#include <atomic>
#include <stdexcept>

#include "platform/files.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/text.h"

namespace tidemark::test {
namespace {

std::string UniqueName() {
  static std::atomic<int> counter{0};
  return "tm" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount()) + "_" +
         std::to_string(++counter);
}

}  // namespace

TempFolder::TempFolder() {
  char temp[MAX_PATH];
  DWORD length = GetTempPathA(MAX_PATH, temp);
  if (length == 0 || length >= MAX_PATH) throw std::runtime_error("no temp folder");
  path_ = JoinPath(TrimRight(std::string(temp, length)), UniqueName());
  if (!platform::RealFileSystem().CreateFolders(path_)) throw std::runtime_error("cannot create " + path_);
}

TempFolder::~TempFolder() { RemoveTree(path_); }

std::string TempFolder::operator/(const std::string& name) const { return JoinPath(path_, name); }

std::string TempFolder::Write(const std::string& relative, const std::string& content) const {
  std::string full = JoinPath(path_, relative);
  if (!platform::RealFileSystem().CreateFolders(ParentFolder(full)) ||
      !platform::RealFileSystem().WriteFile(full, content))
    throw std::runtime_error("cannot write " + full);
  return full;
}

TempRegistryKey::TempRegistryKey() : path_("Software\\TidemarkTests\\" + UniqueName()) {
  platform::RealRegistry().WriteString(platform::RegistryRoot::CurrentUser, path_, "", "");
}

TempRegistryKey::~TempRegistryKey() { platform::RealRegistry().DeleteKey(platform::RegistryRoot::CurrentUser, path_); }

bool RemoveTree(const std::string& path) {
  auto& files = platform::RealFileSystem();
  auto attributes = files.Attributes(path);
  if (!attributes) return true;
  if ((*attributes & platform::kAttrDirectory) && !(*attributes & platform::kAttrReparsePoint)) {
    files.ListFolder(path, [&](const platform::DirEntry& entry) {
      RemoveTree(JoinPath(path, entry.name));
      return true;
    });
  }
  if (*attributes & platform::kAttrReadOnly) files.SetAttributes(path, *attributes & ~platform::kAttrReadOnly);
  return (*attributes & platform::kAttrDirectory) ? files.RemoveFolder(path) : files.RemoveFile(path);
}

ClipboardLock::ClipboardLock() : mutex_(CreateMutexA(nullptr, FALSE, "TidemarkTestsClipboard")) {
  WaitForSingleObject(mutex_, 60000);
}

ClipboardLock::~ClipboardLock() {
  ReleaseMutex(mutex_);
  CloseHandle(mutex_);
}

EnvironmentVariables::~EnvironmentVariables() {
  for (auto& [name, value] : saved_) SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

void EnvironmentVariables::Set(const std::string& name, const std::optional<std::string>& value) {
  if (!saved_.count(name)) saved_[name] = platform::RealShell().EnvironmentVariable(name);
  SetEnvironmentVariableA(name.c_str(), value ? value->c_str() : nullptr);
}

uint64_t FileTimeNow() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return (uint64_t(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool SetWriteTime(const std::string& path, uint64_t time) {
  HANDLE file = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  FILETIME stamp{DWORD(time & 0xFFFFFFFF), DWORD(time >> 32)};
  bool ok = SetFileTime(file, nullptr, nullptr, &stamp);
  CloseHandle(file);
  return ok;
}

}  // namespace tidemark::test
