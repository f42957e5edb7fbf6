#include "cookies/protect_file.h"

#include <optional>

#include "platform/file_replace.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::cookies {
namespace {

// The entries of a protect file (blank lines are none); none for a missing
// file, nothing at all when the file is there but cannot be read.
std::optional<std::vector<std::string>> ReadProtectLines(platform::FileSystem& files, const std::string& path) {
  if (platform::IsMissing(files, path)) return std::vector<std::string>();
  auto content = files.ReadFile(path);
  if (!content) return std::nullopt;
  std::vector<std::string> lines = platform::SplitLines(*content);
  std::erase_if(lines, [](const std::string& line) { return Trim(line).empty(); });
  return lines;
}

bool WriteProtectFile(platform::FileSystem& files, const std::string& path, const std::vector<std::string>& entries) {
  return platform::ReplaceFileWhole(files, path, platform::JoinLines(entries));
}

void EnsureProtectFileExists(platform::FileSystem& files, const std::string& path) {
  if (path.empty() || !platform::IsMissing(files, path)) return;
  files.CreateFolders(ParentFolder(path));
  files.WriteFile(path, "");
}

}  // namespace

ProtectList LoadCookieProtectList(platform::FileSystem& files, const std::string& path) {
  ProtectList list;
  if (auto lines = ReadProtectLines(files, path))
    list.entries = std::move(*lines);
  else
    list.OpenedOK = false;
  SortProtectEntries(list.entries);
  if (NormaliseProtectList(list)) list.Dirty = true;
  list.Count = static_cast<int32_t>(list.entries.size());
  return list;
}

void SaveCookieProtectList(ProtectList& list, const std::string& path, platform::FileSystem& files,
                           UserMessages& messages) {
  if (list.Dirty && list.OpenedOK && !WriteProtectFile(files, path, list.entries))
    messages.Show(kMessageCaption, "Unable to save the protect file - " + path +
                                       "\r\nExecution will continue without saving the changes.");
  list.Dirty = false;
}

void LoadTempProtectList(TempProtectList& list, platform::FileSystem& files, const std::string& dataFolder) {
  list = TempProtectList();
  if (dataFolder.empty()) {
    list.OpenedOK = false;  // no folder, no list: nothing to protect, nothing to save
    return;
  }
  if (auto lines = ReadProtectLines(files, JoinPath(dataFolder, kTempProtectFile)))
    list.entries = std::move(*lines);
  else
    list.OpenedOK = false;
  SortProtectEntries(list.entries);
  list.Count = static_cast<int32_t>(list.entries.size());
}

void SaveTempProtectList(TempProtectList& list, platform::FileSystem& files, const std::string& dataFolder) {
  if (list.Dirty && list.OpenedOK) WriteProtectFile(files, JoinPath(dataFolder, kTempProtectFile), list.entries);
  list = TempProtectList();
}

bool MergeFormerProtectedModeList(platform::FileSystem& files, const std::string& dataFolder) {
  std::string formerPath = JoinPath(dataFolder, kFormerProtectedModeFile);
  std::string iePath = JoinPath(dataFolder, kIEProtectFile);
  if (platform::IsMissing(files, formerPath)) return false;
  auto former = ReadProtectLines(files, formerPath);
  auto current = ReadProtectLines(files, iePath);
  if (!former || !current) return false;

  ProtectList merged;
  for (const std::string& entry : *current) AddProtectEntry(merged.entries, entry);
  for (const std::string& entry : *former) AddProtectEntry(merged.entries, entry);
  NormaliseProtectList(merged);
  if (!WriteProtectFile(files, iePath, merged.entries)) return false;
  files.RemoveFile(formerPath);
  return true;
}

void EnsureProtectListsExist(platform::FileSystem& files, const std::string& firefoxListPath,
                             const std::string& ieListPath) {
  EnsureProtectFileExists(files, firefoxListPath);
  EnsureProtectFileExists(files, ieListPath);
}

}  // namespace tidemark::cookies
