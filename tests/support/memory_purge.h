// A purge environment with no Windows in it, for the native build: the in-memory file system, index files mapped from
// it, and the other platform operations answering that there is nothing.
#pragma once
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "support/memory_files.h"
#include "support/memory_report.h"

namespace tidemark::test {

// Mappings of files in a MemoryFileSystem: a view is a copy of the file (of exactly its size), written back when it is
// flushed or unmapped (as a shared mapping changes the file). Mutexes are always free; a test may play the browser
// each time one is released.
class MemorySharedMemory : public platform::SharedMemory {
 public:
  explicit MemorySharedMemory(MemoryFileSystem& files) : files_(files) {}
  std::optional<uint64_t> FileSize(const std::string& path) override {
    auto entry = files_.EntryOf(path);
    return entry && !entry->IsDirectory() ? std::optional(entry->size) : std::nullopt;
  }
  std::optional<platform::MappedView> MapFile(const std::string& path, const std::string&) override {
    auto content = files_.ReadFile(path);
    if (!content) return std::nullopt;
    auto& mapped = views_[views_.size() + 1] = {path, std::vector<uint8_t>(content->begin(), content->end())};
    return platform::MappedView{mapped.bytes.data(), mapped.bytes.size(), &mapped};
  }
  bool FlushView(const platform::MappedView& view) override {
    auto* mapped = static_cast<Mapped*>(view.mapping);
    return files_.WriteFile(mapped->path, std::string(mapped->bytes.begin(), mapped->bytes.end()));
  }
  void UnmapView(const platform::MappedView& view) override { FlushView(view); }
  std::optional<platform::ObjectHandle> CreateNamedMutex(const std::string&) override { return &files_; }
  platform::WaitStatus WaitMutex(platform::ObjectHandle) override { return platform::WaitStatus::Acquired; }
  bool ReleaseNamedMutex(platform::ObjectHandle) override {
    if (whileFree && !views_.empty()) whileFree(views_.rbegin()->second.bytes);
    return true;
  }
  void CloseObject(platform::ObjectHandle) override {}
  uint32_t LastError() const override { return 0; }

  // The browser, given the view mapped last; it must keep the view's size.
  std::function<void(std::vector<uint8_t>& view)> whileFree;

 private:
  struct Mapped {
    std::string path;
    std::vector<uint8_t> bytes;
  };
  MemoryFileSystem& files_;
  std::map<size_t, Mapped> views_;  // kept until the purge ends: a map never moves them
};

// The parts of the platform a purge of files and index files never uses: no registry values, windows or shell folders
// but those a test names.
struct NoPlatform : platform::Registry, platform::Shell, platform::WindowList, platform::Clipboard,
                    platform::Processes {
  using Root = platform::RegistryRoot;
  using Text = const std::string&;
  bool KeyExists(Root, Text) override { return false; }
  std::optional<platform::RegistryValue> ReadValue(Root, Text, Text) override { return std::nullopt; }
  bool WriteValue(Root, Text, Text, const platform::RegistryValue&) override { return false; }
  bool DeleteValue(Root, Text, Text) override { return false; }
  bool DeleteKey(Root, Text) override { return false; }
  std::vector<std::string> SubKeys(Root, Text) override { return {}; }
  std::vector<std::string> ValueNames(Root, Text) override { return {}; }
  uint32_t LastError() const override { return 2; }
  platform::SpecialFolder GetSpecialFolder(int id) override {
    auto folder = specialFolders.find(id);
    return folder == specialFolders.end() ? platform::SpecialFolder{} : platform::SpecialFolder{true, folder->second};
  }
  platform::SpecialFolder SpecialFolderFromIdList(int) override { return {}; }
  std::string ExpandEnvVars(Text text) override { return text; }
  std::string VersionString(Text, Text) override { return platform::kVersionUnreadable; }
  std::optional<std::string> EnvironmentVariable(Text) override { return std::nullopt; }
  std::string WindowsFolder() override { return windowsFolder; }
  std::string SystemFolder() override { return {}; }
  std::string TempPath() override { return {}; }
  std::optional<std::string> ComputerName() override { return std::nullopt; }
  std::optional<std::string> UserName() override { return std::nullopt; }
  bool RecycleBinAvailable() override { return false; }
  std::optional<int32_t> EmptyRecycleBin() override { return std::nullopt; }
  std::string ShortPathOf(Text) override { return {}; }
  bool SaveShellLink(const platform::ShellLink&, Text) override { return false; }
  void ForEachTopLevel(const std::function<bool(const platform::TopLevelWindow&)>&) override {}
  std::vector<std::string> DescendantTitles(platform::WindowHandle) override { return {}; }
  bool Clear() override { return false; }
  bool Start(Text, Text, bool, const std::function<void()>&) override { return false; }
  bool ShellOpen(Text) override { return false; }
  bool ShellRunAndWait(Text, Text, Text, Text) override { return false; }
  std::vector<std::string> RunningProgramNames() override { return runningPrograms; }

  // The Windows folder and the special folders by CSIDL; none unless a test names them.
  std::string windowsFolder;
  std::map<int, std::string> specialFolders;
  std::vector<std::string> runningPrograms;  // none unless a test names them
};

// A purge over the in-memory file system; change the state, settings or located folders, then ask for a fresh
// Environment().
class MemoryPurge : public PurgeData {
 public:
  engine::PurgeEnvironment& Environment() {
    return Fresh({{files, none, none, none, none, nullptr, none, memory}, Located(), settings, protect, "", shred, now,
                  {.ieProtectFile = ieProtectFile}});
  }

  MemoryFileSystem files;
  MemorySharedMemory memory{files};
  NoPlatform none;
  uint64_t now = 0x01DB000000000000;
  std::string ieProtectFile = "C:\\Data\\IEcookie.dat";
};

}  // namespace tidemark::test
