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
#include "platform/text.h"

namespace tidemark::test {

class MemoryFileSystem : public platform::FileSystem {
  using Path = const std::string&;

 public:
  // Set-up: a file (with its folders) or a folder tree.
  void AddFile(const std::string& path, const std::string& content, uint32_t attributes = 0, uint64_t lastWrite = 0) {
    AddFolder(ParentFolder(path));
    nodes_[Key(path)] = Node{FileNameOf(path), false, attributes, content, lastWrite};
  }
  void AddFolder(const std::string& path, uint32_t attributes = 0) {
    std::string key = Key(path), trimmed = path;
    if (IsRootKey(key)) return;
    AddFolder(ParentFolder(key));
    while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
    nodes_[key] = Node{FileNameOf(trimmed), true, platform::kAttrDirectory | attributes, "", 0};
  }
  // Paths that fail every open, as a file held by another program does.
  std::set<std::string> locked;
  // Paths whose content cannot be read, as under an access error.
  std::set<std::string> unreadable;
  // Every write keeps only the first half of the content and fails, as on a full disk.
  bool writesStopHalfWay = false;
  // The type of every drive, and the roots asked about.
  platform::DriveType driveType = platform::DriveType::Fixed;
  std::vector<std::string> drivesAsked;

  bool FileExists(Path path) override { return Find(path) ? !Find(path)->folder : Fail(Missing(path)); }
  bool FolderExists(Path path) override {
    return IsRootKey(Key(path)) || (Find(path) ? Find(path)->folder : Fail(Missing(path)));
  }
  std::optional<uint32_t> Attributes(Path path) override {
    if (IsRootKey(Key(path))) return platform::kAttrDirectory;
    if (Node* node = Find(path)) return node->attributes;
    return Fail(Missing(path)), std::nullopt;
  }
  bool SetAttributes(const std::string& path, uint32_t attributes) override {
    Node* node = Find(path);
    if (!node) return Fail(kFileNotFound);
    node->attributes = (node->attributes & platform::kAttrDirectory) | (attributes & ~platform::kAttrDirectory);
    return true;
  }
  bool CreateFolders(const std::string& path) override {
    Node* node = Find(path);
    if (node && !node->folder) return Fail(kAlreadyExists);
    return AddFolder(path), true;
  }
  bool RemoveFolder(const std::string& path) override {
    Node* node = Find(path);
    if (!node || !node->folder) return Fail(node ? kPathNotFound : kFileNotFound);
    std::string key = Key(path);
    for (const auto& [other, child] : nodes_)
      if (other.size() > key.size() && StartsWith(other, key) && other[key.size()] == '\\') return Fail(kDirNotEmpty);
    return nodes_.erase(key), true;
  }
  bool RemoveFile(const std::string& path) override {
    Node* node = Find(path);
    if (!node) return Fail(Missing(path));
    if (node->folder || (node->attributes & platform::kAttrReadOnly)) return Fail(kAccessDenied);
    if (Listed(locked, path)) return Fail(kSharingViolation);
    return nodes_.erase(Key(path)), true;
  }
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override {
    Node* source = Find(from);
    if (!source || source->folder) return Fail(kFileNotFound);
    if (failIfExists && Find(to)) return Fail(80);  // ERROR_FILE_EXISTS
    if (!ParentExists(to)) return Fail(kPathNotFound);
    Node copy = *source;
    copy.name = FileNameOf(to);
    return nodes_[Key(to)] = copy, true;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    Node* target = Find(to);
    if (target && (target->folder || (target->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
    if (target) nodes_.erase(Key(to));
    return RenameToNewName(from, to);
  }
  bool RenameToNewName(const std::string& from, const std::string& to) override {
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
  bool ListMatching(Path folder, Path mask, const std::function<bool(const platform::DirEntry&)>& visit) override {
    if (!FolderExists(folder)) return false;
    std::vector<platform::DirEntry> entries;
    for (const auto& [key, node] : nodes_)
      if (ParentFolder(key) == Key(folder) && Matches(LowerCase(node.name), LowerCase(mask)))
        entries.push_back({node.name, "", node.attributes, node.content.size(), node.lastWrite});
    for (const platform::DirEntry& entry : entries)
      if (!visit(entry)) break;
    return true;
  }
  std::optional<platform::DirEntry> EntryOf(Path path) override {
    if (Node* node = Find(path))
      return platform::DirEntry{node->name, "", node->attributes, node->content.size(), node->lastWrite};
    return Fail(kFileNotFound), std::nullopt;
  }
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(Path path, platform::ExclusiveAccess access) override;
  bool RemoveFolderLink(const std::string& path) override {
    Node* node = Find(path);
    if (!node) return Fail(kFileNotFound);
    if (!(node->attributes & platform::kAttrReparsePoint)) return Fail(kNotAReparsePoint);
    return nodes_.erase(Key(path)), true;
  }
  std::optional<platform::VolumeInfo> VolumeOf(const std::string&) override { return {{8, 512, 1ull << 36, "NTFS"}}; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    Node* node = Find(path);
    if (!node || node->folder) return Fail(node ? kAccessDenied : Missing(path)), std::nullopt;
    if (Listed(unreadable, path)) return Fail(kAccessDenied), std::nullopt;
    if (Listed(locked, path)) return Fail(kSharingViolation), std::nullopt;
    return node->content;
  }
  bool WriteFile(const std::string& path, const std::string& content) override {
    Node* node = Find(path);
    if (node && (node->folder || (node->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
    if (Listed(locked, path)) return Fail(kSharingViolation);
    if (!ParentExists(path)) return Fail(kPathNotFound);
    Node& written = nodes_[Key(path)];
    if (written.name.empty()) written.name = FileNameOf(path);
    written.content = writesStopHalfWay ? content.substr(0, content.size() / 2) : content;
    return !writesStopHalfWay || Fail(112);  // ERROR_DISK_FULL
  }
  platform::DriveType DriveTypeOf(const std::string& root) override { return drivesAsked.push_back(root), driveType; }
  std::optional<uint64_t> LastWriteTime(Path path) override {
    if (Node* node = Find(path)) return node->lastWrite;
    return Fail(kFileNotFound), std::nullopt;
  }
  uint32_t LastError() const override { return lastError_; }

 private:
  static constexpr uint32_t kFileNotFound = 2, kPathNotFound = 3, kAccessDenied = 5, kSharingViolation = 32,
                            kDirNotEmpty = 145, kAlreadyExists = 183, kNotAReparsePoint = 4390;
  struct Node {
    std::string name;  // as created
    bool folder = false;
    uint32_t attributes = 0;
    std::string content;
    uint64_t lastWrite = 0;
  };
  class OpenFile;

  static bool IsRootKey(const std::string& key) { return key.size() == 2 && key[1] == ':'; }
  // "*" and "?" as a directory listing matches them; "*.*" matches every name.
  static bool Matches(std::string_view name, std::string_view mask) {
    if (mask == "*.*") return true;
    if (mask.empty()) return name.empty();
    if (mask[0] == '*') {
      for (size_t skip = 0; skip <= name.size(); ++skip)
        if (Matches(name.substr(skip), mask.substr(1))) return true;
      return false;
    }
    return !name.empty() && (mask[0] == '?' || mask[0] == name[0]) && Matches(name.substr(1), mask.substr(1));
  }
  static std::string Key(const std::string& path) {
    std::string key = LowerCase(path);
    while (key.size() > 2 && key.back() == '\\') key.pop_back();
    return key;
  }
  Node* Find(const std::string& path) {
    auto found = nodes_.find(Key(path));
    return found == nodes_.end() ? nullptr : &found->second;
  }
  bool ParentExists(const std::string& path) {
    std::string parent = Key(ParentFolder(Key(path)));
    Node* node = Find(parent);
    return IsRootKey(parent) || (node && node->folder);
  }
  // The error for a path that is not there.
  uint32_t Missing(const std::string& path) { return ParentExists(path) ? kFileNotFound : kPathNotFound; }
  static bool Listed(const std::set<std::string>& paths, const std::string& path) {
    for (const std::string& listed : paths)
      if (Key(listed) == Key(path)) return true;
    return false;
  }
  bool Fail(uint32_t error) { return lastError_ = error, false; }

  std::map<std::string, Node> nodes_;  // by lower-case path
  uint32_t lastError_ = 0;
};

}  // namespace tidemark::test
