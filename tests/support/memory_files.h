// A file system held in memory, so that the Windows-free code reading and writing files also runs in the native
// sanitizer build. Paths compare without case, as on Windows; drive roots ("C:") always exist. Like the "A" API, a
// path step loses its trailing dots and blanks and a "?" reaches nothing; a directory link in the middle of a path is
// followed. Held folders and open files cannot be renamed or removed, and a hook runs after each step of a walk, so a
// test can play someone who swaps a folder for a link, or a file for a second name of another one, in between.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ranges>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"

namespace tidemark::test {

class MemoryFileSystem : public platform::FileSystem {
  using Path = const std::string&;

 public:
  // Set-up: a file (with its folders) or a folder tree, named exactly as given; an 8.3 name for the listing.
  void AddFile(const std::string& path, const std::string& content, uint32_t attributes = 0, uint64_t lastWrite = 0,
               const std::string& shortName = "") {
    AddFolder(ParentFolder(path));
    nodes_[Key(path)] =
        Node{FileNameOf(path), false, attributes, std::make_shared<Data>(Data{content}), lastWrite, shortName, ""};
  }
  void AddFolder(const std::string& path, uint32_t attributes = 0) {
    std::string key = Key(path), trimmed = path;
    if (IsRootKey(key)) return;
    AddFolder(ParentFolder(key));
    while (trimmed.size() > 3 && trimmed.back() == '\\') trimmed.pop_back();
    if (nodes_.count(key)) return;
    nodes_[key] = Node{FileNameOf(trimmed), true, platform::kAttrDirectory | attributes, nullptr, 0, "", ""};
  }
  // A directory link at path to the folder target.
  void AddLink(const std::string& path, const std::string& target) {
    AddFolder(ParentFolder(path));
    nodes_[Key(path)] =
        Node{FileNameOf(path), true, platform::kAttrDirectory | platform::kAttrReparsePoint, nullptr, 0, "", target};
  }
  // Someone else's moves: the folder put aside and a link to target in its place; the file replaced by a second
  // name of other. False when the system would refuse (the folder is held, the file open).
  bool SwapForLink(const std::string& folder, const std::string& target);
  bool SwapForSecondName(const std::string& path, const std::string& other);
  // Runs after a step ("list", "hold", "open", "attributes") on a path; it may change the files.
  std::function<void(std::string_view step, const std::string& path)> afterStep;
  // A Windows error code that makes an operation ("list", "hold", "rename", "remove") on a path fail; 0 lets it be.
  std::function<uint32_t(std::string_view operation, const std::string& path)> fault;

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
    std::optional<uint32_t> attributes;
    if (IsRootKey(Key(path))) attributes = platform::kAttrDirectory;
    if (Node* node = Find(path)) attributes = node->attributes;
    if (!attributes) Fail(Missing(path));
    Step("attributes", path);
    return attributes;
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
    return AddFolder(Resolved(path)), true;
  }
  bool RemoveFolder(const std::string& path) override {
    Node* node = Find(path);
    if (!node || !node->folder) return Fail(node ? kPathNotFound : kFileNotFound);
    std::string key = Resolved(path);
    if (InUse(key)) return Fail(kSharingViolation);
    if (!Below(key).empty()) return Fail(kDirNotEmpty);
    return nodes_.erase(key), true;
  }
  bool RemoveFile(const std::string& path) override {
    if (uint32_t error = Fault("remove", path)) return Fail(error);
    Node* node = Find(path);
    if (!node) return Fail(Missing(path));
    if (node->folder || (node->attributes & platform::kAttrReadOnly)) return Fail(kAccessDenied);
    if (Listed(locked, path) || InUse(Resolved(path))) return Fail(kSharingViolation);
    return Forget(Resolved(path)), true;
  }
  bool CopyFileTo(const std::string& from, const std::string& to, bool failIfExists) override {
    Node* source = Find(from);
    if (!source || source->folder) return Fail(kFileNotFound);
    if (failIfExists && Find(to)) return Fail(80);  // ERROR_FILE_EXISTS
    if (!ParentExists(to)) return Fail(kPathNotFound);
    Node copy = *source;
    copy.name = FileNameOf(to);
    copy.data = std::make_shared<Data>(Data{source->data->bytes});
    return nodes_[Resolved(to)] = copy, true;
  }
  bool RenameFile(const std::string& from, const std::string& to) override {
    Node* target = Find(to);
    if (target && (target->folder || (target->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
    if (target && InUse(Resolved(to))) return Fail(kSharingViolation);
    if (target) Forget(Resolved(to));
    return RenameToNewName(from, to);
  }
  bool RenameToNewName(const std::string& from, const std::string& to) override {
    if (uint32_t error = Fault("rename", from)) return Fail(error);
    Node* source = Find(from);
    if (!source) return Fail(kFileNotFound);
    if (Find(to)) return Fail(kAlreadyExists);
    if (!ParentExists(to)) return Fail(kPathNotFound);
    if (Listed(locked, from) || InUse(Resolved(from))) return Fail(kSharingViolation);
    Node moved = *source;
    moved.name = FileNameOf(to);
    nodes_.erase(Resolved(from));
    return nodes_[Resolved(to)] = moved, true;
  }
  bool ListMatching(Path folder, Path mask, const std::function<bool(const platform::DirEntry&)>& visit) override;
  std::optional<platform::DirEntry> EntryOf(Path path) override {
    if (Node* node = Find(path)) return EntryFrom(*node);
    return Fail(kFileNotFound), std::nullopt;
  }
  std::unique_ptr<platform::ExclusiveFile> OpenExclusive(Path path) override;
  std::unique_ptr<platform::HeldFolder> HoldFolder(Path path) override;
  bool RemoveFolderLink(const std::string& path) override {
    Node* node = Find(path);
    if (!node) return Fail(kFileNotFound);
    if (!(node->attributes & platform::kAttrReparsePoint)) return Fail(kNotAReparsePoint);
    return nodes_.erase(Resolved(path)), true;
  }
  std::optional<platform::VolumeInfo> VolumeOf(const std::string&) override { return {{8, 512, 1ull << 36, "NTFS"}}; }
  std::optional<std::string> ReadFile(const std::string& path) override {
    Node* node = Find(path);
    if (!node || node->folder) return Fail(node ? kAccessDenied : Missing(path)), std::nullopt;
    if (Listed(unreadable, path)) return Fail(kAccessDenied), std::nullopt;
    if (Listed(locked, path)) return Fail(kSharingViolation), std::nullopt;
    return node->data->bytes;
  }
  bool WriteFile(const std::string& path, const std::string& content) override {
    Node* node = Find(path);
    if (node && (node->folder || (node->attributes & platform::kAttrReadOnly))) return Fail(kAccessDenied);
    if (Listed(locked, path)) return Fail(kSharingViolation);
    if (!ParentExists(path)) return Fail(kPathNotFound);
    Node& written = nodes_[Resolved(path)];
    if (written.name.empty()) written.name = FileNameOf(path);
    if (!written.data) written.data = std::make_shared<Data>();
    written.data->bytes = writesStopHalfWay ? content.substr(0, content.size() / 2) : content;
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
                            kInvalidName = 123, kDirNotEmpty = 145, kAlreadyExists = 183, kNotAReparsePoint = 4390;
  struct Data {
    std::string bytes;
    uint32_t names = 1;  // hard links
  };
  struct Node {
    std::string name;  // as created
    bool folder = false;
    uint32_t attributes = 0;
    std::shared_ptr<Data> data;  // files only
    uint64_t lastWrite = 0;
    std::string shortName;
    std::string target;  // directory links only
  };
  class OpenFile;
  class Held;

  static bool IsRootKey(const std::string& key) { return key.size() == 2 && key[1] == ':'; }
  static bool Matches(std::string_view name, std::string_view mask);
  // A set-up path as a key: lower case, no trailing backslash.
  static std::string Key(const std::string& path) {
    std::string key = LowerCase(path);
    while (key.size() > 2 && key.back() == '\\') key.pop_back();
    return key;
  }
  // The key a path reaches: steps rewritten as the "A" API does, a link before the last step followed, an 8.3
  // name taken for its entry. Empty when a step holds a "?" or "*".
  std::string Resolved(const std::string& path, bool followLast = false) const;
  Node* Find(const std::string& path) {
    auto found = nodes_.find(Resolved(path));
    return found == nodes_.end() ? nullptr : &found->second;
  }
  bool ParentExists(const std::string& path) {
    std::string parent = ParentFolder(Resolved(path));
    auto node = nodes_.find(parent);
    return IsRootKey(parent) || (node != nodes_.end() && node->second.folder);
  }
  // Everything below the folder key, in key order: the keys that begin with key + "\".
  struct Range {
    std::map<std::string, Node>::const_iterator first, last;
    auto begin() const { return first; }
    auto end() const { return last; }
    bool empty() const { return first == last; }
  };
  Range Below(const std::string& key) const { return {nodes_.lower_bound(key + "\\"), nodes_.lower_bound(key + "]")}; }
  // The error for a path that is not there.
  uint32_t Missing(const std::string& path) {
    return Resolved(path).empty() ? kInvalidName : ParentExists(path) ? kFileNotFound : kPathNotFound;
  }
  bool Listed(const std::set<std::string>& paths, const std::string& path) const {
    for (const std::string& listed : paths)
      if (Resolved(listed) == Resolved(path)) return true;
    return false;
  }
  bool InUse(const std::string& key) const { return inUse_.count(key) > 0; }
  void Forget(const std::string& key) {
    if (Node& node = nodes_.at(key); node.data) --node.data->names;
    nodes_.erase(key);
  }
  static platform::DirEntry EntryFrom(const Node& node) {
    return {node.name, node.shortName, node.attributes, node.data ? node.data->bytes.size() : 0, node.lastWrite};
  }
  uint32_t Fault(std::string_view operation, const std::string& path) const {
    return fault ? fault(operation, path) : 0;
  }
  void Step(std::string_view step, const std::string& path) {
    if (!afterStep || inStep_) return;
    inStep_ = true;
    afterStep(step, path);
    inStep_ = false;
  }
  bool Fail(uint32_t error) { return lastError_ = error, false; }

  std::map<std::string, Node> nodes_;  // by lower-case path as created
  std::multiset<std::string> inUse_;   // held folders and open files
  uint32_t lastError_ = 0;
  bool inStep_ = false;
};

}  // namespace tidemark::test
