#include "support/memory_files.h"

#include "platform/text.h"

namespace tidemark::test {
namespace {

constexpr uint32_t kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kSharingViolation = 32, kDirNotEmpty = 145,
                   kAlreadyExists = 183, kNotAReparsePoint = 4390;

bool IsRootKey(const std::string& key) { return key.size() == 2 && key[1] == ':'; }

// "*" and "?" as a directory listing matches them; "*.*" matches every name.
bool Matches(std::string_view name, std::string_view mask) {
  if (mask == "*.*") return true;
  if (mask.empty()) return name.empty();
  if (mask[0] == '*') {
    for (size_t skip = 0; skip <= name.size(); ++skip)
      if (Matches(name.substr(skip), mask.substr(1))) return true;
    return false;
  }
  return !name.empty() && (mask[0] == '?' || mask[0] == name[0]) && Matches(name.substr(1), mask.substr(1));
}

}  // namespace

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

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key = LowerCase(path);
  while (key.size() > 2 && key.back() == '\\') key.pop_back();
  return key;
}

MemoryFileSystem::Node* MemoryFileSystem::Find(const std::string& path) {
  auto found = nodes_.find(Key(path));
  return found == nodes_.end() ? nullptr : &found->second;
}

bool MemoryFileSystem::ParentExists(const std::string& path) {
  std::string parent = Key(ParentFolder(Key(path)));
  Node* node = Find(parent);
  return IsRootKey(parent) || (node && node->folder);
}

uint32_t MemoryFileSystem::Missing(const std::string& path) {
  return ParentExists(path) ? kFileNotFound : kPathNotFound;
}

bool MemoryFileSystem::Listed(const std::set<std::string>& paths, const std::string& path) {
  for (const std::string& listed : paths)
    if (Key(listed) == Key(path)) return true;
  return false;
}

bool MemoryFileSystem::Fail(uint32_t error) { return lastError_ = error, false; }

void MemoryFileSystem::AddFolder(const std::string& path, uint32_t attributes) {
  std::string key = Key(path), trimmed = path;
  if (IsRootKey(key)) return;
  AddFolder(ParentFolder(key));
  while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
  nodes_[key] = Node{FileNameOf(trimmed), true, platform::kAttrDirectory | attributes, "", 0};
}

void MemoryFileSystem::AddFile(const std::string& path, const std::string& content, uint32_t attributes,
                               uint64_t lastWrite) {
  AddFolder(ParentFolder(path));
  nodes_[Key(path)] = Node{FileNameOf(path), false, attributes, content, lastWrite};
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  Node* node = Find(path);
  return node ? !node->folder : Fail(Missing(path));
}

bool MemoryFileSystem::FolderExists(const std::string& path) {
  Node* node = Find(path);
  return IsRootKey(Key(path)) || (node ? node->folder : Fail(Missing(path)));
}

std::optional<uint32_t> MemoryFileSystem::Attributes(const std::string& path) {
  if (IsRootKey(Key(path))) return platform::kAttrDirectory;
  Node* node = Find(path);
  if (!node) return Fail(Missing(path)), std::nullopt;
  return node->attributes;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, uint32_t attributes) {
  Node* node = Find(path);
  if (!node) return Fail(kFileNotFound);
  node->attributes = (node->attributes & platform::kAttrDirectory) | (attributes & ~platform::kAttrDirectory);
  return true;
}

bool MemoryFileSystem::CreateFolders(const std::string& path) {
  Node* node = Find(path);
  if (node && !node->folder) return Fail(kAlreadyExists);
  return AddFolder(path), true;
}

bool MemoryFileSystem::RemoveFolder(const std::string& path) {
  Node* node = Find(path);
  if (!node || !node->folder) return Fail(node ? kPathNotFound : kFileNotFound);
  std::string key = Key(path);
  for (const auto& [other, child] : nodes_)
    if (other.size() > key.size() && StartsWith(other, key) && other[key.size()] == '\\') return Fail(kDirNotEmpty);
  return nodes_.erase(key), true;
}

bool MemoryFileSystem::RemoveFile(const std::string& path) {
  Node* node = Find(path);
  if (!node) return Fail(Missing(path));
  if (node->folder || (node->attributes & platform::kAttrReadOnly)) return Fail(kAccessDenied);
  if (Listed(locked, path)) return Fail(kSharingViolation);
  return nodes_.erase(Key(path)), true;
}

bool MemoryFileSystem::CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) {
  Node* source = Find(from);
  if (!source || source->folder) return Fail(kFileNotFound);
  if (failIfExists && Find(to)) return Fail(80);  // ERROR_FILE_EXISTS
  if (!ParentExists(to)) return Fail(kPathNotFound);
  Node copy = *source;
  copy.name = FileNameOf(to);
  return nodes_[Key(to)] = copy, true;
}

bool MemoryFileSystem::RenameFile(const std::string& from, const std::string& to) {
  Node* target = Find(to);
  if (target && (target->folder || (target->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
  if (target) nodes_.erase(Key(to));
  return RenameToNewName(from, to);
}

bool MemoryFileSystem::RenameToNewName(const std::string& from, const std::string& to) {
  Node* source = Find(from);
  if (!source) return Fail(kFileNotFound);
  if (Find(to)) return Fail(kAlreadyExists);
  if (!ParentExists(to)) return Fail(kPathNotFound);
  if (Listed(locked, from)) return Fail(kSharingViolation);
  Node moved = *source;
  moved.name = FileNameOf(to);
  nodes_.erase(Key(from));
  return nodes_[Key(to)] = moved, true;
}

bool MemoryFileSystem::ListMatching(const std::string& folder, const std::string& mask,
                                    const std::function<bool(const platform::DirEntry&)>& visit) {
  if (!FolderExists(folder)) return false;
  std::vector<platform::DirEntry> entries;
  for (const auto& [key, node] : nodes_)
    if (ParentFolder(key) == Key(folder) && Matches(LowerCase(node.name), LowerCase(mask)))
      entries.push_back({node.name, "", node.attributes, node.content.size(), node.lastWrite});
  for (const platform::DirEntry& entry : entries)
    if (!visit(entry)) break;
  return true;
}

std::optional<platform::DirEntry> MemoryFileSystem::EntryOf(const std::string& path) {
  Node* node = Find(path);
  if (!node) return Fail(kFileNotFound), std::nullopt;
  return platform::DirEntry{node->name, "", node->attributes, node->content.size(), node->lastWrite};
}

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

bool MemoryFileSystem::RemoveFolderLink(const std::string& path) {
  Node* node = Find(path);
  if (!node) return Fail(kFileNotFound);
  if (!(node->attributes & platform::kAttrReparsePoint)) return Fail(kNotAReparsePoint);
  return nodes_.erase(Key(path)), true;
}

std::optional<platform::VolumeInfo> MemoryFileSystem::VolumeOf(const std::string&) {
  return platform::VolumeInfo{8, 512, uint64_t(1) << 36, "NTFS"};
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path) {
  Node* node = Find(path);
  if (!node || node->folder) return Fail(node ? kAccessDenied : Missing(path)), std::nullopt;
  if (Listed(unreadable, path)) return Fail(kAccessDenied), std::nullopt;
  if (Listed(locked, path)) return Fail(kSharingViolation), std::nullopt;
  return node->content;
}

bool MemoryFileSystem::WriteFile(const std::string& path, const std::string& content) {
  Node* node = Find(path);
  if (node && (node->folder || (node->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
  if (Listed(locked, path)) return Fail(kSharingViolation);
  if (!ParentExists(path)) return Fail(kPathNotFound);
  Node& written = nodes_[Key(path)];
  if (written.name.empty()) written.name = FileNameOf(path);
  written.content = writesStopHalfWay ? content.substr(0, content.size() / 2) : content;
  return !writesStopHalfWay || Fail(112);  // ERROR_DISK_FULL
}

platform::DriveType MemoryFileSystem::DriveTypeOf(const std::string& root) {
  return drivesAsked.push_back(root), driveType;
}

std::optional<uint64_t> MemoryFileSystem::LastWriteTime(const std::string& path) {
  Node* node = Find(path);
  if (!node) return Fail(kFileNotFound), std::nullopt;
  return node->lastWrite;
}

}  // namespace tidemark::test
