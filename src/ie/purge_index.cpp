#include "ie/purge_index.h"

#include <new>

namespace tidemark::ie {
namespace {

constexpr uint32_t kNotEnoughMemory = 8;
constexpr uint32_t kFileExists = 80;

}  // namespace

bool EngineFileRemover::Remove(const std::string& path) {
  engine::DeletionEngine& deletion = env_.deletion;
  if (goneOnly) {
    platform::FileSystem& files = env_.platform.files;
    uint32_t error = files.Attributes(path) ? kFileExists : files.LastError();
    bool gone = error == engine::error_code::kFileNotFound || error == engine::error_code::kPathNotFound;
    deletion.LastDeleteError = gone ? 0 : error;
    return gone;
  }
  try {
    if (!env_.flags.secureErase) return deletion.PlainDeleteFile(path, "");
    char mode = env_.settings.shredMode;
    return deletion.ShredFile(path, mode, mode == '0' ? 0 : env_.settings.repeats);
  } catch (const std::bad_alloc&) {
    deletion.LastDeleteError = kNotEnoughMemory;
    return false;
  }
}

uint32_t EngineFileRemover::ClusterSize(const std::string& path) {
  return env_.deletion.ClusterSizeFor(path) ? env_.shred.clusterSize : 0;
}

void HostMessages::Show(const std::string& caption, const std::string& text) {
  if (env_.ie.showMessage) env_.ie.showMessage(caption, text);
}

PurgeIndex::PurgeIndex(engine::PurgeEnvironment& env)
    : folders(IndexFoldersOf(env.located.ie)),
      remover(env),
      messages(env),
      file(env.platform.memory, folders, remover, messages,
           {.KeepFiles = env.settings.keepFiles, .IE7 = env.settings.ie7, .AllLeaks = env.settings.allLeaks}) {}

}  // namespace tidemark::ie
