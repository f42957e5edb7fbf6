// The settings file itself: where it lives and making sure it exists.
#pragma once
#include <stdexcept>
#include <string>

#include "platform/files.h"

namespace tidemark::settings {

constexpr const char* kSettingsFileName = "Tidemark.ini";

// folder + "\Tidemark.ini"
std::string SettingsFilePath(const std::string& folder);

// Seeding the file failed; the message is "Cannot open file <name>" or
// "Cannot create file <name>".
class ESettingsFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class EnsureResult {
  Skipped,       // CdExec or no data folder: nothing is created or copied
  Existing,      // the data folder already holds the file
  Copied,        // seeded from the program folder's copy
  CreatedEmpty,  // no copy to seed from: an empty file
  CreateFailed,  // the empty file could not be created (reading gives defaults)
};

// Copies the program folder's settings file into the data folder when only
// the program folder holds one, else creates an empty file when the data
// folder holds none. An existing data-folder file is never replaced, and a
// failed copy leaves no partial file behind. Throws ESettingsFileError when
// the copy fails.
EnsureResult EnsureSettingsFile(platform::FileSystem& files, const std::string& programFolder,
                                const std::string& dataFolder, bool cdExec);

}  // namespace tidemark::settings
