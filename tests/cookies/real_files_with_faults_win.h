// The real file system, forwarded call by call, so a test can override the
// one operation whose failure it injects.
#pragma once
// <windows.h> renames DeleteFile, CopyFile and MoveFile; it must come before
// files.h wherever both are seen, as in the real implementation.
#include <windows.h>

#include "platform/files.h"

namespace tidemark::cookies::test {

class RealFilesWithFaults : public platform::FileSystem {
 public:
  bool FileExists(const std::string& path) override { return real_.FileExists(path); }
  bool FolderExists(const std::string& path) override { return real_.FolderExists(path); }
  std::optional<uint32_t> Attributes(const std::string& path) override { return real_.Attributes(path); }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    return real_.SetAttributes(path, attributes);
  }
  bool CreateFolders(const std::string& path) override { return real_.CreateFolders(path); }
  bool RemoveFolder(const std::string& path) override { return real_.RemoveFolder(path); }
  bool DeleteFile(const std::string& path) override { return real_.DeleteFile(path); }
  bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override {
    return real_.CopyFile(from, to, failIfExists);
  }
  bool MoveFile(const std::string& from, const std::string& to) override { return real_.MoveFile(from, to); }
  bool ListFolder(const std::string& folder, const std::function<bool(const platform::DirEntry&)>& visit) override {
    return real_.ListFolder(folder, visit);
  }
  std::optional<std::string> ReadFile(const std::string& path) override { return real_.ReadFile(path); }
  bool WriteFile(const std::string& path, const std::string& content) override {
    return real_.WriteFile(path, content);
  }
  platform::DriveType DriveTypeOf(const std::string& root) override { return real_.DriveTypeOf(root); }
  std::optional<uint64_t> LastWriteTime(const std::string& path) override { return real_.LastWriteTime(path); }
  uint32_t LastError() const override { return real_.LastError(); }

 protected:
  platform::FileSystem& real_ = platform::RealFileSystem();
};

}  // namespace tidemark::cookies::test
