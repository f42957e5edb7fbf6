#include "support/memory_purge.h"

namespace tidemark::test {

std::optional<uint64_t> MemorySharedMemory::FileSize(const std::string& path) {
  auto entry = files_.EntryOf(path);
  if (!entry || entry->IsDirectory()) return std::nullopt;
  return entry->size;
}

std::optional<platform::MappedView> MemorySharedMemory::MapFile(const std::string& path, const std::string&) {
  auto content = files_.ReadFile(path);
  if (!content) return std::nullopt;
  auto mapped = std::make_unique<Mapped>(Mapped{path, std::vector<uint8_t>(content->begin(), content->end())});
  platform::MappedView view{mapped->bytes.data(), mapped->bytes.size(), mapped.get()};
  views_[view.mapping] = std::move(mapped);
  return view;
}

bool MemorySharedMemory::FlushView(const platform::MappedView& view) {
  auto found = views_.find(view.mapping);
  if (found == views_.end()) return false;
  const Mapped& mapped = *found->second;
  return files_.WriteFile(mapped.path, std::string(mapped.bytes.begin(), mapped.bytes.end()));
}

void MemorySharedMemory::UnmapView(const platform::MappedView& view) {
  FlushView(view);
  views_.erase(view.mapping);
}

std::optional<platform::ObjectHandle> MemorySharedMemory::CreateNamedMutex(const std::string&) { return &mutex_; }

engine::PurgeEnvironment& MemoryPurge::Environment() {
  engine::CookiePurgeResources cookies;
  cookies.ieProtectFile = ieProtectFile;
  engine::PurgeResources resources{{files, registry, shell, windows, windows, nullptr, windows, memory},
                                   Located(),
                                   settings,
                                   protect,
                                   shred,
                                   now,
                                   std::move(cookies)};
  return Fresh(resources);
}

}  // namespace tidemark::test
