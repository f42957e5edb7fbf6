// The Windows temp folders the temp purge may empty: four candidate rows,
// each checked for safety (its last name must be "temp", so a misdirected
// environment variable cannot send the purge into some other folder), and
// the folders the user selected among them.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "locations/folders_listing.h"
#include "platform/files.h"
#include "platform/shell.h"

namespace tidemark::locations {

enum class TempFolderState { Usable = 0, NotFound = 1, NotSafe = 2 };

struct TempFolderRow {
  std::string path;    // validated: long names, upper case, no trailing backslash
  std::string status;  // empty when fine
  TempFolderState state = TempFolderState::NotFound;
  bool Usable() const { return state == TempFolderState::Usable; }
  // The tab's label: the path, and the status in brackets when there is one.
  std::string Label() const { return status.empty() ? path : path + "  [" + status + "]"; }
};

// Rows in their fixed order; the names are also the tab's check box captions.
enum TempRow { kSystemTemp = 0, kWindowsTemp = 1, kOldTemp = 2, kBootDiskTemp = 3 };
inline constexpr int kTempRowCount = 4;
inline constexpr std::array<const char*, kTempRowCount> kTempRowNames = {"System Temp", "Windows Temp", "Old Temp",
                                                                         "BootDisk Temp"};

struct TempFolders {
  std::array<TempFolderRow, kTempRowCount> rows;
  TempFolderRow systemTempPath;     // the temp folder Windows reports: the fallback
  bool windowsTempDisabled = false;  // the folder cannot be listed without elevation
  std::vector<TempFolderEntry> available;  // every usable row, each folder once
  std::vector<TempFolderEntry> selected;   // what the purge empties, in row order
};

// Checks one candidate: expands environment references, spells every
// component long as the file system lists it, upper-cases, and judges it.
// anyTemp (the "ANYTEMP" switch) drops the rule that the last name is "temp".
void ValidateTempFolder(std::string& path, std::string& status, TempFolderState& state, platform::FileSystem& files,
                        platform::Shell& shell, bool anyTemp);

// Validates the four rows and the fallback and builds both lists; chosen
// holds the four check boxes in row order. tisVista: a Windows Temp folder
// that cannot be listed is taken away (it needs elevation).
TempFolders InitTempFolders(platform::FileSystem& files, platform::Shell& shell,
                            const std::array<bool, kTempRowCount>& chosen, bool anyTemp, bool tisVista);

}  // namespace tidemark::locations
