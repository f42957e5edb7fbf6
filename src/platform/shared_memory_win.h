// The real file mappings and mutexes. Tests derive from it to count or fail
// one operation and keep the real behaviour of all others.
#pragma once
#include <windows.h>

#include "platform/error_keeper_win.h"
#include "platform/shared_memory.h"

namespace tidemark::platform {

class Win32SharedMemory : public SharedMemory, protected ErrorKeeper {
 public:
  std::optional<uint64_t> FileSize(const std::string& path) override;
  std::optional<MappedView> MapFile(const std::string& path, const std::string& mappingName) override;
  bool FlushView(const MappedView& view) override;
  void UnmapView(const MappedView& view) override;
  std::optional<ObjectHandle> CreateNamedMutex(const std::string& name) override;
  WaitStatus WaitMutex(ObjectHandle mutex) override;
  bool ReleaseNamedMutex(ObjectHandle mutex) override;
  void CloseObject(ObjectHandle handle) override;
  uint32_t LastError() const override { return lastError_; }

};

}  // namespace tidemark::platform
