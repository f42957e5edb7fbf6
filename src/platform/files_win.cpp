#include "platform/files_win.h"

namespace tidemark::platform {
namespace {

class Win32ExclusiveFile : public ExclusiveFile {
 public:
  Win32ExclusiveFile(HANDLE handle, const FileIdentity& identity) : handle_(handle), identity_(identity) {}
  ~Win32ExclusiveFile() override { CloseHandle(handle_); }

  const FileIdentity& Identity() const override { return identity_; }

  bool Write(const void* data, size_t size) override {
    const char* next = static_cast<const char*>(data);
    while (size > 0) {
      DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
      DWORD written = 0;
      if (!::WriteFile(handle_, next, chunk, &written, nullptr)) return Fail(GetLastError());
      if (written == 0) return Fail(ERROR_DISK_FULL);
      next += written;
      size -= written;
    }
    return true;
  }

  bool SeekToStart() override {
    LONG high = 0;
    if (SetFilePointer(handle_, 0, &high, FILE_BEGIN) == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR)
      return Fail(GetLastError());
    return true;
  }

  bool Truncate() override { return SeekToStart() && (SetEndOfFile(handle_) || Fail(GetLastError())); }

  uint32_t LastError() const override { return lastError_; }

 private:
  bool Fail(DWORD error) {
    lastError_ = error;
    return false;
  }

  HANDLE handle_;
  FileIdentity identity_;
  DWORD lastError_ = 0;
};

class Win32HeldFolder : public HeldFolder {
 public:
  explicit Win32HeldFolder(HANDLE handle) : handle_(handle) {}
  ~Win32HeldFolder() override { CloseHandle(handle_); }

 private:
  HANDLE handle_;
};

using GetDiskFreeSpaceExFn = BOOL(WINAPI*)(LPCSTR, PULARGE_INTEGER, PULARGE_INTEGER, PULARGE_INTEGER);

GetDiskFreeSpaceExFn DiskFreeSpaceEx() {
  static const GetDiskFreeSpaceExFn function = reinterpret_cast<GetDiskFreeSpaceExFn>(
      reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA")));
  return function;
}

}  // namespace

std::unique_ptr<ExclusiveFile> Win32FileSystem::OpenExclusive(const std::string& path) {
  HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (!Check(handle != INVALID_HANDLE_VALUE)) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  if (!GetFileInformationByHandle(handle, &info)) {
    Check(false);
    CloseHandle(handle);
    return nullptr;
  }
  FileIdentity identity;
  identity.size = (uint64_t(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
  identity.attributes = info.dwFileAttributes;
  identity.links = info.nNumberOfLinks;
  return std::make_unique<Win32ExclusiveFile>(handle, identity);
}

std::unique_ptr<HeldFolder> Win32FileSystem::HoldFolder(const std::string& path) {
  // Listing access takes part in sharing, so without FILE_SHARE_DELETE no
  // one can open the folder to rename or delete it while this handle lives.
  HANDLE handle = CreateFileA(path.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (!Check(handle != INVALID_HANDLE_VALUE)) return nullptr;
  BY_HANDLE_FILE_INFORMATION info;
  DWORD error = !GetFileInformationByHandle(handle, &info) ? GetLastError() : NO_ERROR;
  // Some systems (Wine's links to host folders) open the folder a link
  // points to even so; the directory entry still shows the link. Held, the
  // folder can no longer be swapped, so the entry names what is held.
  WIN32_FIND_DATAA entry;
  HANDLE find = error == NO_ERROR ? FindFirstFileA(path.c_str(), &entry) : INVALID_HANDLE_VALUE;
  if (find != INVALID_HANDLE_VALUE) {
    info.dwFileAttributes |= entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT;
    FindClose(find);
  }
  if (error == NO_ERROR && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) error = kErrorFolderIsLink;
  if (error == NO_ERROR && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) error = kErrorNotAFolder;
  if (error == NO_ERROR) return std::make_unique<Win32HeldFolder>(handle);
  CloseHandle(handle);
  Fail(error);
  return nullptr;
}

std::optional<VolumeInfo> Win32FileSystem::VolumeOf(const std::string& root) {
  VolumeInfo volume;
  DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
  if (!Check(GetDiskFreeSpaceA(root.c_str(), &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters)))
    return std::nullopt;
  volume.sectorsPerCluster = sectorsPerCluster;
  volume.bytesPerSector = bytesPerSector;
  volume.totalBytes = uint64_t(totalClusters) * sectorsPerCluster * bytesPerSector;
  ULARGE_INTEGER available, total, free;
  if (GetDiskFreeSpaceExFn extended = DiskFreeSpaceEx(); extended && extended(root.c_str(), &available, &total, &free))
    volume.totalBytes = total.QuadPart;
  char name[MAX_PATH + 1] = {};
  if (GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, nullptr, name, sizeof name))
    volume.fileSystem = name;
  return volume;
}

FileSystem& RealFileSystem() {
  static Win32FileSystem files;
  return files;
}

}  // namespace tidemark::platform
