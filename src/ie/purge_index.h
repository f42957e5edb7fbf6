// The URL cache index as the purges use it: cached files are removed through
// the deletion engine (shredded when Secure Erase is on), messages go to the
// host's window, and the run switches come from the purge settings.
#pragma once
#include <cstdint>
#include <string>

#include "cookies/user_messages.h"
#include "engine/purge_environment.h"
#include "ie/index_file.h"

namespace tidemark::ie {

class EngineFileRemover : public CachedFileRemover {
 public:
  explicit EngineFileRemover(engine::PurgeEnvironment& env) : env_(env) {}
  bool Remove(const std::string& path) override;
  uint32_t LastError() const override { return env_.deletion.LastDeleteError; }
  uint32_t ClusterSize(const std::string& path) override;

  // While set, nothing is deleted: a file that is already gone counts as
  // removed, one that is there stays (and its record with it).
  bool goneOnly = false;

 private:
  engine::PurgeEnvironment& env_;
};

// Shows messages through the host, when it has a window to show them in.
class HostMessages : public cookies::UserMessages {
 public:
  explicit HostMessages(engine::PurgeEnvironment& env) : env_(env) {}
  void Show(const std::string& caption, const std::string& text) override;

 private:
  engine::PurgeEnvironment& env_;
};

struct PurgeIndex {
  explicit PurgeIndex(engine::PurgeEnvironment& env);
  PurgeIndex(const PurgeIndex&) = delete;
  PurgeIndex& operator=(const PurgeIndex&) = delete;

  IndexFolders folders;
  EngineFileRemover remover;
  HostMessages messages;
  IndexFile file;
};

}  // namespace tidemark::ie
