// Memory-mapped files and named mutexes, shared with other processes under
// their object names (a running Internet Explorer maps its index files this
// way). Operations answer true/false or an optional and leave the Windows
// error code of the last failed step in LastError().
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace tidemark::platform {

using ObjectHandle = void*;

struct MappedView {
  uint8_t* data = nullptr;
  size_t size = 0;  // bytes that can be read and written at data
  ObjectHandle mapping = nullptr;
};

enum class WaitStatus { Acquired = 0, TimedOut = 1, Abandoned = 2, Failed = 3 };

class SharedMemory {
 public:
  virtual ~SharedMemory() = default;
  // Size of an existing file (not a folder).
  virtual std::optional<uint64_t> FileSize(const std::string& path) = 0;
  // Opens the existing file for reading and writing (sharing reads and
  // writes), creates or opens the named read-write mapping of the whole file
  // and maps all of it with full access. The file handle is closed again; the
  // mapping keeps the file.
  virtual std::optional<MappedView> MapFile(const std::string& path, const std::string& mappingName) = 0;
  virtual bool FlushView(const MappedView& view) = 0;
  // Unmaps the view and closes its mapping.
  virtual void UnmapView(const MappedView& view) = 0;

  // Creates or opens a named mutex, not owned.
  virtual std::optional<ObjectHandle> CreateNamedMutex(const std::string& name) = 0;
  // Waits without a time-out. Abandoned means the wait got the mutex from an
  // owner that ended without releasing it.
  virtual WaitStatus WaitMutex(ObjectHandle mutex) = 0;
  virtual bool ReleaseNamedMutex(ObjectHandle mutex) = 0;
  virtual void CloseObject(ObjectHandle handle) = 0;

  virtual uint32_t LastError() const = 0;
};

SharedMemory& RealSharedMemory();

}  // namespace tidemark::platform
