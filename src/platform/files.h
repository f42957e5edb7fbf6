// Files and volumes. Operations answer true/false and leave the Windows error
// code of the last failed step in LastError(), as the purge reports expect.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace tidemark::platform {

constexpr uint32_t kAttrReadOnly = 0x1;
constexpr uint32_t kAttrHidden = 0x2;
constexpr uint32_t kAttrSystem = 0x4;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrReparsePoint = 0x400;

// Windows error codes the operations below answer on their own.
constexpr uint32_t kErrorNotAFolder = 267;    // ERROR_DIRECTORY
constexpr uint32_t kErrorFolderIsLink = 681;  // ERROR_STOPPED_ON_SYMLINK: a link where a folder was expected

// Drive types as GetDriveTypeA answers them.
enum class DriveType { Unknown = 0, NoRootDir = 1, Removable = 2, Fixed = 3, Remote = 4, CdRom = 5, RamDisk = 6 };

// A folder that is no junction or other directory link.
constexpr bool IsRealFolderAttributes(uint32_t attributes) {
  return (attributes & kAttrDirectory) && !(attributes & kAttrReparsePoint);
}

struct DirEntry {
  std::string name;       // long name, no folder
  std::string shortName;  // 8.3 alternate name, empty when the system has none
  uint32_t attributes = 0;
  uint64_t size = 0;
  uint64_t lastWrite = 0;  // FILETIME as one number (100 ns since 1601, UTC)
  bool IsDirectory() const { return (attributes & kAttrDirectory) != 0; }
  bool IsRealFolder() const { return IsRealFolderAttributes(attributes); }
};

// What an open handle tells of its file.
struct FileIdentity {
  uint64_t size = 0;
  uint32_t attributes = 0;
  uint32_t links = 1;  // names of the same file (hard links)
};

// A file opened for reading and writing, exclusively (no sharing) and with
// write-through, never through a link: a link is opened as itself. While it
// is open nobody can rename, replace or delete it.
class ExclusiveFile {
 public:
  virtual ~ExclusiveFile() = default;
  virtual const FileIdentity& Identity() const = 0;
  // Writes all of data at the current position; false on any shortfall.
  virtual bool Write(const void* data, size_t size) = 0;
  virtual bool SeekToStart() = 0;
  // Cuts the file to length 0.
  virtual bool Truncate() = 0;
  virtual uint32_t LastError() const = 0;
};

// A folder held open as itself while its entries are removed: nobody can
// rename, move or delete it meanwhile, so its path keeps naming this folder
// and no link can take its place.
class HeldFolder {
 public:
  virtual ~HeldFolder() = default;
};

// A volume's geometry as the free-space and volume-information calls give it.
struct VolumeInfo {
  uint32_t sectorsPerCluster = 0;
  uint32_t bytesPerSector = 0;
  uint64_t totalBytes = 0;
  std::string fileSystem;  // "NTFS", "FAT32", ...
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool FileExists(const std::string& path) = 0;    // a file, not a folder
  virtual bool FolderExists(const std::string& path) = 0;
  virtual std::optional<uint32_t> Attributes(const std::string& path) = 0;
  virtual bool SetAttributes(const std::string& path, uint32_t attributes) = 0;
  // Creates the folder and any missing parents.
  virtual bool CreateFolders(const std::string& path) = 0;
  virtual bool RemoveFolder(const std::string& path) = 0;
  virtual bool RemoveFile(const std::string& path) = 0;
  virtual bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) = 0;
  // Rename with replace and write-through.
  virtual bool RenameFile(const std::string& from, const std::string& to) = 0;
  // Rename with write-through to a name that must not exist yet.
  virtual bool RenameToNewName(const std::string& from, const std::string& to) = 0;
  // Calls visit for each entry of folder + "\" + mask except "." and "..";
  // visit returns false to stop. False when the folder cannot be listed.
  virtual bool ListMatching(const std::string& folder, const std::string& mask,
                            const std::function<bool(const DirEntry&)>& visit) = 0;
  bool ListFolder(const std::string& folder, const std::function<bool(const DirEntry&)>& visit) {
    return ListMatching(folder, "*", visit);
  }
  // The directory entry of one path (no wildcards), as a listing shows it.
  virtual std::optional<DirEntry> EntryOf(const std::string& path) = 0;
  // Opens an existing file exclusively with write-through; null on failure.
  virtual std::unique_ptr<ExclusiveFile> OpenExclusive(const std::string& path) = 0;
  // Opens the folder itself, never what a link at its name points to, and
  // holds it. Null when it is no real folder: kErrorFolderIsLink for a
  // junction, symbolic link or other reparse point, kErrorNotAFolder for a file.
  virtual std::unique_ptr<HeldFolder> HoldFolder(const std::string& path) = 0;
  // Removes a directory link (junction, symbolic link) itself, never what it
  // points to; fails when the system cannot open the link as a link.
  virtual bool RemoveFolderLink(const std::string& path) = 0;
  // The volume of a root such as "C:\".
  virtual std::optional<VolumeInfo> VolumeOf(const std::string& root) = 0;
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;
  // Replaces the file's whole content, flushed to the disk when it answers true.
  virtual bool WriteFile(const std::string& path, const std::string& content) = 0;
  virtual DriveType DriveTypeOf(const std::string& root) = 0;  // e.g. "C:\"
  // Last-write time of a file or folder (FILETIME as one number, like DirEntry::lastWrite).
  virtual std::optional<uint64_t> LastWriteTime(const std::string& path) = 0;
  virtual uint32_t LastError() const = 0;
};

// The real Windows file system.
FileSystem& RealFileSystem();

// Only "not found" (the file or a folder on its way) means missing: a file
// the system refuses to show may still hold the user's data.
inline bool IsMissing(FileSystem& files, const std::string& path) {
  constexpr uint32_t kErrorFileNotFound = 2, kErrorPathNotFound = 3;
  if (files.Attributes(path)) return false;
  uint32_t error = files.LastError();
  return error == kErrorFileNotFound || error == kErrorPathNotFound;
}

}  // namespace tidemark::platform
