// The reboot program's work: it reads a boot list and schedules every
// "index.dat" below the listed folders for deletion at the next start of
// Windows. It runs elevated, so it acts only inside the profile folder of
// the user who started it, never through a junction or directory link, and
// only on files of that one name.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/files.h"
#include "platform/session.h"

namespace tidemark::schedule {

constexpr const char* kRebootCaption = "Tidemark - Purge at Reboot";

// The boot list file named on the program's command line: the text after
// the program's own name, blanks and one pair of surrounding quotes removed.
std::string BootListArgument(std::string_view commandLine);

// The entries after the first line; nothing when the first line is not
// exactly "Tidemark".
std::optional<std::vector<std::string>> ParseBootList(std::string_view text);

// A full local path ("X:\...") strictly below folder, with no "." or ".."
// step and no empty step; ASCII case folded.
bool IsBelowFolder(std::string_view path, std::string_view folder);

struct IndexScheduleResult {
  int scheduled = 0;
  int failed = 0;
  int skipped = 0;                    // entries that name no folder it may act on
  std::vector<std::string> failures;  // path and the system's error text
};

// Each entry that is an existing folder below the profile folder, reached
// without passing a link, is walked; every "index.dat" in it and its
// sub-folders (links not entered) is scheduled for deletion at reboot.
IndexScheduleResult ScheduleIndexFiles(platform::FileSystem& files, platform::Session& session,
                                       const std::vector<std::string>& entries, const std::string& profileFolder);

// The closing message of the reboot program.
std::string IndexScheduleSummary(const IndexScheduleResult& result);

}  // namespace tidemark::schedule
