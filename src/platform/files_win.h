// The real Windows file system. Tests derive from it to inject a fault into
// one operation and keep the real behaviour of all others.
#pragma once
#include <windows.h>

#include <cstring>
#include <memory>

#include "platform/error_keeper_win.h"
#include "platform/files.h"
#include "platform/text.h"

namespace tidemark::platform {

class Win32FileSystem : public FileSystem, protected ErrorKeeper {
 public:
  bool FileExists(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return Check(attributes != INVALID_FILE_ATTRIBUTES) && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  bool FolderExists(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return Check(attributes != INVALID_FILE_ATTRIBUTES) && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  }

  std::optional<uint32_t> Attributes(const std::string& path) override {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (!Check(attributes != INVALID_FILE_ATTRIBUTES)) return std::nullopt;
    return attributes;
  }

  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return Check(SetFileAttributesA(path.c_str(), attributes));
  }

  bool CreateFolders(const std::string& path) override {
    if (path.empty()) return Fail(ERROR_PATH_NOT_FOUND);
    if (FolderExists(path)) return true;
    std::string parent = ParentFolder(path);
    // Stop at a drive root ("C:") or a UNC share.
    if (!parent.empty() && parent.size() > 2 && !FolderExists(parent) && !CreateFolders(parent)) return false;
    return Check(CreateDirectoryA(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  }

  bool RemoveFolder(const std::string& path) override { return Check(RemoveDirectoryA(path.c_str())); }

  // <windows.h> renames DeleteFile/CopyFile to their "A" forms, so the system
  // calls must be qualified or they resolve to these methods themselves.
  bool RemoveFile(const std::string& path) override { return Check(::DeleteFileA(path.c_str())); }

  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override {
    return Check(::CopyFileA(from.c_str(), to.c_str(), failIfExists));
  }

  bool RenameFile(const std::string& from, const std::string& to) override {
    return Check(MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  }

  bool RenameToNewName(const std::string& from, const std::string& to) override {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    // Systems without MoveFileExA answer "not implemented": a plain rename then.
    if (GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return Check(MoveFileA(from.c_str(), to.c_str()));
    return Check(false);
  }

  bool ListMatching(const std::string& folder, const std::string& mask,
                    const std::function<bool(const DirEntry&)>& visit) override {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(JoinPath(folder, mask).c_str(), &data);
    if (!Check(find != INVALID_HANDLE_VALUE)) return false;
    do {
      if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
      if (!visit(EntryFrom(data))) break;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return true;
  }

  std::optional<DirEntry> EntryOf(const std::string& path) override {
    // A wildcard would name some other entry.
    if (path.find_first_of("*?") != std::string::npos) {
      Fail(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(path.c_str(), &data);
    if (!Check(find != INVALID_HANDLE_VALUE)) return std::nullopt;
    FindClose(find);
    return EntryFrom(data);
  }

  std::unique_ptr<ExclusiveFile> OpenExclusive(const std::string& path) override;
  std::unique_ptr<HeldFolder> HoldFolder(const std::string& path) override;

  bool RemoveFolderLink(const std::string& path) override {
    // Only a handle to the link itself proves that removing the entry cannot
    // reach the folder it points to.
    HANDLE link = CreateFileA(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (!Check(link != INVALID_HANDLE_VALUE)) return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool isLink = GetFileInformationByHandle(link, &info) && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
                  (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    CloseHandle(link);
    if (!isLink) return Fail(ERROR_NOT_A_REPARSE_POINT);
    return Check(RemoveDirectoryA(path.c_str()));
  }

  std::optional<VolumeInfo> VolumeOf(const std::string& root) override;

  std::optional<std::string> ReadFile(const std::string& path) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!Check(file != INVALID_HANDLE_VALUE)) return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD got = 0;
    bool ok = true;
    while ((ok = ::ReadFile(file, buffer, sizeof buffer, &got, nullptr)) && got > 0) content.append(buffer, got);
    DWORD error = GetLastError();
    CloseHandle(file);
    if (!ok) {
      Fail(error);
      return std::nullopt;
    }
    return content;
  }

  bool WriteFile(const std::string& path, const std::string& content) override {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (!Check(file != INVALID_HANDLE_VALUE)) return false;
    DWORD written = 0;
    bool ok = content.empty() || (::WriteFile(file, content.data(), DWORD(content.size()), &written, nullptr) &&
                                  written == content.size());
    // On the disk before anyone relies on it (a file replaced by this one, say).
    ok = ok && FlushFileBuffers(file);
    DWORD error = GetLastError();
    ok = CloseHandle(file) && ok;
    return ok || Fail(error ? error : ERROR_WRITE_FAULT);
  }

  DriveType DriveTypeOf(const std::string& root) override {
    return static_cast<DriveType>(GetDriveTypeA(root.c_str()));
  }

  std::optional<uint64_t> LastWriteTime(const std::string& path) override {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!Check(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))) return std::nullopt;
    return (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
  }

  uint32_t LastError() const override { return lastError_; }

 protected:
  static DirEntry EntryFrom(const WIN32_FIND_DATAA& data) {
    DirEntry entry;
    entry.name = data.cFileName;
    entry.shortName = data.cAlternateFileName;
    entry.attributes = data.dwFileAttributes;
    entry.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    entry.lastWrite = (uint64_t(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime;
    return entry;
  }
};

}  // namespace tidemark::platform
