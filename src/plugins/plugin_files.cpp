#include "plugins/plugin_files.h"

#include <algorithm>

#include "platform/text.h"
#include "platform/text_lines.h"
#include "plugins/plugin_syntax.h"

namespace tidemark::plugins {
namespace {

constexpr int kScratchNameTries = 100;
constexpr uint32_t kWriteFault = 29;  // ERROR_WRITE_FAULT
constexpr uint32_t kFileExists = 80;  // ERROR_FILE_EXISTS
constexpr uint32_t kPathNotFound = 3;  // ERROR_PATH_NOT_FOUND

bool LessIgnoringCase(const std::string& a, const std::string& b) { return LowerCase(a) < LowerCase(b); }

}  // namespace

std::vector<std::string> ListPluginFiles(platform::FileSystem& files, const std::string& folder) {
  std::vector<std::string> names;
  files.ListFolder(folder, [&](const platform::DirEntry& entry) {
    if (!entry.IsDirectory() && IsPluginFileName(entry.name)) names.push_back(UpperCase(entry.name));
    return true;
  });
  std::sort(names.begin(), names.end());
  return names;
}

std::optional<std::vector<std::string>> ReadPluginLines(platform::FileSystem& files, const std::string& path) {
  auto content = files.ReadFile(path);
  if (!content) return std::nullopt;
  return platform::SplitLines(*content);
}

std::vector<std::string> SortedSelection(std::vector<std::string> names) {
  std::erase_if(names, [](const std::string& name) { return Trim(name).empty(); });
  std::stable_sort(names.begin(), names.end(), LessIgnoringCase);
  names.erase(std::unique(names.begin(), names.end(), [](const std::string& a, const std::string& b) { return SameText(a, b); }),
              names.end());
  return names;
}

std::vector<std::string> LoadSelection(platform::FileSystem& files, const std::string& listFile) {
  auto content = listFile.empty() ? std::nullopt : files.ReadFile(listFile);
  if (!content) return {};
  return SortedSelection(platform::SplitLines(*content));
}

uint32_t SaveSelection(platform::FileSystem& files, const std::string& listFile, const std::vector<std::string>& names) {
  if (listFile.empty()) return kPathNotFound;
  return ReplaceFileContent(files, listFile, platform::JoinLines(names));
}

uint32_t ReplaceFileContent(platform::FileSystem& files, const std::string& path, const std::string& content) {
  std::string scratch;
  for (int n = 1; scratch.empty() && n <= kScratchNameTries; ++n) {
    std::string name = path + ".~tm" + std::to_string(n);
    if (!files.Attributes(name)) scratch = name;
  }
  if (scratch.empty()) return kFileExists;
  auto attributes = files.Attributes(path);
  if (!files.WriteFile(scratch, content)) {
    uint32_t error = files.LastError() ? files.LastError() : kWriteFault;
    files.RemoveFile(scratch);
    return error;
  }
  if (!files.RenameFile(scratch, path)) {
    uint32_t error = files.LastError() ? files.LastError() : kWriteFault;
    files.RemoveFile(scratch);
    return error;
  }
  if (attributes) files.SetAttributes(path, *attributes);
  return 0;
}

}  // namespace tidemark::plugins
