// A file system held in memory, so that the Windows-free code reading and writing files also runs in the native
// sanitizer build. Paths compare without case, as on Windows; drive roots ("C:") always exist.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tidemark::test {

class MemoryFileSystem : public platform::FileSystem {
 public:
  // Set-up: a file (with its folders) or a folder tree.
  void AddFile(const std::string& path, const std::string& content, uint32_t attributes = 0, uint64_t lastWrite = 0);
  void AddFolder(const std::string& path, uint32_t attributes = 0);
  // Paths that fail every open, as a file held by another program does.
  std::set<std::string> locked;
  // Paths whose content cannot be read, as under an access error.
  std::set<std::string> unreadable;
  // Every write keeps only the first half of the content and fails, as on a full disk.
  bool writesStopHalfWay = false;
  // The type of every drive, and the roots asked about.
  platform::DriveType driveType = platform::DriveType::Fixed;
  std::vector<std::string> drivesAsked;

  bool FileExists(const std::string& path) override;
  bool FolderExists(const std::string& path) override;
  std::optional<uint32_t> Attributes(const std::string& path) override;
  bool SetAttributes(const std::string& path, uint32_t attributes) override;
  bool CreateFolders(const std::string& path) override;
  bool RemoveFolder(const std::string& path) override;
  bool RemoveFile(const std::string& path) override;
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override;
  bool RenameFile(const std::string& from, const std::string& to) override;
  bool RenameToNewName(const std::string& from, const std::string& to) override;
  bool ListMatching(const std::string& folder, const std::string& mask,
                    const std::function<bool(const platform::DirEntry&)>& visit) override;
  std::optional<platform::DirEntry> EntryOf(const std::string& path) override;
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(const std::string& path,
                                                         platform::ExclusiveAccess access) override;
  bool RemoveFolderLink(const std::string& path) override;
  std::optional<platform::VolumeInfo> VolumeOf(const std::string& root) override;
  std::optional<std::string> ReadFile(const std::string& path) override;
  bool WriteFile(const std::string& path, const std::string& content) override;
  platform::DriveType DriveTypeOf(const std::string& root) override;
  std::optional<uint64_t> LastWriteTime(const std::string& path) override;
  uint32_t LastError() const override { return lastError_; }

 private:
  struct Node {
    std::string name;  // as created
    bool folder = false;
    uint32_t attributes = 0;
    std::string content;
    uint64_t lastWrite = 0;
  };
  class OpenFile;

  static std::string Key(const std::string& path);
  Node* Find(const std::string& path);
  bool ParentExists(const std::string& path);
  uint32_t Missing(const std::string& path);  // the error for a path that is not there
  static bool Listed(const std::set<std::string>& paths, const std::string& path);
  bool Fail(uint32_t error);

  std::map<std::string, Node> nodes_;  // by lower-case path
  uint32_t lastError_ = 0;
};

}  // namespace tidemark::test
