// The plugin files of the plugins folder, the selection list PLUGINS.DAT
// and the safe rewriting of a file.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace tidemark::plugins {

// The plugin files of a folder by name in upper case, sorted.
std::vector<std::string> ListPluginFiles(platform::FileSystem& files, const std::string& folder);
// A plugin's lines; nothing when the file cannot be read.
std::optional<std::vector<std::string>> ReadPluginLines(platform::FileSystem& files, const std::string& path);

// Sorted ignoring case; blank lines and repeated names dropped.
std::vector<std::string> SortedSelection(std::vector<std::string> names);
// PLUGINS.DAT, sorted; empty when the file is missing or unreadable.
std::vector<std::string> LoadSelection(platform::FileSystem& files, const std::string& listFile);
// One name a line; 0 or the Windows error code. An empty listFile (no data
// folder) is no file: nothing is read, and the save fails with ERROR_PATH_NOT_FOUND.
uint32_t SaveSelection(platform::FileSystem& files, const std::string& listFile, const std::vector<std::string>& names);

// Writes content to a new file beside path that then takes the old file's
// place (keeping its attributes), so a failed write never loses the old
// file: 0 or the Windows error code.
uint32_t ReplaceFileContent(platform::FileSystem& files, const std::string& path, const std::string& content);

}  // namespace tidemark::plugins
