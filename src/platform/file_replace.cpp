#include "platform/file_replace.h"

namespace tidemark::platform {
namespace {

bool ClearReadOnly(FileSystem& files, const std::string& path) {
  auto attributes = files.Attributes(path);
  if (!attributes || !(*attributes & kAttrReadOnly)) return false;
  return files.SetAttributes(path, *attributes & ~kAttrReadOnly);
}

bool ReplaceWithNewFile(FileSystem& files, const std::string& path, const std::string& content) {
  std::string newFile = path + ".new";
  ClearReadOnly(files, newFile);
  if (files.WriteFile(newFile, content) && files.RenameFile(newFile, path)) return true;
  files.RemoveFile(newFile);
  return false;
}

}  // namespace

bool ReplaceFileWhole(FileSystem& files, const std::string& path, const std::string& content) {
  if (ReplaceWithNewFile(files, path, content)) return true;
  ClearReadOnly(files, path);
  return ReplaceWithNewFile(files, path, content);
}

}  // namespace tidemark::platform
