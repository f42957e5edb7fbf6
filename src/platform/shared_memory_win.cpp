#include "platform/shared_memory_win.h"

namespace tidemark::platform {

std::optional<uint64_t> Win32SharedMemory::FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!Check(GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
    lastError_ = ERROR_FILE_NOT_FOUND;
    return std::nullopt;
  }
  return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::optional<MappedView> Win32SharedMemory::MapFile(const std::string& path, const std::string& mappingName) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (!Check(file != INVALID_HANDLE_VALUE)) return std::nullopt;
  HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READWRITE, 0, 0, mappingName.c_str());
  Check(mapping != nullptr);
  ::CloseHandle(file);
  if (!mapping) return std::nullopt;
  void* data = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0);
  MEMORY_BASIC_INFORMATION region;
  if (!Check(data != nullptr) || !Check(VirtualQuery(data, &region, sizeof region) == sizeof region)) {
    if (data) UnmapViewOfFile(data);
    ::CloseHandle(mapping);
    return std::nullopt;
  }
  return MappedView{static_cast<uint8_t*>(data), region.RegionSize, mapping};
}

bool Win32SharedMemory::FlushView(const MappedView& view) { return Check(FlushViewOfFile(view.data, 0)); }

void Win32SharedMemory::UnmapView(const MappedView& view) {
  UnmapViewOfFile(view.data);
  ::CloseHandle(view.mapping);
}

std::optional<ObjectHandle> Win32SharedMemory::CreateNamedMutex(const std::string& name) {
  HANDLE mutex = CreateMutexA(nullptr, FALSE, name.c_str());
  if (!Check(mutex != nullptr)) return std::nullopt;
  return mutex;
}

WaitStatus Win32SharedMemory::WaitMutex(ObjectHandle mutex) {
  switch (WaitForSingleObject(mutex, INFINITE)) {
    case WAIT_OBJECT_0: return WaitStatus::Acquired;
    case WAIT_ABANDONED: return WaitStatus::Abandoned;
    case WAIT_TIMEOUT: return WaitStatus::TimedOut;
    default: Check(false); return WaitStatus::Failed;
  }
}

bool Win32SharedMemory::ReleaseNamedMutex(ObjectHandle mutex) { return Check(ReleaseMutex(mutex)); }

void Win32SharedMemory::CloseObject(ObjectHandle handle) { ::CloseHandle(handle); }

SharedMemory& RealSharedMemory() {
  static Win32SharedMemory memory;
  return memory;
}

}  // namespace tidemark::platform
