// Replacing a small data file whole: the complete new content is written
// beside the old file and only then takes its place, so a stop mid-write
// never leaves a half-written file.
#pragma once
#include <string>

#include "platform/files.h"

namespace tidemark::platform {

// Writes content to path + ".new" and renames it over path. A stale
// read-only ".new" copy does not block it; when the first try fails the old
// file's read-only attribute is cleared and it is tried once more.
bool ReplaceFileWhole(FileSystem& files, const std::string& path, const std::string& content);

}  // namespace tidemark::platform
