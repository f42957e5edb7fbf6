// A purge environment with no Windows in it, for the native build: the in-memory file system, index files mapped from
// it, and the other platform operations answering that there is nothing (no registry values, no windows, no shell
// folders).
#pragma once
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/purge_environment.h"
#include "support/memory_files.h"
#include "support/purge_data.h"

namespace tidemark::test {

// Mappings of files in a MemoryFileSystem: a view is a copy of the file, written back when it is flushed or unmapped
// (as a shared mapping changes the file). Mutexes are always free.
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
  bool ReleaseNamedMutex(platform::ObjectHandle) override { return true; }
  void CloseObject(platform::ObjectHandle) override {}
  uint32_t LastError() const override { return 0; }

 private:
  struct Mapped {
    std::string path;
    std::vector<uint8_t> bytes;
  };
  MemoryFileSystem& files_;
  std::map<size_t, Mapped> views_;  // kept until the purge ends: a map never moves them
};

// The parts of the platform a purge of files and index files never uses.
struct NoRegistry : platform::Registry {
  bool KeyExists(platform::RegistryRoot, const std::string&) override { return false; }
  std::optional<platform::RegistryValue> ReadValue(platform::RegistryRoot, const std::string&,
                                                   const std::string&) override {
    return std::nullopt;
  }
  bool WriteValue(platform::RegistryRoot, const std::string&, const std::string&,
                  const platform::RegistryValue&) override {
    return false;
  }
  bool DeleteValue(platform::RegistryRoot, const std::string&, const std::string&) override { return false; }
  bool DeleteKey(platform::RegistryRoot, const std::string&) override { return false; }
  std::vector<std::string> SubKeys(platform::RegistryRoot, const std::string&) override { return {}; }
  std::vector<std::string> ValueNames(platform::RegistryRoot, const std::string&) override { return {}; }
  uint32_t LastError() const override { return 2; }
};

struct NoShell : platform::Shell {
  platform::SpecialFolder GetSpecialFolder(int) override { return {}; }
  platform::SpecialFolder SpecialFolderFromIdList(int) override { return {}; }
  std::string ExpandEnvVars(const std::string& text) override { return text; }
  std::string VersionString(const std::string&, const std::string&) override { return platform::kVersionUnreadable; }
  std::optional<std::string> EnvironmentVariable(const std::string&) override { return std::nullopt; }
  std::string WindowsFolder() override { return {}; }
  std::string TempPath() override { return {}; }
  std::optional<std::string> ComputerName() override { return std::nullopt; }
  std::optional<std::string> UserName() override { return std::nullopt; }
  bool RecycleBinAvailable() override { return false; }
  std::optional<int32_t> EmptyRecycleBin() override { return std::nullopt; }
  std::string ShortPathOf(const std::string&) override { return {}; }
  bool SaveShellLink(const platform::ShellLink&, const std::string&) override { return false; }
};

struct NoWindows : platform::WindowList, platform::Clipboard, platform::Processes {
  void ForEachTopLevel(const std::function<bool(const platform::TopLevelWindow&)>&) override {}
  std::vector<std::string> DescendantTitles(platform::WindowHandle) override { return {}; }
  bool Clear() override { return false; }
  bool Start(const std::string&, bool, const std::function<void()>&) override { return false; }
  bool ShellOpen(const std::string&) override { return false; }
  bool ShellRunAndWait(const std::string&, const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  uint32_t LastError() const override { return 2; }
};

// A purge over the in-memory file system; change the state, settings or located folders, then ask for a fresh
// Environment().
class MemoryPurge : public PurgeData {
 public:
  engine::PurgeEnvironment& Environment() {
    engine::PurgePlatform platform{files, registry, shell, windows, windows, nullptr, windows, memory};
    return Fresh({platform, Located(), settings, protect, shred, now, {.ieProtectFile = ieProtectFile}});
  }

  MemoryFileSystem files;
  MemorySharedMemory memory{files};
  NoRegistry registry;
  NoShell shell;
  NoWindows windows;
  uint64_t now = 0x01DB000000000000;
  std::string ieProtectFile = "C:\\Data\\IEcookie.dat";
};

}  // namespace tidemark::test
