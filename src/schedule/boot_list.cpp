#include "schedule/boot_list.h"

#include "platform/path_names.h"
#include "platform/text.h"
#include "platform/text_lines.h"

namespace tidemark::schedule {
namespace {

constexpr const char* kIndexFileName = "index.dat";
constexpr size_t kMaxFailuresShown = 10;

using HeldFolders = std::vector<std::unique_ptr<platform::HeldFolder>>;

// Holds the profile folder and every folder down to folder, each opened as
// itself; nothing when one of them is a link or no folder.
std::optional<HeldFolders> HoldChain(platform::FileSystem& files, const std::string& folder,
                                     const std::string& profileFolder) {
  std::vector<std::string> steps;
  for (std::string step = folder; step.size() > profileFolder.size(); step = ParentFolder(step)) steps.push_back(step);
  steps.push_back(profileFolder);
  HeldFolders held;
  for (auto step = steps.rbegin(); step != steps.rend(); ++step)
    if (!held.emplace_back(files.HoldFolder(*step))) return std::nullopt;
  return held;
}

// The caller holds folder; each sub-folder is held while it is walked.
void ScheduleBelow(platform::FileSystem& files, platform::Session& session, const std::string& folder,
                   IndexScheduleResult& result) {
  std::vector<std::string> subFolders;
  files.ListFolder(folder, [&](const platform::DirEntry& entry) {
    std::optional<std::string> name = platform::ReachableName(entry);
    if (!name) return true;
    std::string path = JoinPath(folder, *name);
    if (entry.IsDirectory()) {
      if (!(entry.attributes & platform::kAttrReparsePoint)) subFolders.push_back(path);
    } else if (SameText(entry.name, kIndexFileName)) {
      if (session.DeleteAtReboot(path)) {
        ++result.scheduled;
      } else {
        ++result.failed;
        uint32_t code = session.LastError();
        result.failures.push_back(path + " - Error-" + std::to_string(code) + "  " + session.ErrorText(code));
      }
    }
    return true;
  });
  for (const std::string& sub : subFolders)
    if (auto held = files.HoldFolder(sub)) ScheduleBelow(files, session, sub, result);
}

}  // namespace

std::string BootListArgument(std::string_view commandLine) {
  size_t start = commandLine.find_first_not_of(" \t");
  if (start == std::string_view::npos) return {};
  std::string_view rest = commandLine.substr(start);
  if (!rest.empty() && rest.front() == '"') {
    size_t close = rest.find('"', 1);
    rest = close == std::string_view::npos ? std::string_view() : rest.substr(close + 1);
  } else {
    size_t blank = rest.find_first_of(" \t");
    rest = blank == std::string_view::npos ? std::string_view() : rest.substr(blank);
  }
  std::string argument = Trim(rest);
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"')
    argument = argument.substr(1, argument.size() - 2);
  return argument;
}

std::optional<std::vector<std::string>> ParseBootList(std::string_view text) {
  std::vector<std::string> lines = platform::SplitLines(text);
  if (lines.empty() || lines.front() != "Tidemark") return std::nullopt;
  lines.erase(lines.begin());
  return lines;
}

bool IsBelowFolder(std::string_view path, std::string_view folder) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\' || folder.empty()) return false;
  std::string base = std::string(folder) + "\\";
  if (path.size() <= base.size() || !StartsWithNoCase(path, base)) return false;
  for (const std::string& step : Split(path.substr(3), '\\'))
    if (step.empty() || step == "." || step == ".." || step.find('/') != std::string::npos) return false;
  return true;
}

IndexScheduleResult ScheduleIndexFiles(platform::FileSystem& files, platform::Session& session,
                                       const std::vector<std::string>& entries, const std::string& profileFolder) {
  IndexScheduleResult result;
  for (const std::string& entry : entries) {
    std::optional<HeldFolders> held;
    if (!IsBelowFolder(entry, profileFolder) || !(held = HoldChain(files, entry, profileFolder))) {
      ++result.skipped;
      continue;
    }
    ScheduleBelow(files, session, entry, result);
  }
  return result;
}

std::string IndexScheduleSummary(const IndexScheduleResult& result) {
  std::string text = std::to_string(result.scheduled) +
                     " index.dat file(s) will be deleted at the next restart of Windows.\r\n\r\n" +
                     std::to_string(result.failed) + " could not be scheduled";
  text += result.failed ? ":\r\n" : ".\r\n";
  for (size_t i = 0; i < result.failures.size() && i < kMaxFailuresShown; ++i) text += "  " + result.failures[i] + "\r\n";
  if (result.failures.size() > kMaxFailuresShown) text += "  ...\r\n";
  return text + "\r\n" + std::to_string(result.skipped) +
         " entries of the list were skipped (not found, a link, or outside your profile folder).";
}

}  // namespace tidemark::schedule
