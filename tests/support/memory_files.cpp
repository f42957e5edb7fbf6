#include "support/memory_files.h"

namespace tidemark::test {

class MemoryFileSystem::OpenFile : public platform::ExclusiveFile {
 public:
  OpenFile(MemoryFileSystem& files, std::string key, std::shared_ptr<Data> data, platform::FileIdentity identity)
      : files_(files), key_(std::move(key)), data_(std::move(data)), identity_(identity) {
    files_.inUse_.insert(key_);
  }
  ~OpenFile() override { files_.inUse_.erase(files_.inUse_.find(key_)); }
  const platform::FileIdentity& Identity() const override { return identity_; }
  bool Write(const void* bytes, size_t size) override {
    std::string& content = data_->bytes;
    if (content.size() < position_ + size) content.resize(position_ + size);
    content.replace(position_, size, static_cast<const char*>(bytes), size);
    return position_ += size, true;
  }
  bool SeekToStart() override { return position_ = 0, true; }
  bool Truncate() override { return data_->bytes.clear(), position_ = 0, true; }
  uint32_t LastError() const override { return 0; }

 private:
  MemoryFileSystem& files_;
  std::string key_;
  std::shared_ptr<Data> data_;
  platform::FileIdentity identity_;
  size_t position_ = 0;
};

class MemoryFileSystem::Held : public platform::HeldFolder {
 public:
  Held(MemoryFileSystem& files, std::string key) : files_(files), key_(std::move(key)) { files_.inUse_.insert(key_); }
  ~Held() override { files_.inUse_.erase(files_.inUse_.find(key_)); }

 private:
  MemoryFileSystem& files_;
  std::string key_;
};

// "*" and "?" as a directory listing matches them; "*.*" matches every name.
bool MemoryFileSystem::Matches(std::string_view name, std::string_view mask) {
  if (mask == "*.*") return true;
  if (mask.empty()) return name.empty();
  if (mask[0] == '*') {
    for (size_t skip = 0; skip <= name.size(); ++skip)
      if (Matches(name.substr(skip), mask.substr(1))) return true;
    return false;
  }
  return !name.empty() && (mask[0] == '?' || mask[0] == name[0]) && Matches(name.substr(1), mask.substr(1));
}

std::string MemoryFileSystem::Resolved(const std::string& path, bool followLast) const {
  std::vector<std::string> steps = Split(Key(path), '\\');
  std::string key = steps[0];
  for (size_t i = 1; i < steps.size(); ++i) {
    std::string step = steps[i];
    if (step.find_first_of("?*") != std::string::npos) return {};
    if (step == ".." && !IsRootKey(key)) key = ParentFolder(key);
    while (!step.empty() && (step.back() == '.' || step.back() == ' ')) step.pop_back();
    if (step.empty()) continue;
    std::string next = key + "\\" + step;
    if (!nodes_.count(next))
      for (const auto& [other, node] : Below(key))
        if (ParentFolder(other) == key && LowerCase(node.shortName) == step) next = other;
    auto node = nodes_.find(next);
    bool last = i + 1 == steps.size();
    if (node != nodes_.end() && !node->second.target.empty() && (!last || followLast))
      next = Resolved(node->second.target, true);
    key = next;
  }
  return key;
}

bool MemoryFileSystem::ListMatching(Path folder, Path mask,
                                    const std::function<bool(const platform::DirEntry&)>& visit) {
  if (uint32_t error = Fault("list", folder)) return Fail(error);
  std::string key = Resolved(folder, true);
  auto node = nodes_.find(key);
  if (!IsRootKey(key) && (node == nodes_.end() || !node->second.folder)) return Fail(Missing(folder));
  std::vector<platform::DirEntry> entries;
  for (const auto& [other, child] : Below(key))
    if (ParentFolder(other) == key && Matches(LowerCase(child.name), LowerCase(mask)))
      entries.push_back(EntryFrom(child));
  for (const platform::DirEntry& entry : entries)
    if (!visit(entry)) break;
  Step("list", folder);
  return true;
}

std::unique_ptr<platform::ExclusiveFile> MemoryFileSystem::OpenExclusive(const std::string& path) {
  Node* node = Find(path);
  if (!node || node->folder) return Fail(node ? kAccessDenied : Missing(path)), nullptr;
  if (Listed(locked, path) || InUse(Resolved(path))) return Fail(kSharingViolation), nullptr;
  if (node->attributes & platform::kAttrReadOnly) return Fail(kAccessDenied), nullptr;
  auto file =
      std::make_unique<OpenFile>(*this, Resolved(path), node->data,
                                 platform::FileIdentity{node->data->bytes.size(), node->attributes, node->data->names});
  Step("open", path);
  return file;
}

std::unique_ptr<platform::HeldFolder> MemoryFileSystem::HoldFolder(const std::string& path) {
  if (uint32_t error = Fault("hold", path)) return Fail(error), nullptr;
  std::string key = Resolved(path);
  auto node = nodes_.find(key);
  if (!IsRootKey(key)) {
    if (node == nodes_.end()) return Fail(Missing(path)), nullptr;
    if (node->second.attributes & platform::kAttrReparsePoint) return Fail(platform::kErrorFolderIsLink), nullptr;
    if (!node->second.folder) return Fail(platform::kErrorNotAFolder), nullptr;
  }
  auto held = std::make_unique<Held>(*this, key);
  Step("hold", path);
  return held;
}

bool MemoryFileSystem::SwapForLink(const std::string& folder, const std::string& target) {
  std::string key = Resolved(folder);
  if (InUse(key) || !nodes_.count(key)) return false;
  std::map<std::string, Node> moved = {{key + ".old", nodes_.at(key)}};
  for (const auto& [other, node] : Below(key)) moved[key + ".old" + other.substr(key.size())] = node;
  nodes_.erase(Below(key).begin(), Below(key).end());
  nodes_.erase(key);
  nodes_.insert(moved.begin(), moved.end());
  AddLink(key, target);
  return true;
}

bool MemoryFileSystem::SwapForSecondName(const std::string& path, const std::string& other) {
  std::string key = Resolved(path);
  Node* source = Find(other);
  if (InUse(key) || !nodes_.count(key) || !source) return false;
  std::shared_ptr<Data> shared = source->data;
  Node replaced = nodes_.at(key);
  Forget(key);
  replaced.data = shared;
  ++shared->names;
  nodes_[key] = replaced;
  return true;
}

}  // namespace tidemark::test
