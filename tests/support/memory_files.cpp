#include "support/memory_files.h"

namespace tidemark::test {

class MemoryFileSystem::OpenFile : public platform::ExclusiveFile {
 public:
  OpenFile(std::string& content, platform::FileIdentity identity) : content_(content), identity_(identity) {}
  const platform::FileIdentity& Identity() const override { return identity_; }
  bool Write(const void* data, size_t size) override {
    if (content_.size() < position_ + size) content_.resize(position_ + size);
    content_.replace(position_, size, static_cast<const char*>(data), size);
    return position_ += size, true;
  }
  bool SeekToStart() override { return position_ = 0, true; }
  uint32_t LastError() const override { return 0; }

 private:
  std::string& content_;
  platform::FileIdentity identity_;
  size_t position_ = 0;
};

std::unique_ptr<platform::ExclusiveFile> MemoryFileSystem::OpenExclusive(const std::string& path,
                                                                         platform::ExclusiveAccess access) {
  Node* node = Find(path);
  if (!node || node->folder) return Fail(node ? kAccessDenied : kFileNotFound), nullptr;
  if (Listed(locked, path)) return Fail(kSharingViolation), nullptr;
  if (access != platform::ExclusiveAccess::None && (node->attributes & platform::kAttrReadOnly))
    return Fail(kAccessDenied), nullptr;
  if (access == platform::ExclusiveAccess::Truncate) node->content.clear();
  return std::make_unique<OpenFile>(node->content, platform::FileIdentity{node->content.size(), node->attributes, 1});
}

}  // namespace tidemark::test
